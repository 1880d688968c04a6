// Runs started from the forms: files written and the return to the main window, and the
// progress window during a real run (labels, drawing, buttons).
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/model.h"
#include "gui/draw_window.h"
#include "gui/file_form.h"
#include "gui/gui_host.h"
#include "gui/intro_window.h"
#include "gui/runtime_form.h"
#include "gui/special_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

// Watches the polls of a run for as long as it lives.
class PollWatch {
 public:
  explicit PollWatch(std::function<void(int poll, const ProgressSnapshot&, DrawWindow&)> act) {
    GuiHost::set_poll_observer([this, act](const ProgressSnapshot& snapshot, DrawWindow& window) {
      act(++polls, snapshot, window);
    });
  }
  ~PollWatch() { GuiHost::set_poll_observer({}); }
  int polls = 0;
};

}  // namespace

class RunTest : public QObject {
  Q_OBJECT

 private slots:
  void depth_bands_data() {
    QTest::addColumn<double>("mean_z");
    QTest::addColumn<double>("z_min");
    QTest::addColumn<double>("z_max");
    QTest::addColumn<int>("band");
    QTest::newRow("lowest") << 0.0 << 0.0 << 14.0 << 1;
    QTest::newRow("middle") << 7.0 << 0.0 << 14.0 << 8;
    QTest::newRow("greatest") << 14.0 << 0.0 << 14.0 << 15;
    QTest::newRow("just below the top") << 13.99 << 0.0 << 14.0 << 14;
    QTest::newRow("above the top") << 15.0 << 0.0 << 14.0 << 0;
    QTest::newRow("below the bottom") << -2.0 << 0.0 << 14.0 << 0;
    QTest::newRow("flat model") << 0.05 << 1.0 << 1.0 << 0;
    QTest::newRow("flat model, on it") << 1.05 << 1.0 << 1.0 << 1;
  }

  void depth_bands() {
    QFETCH(double, mean_z);
    QFETCH(double, z_min);
    QFETCH(double, z_max);
    QFETCH(int, band);
    QCOMPARE(depth_band(mean_z, z_min, z_max), band);
  }

  void depth_colours() {
    QCOMPARE(depth_colour(0), QColor(192, 192, 192));
    QCOMPARE(depth_colour(1), QColor(156, 156, 192));
    QCOMPARE(depth_colour(8), QColor(128, 0, 128));
    QCOMPARE(depth_colour(14), QColor(255, 0, 0));
    QCOMPARE(depth_colour(15), QColor(255, 255, 255));
  }

  void short_targets_are_not_drawn() {
    auto model = std::make_unique<Model>();
    model->FirstVertex = 1;
    model->LastVertex = 3;
    model->VertexX(2) = 1.0;
    model->VertexY(3) = 1.0;
    model->EdgeCount = 2;
    model->EdgeVertices(1, 1) = 1;
    model->EdgeVertices(1, 2) = 2;
    model->EdgeTarget(1) = 1.0;
    model->EdgeVertices(2, 1) = 1;
    model->EdgeVertices(2, 2) = 3;
    model->EdgeTarget(2) = 0.999;
    ProgressSnapshot snapshot;
    snapshot.model = model.get();
    DrawWindow window;
    window.show_progress(snapshot);
    QCOMPARE(window.area().lines().size(), std::size_t(1));
    QCOMPARE(window.area().lines()[0].line, QLineF(0, 0, 1, 0));
    // Without graphics the last drawing stays as it was.
    model->EdgeTarget(2) = 1.0;
    snapshot.graphics = false;
    window.show_progress(snapshot);
    QCOMPARE(window.area().lines().size(), std::size_t(1));
  }

  void once_run_writes_files_and_returns() {
    MessageLog log;
    FormsUnderTest app;
    app.copy_example("cube.txt");
    app.open_runtime_for("cube.txt");
    RunTimeForm& runtime = app.forms->runtime();
    click(&runtime, "Once");
    bool window_shown = false;
    PollWatch watch([&](int, const ProgressSnapshot&, DrawWindow& window) {
      window_shown = window_shown || window.isVisible();
    });
    click(&runtime, "RunOK");
    QVERIFY(watch.polls > 0);
    QVERIFY(window_shown);
    QCOMPARE(log.texts(), QStringList{"W11: cube  VRML files written"});
    QVERIFY(app.work_files().contains("cube.off"));
    QVERIFY(app.work_files().contains("cube_solid.wrl"));
    QVERIFY(app.forms->intro().isVisible());
    QVERIFY(app.forms->intro().isEnabled());
    QVERIFY(!app.forms->draw().isVisible());
    QVERIFY(!runtime.isVisible());
    QCOMPARE(app.forms->draw().windowTitle(), QString("cube_isom1"));
  }

