// Run-time failures of a run: an error number and the text to show the user.
#pragma once

#include <stdexcept>
#include <string>

namespace ostrel {

// Error numbers the run's handler knows (see engine/run_error.cpp for their texts).
enum ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kBadFileName = 52,
  kFileNotFound = 53,
  kFileAlreadyOpen = 55,
  kInputPastEnd = 62,
  kDeviceUnavailable = 68,
  kPathFileAccess = 75,
  kPathNotFound = 76,
  kInvalidProperty = 380,
};

// A failure inside a run. `number` follows the error table of the run's handler;
// `what()` is the text meant for the user; `detail` says where it happened
// (the number text, the file path) and may be empty.
class RunError : public std::runtime_error {
 public:
  RunError(int number, const std::string& text, std::string detail = {})
      : std::runtime_error(text), number_(number), detail_(std::move(detail)) {}

  int number() const { return number_; }
  const std::string& detail() const { return detail_; }

 private:
  int number_;
  std::string detail_;
};

// "Error: Subscript out of range.  Input file too large?": any table access past a capacity.
[[noreturn]] void throw_subscript_error(const char* table, long index);

// "Error: Overflow.  Try reducing some Force Strengths": a number that does not fit its type.
[[noreturn]] void throw_overflow_error(const std::string& detail);

}  // namespace ostrel

namespace ostrel {

// Thrown once the run's error handler has decided that the run ends; the run's top level
// catches it. Everything has been reported by then.
struct RunStopped {};

// The run's one error handler: applies the error table to a failure, showing its messages.
// Returns when the run goes on ("the failing step has no effect"); throws RunStopped when the
// run ends.
class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  virtual void recover(const RunError& error) = 0;
};

}  // namespace ostrel
