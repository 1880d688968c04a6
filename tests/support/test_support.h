// Shared helpers of the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/message_sink.h"
#include "engine/run_host.h"

namespace ostrel::test {

// Keeps every message in order, so tests can assert texts and their order.
class MessageRecorder final : public MessageSink {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// A run host that records what the run shows and answers its questions as told.
class RecordingHost final : public RunHost {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  bool ask_yes_no(const std::string& question) override {
    questions.push_back(question);
    return answer_yes;
  }
  bool ask_resume(const std::string& text) override {
    prompts.push_back(text);
    return resume;
  }
  void duplicate_label(const std::string& text) override { labels.push_back(text); }
  void progress(const ProgressSnapshot& snapshot) override {
    ++progress_calls;
    last_iteration = snapshot.IterationNo;
  }
  ButtonPresses poll() override {
    ButtonPresses pressed = next_presses;
    next_presses = {};
    if (poll_hook) poll_hook(pressed, ++polls);
    return pressed;
  }

  bool answer_yes = false;
  bool resume = true;
  ButtonPresses next_presses;
  std::function<void(ButtonPresses&, int)> poll_hook;  // may press buttons at a given poll
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> prompts;
  std::vector<std::string> labels;
  int progress_calls = 0;
  int polls = 0;
  std::int64_t last_iteration = 0;
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
// Runs ostrel-cli with the given arguments (each quoted for the shell); `environment` is put in
// front of the command as it stands ("SOURCE_DATE_EPOCH=0").
CommandResult run_cli(const std::vector<std::string>& arguments,
                      const std::string& environment = {});

// `ostrel-cli run INPUT` into a fresh folder, with a settings file of its own there, quiet.
struct CliRun {
  TempDir dir;
  CommandResult result;

  CliRun(const std::string& input, std::vector<std::string> options,
         const std::string& environment = {});
  std::filesystem::path file(const std::string& name) const { return dir.path() / name; }
};

}  // namespace ostrel::test
