#include "gui/user_pref_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "gui/colour_pref_form.h"
#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/runtime_form.h"

namespace ostrel::gui {
namespace {

QLineEdit* box(const QString& name, const QString& tip = {}, int width = 90) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setToolTip(tip);
  edit->setMaximumWidth(width);
  return edit;
}

QCheckBox* check(const QString& name, const QString& caption, const QString& tip = {}) {
  auto* tick = new QCheckBox(caption);
  tick->setObjectName(name);
  tick->setToolTip(tip);
  return tick;
}

QString text(const std::string& value) {
  return QString::fromStdString(value);
}

std::string value(const QLineEdit* edit) {
  return edit->text().toStdString();
}

}  // namespace

const QString UserPrefForm::kSavingNote =
    "The information above will be saved and used as default settings each time Ostrel is run.";
const QString UserPrefForm::kRunNote =
    "Changes made to this screen will apply to the next run only.  Select PREF from the main "
    "screen for changes to your default settings.";

UserPrefForm::UserPrefForm(Forms& forms) : forms_(forms) {
  setObjectName("UserPref");
  setWindowTitle("Ostrel User Preferences");

  // Relative force strengths.
  auto* forces = new QGroupBox("Relative Force Strengths");
  auto* forces_layout = new QFormLayout(forces);
  const std::pair<const char*, const char*> force_rows[] = {
      {"Triangular edges:", "Relative strength of triangle-triangle edges"},
      {"Polygonal edges:", "Relative strength of triangle-polygon and polygon-polygon edges"},
      {"Hop:", "Relative strength of the edges used by the hop algorithm"},
      {"Polygon diameters:", "Relative strength of the polygon diameter forces"},
      {"Local inflation:", "Relative strength of the dihedral bands of local inflation"},
      {"Temporary bands:",
       "Relative strength of the temporary bands removed before the final relaxation"},
  };
  for (int k = 1; k <= 6; ++k) {
    force_[k] = box(QStringLiteral("Force%1").arg(k), force_rows[k - 1].second);
    forces_layout->addRow(force_rows[k - 1].first, force_[k]);
  }
  auto* force_reset = new QPushButton("&Reset");
  force_reset->setObjectName("ForceReset");
  force_reset->setToolTip("Resets Force Strengths to default values");
  forces_layout->addRow(force_reset);

  auto* run_time = new QGroupBox("Run-Time Options");
  auto* run_layout = new QFormLayout(run_time);
  max_iter_ = box("MaxIter", "The iteration limit is 10 to the power of this number");
  beep_it_ = check("BeepIt", "", "Three beeps when the output files are written");
  screen_ = box("Screen", "The progress window shows the square from (-n,-n) to (n,n)");
  threads_ = box("Threads",
                 "Threads for the attempts run ahead and the robust starts' sums: 0 for one per "
                 "core; the files are the same for any number");
  run_layout->addRow("Maximum Iterations (log base 10):", max_iter_);
  run_layout->addRow("Beep:", beep_it_);
  run_layout->addRow("Draw-Window Screen Size:", screen_);
  run_layout->addRow("Threads:", threads_);

  // Output file selection.
  auto* selection = new QGroupBox("Output File Selection");
  auto* selection_layout = new QGridLayout(selection);
  selection_layout->addWidget(new QLabel("suffix"), 0, 1);
  auto output_row = [&](int row, QCheckBox*& tick, QLineEdit*& suffix, const QString& name,
                        const QString& caption, const QString& tip) {
    tick = check(name + "VRML", caption, tip);
    suffix = box(name + "Suffix", "File-name suffix of this file", 120);
    selection_layout->addWidget(tick, row, 0);
    selection_layout->addWidget(suffix, row, 1);
  };
  output_row(1, solid_vrml_, solid_suffix_, "Solid",
             "Solid VRML:", "The solid (faces filled) VRML file");
  output_row(2, frame_vrml_, frame_suffix_, "Frame",
             "Frame VRML:", "The framework (edge bars only) VRML file");
  output_row(3, switch_vrml_, switch_suffix_, "Switch",
             "Switchable VRML:", "The switchable (solid/framework) VRML file");
  output_row(4, anim_vrml_, anim_suffix_, "Anim",
             "Animated VRML:", "The animated (solid/framework) VRML file");
  cyl_vrml_ = check("CylVRML",
                    "Molecule VRML:", "The molecule (edge cylinders and vertex spheres) VRML file");
  cyl_suffix_ = box("CylSuffix", "File-name suffix of this file", 120);
  selection_layout->addWidget(cyl_vrml_, 5, 0);
  selection_layout->addWidget(cyl_suffix_, 5, 1);
  off_file_ = check("OffFile", "\"OFF\" File:", "The OFF geometry file (its suffix is fixed)");
  selection_layout->addWidget(off_file_, 6, 0);
  gltf_file_ = check("GltfFile", "glTF (.glb):",
                     "The solid as a glTF 2.0 binary for browsers, Blender and phone viewers");
  selection_layout->addWidget(gltf_file_, 7, 0);
  stl_file_ = check("StlFile", "STL (.stl):", "The solid surface as a binary STL for 3D printing");
  selection_layout->addWidget(stl_file_, 8, 0);
  net_file_ = check("NetFile", "Net (SVG)",
                    "The solid unfolded into a net for a paper model, NAME_net.svg, to print");
  selection_layout->addWidget(net_file_, 9, 0);

  // Output file settings.
  auto* settings = new QGroupBox("Output File Settings");
  auto* settings_layout = new QFormLayout(settings);
  frame_val_ = box("FrameVal",
                   "Width of framework edges as a percentage of the distance to the polygon's "
                   "centre");
  vrml_scale_ = box("VRMLScale",
                    "Greater than 1 brings the solid closer in the VRML viewer, less than 1 "
                    "moves it away");
  edge_ = check("Edge", "Display Edges", "Draw the edges in the VRML output");
  realm_trans_ = check("RealmTrans", "Inter-Realm Transparency");
  trans_level_ = box("TransLevel", "0 (completely transparent) to 1 (opaque)");
  vertex_size_ = box("VertexSize", "Size of the highlight vertex spheres, a percentage");
  cylsize_ = box("Cylsize", "Diameter of the edge cylinders as a percentage of the edge length");
  settings_layout->addRow("Frame Width:", frame_val_);
  settings_layout->addRow("Viewpoint Scale:", vrml_scale_);
  settings_layout->addRow(edge_);
  settings_layout->addRow(realm_trans_);
  settings_layout->addRow("Transparency Level", trans_level_);
  settings_layout->addRow("Highlight Vertex Size ", vertex_size_);
  settings_layout->addRow("Edge Cylinder Size", cylsize_);
  auto* labelling = new QGroupBox("Vertex Labelling");
  auto* labelling_layout = new QHBoxLayout(labelling);
  auto* labels = new QButtonGroup(this);
  const char* label_captions[] = {"Standard", "Billboard"};
  const char* label_tips[] = {"Labels rotate with the object",
                              "Labels stay oriented to the viewer (VRML 97 only)"};
  for (int i = 0; i < 2; ++i) {
    vertex_label_[i] = new QRadioButton(label_captions[i]);
    vertex_label_[i]->setObjectName(QStringLiteral("VertexLabel(%1)").arg(i));
    vertex_label_[i]->setToolTip(label_tips[i]);
    labels->addButton(vertex_label_[i], i);
    labelling_layout->addWidget(vertex_label_[i]);
  }
  vertex_label_[1]->setChecked(true);
  settings_layout->addRow(labelling);
  auto* colour = new QPushButton("&Adjust Colour Preferences");
  colour->setObjectName("Colour");
  settings_layout->addRow(colour);

  source_warn_ = new QLabel(kSavingNote);
  source_warn_->setObjectName("SourceWarn");
  source_warn_->setWordWrap(true);
  auto* ok_button = new QPushButton("&OK");
  ok_button->setObjectName("cmdOK");
  ok_button->setDefault(true);
  auto* cancel_button = new QPushButton("&Cancel");
  cancel_button->setObjectName("cmdCancel");

  auto* left = new QVBoxLayout;
  left->addWidget(forces);
  left->addWidget(run_time);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(selection);
  right->addWidget(settings);
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(source_warn_, 1);
  bottom->addWidget(ok_button);
  bottom->addWidget(cancel_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(bottom);

  connect(ok_button, &QPushButton::clicked, this, &UserPrefForm::ok);
  connect(cancel_button, &QPushButton::clicked, this, &UserPrefForm::cancel);
  connect(force_reset, &QPushButton::clicked, this, &UserPrefForm::reset_forces);
  connect(colour, &QPushButton::clicked, this, &UserPrefForm::colours);
  connect(vertex_size_, &QLineEdit::textChanged, this, &UserPrefForm::vertex_size_changed);

  apply(initial_preferences());
}

void UserPrefForm::open_saving() {
  source_warn_->setText(kSavingNote);
  enter_form(this);
}

void UserPrefForm::open_for_run() {
  source_warn_->setText(kRunNote);
  enter_form(this);
}

bool UserPrefForm::run_mode() const {
  return forms_.runtime().pref_button()->text() == "Clicked";
}

void UserPrefForm::vertex_size_changed() {
  if (!loading_ && vertex_size_warns(vertex_size_->text().toStdString())) {
    Messages::show(QString::fromUtf8(kVertexSphereWarning.data(),
                                     static_cast<qsizetype>(kVertexSphereWarning.size())));
  }
}

void UserPrefForm::reset_forces() {
  const StoredOptions defaults;
  for (int k = 1; k <= 6; ++k)
    force_[k]->setText(QString::fromStdString(defaults.Force[static_cast<std::size_t>(k)]));
}

void UserPrefForm::colours() {
  forms_.colour_pref().open();
  setEnabled(false);
}

void UserPrefForm::ok() {
  // Suffixes lose their outer blanks; an empty one becomes a single blank.
  QLineEdit* suffixes[] = {solid_suffix_, frame_suffix_, switch_suffix_, anim_suffix_, cyl_suffix_};
  for (QLineEdit* suffix : suffixes) {
    suffix->setText(QString::fromStdString(tidy_suffix(suffix->text().toStdString())));
  }
  // Two files written with the same suffix would overwrite each other.
  const QCheckBox* ticks[] = {solid_vrml_, frame_vrml_, switch_vrml_, anim_vrml_, cyl_vrml_};
  const std::pair<int, int> pairs[] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3},
                                       {2, 3}, {0, 4}, {1, 4}, {2, 4}, {3, 4}};
  for (auto [a, b] : pairs) {
    if (ticks[a]->isChecked() && ticks[b]->isChecked() &&
        suffixes[a]->text() == suffixes[b]->text()) {
      Messages::show(QStringLiteral("Error: Suffixes for selected output files must be different"));
      return;
    }
  }
  if (run_mode()) {
    back_to_runtime();
    return;
  }
  const double level = form_number(trans_level_->text());
  if (level < 0 || level > 1) {
    Messages::show(QStringLiteral("Error: Transparency Level must be between 0 and 1"));
    return;
  }
  if (forms_.save_settings()) Messages::show(QStringLiteral("Ostrel User Preferences Updated"));
  hide();
  enter_form(&forms_.intro());
}

