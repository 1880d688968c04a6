// ostrel: the desktop program. Every window is built once; the main window reads ostrel.ini from
// the program's folder and the event loop runs until the user quits.
#include <QApplication>

#include "gui/forms.h"
#include "gui/intro_window.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Ostrel");
  QApplication::setDesktopFileName("ostrel");
  // The program ends from the main window (Quit, or closing it), not when some window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  ostrel::gui::Forms forms(QApplication::applicationDirPath().toStdString());
  forms.intro().load();
  return QApplication::exec();
}
