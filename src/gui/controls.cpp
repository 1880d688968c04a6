#include "gui/controls.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/lenient_number.h"
#include "core/run_error.h"
#include "settings/run_option_checks.h"

namespace ostrel::gui {

void enter_form(QWidget* form) {
  form->setEnabled(true);
  form->show();
  form->raise();
  form->activateWindow();
}

void leave_form(QWidget* form) {
  form->hide();
  form->setEnabled(false);
}

QPixmap ostrel_logo(int size) {
  QPixmap logo(size, size);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 128.0, size / 128.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1d, 0x2b, 0x4a));
  painter.drawRoundedRect(QRectF(4, 4, 120, 120), 20, 20);
  auto pen = [](const QColor& colour, double width, bool dashed = false) {
    QPen line(colour, width, dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return line;
  };
  const QPointF top(64, 14), upper_right(104, 37), lower_right(104, 87), bottom(64, 110),
      lower_left(24, 87), upper_left(24, 37), centre(64, 56);
  const QPointF near_left(44, 48), near_right(84, 48), near_bottom(64, 82);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(pen(QColor(156, 156, 192), 2.5, true));  // the far edges
  painter.drawLine(top, centre);
  painter.drawLine(lower_left, centre);
  painter.drawLine(lower_right, centre);
  painter.setPen(pen(QColor(96, 32, 160), 4));  // the outline
  painter.drawPolygon(QPolygonF{top, upper_right, lower_right, bottom, lower_left, upper_left});
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 0, 0, 64));
  painter.drawPolygon(QPolygonF{near_left, near_right, near_bottom});
  painter.setBrush(Qt::NoBrush);
  painter.setPen(pen(QColor(196, 0, 64), 4));  // the near edges
  painter.drawPolygon(QPolygonF{near_left, near_right, near_bottom});
  for (auto [from, to] : {std::pair{near_left, upper_left},
                          {near_left, top},
                          {near_right, top},
                          {near_right, upper_right},
                          {near_left, lower_left},
                          {near_right, lower_right},
                          {near_bottom, lower_left},
                          {near_bottom, lower_right},
                          {near_bottom, bottom}}) {
    painter.drawLine(from, to);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  for (const QPointF& corner : {near_left, near_right, near_bottom}) {
    painter.drawEllipse(corner, 3.5, 3.5);
  }
  return logo;
}

double form_number(const QString& text) {
  return ostrel::form_number(text.trimmed().toStdString());
}

// ---- ColourButton ----

ColourButton::ColourButton(const QString& name, QWidget* parent, QSize size)
    : QAbstractButton(parent), size_(size) {
  setObjectName(name);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

void ColourButton::set_colour(const QColor& colour) {
  colour_ = colour;
  update();
}

void ColourButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect box = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(rect(), colour_);
  if (!bordered_) return;
  painter.setPen(isDown() ? palette().highlight().color() : palette().dark().color());
  painter.drawRect(box);
  if (hasFocus()) painter.drawRect(box.adjusted(2, 2, -2, -2));
  if (!text().isEmpty()) {
    // Black or white, whichever stands out on the paint.
    painter.setPen(colour_.lightness() > 128 ? Qt::black : Qt::white);
    painter.drawText(box, Qt::AlignCenter, text().remove('&'));
  }
}

// ---- TriStateCheck ----

TriStateCheck::TriStateCheck(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {
  setObjectName(name);
}

int TriStateCheck::value() const {
  switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void TriStateCheck::set_value(int value) {
  if (value == 2) {
    setCheckState(Qt::PartiallyChecked);
  } else {
    setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
    setTristate(false);
  }
}

void TriStateCheck::nextCheckState() {
  set_value(checkState() == Qt::Checked ? 0 : 1);
}

// ---- DriveList ----

namespace {

QStringList drive_roots() {
  QStringList roots{QDir::rootPath()};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    QString root = volume.rootPath();
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir()) continue;
    // System folders are no place for models.
    static const QStringList kSystem{"/proc", "/sys", "/dev", "/run", "/snap", "/boot", "/etc"};
    bool system = std::any_of(kSystem.begin(), kSystem.end(), [&](const QString& prefix) {
      return root == prefix || root.startsWith(prefix + '/');
    });
    if (!system && !roots.contains(root)) roots << root;
  }
  std::sort(roots.begin() + 1, roots.end());
  return roots;
}

}  // namespace

DriveList::DriveList(const QString& name, QWidget* parent) : QComboBox(parent) {
  setObjectName(name);
  addItems(drive_roots());
  connect(this, &QComboBox::activated, this,
          [this](int index) { emit drive_chosen(itemText(index)); });
}

void DriveList::show_drive_of(const QString& path) {
  const QString absolute = QDir(path).absolutePath();
  int best = 0;
  qsizetype best_length = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemText(i);
    bool holds = root == QDir::rootPath() || absolute == root || absolute.startsWith(root + '/');
    if (holds && root.size() > best_length) {
      best = i;
      best_length = root.size();
    }
  }
  QSignalBlocker quiet(this);
  setCurrentIndex(best);
}

// ---- DirectoryList ----

DirectoryList::DirectoryList(const QString& name, QWidget* parent)
    : QWidget(parent), line_(new QLineEdit(this)), list_(new QListWidget(this)) {
  setObjectName(name);
  line_->setObjectName(name + "Path");
  list_->setObjectName(name + "Folders");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(line_);
  layout->addWidget(list_);
  connect(list_, &QListWidget::itemActivated, this, &DirectoryList::open_item);
  connect(line_, &QLineEdit::returnPressed, this, &DirectoryList::typed_path);
  set_path(QDir::currentPath());
}

bool DirectoryList::set_path(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || !info.isDir()) return false;
  path_ = QDir::cleanPath(info.absoluteFilePath());
  refresh();
  emit path_changed(path_);
  return true;
}

void DirectoryList::refresh() {
  line_->setText(QDir::toNativeSeparators(path_));
  list_->clear();
  QDir folder(path_);
  if (!folder.isRoot()) list_->addItem(QStringLiteral(".."));
  const QStringList names =
      folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& entry : names) list_->addItem(entry + '/');
}

void DirectoryList::open_item(QListWidgetItem* item) {
  QString entry = item->text();
  if (entry.endsWith('/')) entry.chop(1);
  set_path(QDir(path_).absoluteFilePath(entry));
}

void DirectoryList::typed_path() {
  if (!set_path(QDir::fromNativeSeparators(line_->text().trimmed()))) refresh();
}

// ---- FileList ----

FileList::FileList(const QString& name, QWidget* parent) : QListWidget(parent) {
  setObjectName(name);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::set_folder(const QString& folder) {
  folder_ = folder;
  refresh();
}

void FileList::set_pattern(const QString& pattern) {
  pattern_ = pattern;
  refresh();
}

void FileList::refresh() {
  const QString kept = selected_file();
  clear();
  if (folder_.isEmpty()) return;
  QStringList patterns = pattern_.split(';', Qt::SkipEmptyParts);
  for (QString& pattern : patterns) pattern = pattern.trimmed();
  if (patterns.isEmpty()) patterns << QStringLiteral("*");
  const QStringList names =
      QDir(folder_).entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  addItems(names);
  const auto again = findItems(kept, Qt::MatchExactly);
  if (!kept.isEmpty() && !again.isEmpty()) setCurrentItem(again.first());
}

QString FileList::selected_file() const {
  const auto chosen = selectedItems();
  return chosen.isEmpty() ? QString() : chosen.first()->text();
}

}  // namespace ostrel::gui
