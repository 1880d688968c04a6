// ostrel: the desktop program. Every window is built once; the main window reads ostrel.ini
// (settings_location.h says which) and the event loop runs until the user quits.
//   ostrel [--ini FILE] [FILE]
// A FILE ending in .off opens in the model window, any other is selected as the run's input.
// `ostrel --view FILE.off` shows a model instead, or paints it into a picture (view_command.h).
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "gui/file_form.h"
#include "gui/forms.h"
#include "gui/intro_window.h"
#include "gui/view_command.h"
#include "settings/settings_location.h"

namespace {

void describe_arguments(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      "Ostrel: models of polyhedra relaxed from their faces.\n"
      "A FILE ending in .off opens in the model window; any other file is selected as the "
      "input of the next run.\n"
      "ostrel --view FILE.off [--screenshot OUT.png [--size WxH]] [--rotate YAW,PITCH] "
      "[--frame] shows an OFF file, or paints it into a PNG picture without a display.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({"ini",
                    "Settings file (default: a writable ostrel.ini beside the program, else "
                    "~/.config/ostrel/ostrel.ini).",
                    "FILE"});
  parser.addPositionalArgument("FILE", "A model (.off) to view or an input file to select.",
                               "[FILE]");
}

// --help and --version are answered before any window system is needed.
bool asks_for_text_only(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view word(argv[k]);
    if (word == "-h" || word == "--help" || word == "-?" || word == "--help-all" ||
        word == "-v" || word == "--version") {
      return true;
    }
  }
  return false;
}

// Reads the arguments; answers --help and --version, and refuses unusable ones (exit status 2).
void read_arguments(QCommandLineParser& parser) {
  describe_arguments(parser);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "ostrel: %s\n", qPrintable(parser.errorText()));
    std::exit(2);
  }
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();
  if (parser.positionalArguments().size() > 1) {
    std::fprintf(stderr, "ostrel: one FILE at most\n");
    std::exit(2);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (ostrel::gui::is_view_command(argc, argv)) return ostrel::gui::view_main(argc, argv);
  QCoreApplication::setApplicationName("ostrel");
  QCoreApplication::setApplicationVersion(OSTREL_VERSION);
  if (asks_for_text_only(argc, argv)) {
    QCoreApplication text_only(argc, argv);
    QCommandLineParser parser;
    read_arguments(parser);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Ostrel");
  QApplication::setDesktopFileName("ostrel");
  // The program ends from the main window (Quit, or closing it), not when some window closes.
  QApplication::setQuitOnLastWindowClosed(false);
  QCommandLineParser parser;
  read_arguments(parser);

  const ostrel::SettingsLocation location = ostrel::find_settings_location(
      QApplication::applicationDirPath().toStdString(), parser.value("ini").toStdString());
  ostrel::gui::Forms forms(location.file, location.default_folder);
  forms.intro().load();
  if (!parser.positionalArguments().isEmpty()) {
    const QString file = QDir::current().absoluteFilePath(parser.positionalArguments().first());
    if (file.endsWith(".off", Qt::CaseInsensitive)) {
      forms.intro().view_model(file);
    } else {
      forms.intro().toolbar_key("F");
      forms.file().select_input(file);
    }
  }
  return QApplication::exec();
}
