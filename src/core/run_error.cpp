#include "core/run_error.h"

namespace ostrel {

void throw_subscript_error(const char* table, long index) {
  throw RunError(kSubscriptOutOfRange, "Error: Subscript out of range.  Input file too large?",
                 std::string(table) + "(" + std::to_string(index) + ")");
}

void throw_overflow_error(const std::string& detail) {
  throw RunError(kOverflow, "Error: Overflow.  Try reducing some Force Strengths", detail);
}

}  // namespace ostrel
