// The simple-shape form: its messages, the hand-over to the run-time form and the shape a run
// then builds.
#include <QLineEdit>
#include <QTest>

#include "gui/file_form.h"
#include "gui/intro_window.h"
#include "gui/runtime_form.h"
#include "gui/special_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {

class SpecialFormTest : public QObject {
  Q_OBJECT

 private slots:
  void refused_choices_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("no shape") << ""
                              << "5"
                              << "Please select one of Polygon, Pyramid, Prism or Antiprism";
    QTest::newRow("empty size") << "SpecialOption(2)"
                                << ""
                                << "Please select a polygon size";
    QTest::newRow("size 0 over d") << "SpecialOption(2)"
                                   << "0/3"
                                   << "Please select a polygon size";
    QTest::newRow("too few corners") << "SpecialOption(0)"
                                     << "2"
                                     << "Error: A polygon needs at least 3 corners, not 2";
    QTest::newRow("too many corners") << "SpecialOption(1)"
                                      << "41"
                                      << "Error: A polygon can have at most 40 corners, not 41";
    QTest::newRow("common factor") << "SpecialOption(3)"
                                   << "6/2"
                                   << "Error: 6/2 is not one star polygon: 6 and 2 share a factor";
  }

  void refused_choices() {
    QFETCH(QString, option);
    QFETCH(QString, size);
    QFETCH(QString, message);
    MessageLog log;
    FormsUnderTest app;
    app.forms->file().open();
    click(&app.forms->file(), "SpecialInput");
    SpecialForm& form = app.forms->special();
    QVERIFY(form.isVisible());
    QVERIFY(!app.forms->file().isEnabled());
    if (!option.isEmpty()) choose(&form, option);
    type_into(&form, "Specialnd", size);
    click(&form, "RunOK");
    QCOMPARE(log.texts(), QStringList{message});
    QVERIFY(form.isVisible());
    QVERIFY(!app.forms->runtime().isVisible());
  }

  void chosen_shape_goes_to_the_run() {
    MessageLog log;
    FormsUnderTest app;
    app.forms->file().open();
    click(&app.forms->file(), "SpecialInput");
    SpecialForm& form = app.forms->special();
    choose(&form, "SpecialOption(3)");
    type_into(&form, "Specialnd", "5/2");
    click(&form, "RunOK");
    QVERIFY(log.texts().isEmpty());
    RunTimeForm& runtime = app.forms->runtime();
    QVERIFY(runtime.isVisible());
    QVERIFY(!form.isVisible());
    QCOMPARE(runtime.windowTitle(), QString("Ostrel RunTime Options: antiprism5-2"));
    for (const char* name : {"WeakenLimit", "AugFrame", "HighlightVal"}) {
      QVERIFY2(!control<QWidget>(&runtime, name)->isEnabledTo(&runtime), name);
    }
    const RunRequest request = app.forms->run_request();
    QVERIFY(request.shape.has_value());
    QCOMPARE(int(request.shape->kind), int(SpecialShape::kAntiprism));
    QCOMPARE(request.shape->n, 5);
    QCOMPARE(request.shape->d, 2);
    QCOMPARE(request.settings.SegmentCount, 1);
  }

  void file_run_clears_the_shape() {
    FormsUnderTest app;
    app.write_input("triangle.txt", "{1,2,3,-1,}");
    SpecialForm& form = app.forms->special();
    form.open();
    choose(&form, "SpecialOption(1)");
    type_into(&form, "Specialnd", "4");
    QVERIFY(form.chosen_shape().has_value());
    app.open_runtime_for("triangle.txt");
    QVERIFY(!form.chosen_shape().has_value());
    QVERIFY(!app.forms->run_request().shape.has_value());
  }

  void cancel_returns_to_intro() {
    FormsUnderTest app;
    app.forms->intro().toolbar_key("F");
    click(&app.forms->file(), "SpecialInput");
    click(&app.forms->special(), "Cancel");
    QVERIFY(app.forms->intro().isVisible());
    QVERIFY(!app.forms->special().isVisible());
    QVERIFY(!app.forms->file().isVisible());
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::SpecialFormTest)
#include "special_guitest.moc"
