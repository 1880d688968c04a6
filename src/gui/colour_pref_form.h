// The colour preferences form `ColourPref`: the 35 colour slots the VRML writers use, each a
// text box holding a colour text with a button beside it painted in that colour. A slot's
// button opens the colour picker; the colour picked there is written back into the slot.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "settings/settings_file.h"

class QCheckBox;
class QLineEdit;

namespace ostrel::gui {

class Forms;
class ColourButton;

class ColourPrefForm : public QWidget {
  Q_OBJECT
 public:
  explicit ColourPrefForm(Forms& forms);

  // From the user preferences form's Colour button.
  void open();
  // Each time the form comes back (shown, or the picker returned a colour): every button is
  // painted from its slot's text, then a colour the picker has just returned is written into
  // the slot that opened it. A returned colour is applied once: a text typed into that slot
  // afterwards stays.
  void activated();
  // A slot's button ("Col3", "ColB", ...): opens the picker for that slot.
  void slot_clicked(const QString& button_name);
  // OK: back to the user preferences form.
  void ok();

  // The slot text box of a button name, nullptr for an unknown name.
  QLineEdit* slot_box(const QString& button_name) const;

  void apply(const Preferences& prefs);
  void fill(Preferences& prefs) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Slot {
    ColourButton* button;
    QLineEdit* box;
    std::string& (*field)(Preferences&);
  };

  Forms& forms_;
  std::vector<Slot> slots_;
  QCheckBox* rhom_col_o_;
};

}  // namespace ostrel::gui
