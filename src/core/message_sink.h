// Where library code sends the messages a user must see (message boxes in the desktop
// program, lines on stderr in ostrel-cli, a recorder in tests). Library code never prints.
#pragma once

#include <string>

namespace ostrel {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // An OK message box: the text exactly as the user reads it.
  virtual void message(const std::string& text) = 0;
};

// What the preparation steps and the writers may ask of a person besides messages: the
// star-collapse question and the system beep. The engine's RunHost adds the rest.
class UserDialog : public MessageSink {
 public:
  // The star-collapse question (Yes/No).
  virtual bool ask_yes_no(const std::string& question) = 0;
  // The system beep.
  virtual void beep() {}
};

// Drops every message; for callers that only want the values.
class NullMessageSink final : public MessageSink {
 public:
  void message(const std::string&) override {}
};

}  // namespace ostrel
