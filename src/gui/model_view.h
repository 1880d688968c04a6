// The 3D view of a model: the picture the library paints of its scene (output/scene_view.h),
// shown as an image, so it draws alike on a screen, on the offscreen platform and into a
// picture file. Drag with the mouse to turn the model, turn the wheel to zoom; the arrow
// keys turn it and + and − zoom as well. While the model turns or zooms the view shows the quick
// picture (output/quick_view.h), and the full one when the mouse button is let go or a moment
// after the last turn of the wheel or press of a key.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
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

  // The view painted into a picture of `size` pixels: always the full picture.
  QImage picture(QSize size) const;
  // Whether the view shows the quick picture, the model being on the move.
  bool moving() const { return moving_; }

  QSize sizeHint() const override { return {560, 560}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Paints the view on `size` (in the painter's units) at `ratio` device pixels per unit, the
  // quick picture when `quick`.
  void paint(QPainter& painter, QSize size, qreal ratio, bool quick) const;
  // Shows the quick picture until the full one is due: at once when `until_settled` is false
  // (the mouse button lets go), else a moment after the last call.
  void start_moving(bool until_settled);

  std::shared_ptr<const ModelScene> scene_;
  QString problem_;  // why the scene cannot be drawn (output/scene_view.h); empty when it can
  bool moving_ = false;
  QTimer* settle_ = nullptr;
  ViewStyle style_ = ViewStyle::kSolid;
  ViewAngles angles_;
  QPoint drag_from_;
};

}  // namespace ostrel::gui
