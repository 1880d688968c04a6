#include "output/output_file.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

#include "core/run_error.h"

namespace ostrel {
namespace {

[[noreturn]] void throw_file_error(int number, const std::filesystem::path& path) {
  throw RunError(number, output_file_error_text(number, path), path.string());
}

// A name beside the target that no other write of this process uses at the same time:
// ".<file name>.<clock ticks>-<counter>.tmp".
std::filesystem::path temporary_path(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::filesystem::path name = "." + path.filename().string() + "." + std::to_string(ticks) + "-" +
                               std::to_string(counter++) + ".tmp";
  return path.parent_path() / name;
}

void remove_quietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

std::string output_file_error_text(int number, const std::filesystem::path& path) {
  return "Ostrel has come across an Error.  Code: " + std::to_string(number) +
         "File: " + path.string();
}

void write_output_file(const std::filesystem::path& path,
                       const std::function<void(std::ostream&)>& write) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::error_code status;
  if (!std::filesystem::is_directory(folder, status)) throw_file_error(kPathNotFound, path);

  const std::filesystem::path temporary = temporary_path(path);
  std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
  if (!file) {
    remove_quietly(temporary);
    throw_file_error(kPathFileAccess, path);
  }
  try {
    write(file);
    file.flush();
  } catch (...) {
    file.close();
    remove_quietly(temporary);
    throw;
  }
  const bool written = static_cast<bool>(file);
  file.close();
  if (!written || file.fail()) {
    remove_quietly(temporary);
    throw_file_error(kPathFileAccess, path);
  }

  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) {
    remove_quietly(temporary);
    throw_file_error(kPathFileAccess, path);
  }
}

}  // namespace ostrel
