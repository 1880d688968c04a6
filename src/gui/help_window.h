// The help form `HelpRef`, which shows the help page that comes with the program, and the form
// `WhatsNew` with the change history. Neither takes part in a run; the main window stays usable
// while they are open.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QTextBrowser;

namespace ostrel::gui {

class Forms;

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(Forms& forms);

  static const char* const kHelpPage;

  // Shown from the main window's Help; the page is loaded at the first showing.
  void open();
  QTextBrowser* browser() const { return browser_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Forms& forms_;
  QTextBrowser* browser_;
  bool loaded_ = false;
};

class WhatsNewWindow : public QWidget {
  Q_OBJECT
 public:
  WhatsNewWindow();
  void open();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QPlainTextEdit* text_;
};

}  // namespace ostrel::gui
