// The simple-shape form `SpecialIn`: a polygon, pyramid, prism or antiprism of size "n" or
// "n/d", run instead of an input file.
#pragma once

#include <QWidget>
#include <optional>

#include "input/shapes.h"

class QButtonGroup;
class QLineEdit;

namespace ostrel::gui {

class Forms;

class SpecialForm : public QWidget {
  Q_OBJECT
 public:
  explicit SpecialForm(Forms& forms);

  // From the file form's Simple button: shown and enabled with no shape chosen.
  void open();
  // Sets the four shape options to unchosen (also before every run from a file).
  void clear_options();
  // The shape a run builds: set when a shape option is chosen. Its size is read from Specialnd:
  // "n", or "n/d" for a star polygon.
  std::optional<SpecialShape> chosen_shape() const;
  // The message RunOK shows, empty when the choice can be run.
  QString validate() const;

  // The buttons' actions: RunOK and Cancel.
  void run_ok();
  void cancel();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Forms& forms_;
  QButtonGroup* options_;
  QLineEdit* size_;
};

}  // namespace ostrel::gui
