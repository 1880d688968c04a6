#include "gui/model_window.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/run_error.h"
#include "gui/messages.h"
#include "gui/model_view.h"
#include "output/net_file.h"
#include "view/net_loader.h"

namespace ostrel::gui {
namespace {

// Where a file goes in the "Open in viewer" list: VRML files first (the solid one is written
// first), then glTF, STL, OFF and the pages of the net; nothing else (a debug log) is listed.
int viewer_rank(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  const QStringList order{"wrl", "glb", "stl", "off", "svg"};
  const auto rank = order.indexOf(suffix);
  return rank < 0 ? -1 : static_cast<int>(rank);
}

QStringList viewer_files(QStringList files) {
  files.erase(std::remove_if(files.begin(), files.end(),
                             [](const QString& file) { return viewer_rank(file) < 0; }),
              files.end());
  std::stable_sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
    return viewer_rank(a) < viewer_rank(b);
  });
  return files;
}

// The files Ostrel writes beside an OFF file NAME.off: NAME.glb, NAME.stl and the VRML files
// NAME.wrl and NAME_style.wrl (not those of the further isomorphs, NAME_isom2...).
QStringList files_beside(const QString& off_file) {
  const QFileInfo off(off_file);
  const QString name = off.completeBaseName();
  QStringList found;
  const QDir folder = off.absoluteDir();
  for (const QString& file : folder.entryList({name + ".*", name + "_*.wrl"}, QDir::Files)) {
    const QString rest = file.mid(name.size());
    if (rest.startsWith("_isom") || viewer_rank(file) < 0) continue;
    found << folder.filePath(file);
  }
  found.removeAll(folder.filePath(off.fileName()));
  found << off.absoluteFilePath();
  return viewer_files(found);
}

}  // namespace

ModelWindow::ModelWindow() {
  setObjectName("ModelWindow");
  setWindowTitle("Ostrel Model");
  view_ = new ModelView(this);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addWidget(build_net_pane());
  layout->addWidget(build_panel());
  resize(1160, 600);
}

QWidget* ModelWindow::build_panel() {
  auto* panel = new QWidget(this);
  panel->setFixedWidth(250);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);

  name_ = new QLabel(panel);
  name_->setObjectName("ModelName");
  QFont bold = name_->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  name_->setFont(bold);
  name_->setWordWrap(true);
  counts_ = new QLabel(panel);
  counts_->setObjectName("ModelCounts");
  counts_->setWordWrap(true);
  column->addWidget(name_);
  column->addWidget(counts_);

  column->addWidget(new QLabel("Isomorphs written", panel));
  isomorphs_ = new QListWidget(panel);
  isomorphs_->setObjectName("IsomorphList");
  isomorphs_->setMaximumHeight(96);
  connect(isomorphs_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row != shown_ && !show_entry(row)) isomorphs_->setCurrentRow(shown_);
  });
  column->addWidget(isomorphs_);

  auto* show = new QGroupBox("Show", panel);
  auto* show_layout = new QHBoxLayout(show);
  solid_ = new QRadioButton("&Solid", show);
  solid_->setObjectName("SolidView");
  solid_->setChecked(true);
  frame_ = new QRadioButton("&Frame", show);
  frame_->setObjectName("FrameView");
  show_layout->addWidget(solid_);
  show_layout->addWidget(frame_);
  connect(frame_, &QRadioButton::toggled, this, [this](bool framed) {
    view_->set_style(framed ? ViewStyle::kFrame : ViewStyle::kSolid);
  });
  column->addWidget(show);

  reset_ = new QPushButton("&Reset view", panel);
  reset_->setObjectName("ResetView");
  reset_->setToolTip("Turn the model back to the first view and undo the zoom");
  connect(reset_, &QPushButton::clicked, view_, &ModelView::reset_view);
  column->addWidget(reset_);

  column->addSpacing(8);
  column->addWidget(new QLabel("Open a written file in another program:", panel));
  viewer_file_ = new QComboBox(panel);
  viewer_file_->setObjectName("ViewerFile");
  column->addWidget(viewer_file_);
  open_in_viewer_ = new QPushButton("&Open in viewer", panel);
  open_in_viewer_->setObjectName("OpenInViewer");
  open_in_viewer_->setToolTip("Open the chosen file with the program the desktop opens it with");
  connect(open_in_viewer_, &QPushButton::clicked, this, &ModelWindow::open_in_viewer);
  column->addWidget(open_in_viewer_);

  column->addStretch(1);
  auto* hint = new QLabel("Drag to turn the model, turn the wheel to zoom.", panel);
  hint->setWordWrap(true);
  column->addWidget(hint);
  auto* close_button = new QPushButton("&Close", panel);
  close_button->setObjectName("CloseView");
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  column->addWidget(close_button);
  return panel;
}

