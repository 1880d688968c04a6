// The colour preferences form and the colour picker: painting slots from their texts, picking
// from the palette, the metals and the user colours, and the range bar with its slider.
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "gui/colour_pick_form.h"
#include "gui/colour_pref_form.h"
#include "gui/colour_text.h"
#include "gui/controls.h"
#include "gui/user_pref_form.h"
#include "gui_test_support.h"

namespace ostrel::gui::test {
namespace {

QColor painted(QObject* form, const QString& button) {
  return control<ColourButton>(form, button)->colour();
}

}  // namespace

class ColourFormsTest : public QObject {
  Q_OBJECT

 private slots:
  void colour_texts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("grey") << "200" << QColor(200, 200, 200);
    QTest::newRow("blue held to 255") << "10.20.300" << QColor(10, 20, 255);
    QTest::newRow("blue read from three characters") << "1.2.3456" << QColor(1, 2, 255);
    QTest::newRow("lenient parts") << "12abc.7x.0" << QColor(12, 7, 0);
    QTest::newRow("negative held to 0") << "-5.0.0" << QColor(0, 0, 0);
    QTest::newRow("two parts") << "255.128" << QColor(255, 128, 0);
    QTest::newRow("empty") << "" << QColor(0, 0, 0);
    QTest::newRow("beyond any number") << "1e999" << QColor(255, 255, 255);
  }

  void colour_texts() {
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCOMPARE(colour_from_text(text), colour);
  }

  void colour_numbers() {
    const QColor copper(184, 115, 51);
    QCOMPARE(colour_number(copper), qint64(184 + 256 * 115 + 65536 * 51));
    QCOMPARE(colour_from_number(colour_number(copper)), copper);
    QCOMPARE(colour_text(copper), QString("184.115.51"));
  }

  void slot_buttons_painted_from_their_text() {
    FormsUnderTest app;
    ColourPrefForm& form = app.forms->colour_pref();
    type_into(&form, "Colour7", "200");
    type_into(&form, "Colour3", "10.20.300");
    form.open();
    QCOMPARE(painted(&form, "Col7"), QColor(200, 200, 200));
    QCOMPARE(painted(&form, "Col3"), QColor(10, 20, 255));
    QCOMPARE(control<QLineEdit>(&form, "Colour3")->text(), QString("10.20.300"));
    QCOMPARE(painted(&form, "ColLF"), QColor(28, 128, 128));  // the new file's value
  }

  void picks_write_colour_texts_data() {
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("palette 0") << "Col3"
                               << "Col(0)"
                               << "Colour3"
                               << "255.255.255";
    QTest::newRow("palette 215") << "Col3"
                                 << "Col(215)"
                                 << "Colour3"
                                 << "0.0.0";
    QTest::newRow("palette 40") << "ColB"
                                << "Col(40)"
                                << "VRMLBack"
                                << "204.255.51";
    QTest::newRow("copper") << "ColS2"
                            << "MVal(2)"
                            << "ColourS2"
                            << "184.115.51";
    QTest::newRow("steel") << "ColLV"
                           << "MVal(5)"
                           << "LabVCol"
                           << "84.84.84";
    QTest::newRow("user colour") << "ColC2"
                                 << "UCol(17)"
                                 << "CylCol2"
                                 << "128.128.128";
  }

  void picks_write_colour_texts() {
    QFETCH(QString, slot);
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(QString, text);
    FormsUnderTest app;
    ColourPrefForm& preferences = app.forms->colour_pref();
    ColourPickForm& picker = app.forms->colour_pick();
    preferences.open();
    click(&preferences, slot);
    QVERIFY(picker.isVisible());
    QVERIFY(!preferences.isEnabled());
    click(&picker, button);
    QVERIFY(!picker.isVisible());
    QVERIFY(preferences.isEnabled());
    QCOMPARE(control<QLineEdit>(&preferences, box)->text(), text);
    QCOMPARE(painted(&preferences, slot), colour_from_text(text));
  }

