// The progress window `DrawWindow`: shows the state of a run, draws the model as a wire frame
// coloured by depth, and lets the user steer the run with its buttons. A button only marks
// itself: its click sets its caption to "Pressed"; the run takes the marks at its polling point
// (every tenth iteration), where each marked button acts once however often it was pressed.
#pragma once

#include <QColor>
#include <QLineF>
#include <QWidget>
#include <string>
#include <vector>

#include "engine/run_host.h"

class QLabel;
class QPushButton;

namespace ostrel::gui {

// Depth band of an edge whose ends have the mean z `mean_z`, with the least and greatest vertex
// z of the latest update: the band width is (z_max − z_min)/14 (0.1 when that is 0), the band
// the integer part of (mean_z − z_min)/width, plus 1; a band below 0 or above 15 becomes 0.
int depth_band(double mean_z, double z_min, double z_max);
// The drawing colour of a band 0..16: bluish grey low down, violet to purple in the middle,
// red high up, white at the very top.
QColor depth_colour(int band);

// The drawing surface: the square from (−Screen, −Screen) to (Screen, Screen) scaled to fit.
class DrawArea : public QWidget {
  Q_OBJECT
 public:
  struct Line {
    QLineF line;  // in model units
    QColor colour;
  };

  explicit DrawArea(QWidget* parent = nullptr);
  void set_screen(double screen);
  void set_lines(std::vector<Line> lines);
  void clear();
  const std::vector<Line>& lines() const { return lines_; }
  QSize sizeHint() const override { return {480, 480}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double screen_ = 3.0;
  std::vector<Line> lines_;
};

class DrawWindow : public QWidget {
  Q_OBJECT
 public:
  DrawWindow();

  static const QString kPressed;

  // The drawing shows −screen..screen (3 when the number is not above 0).
  void set_screen(double screen);
  void run_started();
  void run_ended();
  bool running() const { return running_; }

  // From the run: every tenth iteration; the caption at the start of each isomorph (the
  // drawing is cleared then); the Duplicate label.
  void show_progress(const ProgressSnapshot& snapshot);
  void set_caption(const std::string& caption);
  // A note on how the run goes on, shown after the caption until the run ends.
  void set_note(const std::string& note);
  void set_duplicate(const std::string& text);

  // The buttons pressed since the last call; their resting captions come back.
  ButtonPresses take_presses();

  DrawArea& area() { return *area_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* add_button(const QString& name, const QString& caption, const QString& tip);
  bool take(QPushButton* button, const QString& resting);

  DrawArea* area_;
  QLabel* edge_def_;
  QLabel* poly_def_;
  QLabel* it_no_;
  QLabel* isom_no_;
  QLabel* expand_opt_;
  std::string note_;
  QLabel* duplicate_;
  QPushButton* quit_;
  QPushButton* write_;
  QPushButton* graph_;
  QPushButton* redo_;
  QPushButton* reread_;
  QPushButton* f1_up_;
  QPushButton* f1_down_;
  bool running_ = false;
};

}  // namespace ostrel::gui