void UserPrefForm::cancel() {
  if (run_mode()) {
    back_to_runtime();
    return;
  }
  Messages::show(QStringLiteral("Default settings have not been updated"));
  enter_form(&forms_.intro());
  leave_form(this);
}

void UserPrefForm::back_to_runtime() {
  RunTimeForm& runtime = forms_.runtime();
  runtime.pref_button()->setText("&Preferences");
  runtime.setEnabled(true);
  leave_form(this);
  source_warn_->setText(kSavingNote);
}

void UserPrefForm::closeEvent(QCloseEvent* event) {
  // Closing the window is its Cancel.
  event->ignore();
  if (isEnabled()) cancel();
}

double UserPrefForm::screen() const {
  return form_number(screen_->text());
}

void UserPrefForm::apply(const Preferences& p) {
  loading_ = true;
  for (int k = 1; k <= 6; ++k) force_[k]->setText(text(p.Force[static_cast<std::size_t>(k)]));
  frame_val_->setText(text(p.FrameVal));
  screen_->setText(text(p.Screen));
  max_iter_->setText(text(p.MaxIter));
  threads_->setText(text(p.Threads));
  solid_vrml_->setChecked(p.SolidVRML);
  frame_vrml_->setChecked(p.FrameVRML);
  switch_vrml_->setChecked(p.SwitchVRML);
  anim_vrml_->setChecked(p.AnimVRML);
  cyl_vrml_->setChecked(p.CylVRML);
  off_file_->setChecked(p.OffFile);
  gltf_file_->setChecked(p.GltfFile);
  stl_file_->setChecked(p.StlFile);
  net_file_->setChecked(p.NetFile);
  edge_->setChecked(p.Edge);
  beep_it_->setChecked(p.BeepIt);
  realm_trans_->setChecked(p.RealmTrans);
  trans_level_->setText(text(p.TransLevel));
  solid_suffix_->setText(text(p.SolidSuffix));
  frame_suffix_->setText(text(p.FrameSuffix));
  switch_suffix_->setText(text(p.SwitchSuffix));
  anim_suffix_->setText(text(p.AnimSuffix));
  cyl_suffix_->setText(text(p.CylSuffix));
  vrml_scale_->setText(text(p.VRMLScale));
  vertex_size_->setText(text(p.VertexSize));
  cylsize_->setText(text(p.Cylsize));
  vertex_label_[p.VertexLabel == kVertexLabelStandard ? 0 : 1]->setChecked(true);
  loading_ = false;
}

