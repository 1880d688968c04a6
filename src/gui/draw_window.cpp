#include "gui/draw_window.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/model.h"
#include "core/number_format.h"
#include "gui/messages.h"

namespace ostrel::gui {
namespace {

constexpr double kDrawnTarget = 0.999;  // edges with a shorter target are not drawn

}  // namespace

int depth_band(double mean_z, double z_min, double z_max) {
  double width = (z_max - z_min) / 14.0;
  if (width == 0.0) width = 0.1;
  const double band = std::floor((mean_z - z_min) / width) + 1.0;
  if (!(band >= 0.0) || band > 15.0) return 0;
  return static_cast<int>(band);
}

QColor depth_colour(int band) {
  static const QColor kColours[17] = {
      {192, 192, 192}, {156, 156, 192}, {128, 128, 192}, {96, 96, 192}, {64, 64, 160},
      {32, 32, 160},   {64, 32, 160},   {96, 32, 160},   {128, 0, 128}, {160, 0, 96},
      {196, 0, 64},    {224, 0, 32},    {255, 0, 0},     {255, 0, 0},   {255, 0, 0},
      {255, 255, 255}, {0, 0, 0}};
  return kColours[std::clamp(band, 0, 16)];
}

// ---- DrawArea ----

DrawArea::DrawArea(QWidget* parent) : QWidget(parent) {
  setObjectName("DrawArea");
  setMinimumSize(240, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DrawArea::set_screen(double screen) {
  screen_ = screen > 0.0 && std::isfinite(screen) ? screen : 3.0;
  update();
}

void DrawArea::set_lines(std::vector<Line> lines) {
  lines_ = std::move(lines);
  update();
}

void DrawArea::clear() {
  lines_.clear();
  update();
}

void DrawArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  // A point (x, y) stands at (x + Screen, y + Screen) of a square 2·Screen wide, centred here.
  const double side = std::min(width(), height());
  const double scale = side / (2.0 * screen_);
  painter.translate((width() - side) / 2.0, (height() - side) / 2.0);
  painter.scale(scale, scale);
  painter.translate(screen_, screen_);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const Line& line : lines_) {
    QPen pen(line.colour);
    pen.setCosmetic(true);
    pen.setWidthF(1.5);
    painter.setPen(pen);
    painter.drawLine(line.line);
  }
}

// ---- DrawWindow ----

const QString DrawWindow::kPressed = QStringLiteral("Pressed");

DrawWindow::DrawWindow() {
  setObjectName("DrawWindow");
  setWindowTitle(Messages::title());
  area_ = new DrawArea(this);

  auto label = [this](const QString& name) {
    auto* value = new QLabel(this);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(150);
    return value;
  };
  edge_def_ = label("EdgeDef");
  poly_def_ = label("PolyDef");
  it_no_ = label("ItNo");
  isom_no_ = label("IsomNo");
  expand_opt_ = label("ExpandOpt");
  duplicate_ = label("Duplicate");
  auto* state = new QGroupBox("Run");
  auto* state_layout = new QFormLayout(state);
  state_layout->addRow("Edge deformation:", edge_def_);
  state_layout->addRow("Polygon deformation:", poly_def_);
  state_layout->addRow("Iteration:", it_no_);
  state_layout->addRow("Isomorph:", isom_no_);
  state_layout->addRow("Expansion:", expand_opt_);
  state_layout->addRow(duplicate_);

  quit_ = add_button("QuitButton", "&Quit", "End the run at once; nothing more is written");
  write_ = add_button("WriteButton", "&Write", "Write the output files now and go on relaxing");
  graph_ = add_button("GraphButton", "Graphics", "Switch the wire frame drawing off or on");
  redo_ = add_button("RedoButton", "Re-do", "Give up this isomorph and start the next one");
  reread_ = add_button("ReReadButton", "Re-&Read",
                       "Read the options and the input file again and start afresh");
  f1_up_ = add_button("F1upButton", "&More F1", "Multiply the first force strength by 5");
  f1_down_ = add_button("F1DownButton", "&Less F1", "Divide the first force strength by 5");

  auto* side = new QVBoxLayout;
  side->addWidget(state);
  for (QPushButton* button : {write_, graph_, redo_, reread_, f1_up_, f1_down_}) {
    side->addWidget(button);
  }
  side->addStretch(1);
  side->addWidget(quit_);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(area_, 1);
  layout->addLayout(side);
  resize(780, 520);
}

QPushButton* DrawWindow::add_button(const QString& name, const QString& caption,
                                    const QString& tip) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, button, [button] { button->setText(kPressed); });
  return button;
}

