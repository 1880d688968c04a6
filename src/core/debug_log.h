// The run's plain-text debug log, "<base name>_debug.txt" beside the output. Every group of
// lines is appended and the file closed again at once, so the log is complete up to the last
// group even when a run stops abruptly. Lines end with CR LF.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ostrel {

class DebugLog {
 public:
  // A log kept in memory only (for tests and callers that want the lines).
  DebugLog() = default;
  // A log written to `path`.
  explicit DebugLog(std::filesystem::path path) : path_(std::move(path)) {}

  // Creates (or empties) the file and writes "OSTREL Debug File", the path and " ".
  void start();
  // Appends one group of lines.
  void append(const std::vector<std::string>& lines);
  void append(const std::string& line) { append(std::vector<std::string>{line}); }

  const std::filesystem::path& path() const { return path_; }
  // Every line appended since the log was made (kept for in-memory logs and tests).
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::filesystem::path path_;
  std::vector<std::string> lines_;
};

}  // namespace ostrel
