// Helpers of the desktop program's tests: message boxes answered by a recorder, a program
// folder of its own for every test, and lookup of controls by their names.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "gui/forms.h"
#include "gui/messages.h"

namespace ostrel::gui::test {

// Records every message box instead of showing it, for as long as it lives. Questions are
// answered with `yes_no_answer` (the star-collapse question) and `ok_cancel_answer` (the run's
// error prompt).
class MessageLog {
 public:
  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  const QStringList& texts() const { return texts_; }
  QString last() const { return texts_.isEmpty() ? QString() : texts_.last(); }
  void clear() { texts_.clear(); }

  bool yes_no_answer = false;
  bool ok_cancel_answer = true;

 private:
  QStringList texts_;
};

// A control of `form` by its object name; throws when there is none, so that a renamed control
// fails the test loudly.
template <class Control = QWidget>
Control* control(QObject* form, const QString& name) {
  auto* found = form->findChild<Control*>(name);
  if (found == nullptr) throw std::runtime_error(("no control " + name).toStdString());
  return found;
}

// Sets a text box as typing would.
void type_into(QObject* form, const QString& name, const QString& text);
// Clicks a button, check box or option button by name.
void click(QObject* form, const QString& name);
// Chooses an option button (without a click handler of its own, the group's rule runs).
void choose(QObject* form, const QString& name);
// Leaves an option group with nothing chosen (as the form can be before any choice).
void unchoose_all(QObject* form, const QString& first_option_name);

// Every test gets the program's forms over a program folder of its own (ostrel.ini lives there)
// and a folder for input and output files.
struct FormsUnderTest {
  FormsUnderTest();
  ~FormsUnderTest();

  // Writes `text` into the work folder as `name`; returns its folder.
  QString write_input(const QString& name, const QByteArray& text);
  // Copies an example input into the work folder.
  void copy_example(const QString& name);
  // Walks the file form to `file` in the work folder and presses Run.
  void open_runtime_for(const QString& file);
  QStringList work_files() const;

  QTemporaryDir program_folder;
  QTemporaryDir work_folder;
  std::unique_ptr<Forms> forms;
};

}  // namespace ostrel::gui::test
