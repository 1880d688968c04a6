#include "gui/file_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/runtime_form.h"
#include "gui/special_form.h"
#include "gui/user_pref_form.h"

namespace ostrel::gui {

FileForm::FileForm(Forms& forms)
    : forms_(forms),
      in_drive_(new DriveList("InDrive")),
      in_dir_(new DirectoryList("InDir")),
      in_file_(new FileList("InFile")),
      in_patt_(new QLineEdit("*.txt;*.off")),
      out_drive_(new DriveList("OutDrive")),
      out_dir_(new DirectoryList("OutDir")),
      out_same_(new QCheckBox("Same as Input Directory")) {
  setObjectName("Ostrel");
  setWindowTitle("Ostrel File Loader");
  in_patt_->setObjectName("InPatt");
  out_same_->setObjectName("OutSame");

  auto* input = new QGroupBox("Input File");
  auto* input_layout = new QGridLayout(input);
  input_layout->addWidget(new QLabel("Drive:"), 0, 0);
  input_layout->addWidget(in_drive_, 0, 1);
  input_layout->addWidget(in_dir_, 1, 0, 1, 2);
  input_layout->addWidget(new QLabel("Files:"), 2, 0);
  input_layout->addWidget(in_patt_, 2, 1);
  input_layout->addWidget(in_file_, 3, 0, 1, 2);
  input_layout->setRowStretch(1, 1);
  input_layout->setRowStretch(3, 1);

  auto* output = new QGroupBox("Output Directory");
  auto* output_layout = new QGridLayout(output);
  output_layout->addWidget(new QLabel("Drive:"), 0, 0);
  output_layout->addWidget(out_drive_, 0, 1);
  output_layout->addWidget(out_dir_, 1, 0, 1, 2);
  output_layout->addWidget(out_same_, 2, 0, 1, 2);
  output_layout->setRowStretch(1, 1);

  auto button = [this](const QString& name, const QString& caption) {
    auto* push = new QPushButton(caption, this);
    push->setObjectName(name);
    return push;
  };
  QPushButton* run_button = button("Run", "&Run");
  QPushButton* cancel_button = button("Cancel", "&Cancel");
  QPushButton* save_button = button("SavePref", "&Save Preferences ");
  QPushButton* special_button = button("SpecialInput", "&Simple");
  special_button->setToolTip("Run a polygon, pyramid, prism or antiprism without an input file");
  run_button->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_button);
  buttons->addWidget(special_button);
  buttons->addStretch(1);
  buttons->addWidget(run_button);
  buttons->addWidget(cancel_button);

  auto* lists = new QHBoxLayout;
  lists->addWidget(input, 1);
  lists->addWidget(output, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);
  resize(760, 520);

  connect(in_drive_, &DriveList::drive_chosen, in_dir_, &DirectoryList::set_path);
  connect(out_drive_, &DriveList::drive_chosen, out_dir_, &DirectoryList::set_path);
  connect(in_dir_, &DirectoryList::path_changed, this, [this](const QString& path) {
    in_drive_->show_drive_of(path);
    in_file_->set_folder(path);
  });
  connect(out_dir_, &DirectoryList::path_changed, out_drive_, &DriveList::show_drive_of);
  connect(in_patt_, &QLineEdit::textChanged, in_file_, &FileList::set_pattern);
  in_file_->set_pattern(in_patt_->text());
  connect(out_same_, &QCheckBox::stateChanged, this, &FileForm::out_same_changed);
  connect(in_file_, &QListWidget::itemDoubleClicked, this, &FileForm::run);
  connect(run_button, &QPushButton::clicked, this, &FileForm::run);
  connect(cancel_button, &QPushButton::clicked, this, &FileForm::cancel);
  connect(save_button, &QPushButton::clicked, this, &FileForm::save_preferences);
  connect(special_button, &QPushButton::clicked, this, &FileForm::special_input);

  in_file_->set_folder(in_dir_->path());
  in_drive_->show_drive_of(in_dir_->path());
  out_drive_->show_drive_of(out_dir_->path());
}

void FileForm::open() {
  enter_form(this);
  in_dir_->refresh();
  out_dir_->refresh();
  in_file_->refresh();
}

void FileForm::set_input_folder(const QString& path) {
  in_dir_->set_path(path);
}

void FileForm::set_output_folder(const QString& path) {
  out_dir_->set_path(path);
}

void FileForm::set_out_same(bool on) {
  out_same_->setChecked(on);
}

QString FileForm::input_folder() const {
  return in_dir_->path();
}

QString FileForm::chosen_output_folder() const {
  return out_dir_->path();
}

bool FileForm::out_same() const {
  return out_same_->isChecked();
}

QString FileForm::output_folder() const {
  return out_same() ? input_folder() : chosen_output_folder();
}

QString FileForm::selected_file() const {
  return in_file_->selected_file();
}

void FileForm::select_input(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile()) {
    Messages::show(QStringLiteral("Error: Cannot open input file ") + path);
    return;
  }
  set_input_folder(file.absolutePath());
  in_file_->refresh();
  if (in_file_->findItems(file.fileName(), Qt::MatchExactly).isEmpty()) {
    in_patt_->setText(in_patt_->text() + ";*." + file.suffix());
  }
  const auto found = in_file_->findItems(file.fileName(), Qt::MatchExactly);
  if (!found.isEmpty()) in_file_->setCurrentItem(found.first());
}

void FileForm::out_same_changed() {
  out_drive_->setEnabled(!out_same());
  out_dir_->setEnabled(!out_same());
}

void FileForm::run() {
  if (selected_file().isEmpty()) {
    Messages::show(QStringLiteral("You must choose a file to run"));
    return;
  }
  forms_.runtime().prepare_for_input(input_folder(), selected_file());
}

void FileForm::cancel() {
  enter_form(&forms_.intro());
  leave_form(this);
}

void FileForm::save_preferences() {
  Messages::show(QStringLiteral("Click 'OK' on the following User Preferences screen"));
  leave_form(this);
  forms_.user_pref().open_saving();
}

void FileForm::special_input() {
  forms_.special().open();
  setEnabled(false);
}

void FileForm::closeEvent(QCloseEvent* event) {
  // Closing the window is its Cancel, so the program is never left without a window.
  event->ignore();
  if (isEnabled()) cancel();
}

}  // namespace ostrel::gui
