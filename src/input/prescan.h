// The quick look at an input file taken before a run, shared by every front end: how many
// segments it has and whether it asks for augmentation with an "A".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ostrel {

struct InputPrescan {
  int brace_records = 0;        // records (ended by a line end or a comma) holding a "{"
  bool augment_letter = false;  // an upper-case "A" from the first "{" record on

  // A single "{" record does not make segments.
  bool has_segments() const { return brace_records > 1; }
  // The run's segment count: the number of "{" records when there are segments, else 1.
  int segment_count() const { return has_segments() ? brace_records : 1; }
};

// The message for a segment count past the model's five segments; empty when it fits.
std::string segment_count_problem(int segment_count);

// Records end at a line end or a comma; each is cut at its first apostrophe (a comment).
InputPrescan prescan_input(std::string_view text);
InputPrescan prescan_input_file(const std::filesystem::path& path);

}  // namespace ostrel
