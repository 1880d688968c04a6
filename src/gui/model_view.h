// The 3D view of a model: the picture the library paints of its scene (output/scene_view.h),
// shown as an image, so it draws alike on a screen, on the offscreen platform and into a
// picture file. Drag with the mouse to turn the model, turn the wheel to zoom; the arrow
// keys turn it and + and − zoom as well.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>

#include "view/scene_view.h"

namespace ostrel::gui {

class ModelView : public QWidget {
  Q_OBJECT
 public:
  explicit ModelView(QWidget* parent = nullptr);

  void set_scene(std::shared_ptr<const ModelScene> scene);
  const ModelScene* scene() const { return scene_.get(); }

  void set_style(ViewStyle style);
  ViewStyle style() const { return style_; }

  const ViewAngles& angles() const { return angles_; }
  void set_angles(const ViewAngles& angles);
  // Turns the model by these angles in degrees (the tilt stays within ±90°).
  void turn(double yaw, double pitch);
  // Zooms by `factor` (zoom stays within 0.2 .. 20).
  void zoom_by(double factor);
  // The view the window opens with.
  void reset_view();

  // The view painted into a picture of `size` pixels.
  QImage picture(QSize size) const;

  QSize sizeHint() const override { return {560, 560}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Paints the view on `size` (in the painter's units) at `ratio` device pixels per unit.
  void paint(QPainter& painter, QSize size, qreal ratio) const;

  std::shared_ptr<const ModelScene> scene_;
  ViewStyle style_ = ViewStyle::kSolid;
  ViewAngles angles_;
  QPoint drag_from_;
};

}  // namespace ostrel::gui
