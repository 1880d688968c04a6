#include "gui/runtime_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

#include "core/run_error.h"
#include "engine/run.h"
#include "gui/controls.h"
#include "gui/draw_window.h"
#include "gui/file_form.h"
#include "gui/forms.h"
#include "gui/gui_host.h"
#include "gui/intro_window.h"
#include "gui/messages.h"
#include "gui/model_window.h"
#include "gui/segment_form.h"
#include "gui/special_form.h"
#include "gui/user_pref_form.h"
#include "input/prescan.h"
#include "settings/option_table.h"
#include "settings/run_option_checks.h"

namespace ostrel::gui {
namespace {

const QString kCaption = QStringLiteral("Ostrel RunTime Options: ");

// A text box of the option table: its text starts as the option's default.
QLineEdit* number_box(const QString& name, const QString& tip = {}) {
  auto* box = new QLineEdit(QString::fromStdString(default_option_text(name.toStdString())));
  box->setObjectName(name);
  box->setToolTip(tip);
  box->setMaximumWidth(90);
  return box;
}

QCheckBox* check(const QString& name, const QString& caption, const QString& tip = {}) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  box->setToolTip(tip);
  return box;
}

TriStateCheck* tri_check(const QString& name, const QString& caption, const QString& tip = {}) {
  auto* box = new TriStateCheck(name, caption);
  box->setToolTip(tip);
  return box;
}

// An option group: radio buttons named "Name(index)".
QButtonGroup* option_group(QObject* owner, const QString& name, const QStringList& captions,
                           int first_index, QLayout* layout) {
  auto* group = new QButtonGroup(owner);
  group->setObjectName(name);
  for (int i = 0; i < captions.size(); ++i) {
    auto* button = new QRadioButton(captions[i]);
    button->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(first_index + i));
    group->addButton(button, first_index + i);
    layout->addWidget(button);
  }
  return group;
}

bool is_on(const QCheckBox* box) {
  return box->checkState() == Qt::Checked;
}

std::string text_of(const QLineEdit* box) {
  return box->text().toStdString();
}

}  // namespace

RunTimeForm::RunTimeForm(Forms& forms) : forms_(forms) {
  setObjectName("RunTime");
  setWindowTitle(kCaption);

  segments_ = new QPushButton("&Segments");
  segments_->setObjectName("Segments");
  pref_ = new QPushButton("&Preferences");
  pref_->setObjectName("Pref");
  pref_->setToolTip("Change the user preferences for the next run only");
  auto* run_ok = new QPushButton("&OK");
  run_ok->setObjectName("RunOK");
  run_ok->setDefault(true);
  auto* run_cancel = new QPushButton("&Cancel");
  run_cancel->setObjectName("RunCancel");

  auto* columns = new QHBoxLayout;
  columns->addWidget(build_inflation(), 1);
  columns->addWidget(build_modes(), 1);
  columns->addWidget(build_output(), 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(segments_);
  buttons->addWidget(pref_);
  buttons->addStretch(1);
  buttons->addWidget(run_ok);
  buttons->addWidget(run_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(buttons);

  connect(run_ok, &QPushButton::clicked, this, &RunTimeForm::ok);
  connect(run_cancel, &QPushButton::clicked, this, &RunTimeForm::cancel);
  connect(pref_, &QPushButton::clicked, this, &RunTimeForm::preferences);
  connect(segments_, &QPushButton::clicked, this, &RunTimeForm::segments);
  connect(inflate_option_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) inflate_chosen(id);
  });
  connect(local_option_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) local_chosen(id);
  });
  connect(sqrt_hop_, &QCheckBox::stateChanged, this,
          [this] { sqrt_mult_->setEnabled(is_on(sqrt_hop_)); });
  connect(weaken_, &QCheckBox::stateChanged, this,
          [this] { weaken_limit_->setEnabled(is_on(weaken_)); });
  connect(highlight_, &QCheckBox::stateChanged, this,
          [this] { highlight_val_->setEnabled(is_on(highlight_)); });
  connect(augment_, &QCheckBox::stateChanged, this,
          [this] { aug_frame_->setEnabled(augment_->value() != 0); });

  // Form load: the local option "Range" and the inflation option "Global" are chosen (their
  // rules run as for a click), Modified Hop is cleared and its multiplier disabled.
  local_option_->button(kLocalRange)->setChecked(true);
  local_chosen(kLocalRange);
  inflate_option_->button(0)->setChecked(true);
  inflate_chosen(0);
  sqrt_hop_->setChecked(false);
  sqrt_mult_->setEnabled(false);
  weaken_limit_->setEnabled(false);
  highlight_val_->setEnabled(false);
  aug_frame_->setEnabled(false);
}

