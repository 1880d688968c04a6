#include "gui/model_view.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "view/quick_view.h"

namespace ostrel::gui {
namespace {

constexpr double kDegreesPerPixel = 0.5;
constexpr double kMinZoom = 0.2;
constexpr double kMaxZoom = 20.0;
constexpr int kSettleMilliseconds = 250;  // the full picture follows the wheel or keys after this

}  // namespace

ModelView::ModelView(QWidget* parent) : QWidget(parent) {
  setObjectName("ModelView");
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(240, 240);
  setCursor(Qt::OpenHandCursor);
  setToolTip("Drag to turn the model, turn the wheel to zoom");
  settle_ = new QTimer(this);
  settle_->setSingleShot(true);
  settle_->setInterval(kSettleMilliseconds);
  connect(settle_, &QTimer::timeout, this, [this] {
    moving_ = false;
    update();
  });
}

void ModelView::set_scene(std::shared_ptr<const ModelScene> scene) {
  scene_ = std::move(scene);
  problem_ = scene_ ? QString::fromStdString(view_problem(*scene_)) : QString();
  update();
}

void ModelView::set_style(ViewStyle style) {
  style_ = style;
  update();
}

void ModelView::set_angles(const ViewAngles& angles) {
  angles_ = angles;
  angles_.pitch = std::clamp(angles_.pitch, -90.0, 90.0);
  angles_.yaw = std::remainder(angles_.yaw, 360.0);
  angles_.zoom = std::clamp(angles_.zoom, kMinZoom, kMaxZoom);
  update();
}

void ModelView::turn(double yaw, double pitch) {
  ViewAngles turned = angles_;
  turned.yaw += yaw;
  turned.pitch += pitch;
  set_angles(turned);
}

void ModelView::zoom_by(double factor) {
  ViewAngles zoomed = angles_;
  zoomed.zoom *= factor;
  set_angles(zoomed);
}

void ModelView::reset_view() {
  set_angles(ViewAngles{});
}

QImage ModelView::picture(QSize size) const {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  paint(painter, size, 1.0, false);
  return image;
}

void ModelView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint(painter, size(), devicePixelRatioF(), moving_);
}

void ModelView::start_moving(bool until_settled) {
  moving_ = true;
  if (until_settled) settle_->start();
}

void ModelView::paint(QPainter& painter, QSize size, qreal ratio, bool quick) const {
  if (!scene_ || !problem_.isEmpty()) {
    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0.0, QColor(246, 248, 250));
    background.setColorAt(1.0, QColor(208, 214, 222));
    painter.fillRect(QRect(QPoint(0, 0), size), background);
    if (!problem_.isEmpty()) {
      painter.drawText(QRect(QPoint(0, 0), size).adjusted(12, 12, -12, -12),
                       Qt::AlignCenter | Qt::TextWordWrap, "Cannot show this model: " + problem_);
    }
    return;
  }
  const QSize pixels = (QSizeF(size) * ratio).toSize().expandedTo(QSize(1, 1));
  const ViewPicture picture =
      quick ? render_quick_view(*scene_, angles_, style_, pixels.width(), pixels.height())
            : render_view(*scene_, angles_, style_, pixels.width(), pixels.height());
  QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
               picture.width * 4, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  painter.drawImage(QPoint(0, 0), image);
}

void ModelView::mousePressEvent(QMouseEvent* event) {
  drag_from_ = event->position().toPoint();
  setCursor(Qt::ClosedHandCursor);
  if (event->button() == Qt::LeftButton) start_moving(false);
}

void ModelView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) {
    setCursor(Qt::OpenHandCursor);
    return;
  }
  const QPoint at = event->position().toPoint();
  const QPoint moved = at - drag_from_;
  drag_from_ = at;
  turn(moved.x() * kDegreesPerPixel, moved.y() * kDegreesPerPixel);
}

void ModelView::mouseReleaseEvent(QMouseEvent*) {
  setCursor(Qt::OpenHandCursor);
  if (moving_ && !settle_->isActive()) {
    moving_ = false;
    update();
  }
}

void ModelView::wheelEvent(QWheelEvent* event) {
  // One notch (120) zooms by a fifth.
  start_moving(true);
  zoom_by(std::pow(1.2, event->angleDelta().y() / 120.0));
  event->accept();
}

void ModelView::keyPressEvent(QKeyEvent* event) {
  const bool moves = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
                     event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                     event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal ||
                     event->key() == Qt::Key_Minus;
  if (moves) start_moving(true);
  switch (event->key()) {
    case Qt::Key_Left: turn(-5, 0); break;
    case Qt::Key_Right: turn(5, 0); break;
    case Qt::Key_Up: turn(0, -5); break;
    case Qt::Key_Down: turn(0, 5); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom_by(1.2); break;
    case Qt::Key_Minus: zoom_by(1 / 1.2); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace ostrel::gui
