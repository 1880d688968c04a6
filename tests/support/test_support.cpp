#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ostrel::test {
namespace {

std::string shell_quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  auto base = std::filesystem::temp_directory_path();
  path_ = base / ("ostrel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot write " + path.string());
  file << bytes;
}

std::filesystem::path example_path(const std::string& name) {
  return std::filesystem::path(OSTREL_EXAMPLES_DIR) / name;
}

CommandResult run_cli(const std::vector<std::string>& arguments, const std::string& environment) {
  TempDir scratch;
  auto out_path = scratch.path() / "out.txt";
  auto err_path = scratch.path() / "err.txt";
  std::string command = environment.empty() ? "" : environment + " ";
  command += shell_quote(OSTREL_CLI_PATH);
  for (const auto& argument : arguments) command += " " + shell_quote(argument);
  command +=
      " </dev/null >" + shell_quote(out_path.string()) + " 2>" + shell_quote(err_path.string());
  int status = std::system(command.c_str());
  CommandResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = read_file(out_path);
  result.err = read_file(err_path);
  return result;
}

CliRun::CliRun(const std::string& input, std::vector<std::string> options,
               const std::string& environment) {
  std::vector<std::string> arguments{
      "run", input, "-o", dir.path().string(), "--ini", (dir.path() / "ostrel.ini").string(), "-q"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  result = run_cli(arguments, environment);
}

}  // namespace ostrel::test
