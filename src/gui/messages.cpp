#include "gui/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace ostrel::gui {
namespace {

Messages::Hook& hook() {
  static Messages::Hook installed;
  return installed;
}

bool ask(MessageKind kind, const QString& text) {
  if (hook()) return hook()(kind, text);
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton yes = QMessageBox::Ok;
  if (kind == MessageKind::kYesNo) {
    buttons = QMessageBox::Yes | QMessageBox::No;
    yes = QMessageBox::Yes;
  } else if (kind == MessageKind::kOkCancel) {
    buttons = QMessageBox::Ok | QMessageBox::Cancel;
  }
  QMessageBox box(QMessageBox::NoIcon, Messages::title(), text, buttons,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(yes);
  return box.exec() == yes;
}

}  // namespace

void Messages::show(const QString& text) {
  ask(MessageKind::kOk, text);
}

bool Messages::ask_yes_no(const QString& text) {
  return ask(MessageKind::kYesNo, text);
}

bool Messages::ask_ok_cancel(const QString& text) {
  return ask(MessageKind::kOkCancel, text);
}

void Messages::set_hook(Hook replacement) {
  hook() = std::move(replacement);
}

}  // namespace ostrel::gui
