#include "gui/help_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/controls.h"
#include "gui/forms.h"

namespace ostrel::gui {

const char* const HelpWindow::kHelpPage = "qrc:/ostrel/help.html";

HelpWindow::HelpWindow(Forms& forms) : forms_(forms) {
  setObjectName("HelpRef");
  setWindowTitle("Ostrel Help");
  auto* label = new QLabel(
      "This help page comes with Ostrel and is shown below; no network connection is needed.");
  label->setObjectName("Label1");
  label->setWordWrap(true);
  browser_ = new QTextBrowser;
  browser_->setObjectName("WebBrowser1");
  browser_->setOpenExternalLinks(true);
  auto* whats_new = new QPushButton("&What's New?");
  whats_new->setObjectName("NewCmd");
  auto* cancel = new QPushButton("&Cancel");
  cancel->setObjectName("Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(whats_new);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(browser_, 1);
  layout->addLayout(buttons);
  resize(720, 640);
  connect(whats_new, &QPushButton::clicked, this, [this] { forms_.whats_new().open(); });
  connect(cancel, &QPushButton::clicked, this, [this] { leave_form(this); });
}

void HelpWindow::open() {
  if (!loaded_) {
    browser_->setSource(QUrl(kHelpPage));
    loaded_ = true;
  }
  enter_form(this);
}

void HelpWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  setEnabled(false);
}

WhatsNewWindow::WhatsNewWindow() {
  setObjectName("WhatsNew");
  setWindowTitle("What's New In Ostrel?");
  text_ = new QPlainTextEdit;
  text_->setObjectName("Text1");
  text_->setReadOnly(true);
  QFile history(":/ostrel/whats_new.txt");
  if (history.open(QIODevice::ReadOnly | QIODevice::Text)) {
    text_->setPlainText(QString::fromUtf8(history.readAll()));
  }
  auto* close = new QPushButton("&Close");
  close->setObjectName("CloseIt");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
  resize(560, 480);
  connect(close, &QPushButton::clicked, this, [this] { leave_form(this); });
}

void WhatsNewWindow::open() {
  enter_form(this);
}

void WhatsNewWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  setEnabled(false);
}

}  // namespace ostrel::gui
