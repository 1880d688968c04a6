#include "gui/segment_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/messages.h"
#include "gui/runtime_form.h"
#include "settings/run_option_checks.h"

namespace ostrel::gui {

QList<QWidget*> SegmentForm::Row::widgets() const {
  return {SegEdge, SegX, SegY, SegZ, SegTrans, FlipX, FlipY, FlipZ};
}

SegmentForm::SegmentForm(Forms& forms) : forms_(forms) {
  setObjectName("SegmentOptions");
  setWindowTitle("Ostrel Segments");

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Edge Length"), 0, 1);
  grid->addWidget(new QLabel("-----------------Segment centre offsets-----------------"), 0, 2, 1,
                  3, Qt::AlignCenter);
  grid->addWidget(new QLabel("Trans"), 0, 5, Qt::AlignCenter);
  grid->addWidget(new QLabel("------Flip-------"), 0, 6, 1, 3, Qt::AlignCenter);
  const QStringList axes{"x", "y", "z"};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(new QLabel(axes[i]), 1, 2 + i, Qt::AlignCenter);
    grid->addWidget(new QLabel(axes[i].toUpper()), 1, 6 + i, Qt::AlignCenter);
  }
  auto box = [](const QString& name, int row, const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(row));
    edit->setMaximumWidth(80);
    return edit;
  };
  auto tick = [](const QString& name, int row) {
    auto* check = new QCheckBox;
    check->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(row));
    return check;
  };
  for (int r = 1; r <= MaxSegments; ++r) {
    Row& row = rows_[static_cast<std::size_t>(r)];
    row.SegEdge = box("SegEdge", r, "1");
    row.SegX = box("SegX", r, "0");
    row.SegY = box("SegY", r, "0");
    row.SegZ = box("SegZ", r, "0");
    row.SegTrans = tick("SegTrans", r);
    row.FlipX = tick("FlipX", r);
    row.FlipY = tick("FlipY", r);
    row.FlipZ = tick("FlipZ", r);
    row.title = new QLabel(QStringLiteral("Segment %1").arg(r));
    grid->addWidget(row.title, r + 1, 0);
    int column = 1;
    for (QWidget* widget : row.widgets()) {
      grid->addWidget(widget, r + 1, column++,
                      qobject_cast<QCheckBox*>(widget) ? Qt::AlignCenter : Qt::Alignment());
    }
  }

  auto* colours = new QHBoxLayout;
  seg_colour_ = new QButtonGroup(this);
  seg_colour_->setObjectName("SegColour");
  const char* captions[] = {"Colour Per Segment", "Colour Per Face"};
  for (int i = 0; i < 2; ++i) {
    auto* option = new QRadioButton(captions[i]);
    option->setObjectName(QStringLiteral("SegColour(%1)").arg(i));
    seg_colour_->addButton(option, i);
    colours->addWidget(option);
  }
  colours->addStretch(1);

  auto* run_ok = new QPushButton("&Run");
  run_ok->setObjectName("runok");
  run_ok->setDefault(true);
  auto* cancel_button = new QPushButton("&Cancel");
  cancel_button->setObjectName("cancel");
  colours->addWidget(run_ok);
  colours->addWidget(cancel_button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(colours);
  connect(run_ok, &QPushButton::clicked, this, &SegmentForm::ok);
  connect(cancel_button, &QPushButton::clicked, this, &SegmentForm::cancel);
}

void SegmentForm::open(int count) {
  for (int r = 1; r <= MaxSegments; ++r) {
    const Row& row = rows_[static_cast<std::size_t>(r)];
    for (QWidget* widget : row.widgets()) widget->setVisible(r <= count);
    row.title->setVisible(r <= count);
  }
  enter_form(this);
}

QString SegmentForm::validate() const {
  RunSettings settings;
  fill(settings);
  return QString::fromStdString(check_segment_options(settings));
}

void SegmentForm::ok() {
  const QString problem = validate();
  if (!problem.isEmpty()) {
    Messages::show(problem);
    return;
  }
  back_to_runtime();
}

void SegmentForm::cancel() {
  back_to_runtime();
}

void SegmentForm::back_to_runtime() {
  hide();
  enter_form(&forms_.runtime());
}

void SegmentForm::closeEvent(QCloseEvent* event) {
  // Closing the window is its Cancel.
  event->ignore();
  cancel();
}

void SegmentForm::fill(RunSettings& settings) const {
  for (int r = 1; r <= MaxSegments; ++r) {
    const auto i = static_cast<std::size_t>(r);
    const Row& row = rows_[i];
    settings.SegEdge[i] = row.SegEdge->text().toStdString();
    settings.SegX[i] = row.SegX->text().toStdString();
    settings.SegY[i] = row.SegY->text().toStdString();
    settings.SegZ[i] = row.SegZ->text().toStdString();
    settings.SegTrans[i] = row.SegTrans->isChecked();
    settings.FlipX[i] = row.FlipX->isChecked();
    settings.FlipY[i] = row.FlipY->isChecked();
    settings.FlipZ[i] = row.FlipZ->isChecked();
  }
  settings.SegColour = seg_colour_->checkedId() == 1 ? 1 : 0;
}

}  // namespace ostrel::gui
