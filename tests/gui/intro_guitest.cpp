// The main window, the file form and the help windows: the hand-over between windows, the file
// lists, and the help shown without a network.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>

#include "gui/file_form.h"
#include "gui/help_window.h"
#include "gui/intro_window.h"
#include "gui/user_pref_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

QStringList listed(QWidget* form, const QString& name) {
  QStringList items;
  auto* list = control<QListWidget>(form, name);
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

}  // namespace

class IntroTest : public QObject {
  Q_OBJECT

 private slots:
  void help_opens_beside_the_main_window() {
    FormsUnderTest app;
    IntroWindow& intro = app.forms->intro();
    intro.load();
    control<QAction>(&intro, "Help")->trigger();
    HelpWindow& help = app.forms->help();
    QVERIFY(help.isVisible());
    QVERIFY(intro.isVisible());
    QVERIFY(intro.isEnabled());
    const QString page = control<QTextBrowser>(&help, "WebBrowser1")->toPlainText();
    QVERIFY(page.contains("The input file"));
    QVERIFY(page.contains("Output files"));

    click(&help, "NewCmd");
    WhatsNewWindow& history = app.forms->whats_new();
    QVERIFY(history.isVisible());
    QVERIFY(control<QPlainTextEdit>(&history, "Text1")->toPlainText().contains("Bug Fixes"));
    click(&history, "CloseIt");
    QVERIFY(!history.isVisible());
    click(&help, "Cancel");
    QVERIFY(!help.isVisible());
    QVERIFY(intro.isVisible());
  }

  void file_form_lists_and_folders() {
    MessageLog log;
    FormsUnderTest app;
    IntroWindow& intro = app.forms->intro();
    FileForm& form = app.forms->file();
    app.write_input("a.txt", "{}");
    app.write_input("b.off", "OFF");
    // "F" reads the lists again: files written since appear.
    intro.toolbar_key("F");
    QVERIFY(form.isVisible());
    QVERIFY(!intro.isVisible());
    QCOMPARE(listed(&form, "InFile"), (QStringList{"a.txt", "b.off"}));
    type_into(&form, "InPatt", "*.txt");
    QCOMPARE(listed(&form, "InFile"), QStringList{"a.txt"});
    type_into(&form, "InPatt", "*");
    QCOMPARE(listed(&form, "InFile"), (QStringList{"a.txt", "b.off"}));

    // With OutSame ticked the output lists are greyed and the run writes beside its input.
    QDir(app.work_folder.path()).mkdir("out");
    form.set_output_folder(QDir(app.work_folder.path()).filePath("out"));
    control<QCheckBox>(&form, "OutSame")->setChecked(true);
    QVERIFY(!control<QWidget>(&form, "OutDir")->isEnabled());
    QVERIFY(!control<QWidget>(&form, "OutDrive")->isEnabled());
    QCOMPARE(form.output_folder(), app.work_folder.path());
    control<QCheckBox>(&form, "OutSame")->setChecked(false);
    QCOMPARE(form.output_folder(), QDir(app.work_folder.path()).filePath("out"));

    click(&form, "Cancel");
    QVERIFY(intro.isVisible());
    QVERIFY(!form.isVisible());
    QVERIFY(log.texts().isEmpty());
  }

  void save_preferences_from_the_file_form() {
    MessageLog log;
    FormsUnderTest app;
    app.forms->intro().toolbar_key("F");
    click(&app.forms->file(), "SavePref");
    QCOMPARE(log.texts(), QStringList{"Click 'OK' on the following User Preferences screen"});
    QVERIFY(!app.forms->file().isVisible());
    UserPrefForm& preferences = app.forms->user_pref();
    QVERIFY(preferences.isVisible());
    QVERIFY(!preferences.run_mode());
    click(&preferences, "cmdOK");
    QCOMPARE(log.last(), QString("Ostrel User Preferences Updated"));
    QVERIFY(app.forms->intro().isVisible());
  }

  void missing_stored_folder_is_reset_to_the_program_folder() {
    MessageLog log;
    FormsUnderTest app;
    QFile file(QString::fromStdString(app.forms->settings_file().string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("diri=/no/such/folder\r\ndiro=" + app.work_folder.path().toUtf8() + "\r\nend\r\n");
    file.close();
    log.clear();
    app.forms->load_settings();
    QCOMPARE(log.texts(), QStringList{"One of your default file paths was not found.  Ostrel has "
                                      "reset your file paths to " +
                                      app.program_folder.path()});
    QCOMPARE(app.forms->file().input_folder(), app.program_folder.path());
    QCOMPARE(app.forms->file().chosen_output_folder(), app.work_folder.path());
  }

  // `ostrel INPUT.txt` selects the file on the file form, whatever folder the form was in.
  void input_named_at_start_is_selected() {
    MessageLog log;
    FormsUnderTest app;
    app.copy_example("cube.txt");
    app.forms->file().select_input(app.work_folder.filePath("cube.txt"));
    QCOMPARE(app.forms->file().input_folder(), app.work_folder.path());
    QCOMPARE(app.forms->file().selected_file(), QString("cube.txt"));
    QVERIFY(log.texts().isEmpty());
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::IntroTest)
#include "intro_guitest.moc"