void UserPrefForm::fill(Preferences& p) const {
  for (int k = 1; k <= 6; ++k) p.Force[static_cast<std::size_t>(k)] = value(force_[k]);
  p.FrameVal = value(frame_val_);
  p.Screen = value(screen_);
  p.MaxIter = value(max_iter_);
  p.Threads = value(threads_);
  p.SolidVRML = solid_vrml_->isChecked();
  p.FrameVRML = frame_vrml_->isChecked();
  p.SwitchVRML = switch_vrml_->isChecked();
  p.AnimVRML = anim_vrml_->isChecked();
  p.CylVRML = cyl_vrml_->isChecked();
  p.OffFile = off_file_->isChecked();
  p.GltfFile = gltf_file_->isChecked();
  p.StlFile = stl_file_->isChecked();
  p.NetFile = net_file_->isChecked();
  p.Edge = edge_->isChecked();
  p.BeepIt = beep_it_->isChecked();
  p.RealmTrans = realm_trans_->isChecked();
  p.TransLevel = value(trans_level_);
  p.SolidSuffix = value(solid_suffix_);
  p.FrameSuffix = value(frame_suffix_);
  p.SwitchSuffix = value(switch_suffix_);
  p.AnimSuffix = value(anim_suffix_);
  p.CylSuffix = value(cyl_suffix_);
  p.VRMLScale = value(vrml_scale_);
  p.VertexSize = value(vertex_size_);
  p.Cylsize = value(cylsize_);
  p.VertexLabel = vertex_label_[0]->isChecked() ? kVertexLabelStandard : kVertexLabelBillboard;
}

}  // namespace ostrel::gui
