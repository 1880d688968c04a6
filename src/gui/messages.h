// Every message box of the desktop program goes through Messages, so that the texts have one
// path to the screen and tests can answer the boxes instead of a person.
//
// A box has the program's title, no icon and the whole message as its text: an OK button for a
// message, Yes/No for the star-collapse question, OK/Cancel for the run's error prompt. Boxes are
// modal: the caller waits for the answer.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "core/message_sink.h"

namespace ostrel::gui {

enum class MessageKind { kOk, kYesNo, kOkCancel };

class Messages {
 public:
  // Answers a box in place of the user: returns true for Yes or OK (ignored for kOk).
  using Hook = std::function<bool(MessageKind kind, const QString& text)>;

  static void show(const QString& text);
  static void show(const std::string& text) { show(QString::fromStdString(text)); }
  static bool ask_yes_no(const QString& text);
  static bool ask_ok_cancel(const QString& text);

  // Replaces the message boxes (tests); an empty hook brings them back.
  static void set_hook(Hook hook);

  // The title of every window and message box of the program.
  static QString title() { return QStringLiteral("Ostrel"); }
};

// The library's messages (loading ostrel.ini) as message boxes.
class MessageBoxSink final : public MessageSink {
 public:
  void message(const std::string& text) override { Messages::show(text); }
};

}  // namespace ostrel::gui