  void shape_run_writes_files_named_after_the_shape() {
    MessageLog log;
    FormsUnderTest app;
    app.forms->file().open();
    click(&app.forms->file(), "SpecialInput");
    SpecialForm& special = app.forms->special();
    choose(&special, "SpecialOption(2)");
    type_into(&special, "Specialnd", "5");
    click(&special, "RunOK");
    RunTimeForm& runtime = app.forms->runtime();
    click(&runtime, "Once");
    click(&runtime, "RunOK");
    QCOMPARE(log.texts(), QStringList{"W11: prism5  VRML files written"});
    QVERIFY(app.work_files().contains("prism5.off"));
    QVERIFY(app.forms->intro().isVisible());
    QVERIFY(!app.forms->file().isVisible());
  }

  void buttons_during_a_run() {
    MessageLog log;
    FormsUnderTest app;
    app.copy_example("cube.txt");
    app.open_runtime_for("cube.txt");
    double first_force = 0.0;
    QList<double> forces;
    QStringList iterations;
    std::size_t drawn = 0;
    int messages_at_quit = -1;
    PollWatch watch([&](int poll, const ProgressSnapshot& snapshot, DrawWindow& window) {
      forces << snapshot.model->ForceStrength(1);
      iterations << control<QLabel>(&window, "ItNo")->text();
      drawn = std::max(drawn, window.area().lines().size());
      switch (poll) {
        case 1:
          first_force = snapshot.model->ForceStrength(1);
          // Two presses between polls act once.
          control<QPushButton>(&window, "F1upButton")->click();
          control<QPushButton>(&window, "F1upButton")->click();
          QCOMPARE(control<QPushButton>(&window, "F1upButton")->text(), DrawWindow::kPressed);
          break;
        case 2:
          QCOMPARE(control<QPushButton>(&window, "F1upButton")->text(), QString("&More F1"));
          control<QPushButton>(&window, "F1DownButton")->click();
          break;
        case 3:
          messages_at_quit = static_cast<int>(log.texts().size());
          control<QPushButton>(&window, "QuitButton")->click();
          break;
        default: break;
      }
    });
    click(&app.forms->runtime(), "RunOK");
    QCOMPARE(watch.polls, 3);
    QCOMPARE(forces, (QList<double>{first_force, 5 * first_force, first_force}));
    QCOMPARE(iterations, (QStringList{"10", "20", "30"}));
    QCOMPARE(drawn, std::size_t(12));  // every edge of the cube
    // Quitting writes nothing and says nothing.
    QCOMPARE(messages_at_quit, 0);
    QVERIFY(log.texts().isEmpty());
    QCOMPARE(app.work_files(), QStringList{"cube.txt"});
    QVERIFY(app.forms->intro().isVisible());
    QVERIFY(!app.forms->draw().isVisible());
    QCOMPARE(control<QPushButton>(&app.forms->draw(), "QuitButton")->text(), QString("&Quit"));
  }

  void write_button_writes_and_goes_on() {
    MessageLog log;
    FormsUnderTest app;
    app.copy_example("cube.txt");
    app.open_runtime_for("cube.txt");
    QStringList files_at_second_poll;
    PollWatch watch([&](int poll, const ProgressSnapshot&, DrawWindow& window) {
      if (poll == 1) control<QPushButton>(&window, "WriteButton")->click();
      if (poll == 2) {
        files_at_second_poll = app.work_files();
        control<QPushButton>(&window, "QuitButton")->click();
      }
    });
    click(&app.forms->runtime(), "RunOK");
    QCOMPARE(log.texts(), QStringList{"W12: cube VRML files written"});
    QVERIFY(files_at_second_poll.contains("cube.off"));
  }

  void closing_the_window_quits_the_run() {
    MessageLog log;
    FormsUnderTest app;
    app.copy_example("cube.txt");
    app.open_runtime_for("cube.txt");
    PollWatch watch([&](int poll, const ProgressSnapshot&, DrawWindow& window) {
      if (poll == 1) window.close();
    });
    click(&app.forms->runtime(), "RunOK");
    QCOMPARE(watch.polls, 1);  // taken as the Quit button at the same poll
    QCOMPARE(app.work_files(), QStringList{"cube.txt"});
    QVERIFY(log.texts().isEmpty());
    QVERIFY(app.forms->intro().isVisible());
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::RunTest)
#include "run_guitest.moc"
