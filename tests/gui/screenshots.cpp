// ostrel_screenshots: shows each window of the desktop program in turn on the current display
// and saves what the display shows of it as a PNG (scripts/screenshots.sh runs it under Xvfb).
// The progress window is taken during a real run of examples/snub_cube.txt, the model window
// after a run of examples/octahedron_marks.txt.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "gui/colour_pick_form.h"
#include "gui/colour_pref_form.h"
#include "gui/draw_window.h"
#include "gui/file_form.h"
#include "gui/forms.h"
#include "gui/gui_host.h"
#include "gui/help_window.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/model_view.h"
#include "gui/model_window.h"
#include "gui/runtime_form.h"
#include "gui/segment_form.h"
#include "gui/special_form.h"
#include "gui/user_pref_form.h"
#include "gui_test_support.h"

namespace {

using namespace ostrel::gui;

void settle(int milliseconds = 400) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool save_window(QWidget* window, const QString& folder, const QString& name) {
  window->repaint();
  QCoreApplication::processEvents();
  const QPixmap shot = window->screen()->grabWindow(window->winId());
  const QString path = QDir(folder).filePath(name + ".png");
  const bool saved = !shot.isNull() && shot.save(path);
  std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

bool take(QWidget* window, const QString& folder, const QString& name) {
  window->show();
  window->move(0, 0);
  settle();
  const bool saved = save_window(window, folder, name);
  window->hide();
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrel_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const QString folder = QDir(argv[1]).absolutePath();
  QDir().mkpath(folder);
  Messages::set_hook([](MessageKind, const QString&) { return false; });

  QTemporaryDir program_folder;
  QTemporaryDir output_folder;
  Forms forms(program_folder.path().toStdString());
  forms.load_settings();
  forms.file().set_input_folder(OSTREL_EXAMPLES_DIR);
  forms.file().set_output_folder(output_folder.path());
  bool all = true;

  all &= take(&forms.intro(), folder, "intro");

  FileForm& files = forms.file();
  files.open();
  auto* list = files.findChild<QListWidget*>("InFile");
  list->setCurrentItem(list->findItems("snub_cube.txt", Qt::MatchExactly).value(0));
  all &= take(&files, folder, "file_form");

  forms.runtime().prepare_for_input(OSTREL_EXAMPLES_DIR, "snub_cube.txt");
  all &= take(&forms.runtime(), folder, "runtime_form");

  forms.segments().open(3);
  all &= take(&forms.segments(), folder, "segment_form");

  SpecialForm& special = forms.special();
  special.open();
  ostrel::gui::test::choose(&special, "SpecialOption(3)");
  ostrel::gui::test::type_into(&special, "Specialnd", "5/2");
  all &= take(&special, folder, "special_form");

  forms.user_pref().open_saving();
  all &= take(&forms.user_pref(), folder, "user_pref_form");

  forms.colour_pref().open();
  all &= take(&forms.colour_pref(), folder, "colour_pref_form");

  ColourPickForm& picker = forms.colour_pick();
  picker.open_for("Col3");
  picker.findChild<QSlider*>("Slider1")->setValue(40);
  picker.slider_moved(40);
  all &= take(&picker, folder, "colour_pick_form");

  forms.help().open();
  all &= take(&forms.help(), folder, "help_window");
  forms.whats_new().open();
  all &= take(&forms.whats_new(), folder, "whats_new_window");

  // The progress window during a run: taken at iteration 300, then the run is quit.
  special.clear_options();
  forms.runtime().prepare_for_input(OSTREL_EXAMPLES_DIR, "snub_cube.txt");
  bool drawn = false;
  GuiHost::set_poll_observer([&](const ostrel::ProgressSnapshot& snapshot, DrawWindow& window) {
    if (snapshot.IterationNo < 300 && snapshot.graphics) return;
    window.move(0, 0);
    settle(200);
    drawn = save_window(&window, folder, "draw_window");
    window.findChild<QPushButton*>("QuitButton")->click();
  });
  forms.runtime().ok();
  GuiHost::set_poll_observer({});
  all &= drawn;

  // The model window after a run (of a fixed seed, so that the picture is always the same) that
  // wrote the octahedron with marked edges and a highlighted face, a sphere on every vertex.
  list->setCurrentItem(list->findItems("octahedron_marks.txt", Qt::MatchExactly).value(0));
  forms.runtime().prepare_for_input(OSTREL_EXAMPLES_DIR, "octahedron_marks.txt");
  ostrel::gui::test::click(&forms.runtime(), "Once");
  ostrel::gui::test::click(&forms.runtime(), "HighVert");
  forms.runtime().hide();
  ostrel::RunRequest request = forms.run_request();
  request.seed = 1;
  GuiHost host(forms.draw());
  const ostrel::RunReport report = ostrel::run(request, host);
  forms.model_window().show_run(request, report, std::nullopt);
  forms.model_window().view().set_angles(ostrel::ViewAngles{110.0, 40.0, 1.0});
  all &= take(&forms.model_window(), folder, "model_window");
  return all ? 0 : 1;
}
