// The user preferences form in its two modes, the settings file behind it, and the start of the
// program without a settings file.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/colour_pick_form.h"
#include "gui/colour_pref_form.h"
#include "gui/file_form.h"
#include "gui/intro_window.h"
#include "gui/runtime_form.h"
#include "gui/user_pref_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

QByteArray settings_bytes(const FormsUnderTest& app) {
  QFile file(QString::fromStdString(app.forms->settings_file().string()));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kUpdated = "Ostrel User Preferences Updated";
const QString kSuffixes = "Error: Suffixes for selected output files must be different";
const QString kTransparency = "Error: Transparency Level must be between 0 and 1";

}  // namespace

class UserPrefFormTest : public QObject {
  Q_OBJECT

 private slots:
  void first_start_creates_settings_file() {
    MessageLog log;
    FormsUnderTest app;
    const QByteArray bytes = settings_bytes(app);
    QVERIFY(bytes.startsWith("diri=" + app.program_folder.path().toUtf8() + "\r\n"));
    QVERIFY(bytes.endsWith("end \r\n \r\n"));
    QVERIFY(log.texts().isEmpty());
    UserPrefForm& form = app.forms->user_pref();
    // The new file's suffix wins over the control's initial "molecule".
    QCOMPARE(control<QLineEdit>(&form, "CylSuffix")->text(), QString("cylinder"));
    QCOMPARE(control<QLineEdit>(&form, "Force6")->text(), QString("100"));
    QVERIFY(control<QCheckBox>(&form, "SolidVRML")->isChecked());
    QVERIFY(control<QRadioButton>(&form, "VertexLabel(1)")->isChecked());
    QVERIFY(!control<QCheckBox>(&app.forms->colour_pref(), "RhomColO")->isChecked());
  }

  void saving_mode_ok_writes_settings() {
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    app.forms->intro().toolbar_key("P");
    QVERIFY(form.isVisible());
    QVERIFY(!app.forms->intro().isVisible());
    QCOMPARE(control<QLabel>(&form, "SourceWarn")->text(), UserPrefForm::kSavingNote);
    type_into(&form, "Force1", "50");
    click(&form, "cmdOK");
    QCOMPARE(log.texts(), QStringList{kUpdated});
    QVERIFY(settings_bytes(app).contains("\r\nf001=50\r\n"));
    QVERIFY(!form.isVisible());
    QVERIFY(app.forms->intro().isVisible());
  }

