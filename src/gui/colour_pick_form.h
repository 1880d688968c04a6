// The colour picker `ColourPick`: a palette of 216 colours, six metals, 18 user colours and a
// range bar between two colours with a slider. A palette, metal or user colour clicked goes
// back to the colour preferences form as a colour number; the range colours and the user
// colours are set from here and kept in the settings file.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "gui/colour_text.h"
#include "settings/settings_file.h"

class QLabel;
class QSlider;

namespace ostrel::gui {

class Forms;
class ColourButton;

class ColourPickForm : public QWidget {
  Q_OBJECT
 public:
  explicit ColourPickForm(Forms& forms);

  static constexpr int kPaletteSize = 216;
  static constexpr int kMetalCount = 6;
  static const QString kLeftPrompt;
  static const QString kRightPrompt;
  static const QString kStorePrompt;

  // From a slot button of the colour preferences: shown for the slot named `button_name`.
  void open_for(const QString& button_name);
  // Activation: the pick and slider states are reset, every button painted, the range bar
  // filled.
  void rebuild();

  // Clicks: palette element 0..215, metal 0..5, user colour 0..17, range colour 1 or 2, and the
  // slider moved to a position 0..62.
  void palette_clicked(int index);
  void metal_clicked(int index);
  void user_clicked(int index);
  void range_end_clicked(int which);
  void slider_moved(int position);

  // The returned colour (Num) and the slot it is for (Label); consume_label() marks the colour
  // as applied.
  qint64 num() const;
  QString label() const;
  void consume_label();
  // The colour of range cell 0..62.
  QColor range_cell(int position) const;

  void apply(const Preferences& prefs);
  void fill(Preferences& prefs) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void chosen(ColourButton* button);
  void return_colour(const QColor& colour);
  void fill_range_bar();
  void default_pointer();

  Forms& forms_;
  std::array<ColourButton*, kPaletteSize> palette_{};
  std::array<ColourButton*, kMetalCount> metals_{};
  std::array<ColourButton*, kUserColourCount> user_{};
  ColourButton* xcol1_;
  ColourButton* xcol2_;
  std::array<ColourButton*, kRangeCells> range_{};
  QSlider* slider_;
  QLabel* next1_;
  QLabel* num_;
  QLabel* label_;
  QLabel* xpick_;
  QLabel* xpno_;
  QLabel* xpcol_;
};

}  // namespace ostrel::gui
