#include "input/prescan.h"

#include "core/model.h"
#include "input/off_reader.h"
#include "input/parser.h"

namespace ostrel {

InputPrescan prescan_input(std::string_view text) {
  InputPrescan scan;
  // An OFF file has no segments and no letter codes, whatever its comments hold.
  if (is_off_text(text)) return scan;
  // Records end at commas and line ends. A comment runs from an apostrophe to the next control
  // character, as the reader has it: over commas too.
  bool comment = false;
  bool brace = false;
  bool letter_a = false;
  const auto end_record = [&] {
    if (brace) ++scan.brace_records;
    if (scan.brace_records > 0 && letter_a) scan.augment_letter = true;
    brace = letter_a = false;
  };
  for (const char c : text) {
    if (c == ',' || c == '\r' || c == '\n') end_record();
    if (c == '\'') {
      comment = true;
    } else if (static_cast<unsigned char>(c) < 30) {
      comment = false;
    } else if (!comment) {
      brace = brace || c == '{';
      letter_a = letter_a || c == 'A';
    }
  }
  end_record();
  return scan;
}

InputPrescan prescan_input_file(const std::filesystem::path& path) {
  return prescan_input(read_input_file(path));
}

std::string segment_count_problem(int segment_count) {
  if (segment_count <= MaxSegments) return {};
  return "Input error: A model can have at most " + std::to_string(MaxSegments) +
         " segments; this input has " + std::to_string(segment_count);
}

}  // namespace ostrel
