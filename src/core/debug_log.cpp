#include "core/debug_log.h"

#include <fstream>

#include "core/run_error.h"

namespace ostrel {
namespace {

void write_lines(const std::filesystem::path& path, std::ios::openmode mode,
                 const std::vector<std::string>& lines) {
  std::ofstream file(path, std::ios::binary | mode);
  if (!file) {
    throw RunError(kPathNotFound,
                   "Ostrel has come across an Error.  Code: 76File: " + path.string(),
                   path.string());
  }
  for (const auto& line : lines) file << line << "\r\n";
}

}  // namespace

void DebugLog::start() {
  std::vector<std::string> header{"OSTREL Debug File", path_.string(), " "};
  lines_ = header;
  if (!path_.empty()) write_lines(path_, std::ios::trunc, header);
}

void DebugLog::append(const std::vector<std::string>& lines) {
  lines_.insert(lines_.end(), lines.begin(), lines.end());
  if (!path_.empty()) write_lines(path_, std::ios::app, lines);
}

}  // namespace ostrel
