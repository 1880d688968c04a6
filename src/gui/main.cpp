// ostrel: the desktop program. Every window is built once; the main window reads ostrel.ini from
// the program's folder and the event loop runs until the user quits. `ostrel --view FILE.off`
// shows a model instead, or paints it into a picture (view_command.h).
#include <QApplication>

#include "gui/forms.h"
#include "gui/intro_window.h"
#include "gui/view_command.h"

int main(int argc, char* argv[]) {
  if (ostrel::gui::is_view_command(argc, argv)) return ostrel::gui::view_main(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName("Ostrel");
  QApplication::setDesktopFileName("ostrel");
  // The program ends from the main window (Quit, or closing it), not when some window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  ostrel::gui::Forms forms(QApplication::applicationDirPath().toStdString());
  forms.intro().load();
  return QApplication::exec();
}
