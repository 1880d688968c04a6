// The run-time options form `RunTime`: the options of one run (inflation, local inflation
// bounds, hop, weakening, augmentation, highlighting, bands, rhombus angles, output and debug
// options). It is adapted to the chosen input before it is shown; its OK checks the options in
// a fixed order and runs the engine, synchronously, with the progress window up.
#pragma once

#include <QString>
#include <QWidget>

#include "settings/run_settings.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ostrel::gui {

class Forms;
class TriStateCheck;

class RunTimeForm : public QWidget {
  Q_OBJECT
 public:
  explicit RunTimeForm(Forms& forms);

  // From the file form's Run: clears the simple-shape choice, scans the input file for its
  // segments and an "A", adapts the form and shows it; the file form is left. When the file
  // cannot be read its message is shown and false returned (the file form stays).
  bool prepare_for_input(const QString& folder, const QString& file);
  // From the simple-shape form: the form adapted as for an input without segments, then shown
  // with WeakenLimit, AugFrame and HighlightVal disabled.
  void prepare_for_shape(const QString& base_name);

  // The message of the first failing check of OK, empty when every check passes.
  QString validate() const;

  // The buttons' actions: RunOK, RunCancel, Pref and Segments.
  void ok();
  void cancel();
  void preferences();
  void segments();

  // The segment count kept in the caption of `Segments`: the number from its ninth character
  // on ("Segments 3" gives 3, "None" 0).
  int segment_count() const;
  // The `Pref` button: its caption "Clicked" tells the preferences form it was opened from here.
  QPushButton* pref_button() const { return pref_; }
  // Copies the run-time options into `settings`.
  void fill(RunSettings& settings) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* build_inflation();
  QWidget* build_modes();
  QWidget* build_output();
  void adapt(bool has_segments, int brace_records, bool augment_letter);
  void inflate_chosen(int index);
  void local_chosen(int index);
  void apply_local_rule(int index);
  void start_run();

  Forms& forms_;
  QButtonGroup* inflate_option_;
  QLineEdit* glob_lim_;
  QGroupBox* local_frame_;
  QButtonGroup* local_option_;
  QLineEdit* loc_inf_min_[4] = {};  // LocInfMin1..3 at 1..3
  QLineEdit* loc_inf_max_[4] = {};  // LocInfMax1..3 at 1..3
  QLineEdit* select_face_;
  QCheckBox* sqrt_hop_;
  QLineEdit* sqrt_mult_;
  TriStateCheck* weaken_;
  QLineEdit* weaken_limit_;
  TriStateCheck* once_;
  TriStateCheck* isomorph_;
  QCheckBox* coincidence_;
  QCheckBox* xy_confine_;
  TriStateCheck* highlight_;
  QLineEdit* highlight_val_;
  QCheckBox* incord_;
  QCheckBox* high_vert_;
  QCheckBox* stress_map_;
  QLineEdit* stress_mult_;
  QLineEdit* st_ball_mult_;
  QCheckBox* all_cyl_;
  QCheckBox* smooth_;
  QLineEdit* smooth_angle_;
  QCheckBox* labelling_;
  QCheckBox* side_lab_;
  QCheckBox* userdata_;
  QCheckBox* debug_;
  TriStateCheck* augment_;
  QGroupBox* aug_frame_;
  QLineEdit* augment_val_;
  QButtonGroup* augment_option_;
  QButtonGroup* augment_colour_;
  QGroupBox* band_frame_;
  QLineEdit* band_len_;
  QLineEdit* force_rhom_[4] = {};  // ForceRhom, ForceRhom2, ForceRhom3 at 1..3
  QCheckBox* reg_hex_;
  QPushButton* segments_;
  QPushButton* pref_;
  QString input_name_;
};

}  // namespace ostrel::gui
