// The main window `Intro`: the program's first window and the one it returns to after every
// task. Its toolbar opens the file selection (key "F"), the model window on an OFF file ("V",
// "View model…"), the user preferences ("P") and the help ("H"), or ends the program ("Q").
#pragma once

#include <QMainWindow>

class QAction;

namespace ostrel::gui {

class Forms;

class IntroWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit IntroWindow(Forms& forms);

  // Load: reads the settings file into the forms, then shows the window.
  void load();
  // A toolbar button, by its key: "F", "V", "P", "H" or "Q"; any other key does nothing.
  void toolbar_key(const QString& key);
  // "View model…" once its file is chosen: the model window shows it, in the colours of the
  // colour preferences where the file gives none, or the file's message is shown.
  void view_model(const QString& path);

 protected:
  // Closing the main window ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* add_tool(const QString& caption, const QString& key, const QString& tip,
                    const QIcon& icon);

  Forms& forms_;
};

}  // namespace ostrel::gui