QWidget* ModelWindow::build_net_pane() {
  auto* pane = new QWidget(this);
  pane->setObjectName("NetPane");
  pane->setFixedWidth(300);
  auto* column = new QVBoxLayout(pane);
  column->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel("Net for a paper model", pane);
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  column->addWidget(caption);
  net_page_ = new QComboBox(pane);
  net_page_->setObjectName("NetPage");
  connect(net_page_, &QComboBox::currentIndexChanged, this, &ModelWindow::show_net_page);
  column->addWidget(net_page_);
  net_view_ = new QSvgWidget(pane);
  net_view_->setObjectName("NetView");
  column->addWidget(net_view_);
  net_message_ = new QLabel(pane);
  net_message_->setObjectName("NetMessage");
  net_message_->setWordWrap(true);
  column->addWidget(net_message_);
  save_net_ = new QPushButton("Save &net…", pane);
  save_net_->setObjectName("SaveNet");
  save_net_->setToolTip("Save the net as SVG files, one per page, to print at scale");
  connect(save_net_, &QPushButton::clicked, this, &ModelWindow::save_net);
  column->addWidget(save_net_);
  column->addStretch(1);
  return pane;
}

void ModelWindow::make_net(const QString& off_file) {
  net_name_ = QFileInfo(off_file).completeBaseName();
  std::string error;
  const NetFaces faces = net_faces_of_off_file(off_file.toStdString(), error);
  net_ = error.empty() ? ostrel::make_net(faces, net_options(settings_)) : NetLayout{error, {}, 0};
  const QSignalBlocker quiet(net_page_);
  net_page_->clear();
  for (std::size_t page = 1; page <= net_.pages.size(); ++page) {
    net_page_->addItem(QStringLiteral("Page %1 of %2").arg(page).arg(net_.pages.size()));
  }
  net_page_->setVisible(net_.pages.size() > 1);
  net_message_->setText(QString::fromStdString(net_.problem));
  net_message_->setVisible(!net_.problem.empty());
  net_view_->setVisible(!net_.pages.empty());
  save_net_->setEnabled(!net_.pages.empty());
  show_net_page(0);
}

void ModelWindow::show_net_page(int page) {
  if (page < 0 || page >= static_cast<int>(net_.pages.size())) return;
  const NetPage& sheet = net_.pages[static_cast<std::size_t>(page)];
  const std::string title = net_page_title(net_name_.toStdString(), page + 1,
                                           static_cast<int>(net_.pages.size()), net_options(settings_));
  // The page keeps its proportions: the pane is as wide as the page drawn in it.
  net_view_->setFixedSize(300, static_cast<int>(300 * sheet.height / sheet.width));
  net_view_->load(QByteArray::fromStdString(net_page_svg(sheet, title)));
}

bool ModelWindow::save_net_to(const QString& first) {
  const int pages = static_cast<int>(net_.pages.size());
  for (int page = 1; page <= pages; ++page) {
    const std::filesystem::path path = net_page_path(first.toStdString(), page);
    try {
      write_net_page_file(path, net_.pages[static_cast<std::size_t>(page - 1)],
                          net_page_title(net_name_.toStdString(), page, pages, net_options(settings_)));
    } catch (const RunError& error) {
      Messages::show(QString::fromStdString(error.what()));
      return false;
    }
  }
  return pages > 0;
}

void ModelWindow::save_net() {
  if (net_.pages.empty() || shown_ < 0) return;
  const QFileInfo off(entries_[static_cast<std::size_t>(shown_)].off_file);
  const QString path = QFileDialog::getSaveFileName(
      this, "Save net", off.absoluteDir().filePath(off.completeBaseName() + "_net.svg"),
      "SVG files (*.svg)");
  if (!path.isEmpty()) save_net_to(path);
}