void DrawWindow::set_screen(double screen) {
  area_->set_screen(screen);
}

void DrawWindow::run_started() {
  running_ = true;
  note_.clear();
  area_->clear();
  for (QLabel* label : {edge_def_, poly_def_, it_no_, isom_no_, expand_opt_, duplicate_}) {
    label->clear();
  }
}

void DrawWindow::run_ended() {
  running_ = false;
}

void DrawWindow::show_progress(const ProgressSnapshot& snapshot) {
  edge_def_->setText(
      QString::fromStdString(FormatOutputNumber(snapshot.Deform, "##0.0###############")));
  poly_def_->setText(
      QString::fromStdString(FormatOutputNumber(snapshot.Deforp, "##0.0###############")));
  it_no_->setText(QString::number(snapshot.IterationNo));
  isom_no_->setText(QString::number(snapshot.IsomorphNo));
  expand_opt_->setText(QString::fromStdString(snapshot.ExpandOpt));
  set_duplicate(snapshot.Duplicate);
  if (!snapshot.graphics || snapshot.model == nullptr) return;

  const Model& model = *snapshot.model;
  std::vector<DrawArea::Line> lines;
  lines.reserve(static_cast<std::size_t>(std::max(model.EdgeCount, 0)));
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (!(model.EdgeTarget(e) > kDrawnTarget)) continue;
    const int a = model.EdgeVertices(e, 1);
    const int b = model.EdgeVertices(e, 2);
    const double mean_z = (model.VertexZ(a) + model.VertexZ(b)) / 2.0;
    lines.push_back({QLineF(model.VertexX(a), model.VertexY(a), model.VertexX(b), model.VertexY(b)),
                     depth_colour(depth_band(mean_z, snapshot.z_min, snapshot.z_max))});
  }
  area_->set_lines(std::move(lines));
}

void DrawWindow::set_caption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(note_.empty() ? caption : caption + " — " + note_));
  // A new isomorph starts: the drawing area is cleared.
  area_->clear();
}

void DrawWindow::set_note(const std::string& note) {
  note_ = note;
}

void DrawWindow::set_duplicate(const std::string& text) {
  duplicate_->setText(QString::fromStdString(text).trimmed());
}

bool DrawWindow::take(QPushButton* button, const QString& resting) {
  if (button->text() != kPressed) return false;
  button->setText(resting);
  return true;
}

ButtonPresses DrawWindow::take_presses() {
  ButtonPresses pressed;
  pressed.quit = take(quit_, "&Quit");
  pressed.write = take(write_, "&Write");
  pressed.graphics = take(graph_, "Graphics");
  pressed.redo = take(redo_, "Re-do");
  pressed.reread = take(reread_, "Re-&Read");
  pressed.more_f1 = take(f1_up_, "&More F1");
  pressed.less_f1 = take(f1_down_, "&Less F1");
  if (pressed.graphics) area_->update();
  return pressed;
}

void DrawWindow::closeEvent(QCloseEvent* event) {
  // Closing the window during a run is its Quit button; the run hides it when it ends.
  if (running_) {
    event->ignore();
    quit_->setText(kPressed);
  } else {
    event->accept();
  }
}

}  // namespace ostrel::gui
