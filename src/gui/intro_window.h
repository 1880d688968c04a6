// The main window `Intro`: the program's first window and the one it returns to after every
// task. Its toolbar opens the file selection (key "F"), the user preferences ("P") and the help
// ("H"), or ends the program ("Q").
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
  // A toolbar button, by its key: "F", "P", "H" or "Q"; any other key does nothing.
  void toolbar_key(const QString& key);

 protected:
  // Closing the main window ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* add_tool(const QString& caption, const QString& key, const QString& tip,
                    const QIcon& icon);

  Forms& forms_;
};

}  // namespace ostrel::gui
