#include "cli/standard_input.h"

#include <stdlib.h>

#include <fstream>
#include <string>

namespace ostrel::cli {

StandardInputFile::~StandardInputFile() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool StandardInputFile::save(std::istream& in) {
  std::error_code error;
  std::string folder = (std::filesystem::temp_directory_path(error) / "ostrel-XXXXXX").string();
  if (error || ::mkdtemp(folder.data()) == nullptr) return false;
  folder_ = folder;
  path_ = folder_ / "stdin";
  std::ofstream out(path_, std::ios::binary);
  out << in.rdbuf();
  out.close();
  // An empty standard input leaves the stream failed, but is an (empty) input all the same.
  return static_cast<bool>(out) || std::filesystem::file_size(path_, error) == 0;
}

}  // namespace ostrel::cli