  void typed_colour_survives_a_later_visit() {
    FormsUnderTest app;
    ColourPrefForm& preferences = app.forms->colour_pref();
    UserPrefForm& user = app.forms->user_pref();
    user.open_saving();
    click(&user, "Colour");
    click(&preferences, "Col5");
    click(&app.forms->colour_pick(), "MVal(0)");
    QCOMPARE(control<QLineEdit>(&preferences, "Colour5")->text(), QString("207.181.59"));
    type_into(&preferences, "Colour5", "1.2.3");
    click(&preferences, "OK");
    QVERIFY(user.isVisible());
    QVERIFY(user.isEnabled());
    QVERIFY(!preferences.isVisible());
    click(&user, "Colour");
    QCOMPARE(control<QLineEdit>(&preferences, "Colour5")->text(), QString("1.2.3"));
  }

  void range_bar_and_slider() {
    FormsUnderTest app;
    ColourPrefForm& preferences = app.forms->colour_pref();
    ColourPickForm& picker = app.forms->colour_pick();
    preferences.open();
    click(&preferences, "ColH");
    QCOMPARE(picker.range_cell(0), QColor(0, 0, 0));
    QCOMPARE(picker.range_cell(62), QColor(250, 250, 250));
    QCOMPARE(painted(&picker, "XCol(62)"), QColor(250, 250, 250));

    // The slider's colour waits for a user colour to keep it; the picker stays up.
    picker.slider_moved(31);
    QCOMPARE(control<QLabel>(&picker, "XPCol")->text(), QString("125.125.125"));
    QCOMPARE(control<QLabel>(&picker, "XPNo")->text(), QString("31"));
    QCOMPARE(control<QLabel>(&picker, "Next1")->text(), ColourPickForm::kStorePrompt);
    click(&picker, "UCol(4)");
    QVERIFY(picker.isVisible());
    QCOMPARE(control<QWidget>(&picker, "UCol(4)")->toolTip(), QString("125.125.125"));
    QCOMPARE(painted(&picker, "UCol(4)"), QColor(125, 125, 125));
    QCOMPARE(control<QLabel>(&picker, "Next1")->text(), QString());
    QCOMPARE(control<QLabel>(&picker, "XPNo")->text(), QString("-1"));

    // A new right range colour from the palette refills the bar.
    click(&picker, "XCol2");
    QCOMPARE(control<QLabel>(&picker, "Next1")->text(), ColourPickForm::kRightPrompt);
    click(&picker, "Col(180)");  // (0, 255, 255)
    QVERIFY(picker.isVisible());
    QCOMPARE(control<QWidget>(&picker, "XCol2")->toolTip(), QString("0.255.255"));
    QCOMPARE(picker.range_cell(62), QColor(0, 250, 250));
    click(&picker, "XCol1");
    QCOMPARE(control<QLabel>(&picker, "Next1")->text(), ColourPickForm::kLeftPrompt);
    click(&picker, "MVal(2)");
    QCOMPARE(picker.range_cell(0), QColor(184, 115, 51));

    // A stored user colour is then picked like any other; it is saved with the settings.
    click(&picker, "UCol(4)");
    QVERIFY(!picker.isVisible());
    QCOMPARE(control<QLineEdit>(&preferences, "ColourH")->text(), QString("125.125.125"));
    const Preferences saved = app.forms->preferences();
    QCOMPARE(saved.UCol[4], std::string("125.125.125"));
    QCOMPARE(saved.XCol1, std::string("184.115.51"));
    QCOMPARE(saved.XCol2, std::string("0.255.255"));
  }

  void closing_the_picker_returns_without_a_colour() {
    FormsUnderTest app;
    ColourPrefForm& preferences = app.forms->colour_pref();
    ColourPickForm& picker = app.forms->colour_pick();
    preferences.open();
    const QString before = control<QLineEdit>(&preferences, "Colour4")->text();
    click(&preferences, "Col4");
    picker.close();
    QVERIFY(preferences.isEnabled());
    QCOMPARE(control<QLineEdit>(&preferences, "Colour4")->text(), before);
  }
};

}  // namespace ostrel::gui::test

QTEST_MAIN(ostrel::gui::test::ColourFormsTest)
#include "colour_guitest.moc"