QWidget* RunTimeForm::build_inflation() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* inflation = new QGroupBox("Inflation  Option");
  auto* inflation_layout = new QVBoxLayout(inflation);
  inflate_option_ = option_group(this, "InflateOption",
                                 {"Global", "None", "Local 'one'", "Local Diagonal", "Stress"}, 0,
                                 inflation_layout);
  inflate_option_->button(4)->setToolTip(
      "Stress majorization: the model is laid out from the steps between its vertices and "
      "settled by least squares before it relaxes. For large models and long chains.");
  glob_lim_ =
      number_box("GlobLim", R"(Used for Global Inflation.  Hop algorithm is used to distance )"
                            R"(vertices so long as they are separated by less than "Global Limit" )"
                            R"(edges)");
  auto* limit_row = new QFormLayout;
  limit_row->addRow("Global Limit", glob_lim_);
  inflation_layout->addLayout(limit_row);
  layout->addWidget(inflation);

  local_frame_ = new QGroupBox("Local Diagonal Option");
  local_frame_->setObjectName("LocalFrame");
  auto* local_layout = new QVBoxLayout(local_frame_);
  auto* options = new QGridLayout;
  auto* option_column = new QVBoxLayout;
  local_option_ =
      option_group(this, "LocalOption", {"Value", "Range", "Differential", "Differential Range"}, 0,
                   option_column);
  options->addLayout(option_column, 0, 0);
  local_layout->addLayout(options);
  auto* bounds = new QGridLayout;
  bounds->addWidget(new QLabel("Min"), 0, 1);
  bounds->addWidget(new QLabel("Max"), 0, 2);
  const char* labels[] = {"", "Local Inflation Min/Max", "Local Inflation Min/Max for Star Faces",
                          "Local Inflation Min/Max for Selected Faces"};
  for (int k = 1; k <= 3; ++k) {
    auto* label = new QLabel(labels[k]);
    label->setWordWrap(true);
    label->setMinimumWidth(170);
    loc_inf_min_[k] = number_box(QStringLiteral("LocInfMin%1").arg(k));
    loc_inf_max_[k] = number_box(QStringLiteral("LocInfMax%1").arg(k));
    bounds->addWidget(label, k, 0);
    bounds->addWidget(loc_inf_min_[k], k, 1);
    bounds->addWidget(loc_inf_max_[k], k, 2);
  }
  select_face_ = number_box("SelectFace");
  bounds->addWidget(new QLabel("Selected Faces n/d"), 4, 0);
  bounds->addWidget(select_face_, 4, 1);
  bounds->setColumnStretch(0, 1);
  local_layout->addLayout(bounds);
  layout->addWidget(local_frame_);

  auto* hop = new QGroupBox("Hop");
  auto* hop_layout = new QFormLayout(hop);
  sqrt_hop_ = check("SqrtHop", "Modified Hop",
                    "When checked, will use a SQRT function to adapt the output from the hop "
                    "phase.");
  sqrt_mult_ = number_box("SqrtMult",
                          "Formula used in Hop algorithm will be multiplier x SQRT(edge "
                          "distance)");
  hop_layout->addRow(sqrt_hop_);
  hop_layout->addRow("Multiplier", sqrt_mult_);
  layout->addWidget(hop);
  layout->addStretch(1);
  return column;
}

