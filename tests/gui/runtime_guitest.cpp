// The run-time options form: how it hands its options to the checks, the enabling rules of its
// controls, its adaptation to the input file, and the segment options form.
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <vector>

#include "gui/controls.h"
#include "gui/file_form.h"
#include "gui/intro_window.h"
#include "gui/runtime_form.h"
#include "gui/segment_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

const QByteArray kTriangle = "{\r\n1,2,3,-1,\r\n}\r\n";

bool enabled(QWidget* form, const QString& name) {
  return control<QWidget>(form, name)->isEnabledTo(form);
}

}  // namespace

class RunTimeFormTest : public QObject {
  Q_OBJECT

 private slots:
  // The form hands the library's checks which groups have nothing chosen.
  void unchosen_groups_reach_the_checks() {
    FormsUnderTest app;
    app.write_input("triangle.txt", kTriangle);
    app.open_runtime_for("triangle.txt");
    RunTimeForm& form = app.forms->runtime();
    QCOMPARE(form.validate(), QString());
    click(&form, "Augment");
    QCOMPARE(form.validate(), QString("Error: You must choose an Augment Option"));
    choose(&form, "InflateOption(3)");
    unchoose_all(&form, "LocalOption(0)");
    QCOMPARE(
        form.validate(),
        QString("Error: With Local Diagonal inflation you must choose a local inflation option"));
    unchoose_all(&form, "InflateOption(0)");
    QCOMPARE(form.validate(), QString("Error: You must choose an inflation option"));
  }

  void failing_ok_shows_message_and_stays() {
    MessageLog log;
    FormsUnderTest app;
    app.write_input("triangle.txt", kTriangle);
    app.open_runtime_for("triangle.txt");
    RunTimeForm& form = app.forms->runtime();
    type_into(&form, "BandLen", "0");
    click(&form, "RunOK");
    QCOMPARE(log.texts(), QStringList{"Error: Band Length must be > 0"});
    QVERIFY(form.isVisible());
    QCOMPARE(control<QLineEdit>(&form, "BandLen")->text(), QString("0"));
  }

  void enabling_rules() {
    FormsUnderTest app;
    RunTimeForm& form = app.forms->runtime();
    const QStringList bounds{"LocInfMin1", "LocInfMax1", "LocInfMin2", "LocInfMax2",
                             "LocInfMin3", "LocInfMax3", "SelectFace"};
    auto enabled_bounds = [&] {
      QStringList on;
      for (const QString& name : bounds) {
        if (enabled(&form, name)) on << name;
      }
      return on;
    };
    // Form load: Global chosen, Range chosen, Modified Hop clear.
    QVERIFY(enabled(&form, "GlobLim"));
    QVERIFY(!enabled(&form, "LocalFrame"));
    QCOMPARE(enabled_bounds(), QStringList{});
    QVERIFY(!enabled(&form, "SqrtMult"));

    choose(&form, "InflateOption(3)");
    QVERIFY(!enabled(&form, "GlobLim"));
    QVERIFY(enabled(&form, "LocalFrame"));
    QCOMPARE(enabled_bounds(), (QStringList{"LocInfMin1", "LocInfMax1"}));
    choose(&form, "LocalOption(0)");
    QCOMPARE(enabled_bounds(), QStringList{"LocInfMin1"});
    choose(&form, "LocalOption(2)");
    QCOMPARE(enabled_bounds(),
             (QStringList{"LocInfMin1", "LocInfMin2", "LocInfMin3", "SelectFace"}));
    choose(&form, "LocalOption(3)");
    QCOMPARE(enabled_bounds(), bounds);

    for (const char* other : {"InflateOption(1)", "InflateOption(2)"}) {
      choose(&form, other);
      QVERIFY(!enabled(&form, "GlobLim"));
      QVERIFY(!enabled(&form, "LocalFrame"));
      QCOMPARE(enabled_bounds(), QStringList{});
    }
    choose(&form, "InflateOption(0)");
    QVERIFY(enabled(&form, "GlobLim"));

    // Back to Local Diagonal: the boxes of the chosen local option are the editable ones.
    choose(&form, "LocalOption(2)");
    choose(&form, "InflateOption(3)");
    QCOMPARE(enabled_bounds(),
             (QStringList{"LocInfMin1", "LocInfMin2", "LocInfMin3", "SelectFace"}));

    const std::pair<QString, QString> pairs[] = {{"SqrtHop", "SqrtMult"},
                                                 {"Weaken", "WeakenLimit"},
                                                 {"Highlight", "HighlightVal"},
                                                 {"Augment", "AugFrame"}};
    for (const auto& [box, dependent] : pairs) {
      click(&form, box);
      QVERIFY2(enabled(&form, dependent), qPrintable(dependent));
      click(&form, box);
      QVERIFY2(!enabled(&form, dependent), qPrintable(dependent));
    }
  }

