#include "gui/special_form.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

#include "core/run_error.h"
#include "gui/controls.h"
#include "gui/file_form.h"
#include "gui/forms.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/runtime_form.h"

namespace ostrel::gui {

SpecialForm::SpecialForm(Forms& forms) : forms_(forms) {
  setObjectName("SpecialIn");
  setWindowTitle("Ostrel Predefined Input ");

  auto* layout = new QVBoxLayout(this);
  auto* shapes = new QHBoxLayout;
  options_ = new QButtonGroup(this);
  options_->setObjectName("SpecialOption");
  const char* captions[] = {"Polygon", "Pyramid", "Prism", "Antiprism"};
  for (int i = 0; i < 4; ++i) {
    auto* option = new QRadioButton(captions[i]);
    option->setObjectName(QStringLiteral("SpecialOption(%1)").arg(i));
    options_->addButton(option, i);
    shapes->addWidget(option);
  }
  layout->addLayout(shapes);

  auto* size_row = new QHBoxLayout;
  auto* label = new QLabel("n/d");
  label->setObjectName("Label1");
  size_ = new QLineEdit;
  size_->setObjectName("Specialnd");
  size_->setToolTip("The base polygon: n corners, or n/d for a star polygon (5/2 a pentagram)");
  label->setBuddy(size_);
  size_row->addWidget(label);
  size_row->addWidget(size_, 1);
  layout->addLayout(size_row);

  auto* buttons = new QHBoxLayout;
  auto* run_button = new QPushButton("&Run");
  run_button->setObjectName("RunOK");
  run_button->setDefault(true);
  auto* cancel_button = new QPushButton("&Cancel");
  cancel_button->setObjectName("Cancel");
  buttons->addStretch(1);
  buttons->addWidget(run_button);
  buttons->addWidget(cancel_button);
  layout->addLayout(buttons);

  connect(run_button, &QPushButton::clicked, this, &SpecialForm::run_ok);
  connect(cancel_button, &QPushButton::clicked, this, &SpecialForm::cancel);
}

void SpecialForm::open() {
  clear_options();
  enter_form(this);
}

void SpecialForm::clear_options() {
  options_->setExclusive(false);
  for (QAbstractButton* option : options_->buttons()) option->setChecked(false);
  options_->setExclusive(true);
}

std::optional<SpecialShape> SpecialForm::chosen_shape() const {
  // The last chosen option in the order polygon, pyramid, prism, antiprism decides.
  std::optional<SpecialShape> shape;
  for (int i = 0; i < 4; ++i) {
    if (options_->button(i)->isChecked()) {
      shape = SpecialShape{static_cast<SpecialShape::Kind>(i), 0, 1};
    }
  }
  if (!shape) return shape;
  const QString text = size_->text();
  try {
    read_shape_size(text.toStdString(), *shape);
  } catch (const RunError&) {
    // A size beyond any integer is refused as too many corners.
    shape->n = text.trimmed().startsWith('-') ? std::numeric_limits<int>::min()
                                              : std::numeric_limits<int>::max();
  }
  return shape;
}

QString SpecialForm::validate() const {
  int chosen = 0;
  for (QAbstractButton* option : options_->buttons()) chosen += option->isChecked() ? 1 : 0;
  if (chosen != 1)
    return QStringLiteral("Please select one of Polygon, Pyramid, Prism or Antiprism");
  const SpecialShape shape = *chosen_shape();
  if (shape.n == 0) return QStringLiteral("Please select a polygon size");
  // Sizes the model cannot hold are refused here rather than by the run.
  return QString::fromStdString(shape_size_problem(shape));
}

void SpecialForm::run_ok() {
  const QString problem = validate();
  if (!problem.isEmpty()) {
    Messages::show(problem);
    return;
  }
  forms_.runtime().prepare_for_shape(QString::fromStdString(shape_base_name(*chosen_shape())));
  leave_form(this);
}

void SpecialForm::cancel() {
  enter_form(&forms_.intro());
  leave_form(this);
  // The file form was only greyed behind this one; it goes too, so one window is in use.
  leave_form(&forms_.file());
}

void SpecialForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (isEnabled()) cancel();
}

}  // namespace ostrel::gui
