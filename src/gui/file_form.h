// The file-selection form `Ostrel`: picks the input file and the output folder, and starts a
// run by handing over to the run-time options form.
#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ostrel::gui {

class Forms;
class DriveList;
class DirectoryList;
class FileList;

class FileForm : public QWidget {
  Q_OBJECT
 public:
  explicit FileForm(Forms& forms);

  // Shown from the main window: the lists are read again, so files written by a run appear.
  void open();

  // The controls the settings file sets (diri, diro, otsm).
  void set_input_folder(const QString& path);
  void set_output_folder(const QString& path);
  void set_out_same(bool on);
  QString input_folder() const;
  QString chosen_output_folder() const;  // OutDir's path
  bool out_same() const;
  // Where a run writes: the input folder when OutSame is ticked, else OutDir.
  QString output_folder() const;
  QString selected_file() const;
  // Makes `path` the chosen input: its folder the input folder and the file selected in the
  // list (the list's pattern widened to the file's suffix when it would hide the file). A file
  // that is not there is said so.
  void select_input(const QString& path);

  // The buttons' actions.
  void run();
  void cancel();
  void save_preferences();
  void special_input();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void out_same_changed();

  Forms& forms_;
  DriveList* in_drive_;
  DirectoryList* in_dir_;
  FileList* in_file_;
  QLineEdit* in_patt_;
  DriveList* out_drive_;
  DirectoryList* out_dir_;
  QCheckBox* out_same_;
};

}  // namespace ostrel::gui
