// End-to-end: bad and odd input files through `ostrel-cli run --once`. Whatever the input, the
// run ends by itself within seconds, either with exit status 0 and the files it lists, or with
// exit status 1 and a message; never with a signal, a hang or a sanitizer report.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

constexpr int kTimedOut = 124;  // the exit status of `timeout`

// What is wrong with how a run ended; empty when it ended soundly.
std::string problem_with(const test::CommandResult& result) {
  if (result.exit_code == kTimedOut) return "still running after 20 seconds";
  if (result.err.find("Sanitizer") != std::string::npos ||
      result.err.find("runtime error:") != std::string::npos) {
    return "sanitizer report:\n" + result.err;
  }
  if (result.exit_code == 1) {
    // The run's last message says why it ended.
    std::string err = result.err;
    if (!err.empty() && err.back() == '\n') err.pop_back();
    std::string last_line = err.substr(err.find_last_of('\n') + 1);
    if (last_line.find_first_not_of(' ') == std::string::npos) return "exit 1 without a message";
    return {};
  }
  if (result.exit_code != 0) return "exit status " + std::to_string(result.exit_code);
  if (result.out.empty()) return "exit 0 without files";
  std::size_t start = 0;
  while (start < result.out.size()) {
    std::size_t end = result.out.find('\n', start);
    std::string path = result.out.substr(start, end - start);
    std::error_code error;
    if (fs::file_size(path, error) == 0 || error) return "listed file missing or empty: " + path;
    start = end == std::string::npos ? result.out.size() : end + 1;
  }
  return {};
}

TEST(CliBadInputs, EachEndsWithFilesOrAMessage) {
  test::TempDir generated;
  // Lines of a megabyte: a comment in front of a good model, and one face list.
  test::write_file(generated.path() / "long_comment_line.txt",
                   "'" + std::string(1 << 20, 'x') + "\n{\n1,2,3,-1,\n3,2,1,-1,\n}\n");
  std::string corners;
  while (corners.size() < (1u << 20)) corners += std::to_string(corners.size() % 997 + 1) + ",";
  test::write_file(generated.path() / "long_face_line.txt", "{\n" + corners + "-1,\n}\n");

  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(OSTREL_TEST_DATA_DIR) / "bad")) {
    inputs.push_back(entry.path());
  }
  inputs.push_back(generated.path() / "long_comment_line.txt");
  inputs.push_back(generated.path() / "long_face_line.txt");
  ASSERT_GE(inputs.size(), 30u);

  for (const fs::path& input : inputs) {
    test::TempDir out;
    test::CommandResult result =
        test::run_cli({"run", input.string(), "-o", out.path().string(), "--ini",
                       (out.path() / "ostrel.ini").string(), "-q", "--once", "--seed", "1", "--set",
                       "MaxIter=3", "--collapse-stars", "yes"},
                      "timeout 20");
    const std::string name = input.filename().string();
    const std::string problem = problem_with(result);
    EXPECT_EQ(problem, "") << name << "\nstderr: " << result.err.substr(0, 2000);
  }
}

}  // namespace
}  // namespace ostrel