QWidget* RunTimeForm::build_modes() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* modes = new QGroupBox("Modes");
  auto* grid = new QGridLayout(modes);
  int row = 0;
  auto add = [&](QCheckBox* box, const QString& label = {}, QLineEdit* value = nullptr) {
    grid->addWidget(box, row, 0);
    if (value != nullptr) {
      grid->addWidget(new QLabel(label), row, 1, Qt::AlignRight);
      grid->addWidget(value, row, 2);
    }
    ++row;
  };
  weaken_ = tri_check("Weaken", "Weaken Mode:",
                      "Polygons below a defined limit can be weakened to create near misses");
  weaken_limit_ = number_box("WeakenLimit");
  add(weaken_, "Limit", weaken_limit_);
  once_ = tri_check("Once",
                    "'Once' Mode:", "Ostrel will only make one attempt to generate an output file");
  add(once_);
  isomorph_ = tri_check("Isomorph", "Vertex Isomorph Detection:",
                        "Isomorphs differing only by vertex configuration can be distinguished");
  add(isomorph_);
  coincidence_ = check("Coincidence", "No Coincidence checking:",
                       "Polyhedra with coincident vertices will be permitted if ticked");
  add(coincidence_);
  xy_confine_ =
      check("XYConfine", "Confine to XY plane:", "2D 'polyhedra' can be forced into the XY plane");
  add(xy_confine_);
  highlight_ =
      tri_check("Highlight", "Highlight mode:", "Polygons of a defined type will be highlighted");
  highlight_val_ = number_box("HighlightVal", "The polygons for highlighting. Zero means all.");
  add(highlight_, "n/d", highlight_val_);
  labelling_ =
      check("Labelling", "Vertex Labelling:", "Ostrel will label the vertices in the VRML output");
  add(labelling_);
  side_lab_ = check("SideLab", "Side Total Labelling:");
  add(side_lab_);
  userdata_ = check("Userdata",
                    "Userdata mode:", "Selection criteria will be copied into the output files");
  add(userdata_);
  debug_ = check("Debug", "Debug File:", "Writes the run's debug log beside the output files");
  add(debug_);
  grid->setColumnStretch(0, 1);
  layout->addWidget(modes);

  auto* augmentation = new QGroupBox("Augmentation");
  auto* augmentation_layout = new QVBoxLayout(augmentation);
  augment_ = tri_check(
      "Augment", "Augment Mode:", "Polygons of a defined type can be augmented with pyramids");
  augmentation_layout->addWidget(augment_);
  aug_frame_ = new QGroupBox;
  aug_frame_->setObjectName("AugFrame");
  auto* frame_layout = new QVBoxLayout(aug_frame_);
  augment_val_ = number_box("AugmentVal");
  auto* side = new QFormLayout;
  side->addRow("n/d", augment_val_);
  frame_layout->addLayout(side);
  frame_layout->addWidget(new QLabel("Augment Option:"));
  augment_option_ = option_group(this, "AugmentOption",
                                 {"Leave sides in place", "Remove sides", "Leave bands in place"},
                                 1, frame_layout);
  frame_layout->addWidget(new QLabel("Augmented Colour:"));
  augment_colour_ =
      option_group(this, "AugmentColour", {"Original", "Highlight", "Triangle"}, 0, frame_layout);
  augmentation_layout->addWidget(aug_frame_);
  layout->addWidget(augmentation);
  layout->addStretch(1);
  return column;
}

QWidget* RunTimeForm::build_output() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* output = new QGroupBox("Output");
  auto* grid = new QGridLayout(output);
  incord_ = check("incord", "Write from input co-ords",
                  "No processing, just reflect input coordinates in the output");
  high_vert_ =
      check("HighVert", "Highlight all Vertices", "Vertex spheres will be placed on all vertices");
  stress_map_ =
      check("StressMap", "Stress Map:", "Stress cones will be placed along all distorted edges");
  stress_mult_ = number_box("StressMult", "Factor applied to stress cone base radius");
  st_ball_mult_ = number_box("StBallMult", "Factor applied to Side Stress Spheres");
  all_cyl_ = check("AllCyl", "Cylinders on all edges", "Places an edge cylinder on every edge");
  smooth_ = check("Smooth", "Smooth",
                  "Will smooth an edge if the dihedral angle is less than the defined angle");
  smooth_angle_ = number_box("SmoothAngle");
  grid->addWidget(incord_, 0, 0, 1, 3);
  grid->addWidget(high_vert_, 1, 0, 1, 3);
  grid->addWidget(all_cyl_, 2, 0, 1, 3);
  grid->addWidget(stress_map_, 3, 0, 1, 3);
  auto* multipliers = new QHBoxLayout;
  multipliers->addWidget(new QLabel("Multiplier"));
  multipliers->addWidget(stress_mult_);
  multipliers->addWidget(new QLabel("Spheres"));
  multipliers->addWidget(st_ball_mult_);
  grid->addLayout(multipliers, 4, 0, 1, 3);
  auto* crease = new QGroupBox("CreaseAngle in degrees");
  auto* crease_layout = new QHBoxLayout(crease);
  crease_layout->addWidget(smooth_);
  crease_layout->addStretch(1);
  crease_layout->addWidget(new QLabel("Angle"));
  crease_layout->addWidget(smooth_angle_);
  grid->addWidget(crease, 5, 0, 1, 3);
  layout->addWidget(output);

  band_frame_ = new QGroupBox("Bands");
  band_frame_->setObjectName("Bandframe");
  auto* band_layout = new QFormLayout(band_frame_);
  band_len_ = number_box("BandLen");
  band_layout->addRow("Band length:", band_len_);
  layout->addWidget(band_frame_);

  auto* rhombi = new QGroupBox("Rhombi and hexagons");
  auto* rhombi_layout = new QFormLayout(rhombi);
  const QString rhombus_tip = "Angle in degrees, or specials: r12, r30, mr30, Pn/d.";
  force_rhom_[1] = number_box("ForceRhom", rhombus_tip);
  force_rhom_[2] = number_box("ForceRhom2", rhombus_tip);
  force_rhom_[3] = number_box("ForceRhom3", rhombus_tip);
  rhombi_layout->addRow(R"(Force Rhombus Angle Set 1 "D")", force_rhom_[1]);
  rhombi_layout->addRow(R"(Force Rhombus Angle Set 2 "d")", force_rhom_[2]);
  rhombi_layout->addRow(R"(Force Rhombus Angle Set 3 "q")", force_rhom_[3]);
  reg_hex_ = check("RegHex", "Keep hexagons regular while Loc Inf is on.");
  rhombi_layout->addRow(reg_hex_);
  layout->addWidget(rhombi);
  layout->addStretch(1);
  return column;
}

