#include "engine/run_messages.h"

#include <charconv>
#include <cmath>

#include "engine/run.h"

namespace ostrel {

const char* outcome_name(IsomorphOutcome outcome) {
  switch (outcome) {
    case IsomorphOutcome::kNew: return "new";
    case IsomorphOutcome::kDuplicate: return "duplicate";
    case IsomorphOutcome::kCoincident: return "coincident";
    case IsomorphOutcome::kUnsettled: return "unsettled";
    case IsomorphOutcome::kWritten: return "written";
  }
  return "unsettled";
}

std::string short_number(double value) {
  if (!std::isfinite(value)) return value != value ? "nan" : value > 0 ? "inf" : "-inf";
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 2);
  return std::string(text, end.ptr);
}

std::string nothing_settled_message(int attempts, double deform, double deforp) {
  return "Error: No isomorph settled in " + std::to_string(attempts) + " attempt" +
         (attempts == 1 ? "" : "s") + "; the best reached E " + short_number(deform) + ", P " +
         short_number(deforp) +
         " \u2014 the faces may not all be regular with unit edges; --once writes the best attempt";
}

}  // namespace ostrel