  void adapts_to_input() {
    MessageLog log;
    FormsUnderTest app;
    RunTimeForm& form = app.forms->runtime();
    auto* segments = control<QPushButton>(&form, "Segments");
    auto value = [&](const QString& name) { return control<TriStateCheck>(&form, name)->value(); };

    // One "{" record, even with two braces on it, makes no segments; "{" after an apostrophe
    // does not count.
    app.write_input("one.txt", "' {  comment\r\n{{ 1,2,3,-1,\r\n}\r\n");
    app.open_runtime_for("one.txt");
    QCOMPARE(segments->text(), QString("None"));
    QVERIFY(segments->isHidden());
    QCOMPARE(form.windowTitle(), QString("Ostrel RunTime Options: one.txt"));
    QVERIFY(form.isVisible());
    QVERIFY(!app.forms->file().isVisible());

    // Seven "{" records: the count is in the caption; the modes are greyed and disabled.
    click(&form, "Augment");
    app.write_input("seven.txt", "{1,2,-1,},{\r\n{\r\n{\r\n{\r\n{\r\n{\r\n");
    app.open_runtime_for("seven.txt");
    QCOMPARE(segments->text(), QString("Segments 7"));
    QVERIFY(!segments->isHidden());
    QCOMPARE(form.segment_count(), 7);
    for (const char* name : {"Highlight", "Once", "Weaken", "Isomorph", "Augment"}) {
      QCOMPARE(value(name), 2);
      QVERIFY(!enabled(&form, name));
    }
    QVERIFY(!enabled(&form, "WeakenLimit"));
    QVERIFY(!enabled(&form, "HighlightVal"));
    QVERIFY(enabled(&form, "AugFrame"));
    // Greyed boxes are off: their number boxes are not checked.
    type_into(&form, "WeakenLimit", "1");
    type_into(&form, "AugmentVal", "0");
    QCOMPARE(form.validate(), QString());
    type_into(&form, "WeakenLimit", "3");
    type_into(&form, "AugmentVal", "5/2");

    // Back to an input without segments: the greyed boxes are cleared and enabled.
    app.open_runtime_for("one.txt");
    QCOMPARE(value("Highlight"), 0);
    QCOMPARE(value("Isomorph"), 0);
    QCOMPARE(value("Augment"), 0);
    QVERIFY(enabled(&form, "Augment"));

    // An "A" from the first "{" record on keeps Augment as it was; an "A" before it does not.
    click(&form, "Augment");
    app.write_input("augmented.txt", "{\r\nA1,2,3,4,-1,\r\n}\r\n");
    app.open_runtime_for("augmented.txt");
    QCOMPARE(value("Augment"), 1);
    QVERIFY(enabled(&form, "AugFrame"));
    app.write_input("early.txt", "' A note\r\nA\r\n{\r\n1,2,3,4,-1,\r\n}\r\n");
    app.open_runtime_for("early.txt");
    QCOMPARE(value("Augment"), 0);
    QVERIFY(enabled(&form, "Augment"));

    // Weaken and its limit are kept from one input to the next; a kept tick keeps the limit
    // editable.
    click(&form, "Weaken");
    type_into(&form, "WeakenLimit", "4");
    app.open_runtime_for("one.txt");
    QCOMPARE(value("Weaken"), 1);
    QVERIFY(enabled(&form, "WeakenLimit"));
    QCOMPARE(control<QLineEdit>(&form, "WeakenLimit")->text(), QString("4"));
    QVERIFY(!enabled(&form, "HighlightVal"));

    // A "{" record holding a comma ends there: "{1,{" is two records, one with a brace each.
    app.write_input("split.txt", "{1,{\r\n");
    app.open_runtime_for("split.txt");
    QCOMPARE(segments->text(), QString("Segments 2"));
    QVERIFY(log.texts().isEmpty());
  }