// ---- Enabling rules ----

void RunTimeForm::inflate_chosen(int index) {
  if (index == 3) {
    // Local Diagonal: the bounds of the chosen local option (Range when none is chosen).
    int chosen = local_option_->checkedId();
    apply_local_rule(chosen < 0 ? kLocalRange : chosen);
    glob_lim_->setEnabled(false);
    local_frame_->setEnabled(true);
    return;
  }
  glob_lim_->setEnabled(index == 0);
  local_frame_->setEnabled(false);
  for (int k = 1; k <= 3; ++k) {
    loc_inf_min_[k]->setEnabled(false);
    loc_inf_max_[k]->setEnabled(false);
  }
  select_face_->setEnabled(false);
}

void RunTimeForm::local_chosen(int index) {
  apply_local_rule(index);
}

void RunTimeForm::apply_local_rule(int index) {
  const bool differential = index == kLocalDifferential || index == kLocalDifferentialRange;
  const bool ranges = index == kLocalRange || index == kLocalDifferentialRange;
  loc_inf_min_[1]->setEnabled(true);
  loc_inf_max_[1]->setEnabled(ranges);
  loc_inf_min_[2]->setEnabled(differential);
  loc_inf_min_[3]->setEnabled(differential);
  loc_inf_max_[2]->setEnabled(index == kLocalDifferentialRange);
  loc_inf_max_[3]->setEnabled(index == kLocalDifferentialRange);
  select_face_->setEnabled(differential);
}

// ---- Adapting to the input ----

void RunTimeForm::adapt(bool has_segments, int brace_records, bool augment_letter) {
  if (!has_segments) {
    segments_->setText("None");
    segments_->hide();
    segments_->setEnabled(false);
    highlight_->set_value(0);
    highlight_->setEnabled(true);
    once_->setEnabled(true);
    weaken_->setEnabled(true);
    isomorph_->set_value(0);
    isomorph_->setEnabled(true);
    if (!augment_letter) {
      augment_->set_value(0);
      augment_->setEnabled(true);
      aug_frame_->setEnabled(true);
    }
  } else {
    segments_->setText(QStringLiteral("Segments %1").arg(brace_records));
    segments_->show();
    segments_->setEnabled(true);
    for (TriStateCheck* box : {highlight_, once_, weaken_, isomorph_, augment_}) {
      box->set_value(2);
      box->setEnabled(false);
    }
    aug_frame_->setEnabled(true);
  }
  // The number boxes of Weaken and Highlight are usable only while their box is ticked (a
  // ticked Weaken kept from the last run keeps its limit editable).
  weaken_limit_->setEnabled(weaken_->on());
  highlight_val_->setEnabled(highlight_->on());
}

bool RunTimeForm::prepare_for_input(const QString& folder, const QString& file) {
  forms_.special().clear_options();
  InputPrescan scan;
  try {
    scan = prescan_input_file((QDir(folder).filePath(file)).toStdString());
  } catch (const RunError& error) {
    Messages::show(QString::fromStdString(error.what()));
    return false;
  }
  adapt(scan.has_segments(), scan.brace_records, scan.augment_letter);
  input_name_ = file;
  setWindowTitle(kCaption + input_name_);
  enter_form(this);
  leave_form(&forms_.file());
  return true;
}

