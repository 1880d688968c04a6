#include "cli/settings_flags.h"

#include <algorithm>
#include <cctype>

#include "core/lenient_number.h"
#include "settings/option_table.h"

namespace ostrel::cli {

std::string set_control_assignment(RunSettings& settings, std::string_view assignment) {
  auto equals = assignment.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return "\"" + std::string(assignment) + "\" is not of the form Control=Value";
  }
  return set_option(settings, assignment.substr(0, equals), assignment.substr(equals + 1));
}

std::string set_segment_options(RunSettings& settings, std::string_view text) {
  auto colon = text.find(':');
  if (colon == std::string_view::npos) return "--segment takes K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans";
  double row = lenient_value(text.substr(0, colon));
  if (row != static_cast<int>(row) || row < 1 || row > MaxSegments) {
    return "--segment: the segment number must be from 1 to " + std::to_string(MaxSegments);
  }
  const std::string index = "(" + std::to_string(static_cast<int>(row)) + ")";
  std::string_view fields = text.substr(colon + 1);
  while (!fields.empty()) {
    auto comma = fields.find(',');
    std::string_view field = fields.substr(0, comma);
    fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 1);
    auto equals = field.find('=');
    std::string key(field.substr(0, equals));
    std::string value =
        equals == std::string_view::npos ? "" : std::string(field.substr(equals + 1));
    std::string problem;
    if (key == "edge") {
      problem = set_option(settings, "SegEdge" + index, value);
    } else if (key == "x" || key == "y" || key == "z") {
      std::string axis = key == "x" ? "X" : key == "y" ? "Y" : "Z";
      problem = set_option(settings, "Seg" + axis + index, value);
    } else if (key == "flip") {
      for (char axis : value) {
        if (axis != 'x' && axis != 'y' && axis != 'z')
          return "--segment: flip takes the letters x, y and z";
        std::string name = std::string("Flip") + static_cast<char>(std::toupper(axis)) + index;
        problem = set_option(settings, name, "1");
      }
    } else if (key == "trans" && equals == std::string_view::npos) {
      problem = set_option(settings, "SegTrans" + index, "1");
    } else {
      return "--segment: unknown field \"" + std::string(field) + "\"";
    }
    if (!problem.empty()) return problem;
  }
  return {};
}

}  // namespace ostrel::cli