  void transparency_checked_in_saving_mode_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0.5") << "0.5" << true;
    QTest::newRow("-0.1") << "-0.1" << false;
    QTest::newRow("1.01") << "1.01" << false;
  }

  void transparency_checked_in_saving_mode() {
    QFETCH(QString, level);
    QFETCH(bool, accepted);
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    const QByteArray before = settings_bytes(app);
    form.open_saving();
    type_into(&form, "TransLevel", level);
    click(&form, "cmdOK");
    QCOMPARE(log.texts(), QStringList{accepted ? kUpdated : kTransparency});
    QCOMPARE(form.isVisible(), !accepted);
    QCOMPARE(settings_bytes(app) == before, !accepted);
  }

  void run_mode_applies_to_next_run_only() {
    MessageLog log;
    FormsUnderTest app;
    app.write_input("triangle.txt", "{1,2,3,-1,}");
    app.open_runtime_for("triangle.txt");
    RunTimeForm& runtime = app.forms->runtime();
    UserPrefForm& form = app.forms->user_pref();
    const QByteArray before = settings_bytes(app);

    click(&runtime, "Pref");
    QCOMPARE(runtime.pref_button()->text(), QString("Clicked"));
    QVERIFY(!runtime.isEnabled());
    QVERIFY(form.isVisible());
    QCOMPARE(control<QLabel>(&form, "SourceWarn")->text(), UserPrefForm::kRunNote);

    // The transparency range belongs to saving mode only.
    type_into(&form, "TransLevel", "2");
    type_into(&form, "Force2", "70");
    click(&form, "cmdOK");
    QVERIFY(log.texts().isEmpty());
    QCOMPARE(settings_bytes(app), before);
    QCOMPARE(runtime.pref_button()->text(), QString("&Preferences"));
    QVERIFY(runtime.isEnabled());
    QVERIFY(!form.isVisible());
    QCOMPARE(control<QLabel>(&form, "SourceWarn")->text(), UserPrefForm::kSavingNote);
    QCOMPARE(app.forms->run_request().settings.Force[2], std::string("70"));

    // Cancel in run mode: no message, back to the run-time form.
    click(&runtime, "Pref");
    click(&form, "cmdCancel");
    QVERIFY(log.texts().isEmpty());
    QCOMPARE(runtime.pref_button()->text(), QString("&Preferences"));
    QVERIFY(runtime.isEnabled());
    QVERIFY(!app.forms->intro().isVisible());
  }

  void saving_mode_cancel_keeps_values_for_this_session() {
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    const QByteArray before = settings_bytes(app);
    form.open_saving();
    type_into(&form, "Force1", "75");
    click(&form, "cmdCancel");
    QCOMPARE(log.texts(), QStringList{"Default settings have not been updated"});
    QCOMPARE(settings_bytes(app), before);
    QVERIFY(app.forms->intro().isVisible());
    QVERIFY(!form.isVisible());
    QCOMPARE(app.forms->run_request().settings.Force[1], std::string("75"));
  }

  void suffixes_of_written_files_differ_data() {
    QTest::addColumn<bool>("frame_written");
    QTest::addColumn<QString>("solid");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("tidied_frame");
    QTest::newRow("blanks around are dropped") << true << "solid"
                                               << " solid " << false << "solid";
    QTest::newRow("two empty suffixes") << true << ""
                                        << "" << false << " ";
    QTest::newRow("shared with an unwritten file") << false << "solid"
                                                   << "solid" << true << "solid";
    QTest::newRow("case counts") << true << "Solid"
                                 << "solid" << true << "solid";
  }

  void suffixes_of_written_files_differ() {
    QFETCH(bool, frame_written);
    QFETCH(QString, solid);
    QFETCH(QString, frame);
    QFETCH(bool, accepted);
    QFETCH(QString, tidied_frame);
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    form.open_saving();
    control<QCheckBox>(&form, "SolidVRML")->setChecked(true);
    control<QCheckBox>(&form, "FrameVRML")->setChecked(frame_written);
    type_into(&form, "SolidSuffix", solid);
    type_into(&form, "FrameSuffix", frame);
    click(&form, "cmdOK");
    QCOMPARE(log.texts(), QStringList{accepted ? kUpdated : kSuffixes});
    QCOMPARE(control<QLineEdit>(&form, "FrameSuffix")->text(), tidied_frame);
  }

  void molecule_suffix_checked_against_the_others() {
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    form.open_saving();
    type_into(&form, "CylSuffix", "anim");
    click(&form, "cmdOK");
    QCOMPARE(log.texts(), QStringList{kSuffixes});
    control<QCheckBox>(&form, "AnimVRML")->setChecked(false);
    click(&form, "cmdOK");
    QCOMPARE(log.last(), kUpdated);
  }

  void vertex_size_warns_above_20() {
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    form.open_saving();
    auto* size = control<QLineEdit>(&form, "VertexSize");
    size->clear();
    QTest::keyClicks(size, "25");
    QCOMPARE(log.texts().size(), 1);
    QCOMPARE(log.last(), QString::fromUtf8(kVertexSphereWarning.data()));
    log.clear();
    size->clear();
    QTest::keyClicks(size, "210");
    QCOMPARE(log.texts().size(), 2);  // at 21 and at 210
    QCOMPARE(size->text(), QString("210"));
  }

  void stored_vertex_size_warns_once_at_start() {
    MessageLog log;
    FormsUnderTest app;
    QFile file(QString::fromStdString(app.forms->settings_file().string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("vxsz=25\r\nend\r\n");
    file.close();
    log.clear();
    app.forms->load_settings();
    QCOMPARE(log.texts(), QStringList{QString::fromUtf8(kVertexSphereWarning.data())});
    QCOMPARE(control<QLineEdit>(&app.forms->user_pref(), "VertexSize")->text(), QString("25"));
  }

  void force_reset() {
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    for (int k = 1; k <= 6; ++k) type_into(&form, QStringLiteral("Force%1").arg(k), "1");
    click(&form, "ForceReset");
    QStringList forces;
    for (int k = 1; k <= 6; ++k) {
      forces << control<QLineEdit>(&form, QStringLiteral("Force%1").arg(k))->text();
    }
    QCOMPARE(forces, (QStringList{"100", "100", "10", "10", "20", "100"}));
  }

  void save_then_load_gives_the_same_controls() {
    MessageLog log;
    FormsUnderTest app;
    UserPrefForm& form = app.forms->user_pref();
    type_into(&form, "Force3", "12.5");
    type_into(&form, "MaxIter", "5");
    control<QCheckBox>(&form, "BeepIt")->setChecked(true);
    control<QCheckBox>(&form, "RealmTrans")->setChecked(false);
    control<QCheckBox>(&form, "OffFile")->setChecked(false);
    control<QCheckBox>(&form, "GltfFile")->setChecked(true);
    control<QCheckBox>(&form, "NetFile")->setChecked(true);
    control<QRadioButton>(&form, "VertexLabel(0)")->setChecked(true);
    control<QCheckBox>(&app.forms->colour_pref(), "RhomColO")->setChecked(true);
    type_into(&app.forms->colour_pref(), "Colour52", "1.2.3");
    app.forms->file().set_out_same(true);
    const Preferences saved = app.forms->preferences();
    QVERIFY(saved.GltfFile && !saved.StlFile && saved.NetFile);
    QVERIFY(app.forms->save_settings());

    Forms again(app.program_folder.path().toStdString());
    again.load_settings();
    QCOMPARE(again.preferences(), saved);
    QVERIFY(log.texts().isEmpty());
    QVERIFY(!control<QWidget>(&again.file(), "OutDir")->isEnabled());
  }

  void unwritable_settings_file_keeps_the_session() {
    MessageLog log;
    FormsUnderTest app;
    // A folder where the file should be: the new file cannot take its place.
    const QString path = QString::fromStdString(app.forms->settings_file().string());
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    UserPrefForm& form = app.forms->user_pref();
    form.open_saving();
    type_into(&form, "Force1", "60");
    click(&form, "cmdOK");
    QCOMPARE(log.texts().size(), 1);
    QVERIFY(log.last().startsWith("Ostrel could not write the settings file"));
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(app.forms->intro().isVisible());
    QCOMPARE(app.forms->run_request().settings.Force[1], std::string("60"));
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::UserPrefFormTest)
#include "user_pref_guitest.moc"
