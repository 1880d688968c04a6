// The model window `ModelWindow`: a model in 3D (ModelView) with what it holds, the isomorphs a
// run wrote to switch between, solid or frame, a button that resets the view and one that hands
// a written file (the VRML or glTF file) to the program the desktop opens such files with.
// Beside the 3D view stands the net of the model shown (output/net_file.h), made from its OFF
// file at the run's net edge length and paper, page by page, with a button that saves it.
//
// It shows an OFF file chosen with the main window's "View model…" (any OFF file, Ostrel's own
// or another tool's), or, after a run, the model of every isomorph the run wrote, read back from
// its OFF file together with the run's input so that it looks as the VRML files show it.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

#include "engine/run.h"
#include "output/net_pages.h"
#include "settings/run_settings.h"
#include "view/scene_loader.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSvgWidget;

namespace ostrel::gui {

class ModelView;

class ModelWindow : public QWidget {
  Q_OBJECT
 public:
  ModelWindow();

  // The colours of faces an OFF file leaves without one (the user's colour preferences).
  void set_settings(const RunSettings& settings) { settings_ = settings; }

  // Reads the OFF file at `path` and shows it in the window. A file that cannot be shown gives
  // its message in a message box and false; the window stays as it was.
  bool open_file(const QString& path);
  // The same without the window or a message box: the message, empty when the file was read.
  QString load_file(const QString& path);

  // After a run: lists every isomorph whose OFF file the run wrote and shows the first one.
  // Nothing happens (false) when the run wrote no OFF file, or had segments.
  bool show_run(const RunRequest& request, const RunReport& report,
                std::optional<bool> collapse_answer);

  // Shows entry `row` of the isomorph list.
  bool show_entry(int row);
  // The "Show" switch: every face as its band (frame) or whole (solid).
  void show_frame(bool framed);
  // Hands the file chosen under "Open in viewer" to the desktop.
  void open_in_viewer();

  ModelView& view() { return *view_; }

  // The net of the model shown: its pages, or why there is none (layout.problem).
  const NetLayout& net() const { return net_; }
  // Writes the net's pages to `first` (NAME_net.svg) and beside it (NAME_net_p2.svg, ...); a
  // page that cannot be written gives its message in a message box and false.
  bool save_net_to(const QString& first);
  // The "Save net…" button: asks where, then save_net_to.
  void save_net();

 private:
  struct Entry {
    QString label;
    QString off_file;
    QStringList files;  // the files a viewer opens, the default one first
    std::optional<RunInput> run;
  };

  QWidget* build_panel();
  QWidget* build_net_pane();
  void make_net(const QString& off_file);
  void show_net_page(int page);
  void set_entries(std::vector<Entry> entries);
  void fill_viewer_files(const QStringList& files);
  void present();

  RunSettings settings_;
  std::vector<Entry> entries_;
  int shown_ = -1;
  ModelView* view_;
  QLabel* name_;
  QLabel* counts_;
  QListWidget* isomorphs_;
  QRadioButton* solid_;
  QRadioButton* frame_;
  QPushButton* reset_;
  QComboBox* viewer_file_;
  QPushButton* open_in_viewer_;
  NetLayout net_;
  QString net_name_;  // the model's name, for the net's page titles
  QSvgWidget* net_view_;
  QLabel* net_message_;
  QComboBox* net_page_;
  QPushButton* save_net_;
};

}  // namespace ostrel::gui
