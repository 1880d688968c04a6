// The segment options form `SegmentOptions`: for each of the five segments of a segmented input
// its edge length, centre offsets, transparency and flips, and whether colours go per segment
// or per face.
#pragma once

#include <QWidget>
#include <array>

#include "core/model.h"
#include "settings/run_settings.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace ostrel::gui {

class Forms;

class SegmentForm : public QWidget {
  Q_OBJECT
 public:
  explicit SegmentForm(Forms& forms);

  // Shows rows 1..count (all five when count is 5 or more) and leaves the run-time form.
  void open(int count);
  // The message of the first failing row, hidden rows included; empty when all pass.
  QString validate() const;
  // The buttons' actions: runok and cancel.
  void ok();
  void cancel();
  // Copies the segment options into `settings`.
  void fill(RunSettings& settings) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void back_to_runtime();

  struct Row {
    QLineEdit* SegEdge;
    QLineEdit* SegX;
    QLineEdit* SegY;
    QLineEdit* SegZ;
    QCheckBox* SegTrans;
    QCheckBox* FlipX;
    QCheckBox* FlipY;
    QCheckBox* FlipZ;
    QWidget* title;  // "Segment n", hidden with its row
    QList<QWidget*> widgets() const;
  };

  Forms& forms_;
  std::array<Row, MaxSegments + 1> rows_{};  // rows 1..5
  QButtonGroup* seg_colour_;
};

}  // namespace ostrel::gui
