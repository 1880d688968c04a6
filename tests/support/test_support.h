// Shared helpers of the tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/message_sink.h"

namespace ostrel::test {

// Keeps every message in order, so tests can assert texts and their order.
class MessageRecorder final : public MessageSink {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// A fresh empty folder below the system's temporary folder, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Path of a bundled example input.
std::filesystem::path example_path(const std::string& name);

struct CommandResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};
// Runs ostrel-cli with the given arguments (each quoted for the shell).
CommandResult run_cli(const std::vector<std::string>& arguments);

}  // namespace ostrel::test
