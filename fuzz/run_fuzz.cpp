// Feeds arbitrary bytes to a whole run, as `ostrel-cli run --once` makes it: the input is
// parsed, prepared, relaxed for a few hundred iterations, and every writer (OFF, each VRML
// style, the segmented files, the debug log) writes into a temporary folder. Messages and
// refusals are expected; crashes, exceptions that escape the run, leaks and sanitizer reports
// are not. Meant for small inputs (make fuzz passes -max_len).
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "engine/run.h"
#include "input/prescan.h"
#include "settings/run_option_checks.h"

namespace {

// Nobody at the run: messages are dropped, a fan of triangles is collapsed (so the star
// collapse and the vertex clean-up take part) and an error prompt is answered OK, as ostrel-cli
// answers it.
class Unattended final : public ostrel::RunHost {
 public:
  void message(const std::string&) override {}
  bool ask_yes_no(const std::string&) override { return true; }
  bool ask_resume(const std::string&) override { return true; }
};

const std::filesystem::path& scratch_folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ostrel-run-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path input = scratch_folder() / "fuzz.txt";
  const std::filesystem::path output = scratch_folder() / "out";
  {
    std::ofstream file(input, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  std::filesystem::create_directory(output);

  ostrel::RunRequest request;
  ostrel::RunSettings& settings = request.settings;
  settings.Once = true;
  settings.MaxIter = "2.5";  // 316 iterations an isomorph
  settings.Debug = true;
  // Global, no or local 'one' inflation, by the input's length, so that mutations reach all.
  settings.InflateOption = static_cast<int>(size % 3);
  settings.SegmentCount = ostrel::prescan_input(text).segment_count();
  ostrel::drop_options_greyed_for_segments(settings);
  if (!ostrel::first_run_option_problem(settings).empty()) __builtin_trap();
  request.input = input;
  request.output_folder = output;
  request.seed = 1;
  request.limits.new_isomorphs = 1;
  request.limits.attempts = 2;

  Unattended host;
  ostrel::run(request, host);
  std::filesystem::remove_all(output);
  return 0;
}