  void unreadable_input_stays_on_file_form() {
    MessageLog log;
    FormsUnderTest app;
    app.write_input("gone.txt", kTriangle);
    app.forms->file().open();
    auto* list = control<QListWidget>(&app.forms->file(), "InFile");
    list->setCurrentItem(list->findItems("gone.txt", Qt::MatchExactly).first());
    QFile::remove(QDir(app.work_folder.path()).filePath("gone.txt"));
    click(&app.forms->file(), "Run");
    QCOMPARE(log.texts().size(), 1);
    QVERIFY(log.last().startsWith("Error: Cannot open input file"));
    QVERIFY(app.forms->file().isVisible());
    QVERIFY(!app.forms->runtime().isVisible());
  }

  void run_without_file_is_refused() {
    MessageLog log;
    FormsUnderTest app;
    app.forms->file().open();
    click(&app.forms->file(), "Run");
    QCOMPARE(log.texts(), QStringList{"You must choose a file to run"});
    QVERIFY(app.forms->file().isVisible());
  }

  void cancel_returns_to_intro() {
    FormsUnderTest app;
    app.write_input("triangle.txt", kTriangle);
    app.open_runtime_for("triangle.txt");
    click(&app.forms->runtime(), "RunCancel");
    QVERIFY(!app.forms->runtime().isVisible());
    QVERIFY(!app.forms->file().isVisible());
    QVERIFY(app.forms->intro().isVisible());
  }

  void segment_options() {
    MessageLog log;
    FormsUnderTest app;
    app.write_input("two.txt", "{\r\n1,2,-1,\r\n}\r\n{\r\n1,2,-1,\r\n}\r\n");
    app.open_runtime_for("two.txt");
    RunTimeForm& runtime = app.forms->runtime();
    SegmentForm& form = app.forms->segments();
    click(&runtime, "Segments");
    QVERIFY(form.isVisible());
    QVERIFY(!runtime.isVisible());
    QVERIFY(!control<QWidget>(&form, "SegEdge(2)")->isHidden());
    for (const char* name : {"SegEdge(3)", "SegX(4)", "FlipZ(5)", "SegTrans(3)"}) {
      QVERIFY2(control<QWidget>(&form, name)->isHidden(), name);
    }

    type_into(&form, "SegEdge(5)", "-1");  // a hidden row
    QCOMPARE(form.validate(), QString("Error: Segment 5 edge length must be >= 0"));
    // The first row with a problem is reported.
    type_into(&form, "SegEdge(1)", "1,5");
    type_into(&form, "SegEdge(3)", "-2");
    click(&form, "runok");
    QCOMPARE(log.texts(), QStringList{"Dorvik, stop putting numbers in with commas!"});
    QVERIFY(form.isVisible());

    for (int r = 1; r <= 5; ++r) type_into(&form, QStringLiteral("SegEdge(%1)").arg(r), "1");
    type_into(&form, "SegEdge(1)", "1.5");
    type_into(&form, "SegX(2)", "3");
    click(&form, "runok");
    QVERIFY(!form.isVisible());
    QVERIFY(runtime.isVisible());
    QVERIFY(runtime.isEnabled());
    const RunSettings settings = app.forms->run_request().settings;
    QCOMPARE(settings.SegmentCount, 2);
    QCOMPARE(settings.SegEdge[1], std::string("1.5"));
    QCOMPARE(settings.SegX[2], std::string("3"));
  }

  void run_settings_from_controls() {
    FormsUnderTest app;
    app.write_input("triangle.txt", kTriangle);
    app.open_runtime_for("triangle.txt");
    RunTimeForm& form = app.forms->runtime();
    choose(&form, "InflateOption(3)");
    choose(&form, "LocalOption(3)");
    click(&form, "Once");
    click(&form, "Debug");
    type_into(&form, "ForceRhom2", "r30");
    type_into(&form, "LocInfMax2", "2.5");
    const RunRequest request = app.forms->run_request();
    const RunSettings& s = request.settings;
    QCOMPARE(s.InflateOption, 3);
    QCOMPARE(s.LocalOption, 3);
    QVERIFY(s.Once);
    QVERIFY(s.Debug);
    QVERIFY(!s.Weaken);
    QCOMPARE(s.ForceRhom2, std::string("r30"));
    QCOMPARE(s.LocInfMax[2], std::string("2.5"));
    QCOMPARE(s.SegmentCount, 1);
    QCOMPARE(s.AugmentOption, 0);
    QCOMPARE(s.AugmentColour, -1);
    QCOMPARE(QString::fromStdString(request.input.string()),
             QDir(app.work_folder.path()).filePath("triangle.txt"));
    QCOMPARE(QString::fromStdString(request.output_folder.string()), app.work_folder.path());
    QVERIFY(!request.shape);
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::RunTimeFormTest)
#include "runtime_guitest.moc"
