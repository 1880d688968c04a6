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

// Drops every message; for callers that only want the values.
class NullMessageSink final : public MessageSink {
 public:
  void message(const std::string&) override {}
};

}  // namespace ostrel
