#include "engine/error_recovery.h"

namespace ostrel {

ErrorAction error_action(const RunError& error) {
  switch (error.number()) {
    case kInvalidCall:
    case kTypeMismatch:
    case kBadFileName:
    case kFileAlreadyOpen:
    case kInputPastEnd:
    case kInvalidProperty: return {false, ""};
    case kPathFileAccess:
      // A file that could not be written is skipped; saying so keeps the failure from passing
      // for a success.
      return {false, error.what()};
    case kOverflow: return {true, "Error: Overflow.  Try reducing some Force Strengths"};
    case kSubscriptOutOfRange:
      return {true, "Error: Subscript out of range.  Input file too large?"};
    case kDivisionByZero: return {false, "Error: Zero divide"};
    case kDeviceUnavailable:
      return {true, "Error:  File or directory not found, please check the entries in Ostrel.ini"};
    case kPathNotFound:
      return {false, "Ostrel has come across an Error.  Code: 76File: " + error.detail()};
    default:
      return {true, "Ostrel has come across an Error.  Code: " + std::to_string(error.number())};
  }
}

void RunErrorHandler::recover(const RunError& error) {
  last_error_ = error.number();
  if (!prompt_off_ && !host_.ask_resume("OSTREL has come across error, attempting to resume " +
                                        std::to_string(error.number()))) {
    throw RunStopped{};
  }
  ErrorAction action = error_action(error);
  if (!action.message.empty()) host_.message(action.message);
  if (action.ends_run) throw RunStopped{};
}

}  // namespace ostrel
