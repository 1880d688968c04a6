// Writing one output file safely. The bytes go to a temporary file in the same folder, which is
// renamed over the target only once it is complete, so a failure part way (a full disk, a writer
// that stops with a run error) never leaves a half-written file in place of a good one: the old
// file, if any, stays as it was and the temporary file is removed.
//
// The file is opened in binary mode; writers put their own line ends ("\r\n") into the stream.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace ostrel {

// "Ostrel has come across an Error.  Code: " + number + "File: " + path: the text the run's
// error handler shows for a file that cannot be written (no blank before "File: ").
std::string output_file_error_text(int number, const std::filesystem::path& path);

// Writes the file `path` through `write`, which fills the stream from top to bottom.
// Throws RunError:
// - kPathNotFound (76) when the folder of `path` does not exist (nothing is created);
// - kPathFileAccess (75) when the temporary file cannot be created, when the stream has failed
//   by the time `write` returns, or when the finished file cannot be renamed into place.
// A RunError (or any other exception) thrown by `write` is passed on after the temporary file
// has been removed. In every failing case a file already at `path` is left untouched.
void write_output_file(const std::filesystem::path& path,
                       const std::function<void(std::ostream&)>& write);

}  // namespace ostrel