void RunTimeForm::prepare_for_shape(const QString& base_name) {
  adapt(false, 0, false);
  input_name_ = base_name;
  setWindowTitle(kCaption + input_name_);
  enter_form(this);
  weaken_limit_->setEnabled(false);
  aug_frame_->setEnabled(false);
  highlight_val_->setEnabled(false);
}

int RunTimeForm::segment_count() const {
  return static_cast<int>(form_number(segments_->text().mid(8)));
}

// ---- OK ----

QString RunTimeForm::validate() const {
  RunSettings settings;
  fill(settings);
  // The checks need to know which option groups have nothing chosen.
  settings.InflateOption = inflate_option_->checkedId();
  settings.LocalOption = local_option_->checkedId();
  return QString::fromStdString(check_run_options(settings));
}

void RunTimeForm::ok() {
  const QString problem = validate();
  if (!problem.isEmpty()) {
    Messages::show(problem);
    return;
  }
  start_run();
}

void RunTimeForm::start_run() {
  leave_form(this);
  leave_form(&forms_.file());
  DrawWindow& draw = forms_.draw();
  draw.set_screen(forms_.user_pref().screen());
  enter_form(&draw);

  RunRequest request = forms_.run_request();
  GuiHost host(draw);
  draw.run_started();
  RunReport report;
  try {
    report = run(request, host);
  } catch (const std::exception& failure) {
    // The run reports its own failures; anything else still ends the run with a message.
    Messages::show(QString::fromLocal8Bit(failure.what()));
  }
  draw.run_ended();
  enter_form(&forms_.intro());
  leave_form(&draw);
  // The model the run wrote, in 3D.
  forms_.model_window().show_run(request, report, host.collapse_answer());
}

void RunTimeForm::cancel() {
  leave_form(this);
  leave_form(&forms_.file());
  enter_form(&forms_.intro());
}

void RunTimeForm::preferences() {
  pref_->setText("Clicked");
  forms_.user_pref().open_for_run();
  setEnabled(false);
}

void RunTimeForm::segments() {
  forms_.segments().open(segment_count());
  leave_form(this);
}

void RunTimeForm::closeEvent(QCloseEvent* event) {
  // Closing the window is its Cancel, so the program is never left without a window.
  event->ignore();
  if (isEnabled()) cancel();
}

// ---- The run's settings ----

void RunTimeForm::fill(RunSettings& s) const {
  s.Debug = is_on(debug_);
  s.Labelling = is_on(labelling_);
  s.SideLab = is_on(side_lab_);
  s.Userdata = is_on(userdata_);
  s.Once = once_->on();
  s.Weaken = weaken_->on();
  s.WeakenLimit = text_of(weaken_limit_);
  s.Isomorph = isomorph_->on();
  s.Augment = augment_->on();
  s.Coincidence = is_on(coincidence_);
  s.Highlight = highlight_->on();
  s.HighlightVal = text_of(highlight_val_);
  s.HighVert = is_on(high_vert_);
  s.AllCyl = is_on(all_cyl_);
  s.incord = is_on(incord_);
  s.XYConfine = is_on(xy_confine_);
  s.RegHex = is_on(reg_hex_);
  s.StressMap = is_on(stress_map_);
  s.StressMult = text_of(stress_mult_);
  s.StBallMult = text_of(st_ball_mult_);
  s.Smooth = is_on(smooth_);
  s.SmoothAngle = text_of(smooth_angle_);
  const int count = segment_count();
  s.SegmentCount = count > 1 ? count : 1;
  if (inflate_option_->checkedId() >= 0) s.InflateOption = inflate_option_->checkedId();
  s.GlobLim = text_of(glob_lim_);
  if (local_option_->checkedId() >= 0) s.LocalOption = local_option_->checkedId();
  for (int k = 1; k <= 3; ++k) {
    s.LocInfMin[static_cast<std::size_t>(k)] = text_of(loc_inf_min_[k]);
    s.LocInfMax[static_cast<std::size_t>(k)] = text_of(loc_inf_max_[k]);
  }
  s.SelectFace = text_of(select_face_);
  s.SqrtHop = is_on(sqrt_hop_);
  s.SqrtMult = text_of(sqrt_mult_);
  s.BandLen = text_of(band_len_);
  s.AugmentVal = text_of(augment_val_);
  s.AugmentOption = augment_option_->checkedId() < 0 ? 0 : augment_option_->checkedId();
  s.AugmentColour = augment_colour_->checkedId();
  s.ForceRhom = text_of(force_rhom_[1]);
  s.ForceRhom2 = text_of(force_rhom_[2]);
  s.ForceRhom3 = text_of(force_rhom_[3]);
}

}  // namespace ostrel::gui
