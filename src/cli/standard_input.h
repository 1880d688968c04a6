// `ostrel-cli run -`: the input comes on standard input. The run reads its input file again on
// each pass (and a model window reads it after the run), so the text is kept in a file of its own,
// "stdin" in a new temporary folder, until the run is over; the output files are named after it
// (stdin.off, stdin_solid.wrl, ...).
#pragma once

#include <filesystem>
#include <istream>

namespace ostrel::cli {

class StandardInputFile {
 public:
  StandardInputFile() = default;
  ~StandardInputFile();  // removes the folder and the file
  StandardInputFile(const StandardInputFile&) = delete;
  StandardInputFile& operator=(const StandardInputFile&) = delete;

  // Copies `in` to its end into the file; false when it cannot be read or the file written.
  bool save(std::istream& in);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

}  // namespace ostrel::cli
