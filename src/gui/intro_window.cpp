#include "gui/intro_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/controls.h"
#include "gui/file_form.h"
#include "gui/forms.h"
#include "gui/help_window.h"
#include "gui/messages.h"
#include "gui/model_window.h"
#include "gui/user_pref_form.h"

namespace ostrel::gui {

IntroWindow::IntroWindow(Forms& forms) : forms_(forms) {
  setObjectName("Intro");
  setWindowTitle(Messages::title());

  auto* toolbar = new QToolBar(this);
  toolbar->setObjectName("Toolbar1");
  toolbar->setMovable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar->setIconSize(QSize(32, 32));
  addToolBar(Qt::TopToolBarArea, toolbar);
  QStyle* look = style();
  toolbar->addAction(add_tool("File", "F", "Load File to Ostrel",
                              look->standardIcon(QStyle::SP_DialogOpenButton)));
  QAction* view_model = add_tool("View model…", "V", "See a model (an OFF file) in 3D",
                                 look->standardIcon(QStyle::SP_FileDialogContentsView));
  view_model->setObjectName("ViewModel");
  toolbar->addAction(view_model);
  toolbar->addAction(add_tool("Preferences  ", "P", "Amend User Preferences",
                              look->standardIcon(QStyle::SP_FileDialogDetailedView)));
  toolbar->addAction(
      add_tool("Help", "H", "Help Information", look->standardIcon(QStyle::SP_DialogHelpButton)));
  toolbar->addAction(
      add_tool("Quit", "Q", "Quit Ostrel", look->standardIcon(QStyle::SP_DialogCloseButton)));

  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(32, 24, 32, 24);
  layout->setSpacing(6);
  auto add_label = [&](const QString& name, const QString& text, int point_size, bool bold) {
    auto* label = new QLabel(text, page);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    if (point_size > 0) font.setPointSize(point_size);
    font.setBold(bold);
    label->setFont(font);
    layout->addWidget(label);
    return label;
  };
  auto* icon = new QLabel(page);
  icon->setObjectName("Logo");
  icon->setAlignment(Qt::AlignCenter);
  icon->setPixmap(ostrel_logo(96));
  layout->addWidget(icon);
  add_label("Banner", "Ostrel", 28, true);
  add_label("Subtitle", "Polyhedron models relaxed from their faces", 13, false);
  add_label("Version", QStringLiteral("Version %1").arg(OSTREL_VERSION), 0, false);
  layout->addSpacing(12);
  add_label("Origin1", "Describe a solid by its faces in a small text file.", 0, false);
  add_label("Origin2", "Ostrel moves its vertices until every edge is one unit long", 0, false);
  add_label("Origin3", "and every face regular, then writes VRML scenes and OFF files.", 0, false);
  layout->addStretch(1);
  setCentralWidget(page);
  resize(560, 440);
}

QAction* IntroWindow::add_tool(const QString& caption, const QString& key, const QString& tip,
                               const QIcon& icon) {
  auto* action = new QAction(icon, caption, this);
  action->setObjectName(caption.trimmed());
  action->setData(key);
  action->setToolTip(tip);
  connect(action, &QAction::triggered, this, [this, key] { toolbar_key(key); });
  return action;
}

void IntroWindow::load() {
  forms_.load_settings();
  enter_form(this);
}

void IntroWindow::toolbar_key(const QString& key) {
  if (key == "F") {
    forms_.file().open();
    leave_form(this);
  } else if (key == "P") {
    forms_.user_pref().open_saving();
    leave_form(this);
  } else if (key == "H") {
    forms_.help().open();
  } else if (key == "V") {
    const QString path = QFileDialog::getOpenFileName(
        this, "View model", forms_.file().output_folder(), "OFF files (*.off);;All files (*)");
    if (!path.isEmpty()) view_model(path);
  } else if (key == "Q") {
    leave_form(this);
    QApplication::quit();
  }
}

void IntroWindow::view_model(const QString& path) {
  RunSettings settings;
  apply_to_run_settings(forms_.preferences(), settings);
  forms_.model_window().set_settings(settings);
  forms_.model_window().open_file(path);
}

void IntroWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  leave_form(this);
  QApplication::quit();
}

}  // namespace ostrel::gui
