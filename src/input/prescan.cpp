#include "input/prescan.h"

#include "core/model.h"
#include "input/off_reader.h"
#include "input/parser.h"

namespace ostrel {

InputPrescan prescan_input(std::string_view text) {
  InputPrescan scan;
  // An OFF file has no segments and no letter codes, whatever its comments hold.
  if (is_off_text(text)) return scan;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(",\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view record = text.substr(start, end - start);
    record = record.substr(0, record.find('\''));
    if (record.find('{') != std::string_view::npos) ++scan.brace_records;
    if (scan.brace_records > 0 && record.find('A') != std::string_view::npos) {
      scan.augment_letter = true;
    }
    start = end + 1;
  }
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
