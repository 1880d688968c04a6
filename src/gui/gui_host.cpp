#include "gui/gui_host.h"

#include <QApplication>

#include "gui/draw_window.h"
#include "gui/messages.h"

namespace ostrel::gui {
namespace {

GuiHost::PollObserver& observer() {
  static GuiHost::PollObserver installed;
  return installed;
}

}  // namespace

void GuiHost::set_poll_observer(PollObserver replacement) {
  observer() = std::move(replacement);
}

void GuiHost::message(const std::string& text) {
  Messages::show(text);
}

bool GuiHost::ask_yes_no(const std::string& question) {
  collapse_answer_ = Messages::ask_yes_no(QString::fromStdString(question));
  return *collapse_answer_;
}

bool GuiHost::ask_resume(const std::string& text) {
  return Messages::ask_ok_cancel(QString::fromStdString(text));
}

void GuiHost::progress(const ProgressSnapshot& snapshot) {
  last_ = snapshot;
  window_.show_progress(snapshot);
}

void GuiHost::caption(const std::string& text) {
  window_.set_caption(text);
}

void GuiHost::note(const std::string& text) {
  window_.set_note(text);
}

void GuiHost::duplicate_label(const std::string& text) {
  window_.set_duplicate(text);
}

ButtonPresses GuiHost::poll() {
  QCoreApplication::processEvents();
  if (observer()) observer()(last_, window_);
  return window_.take_presses();
}

void GuiHost::beep() {
  QApplication::beep();
}

}  // namespace ostrel::gui