QString ModelWindow::load_file(const QString& path) {
  SceneLoad load = load_off_scene(path.toStdString(), settings_);
  if (!load.ok()) return QString::fromStdString(load.error);
  set_entries({Entry{QFileInfo(path).fileName(), path, files_beside(path), std::nullopt}});
  shown_ = -1;
  view_->set_scene(std::make_shared<const ModelScene>(std::move(load.scene)));
  shown_ = 0;
  present();
  return {};
}

bool ModelWindow::open_file(const QString& path) {
  const QString problem = load_file(path);
  if (!problem.isEmpty()) {
    Messages::show(problem);
    return false;
  }
  show();
  raise();
  activateWindow();
  return true;
}

bool ModelWindow::show_run(const RunRequest& request, const RunReport& report,
                           std::optional<bool> collapse_answer) {
  if (request.settings.SegmentCount >= 2) return false;
  const RunInput input{request.input, request.shape, request.settings, collapse_answer};
  std::vector<Entry> entries;
  const auto add = [&](const QString& label, const std::vector<std::filesystem::path>& written) {
    QStringList files;
    QString off;
    for (const std::filesystem::path& file : written) {
      files << QString::fromStdString(file.string());
      if (file.extension() == ".off") off = files.last();
    }
    const bool listed = std::any_of(entries.begin(), entries.end(),
                                    [&](const Entry& entry) { return entry.off_file == off; });
    if (off.isEmpty() || listed) return;
    entries.push_back(Entry{label + QFileInfo(off).fileName(), off, viewer_files(files), input});
  };
  for (const IsomorphReport& isomorph : report.isomorphs) {
    add(QStringLiteral("%1: ").arg(isomorph.number), isomorph.files);
  }
  for (const std::filesystem::path& file : report.files) add(QString(), {file});
  if (entries.empty()) return false;
  settings_ = request.settings;
  set_entries(std::move(entries));
  shown_ = -1;
  if (!show_entry(0)) return false;
  show();
  raise();
  activateWindow();
  return true;
}

void ModelWindow::set_entries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  const QSignalBlocker quiet(isomorphs_);
  isomorphs_->clear();
  for (const Entry& entry : entries_) isomorphs_->addItem(entry.label);
  isomorphs_->setCurrentRow(0);
}

bool ModelWindow::show_entry(int row) {
  if (row < 0 || row >= static_cast<int>(entries_.size())) return false;
  const Entry& entry = entries_[static_cast<std::size_t>(row)];
  SceneLoad load = entry.run ? load_run_scene(entry.off_file.toStdString(), *entry.run)
                             : load_off_scene(entry.off_file.toStdString(), settings_);
  if (!load.ok()) {
    Messages::show(QString::fromStdString(load.error));
    return false;
  }
  shown_ = row;
  {
    const QSignalBlocker quiet(isomorphs_);
    isomorphs_->setCurrentRow(row);
  }
  view_->set_scene(std::make_shared<const ModelScene>(std::move(load.scene)));
  present();
  return true;
}

void ModelWindow::present() {
  if (shown_ < 0) return;
  const Entry& entry = entries_[static_cast<std::size_t>(shown_)];
  const QString name = QFileInfo(entry.off_file).completeBaseName();
  setWindowTitle("Ostrel Model: " + name);
  name_->setText(name);
  if (const ModelScene* scene = view_->scene()) {
    counts_->setText(QStringLiteral("%1 vertices, %2 faces, %3 edges")
                         .arg(scene->vertex_count)
                         .arg(scene->face_count)
                         .arg(scene->edge_count));
  }
  fill_viewer_files(entry.files);
  make_net(entry.off_file);
}

void ModelWindow::fill_viewer_files(const QStringList& files) {
  viewer_file_->clear();
  for (const QString& file : files) viewer_file_->addItem(QFileInfo(file).fileName(), file);
  open_in_viewer_->setEnabled(!files.isEmpty());
}

void ModelWindow::show_frame(bool framed) {
  (framed ? frame_ : solid_)->setChecked(true);
}

void ModelWindow::open_in_viewer() {
  const QString file = viewer_file_->currentData().toString();
  if (file.isEmpty()) return;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
    Messages::show("No program is set up to open " + file);
  }
}

}  // namespace ostrel::gui
