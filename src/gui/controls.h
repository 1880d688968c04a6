// Small widgets and helpers shared by the forms: painted colour buttons, three-state check
// boxes, the drive, directory and file lists of the file form, the hand-over between windows
// and the lenient reading of number boxes.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QLineEdit;

namespace ostrel::gui {

// ---- Window hand-over: the window left is hidden and disabled, the one entered shown,
// enabled and brought to the front. ----
void enter_form(QWidget* form);
void leave_form(QWidget* form);

// ---- The program's logo (the icon of its windows): an icosahedron seen along a three-fold axis,
// its edges coloured by depth as the progress window colours them. Drawn, so that no image
// plugin is needed. ----
QPixmap ostrel_logo(int size);

// ---- Number boxes ----

// The number in a text: its leading numeric part, 0 when there is none ("12abc" 12, "" 0).
// A number too large for any real reads as plus or minus infinity.
double form_number(const QString& text);

// ---- A button painted in a colour, with an optional caption (the metals of the picker). ----
class ColourButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit ColourButton(const QString& name, QWidget* parent = nullptr, QSize size = {22, 22});

  void set_colour(const QColor& colour);
  QColor colour() const { return colour_; }
  // Without a border (the cells of the picker's range bar).
  void set_bordered(bool bordered) { bordered_ = bordered; }
  QSize sizeHint() const override { return size_; }
  QSize minimumSizeHint() const override { return size_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_ = Qt::lightGray;
  QSize size_;
  bool bordered_ = true;
};

// ---- A check box with the three states clear (0), ticked (1) and greyed (2). Only the program
// sets it greyed; a click ticks a clear or greyed box and clears a ticked one.
// Only 1 counts as on. ----
class TriStateCheck : public QCheckBox {
  Q_OBJECT
 public:
  explicit TriStateCheck(const QString& name, const QString& caption, QWidget* parent = nullptr);

  int value() const;          // 0, 1 or 2
  void set_value(int value);  // 0 clear, 1 ticked, 2 greyed
  bool on() const { return value() == 1; }

 protected:
  void nextCheckState() override;
};

// ---- The drive list: the roots of the mounted file systems, "/" first. ----
class DriveList : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(const QString& name, QWidget* parent = nullptr);

  QString drive() const { return currentText(); }
  // Shows the drive that holds `path` without signalling a change.
  void show_drive_of(const QString& path);

 signals:
  void drive_chosen(const QString& root);
};

// ---- The directory list: the current folder, its parent ("..") and its subfolders; a double
// click (or Enter) opens one, and a folder path can be typed. ----
class DirectoryList : public QWidget {
  Q_OBJECT
 public:
  explicit DirectoryList(const QString& name, QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Moves to `path` when it is a folder (returns false otherwise, nothing changes).
  bool set_path(const QString& path);
  void refresh();

 signals:
  void path_changed(const QString& path);

 private:
  void open_item(QListWidgetItem* item);
  void typed_path();

  QString path_;
  QLineEdit* line_;
  QListWidget* list_;
};

// ---- The file list: the files of a folder whose names match a pattern ("*.txt"; several
// patterns separated by ";"). ----
class FileList : public QListWidget {
  Q_OBJECT
 public:
  explicit FileList(const QString& name, QWidget* parent = nullptr);

  void set_folder(const QString& folder);
  void set_pattern(const QString& pattern);
  void refresh();
  // The selected file's name, empty when none is selected.
  QString selected_file() const;
  QString folder() const { return folder_; }

 private:
  QString folder_;
  QString pattern_ = QStringLiteral("*.txt");
};

}  // namespace ostrel::gui
