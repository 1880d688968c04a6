// The user preferences form `UserPref`: force strengths, the iteration limit, the progress
// window's size, the beep, which output files are written and their suffixes, and the display
// settings of the VRML output.
//
// Two modes, told apart by the caption of the run-time form's `Pref` button: opened from the
// main window or the file form (saving mode) OK checks, writes ostrel.ini and returns to the main
// window; opened from the run-time form (run mode, caption "Clicked") OK and Cancel only return
// there, and the values apply to the next run.
#pragma once

#include <QWidget>

#include "settings/settings_file.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace ostrel::gui {

class Forms;

class UserPrefForm : public QWidget {
  Q_OBJECT
 public:
  explicit UserPrefForm(Forms& forms);

  static const QString kSavingNote;
  static const QString kRunNote;

  // Shown in saving mode (from the main window or the file form).
  void open_saving();
  // Shown in run mode (from the run-time form, whose Pref caption reads "Clicked").
  void open_for_run();
  bool run_mode() const;

  // The buttons' actions: cmdOK, cmdCancel, ForceReset and Colour.
  void ok();
  void cancel();
  void reset_forces();
  void colours();

  // The controls the settings file sets; setting them raises no vertex-size warning (the
  // settings file's reader gives it).
  void apply(const Preferences& prefs);
  void fill(Preferences& prefs) const;
  // The number in Screen (the progress window shows -n..n).
  double screen() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void vertex_size_changed();
  void back_to_runtime();

  Forms& forms_;
  bool loading_ = false;
  QLineEdit* force_[7] = {};  // Force1..Force6 at 1..6
  QLineEdit* max_iter_;
  QLineEdit* threads_;
  QCheckBox* beep_it_;
  QLineEdit* screen_;
  QCheckBox* solid_vrml_;
  QLineEdit* solid_suffix_;
  QCheckBox* frame_vrml_;
  QLineEdit* frame_suffix_;
  QCheckBox* switch_vrml_;
  QLineEdit* switch_suffix_;
  QCheckBox* anim_vrml_;
  QLineEdit* anim_suffix_;
  QCheckBox* cyl_vrml_;
  QLineEdit* cyl_suffix_;
  QCheckBox* off_file_;
  QCheckBox* gltf_file_;
  QCheckBox* stl_file_;
  QCheckBox* net_file_;
  QLineEdit* frame_val_;
  QLineEdit* vrml_scale_;
  QCheckBox* edge_;
  QCheckBox* realm_trans_;
  QLineEdit* trans_level_;
  QLineEdit* vertex_size_;
  QLineEdit* cylsize_;
  QRadioButton* vertex_label_[2] = {};
  QLabel* source_warn_;
};

}  // namespace ostrel::gui
