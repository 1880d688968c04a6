#include "gui/colour_pref_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/colour_pick_form.h"
#include "gui/colour_text.h"
#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/user_pref_form.h"

namespace ostrel::gui {
namespace {

using Field = std::string& (*)(Preferences&);

struct SlotRow {
  const char* button;
  const char* box;
  const char* label;
  const char* tip;
  Field field;
};

struct SlotGroup {
  const char* title;
  std::vector<SlotRow> rows;
};

const char* const kColourTip =
    "Red (0 - 255) period Green (0 - 255) period Blue (0 - 255), single number sets R=G=B";

// The slots in the order of the settings table, grouped as the form shows them.
#define FIELD(member) [](Preferences& p) -> std::string& { return p.member; }
const std::vector<SlotGroup>& slot_groups() {
  static const std::vector<SlotGroup> groups = {
      {"Regular Polygons",
       {
           {"Col3", "Colour3", "Triangles", "", FIELD(Colour3)},
           {"Col4", "Colour4", "Squares", "", FIELD(Colour4)},
           {"Col5", "Colour5", "Pentagons", "", FIELD(Colour5)},
           {"Col6", "Colour6", "Hexagons", "", FIELD(Colour6)},
           {"Col8", "Colour8", "Octagons", "", FIELD(Colour8)},
           {"Col10", "Colour10", "Decagons", "", FIELD(Colour10)},
           {"Col52", "Colour52", "Pentagrams", "5/2-gons", FIELD(Colour52)},
           {"Col83", "Colour83", "Octagrams", "8/3-gons", FIELD(Colour83)},
           {"Col103", "Colour103", "Decagrams", "10/3-gons", FIELD(Colour103)},
           {"Col7", "Colour7", "Other Polygons", "All other polygons", FIELD(Colour7)},
           {"ColH", "ColourH", "Highlight", "", FIELD(ColourH)},
           {"ColB", "VRMLBack", "Screen Background", "", FIELD(VRMLBack)},
       }},
      {"Edges and Vertices",
       {
           {"ColE", "VRMLEdge", "Matched Edges", "", FIELD(VRMLEdge)},
           {"ColNE", "NakedEdge", "Unmatched Edges", "", FIELD(NakedEdge)},
           {"ColHE", "HiEdge", "Highlight Edges", "", FIELD(HiEdge)},
           {"ColV", "VertexCol", "Highlight Vertices", "", FIELD(VertexCol)},
           {"ColC", "CylCol", "Edge Cylinders (\"/\")", "", FIELD(CylCol)},
           {"ColC2", "CylCol2", "Edge Cylinders (\"\\\")", "", FIELD(CylCol2)},
           {"ColEE", "ExtCol", "Extended Edge Cones", "", FIELD(ExtCol)},
           {"ColCC", "CompCol", "Compressed Edge Cones", "", FIELD(CompCol)},
           {"ColDB", "DistBall", "Side Distortion Spheres", "", FIELD(DistBall)},
       }},
      {"Rhombi",
       {
           {"ColR1", "RhomCol1", "Set 1 \"D\"", "", FIELD(RhomCol1)},
           {"ColR2", "RhomCol2", "Set 2 \"d\"", "", FIELD(RhomCol2)},
           {"ColR3", "RhomCol3", "Set 3 \"q\"", "", FIELD(RhomCol3)},
       }},
      {"Distorted Hexagons",
       {
           {"ColDH1", "DHCol1", "Set 1 \"D\"", "", FIELD(DHCol1)},
           {"ColDH2", "DHCol2", "Set 2 \"d\"", "", FIELD(DHCol2)},
       }},
      {"Segments",
       {
           {"ColS1", "ColourS1", "Segment 1", "", FIELD(ColourS[1])},
           {"ColS2", "ColourS2", "Segment 2", "", FIELD(ColourS[2])},
           {"ColS3", "ColourS3", "Segment 3", "", FIELD(ColourS[3])},
           {"ColS4", "ColourS4", "Segment 4", "", FIELD(ColourS[4])},
           {"ColS5", "ColourS5", "Segment 5", "", FIELD(ColourS[5])},
       }},
      {"Inter-Realm",
       {
           {"ColRL", "RealmLine", "Inter-Realm Lines", kColourTip, FIELD(RealmLine)},
           {"ColRF", "RealmFace", "Inter-Realm Faces", "", FIELD(RealmFace)},
       }},
      {"Labels",
       {
           {"ColLV", "LabVCol", "Vertex Labels", "", FIELD(LabVCol)},
           {"ColLF", "LabFCol", "Face Total Labels", "", FIELD(LabFCol)},
       }},
  };
  return groups;
}
#undef FIELD

}  // namespace

ColourPrefForm::ColourPrefForm(Forms& forms) : forms_(forms) {
  setObjectName("ColourPref");
  setWindowTitle("Ostrel Colour Preferences");

  rhom_col_o_ = new QCheckBox("Rhombus Colour Override");
  rhom_col_o_->setObjectName("RhomColO");
  rhom_col_o_->setToolTip("Rhombi and distorted hexagons take their set colours");

  auto make_group = [this](const SlotGroup& group) {
    auto* box = new QGroupBox(group.title);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (const SlotRow& entry : group.rows) {
      auto* button = new ColourButton(entry.button);
      button->setToolTip("Choose this colour from the colour table");
      auto* edit = new QLineEdit;
      edit->setObjectName(entry.box);
      edit->setMaximumWidth(100);
      edit->setToolTip(*entry.tip ? QString(entry.tip) : QString(kColourTip));
      grid->addWidget(button, row, 0);
      grid->addWidget(edit, row, 1);
      grid->addWidget(new QLabel(entry.label), row, 2);
      ++row;
      slots_.push_back({button, edit, entry.field});
      connect(button, &QAbstractButton::clicked, this,
              [this, name = QString(entry.button)] { slot_clicked(name); });
      connect(edit, &QLineEdit::textChanged, button,
              [button](const QString& text) { button->set_colour(colour_from_text(text)); });
    }
    grid->setColumnStretch(2, 1);
    return box;
  };

  const auto& groups = slot_groups();
  auto* first = new QVBoxLayout;
  first->addWidget(make_group(groups[0]));
  first->addStretch(1);
  auto* second = new QVBoxLayout;
  second->addWidget(make_group(groups[1]));
  second->addWidget(make_group(groups[6]));
  second->addStretch(1);
  auto* third = new QVBoxLayout;
  QGroupBox* rhombi = make_group(groups[2]);
  qobject_cast<QGridLayout*>(rhombi->layout())->addWidget(rhom_col_o_, 3, 0, 1, 3);
  third->addWidget(rhombi);
  third->addWidget(make_group(groups[3]));
  third->addWidget(make_group(groups[4]));
  third->addWidget(make_group(groups[5]));
  third->addStretch(1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(first);
  columns->addLayout(second);
  columns->addLayout(third);
  auto* ok_button = new QPushButton("&OK");
  ok_button->setObjectName("OK");
  ok_button->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(buttons);
  connect(ok_button, &QPushButton::clicked, this, &ColourPrefForm::ok);

  apply(initial_preferences());
}

void ColourPrefForm::open() {
  enter_form(this);
}

void ColourPrefForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  activated();
}

void ColourPrefForm::activated() {
  for (const Slot& slot : slots_) slot.button->set_colour(colour_from_text(slot.box->text()));
  ColourPickForm& picker = forms_.colour_pick();
  if (QLineEdit* box = slot_box(picker.label())) {
    box->setText(colour_text(colour_from_number(picker.num())));
    picker.consume_label();
  }
}

void ColourPrefForm::slot_clicked(const QString& button_name) {
  forms_.colour_pick().open_for(button_name);
  setEnabled(false);
}

void ColourPrefForm::ok() {
  enter_form(&forms_.user_pref());
  leave_form(this);
}

void ColourPrefForm::closeEvent(QCloseEvent* event) {
  // Closing the window is its OK.
  event->ignore();
  if (isEnabled()) ok();
}

QLineEdit* ColourPrefForm::slot_box(const QString& button_name) const {
  for (const Slot& slot : slots_) {
    if (slot.button->objectName() == button_name) return slot.box;
  }
  return nullptr;
}

void ColourPrefForm::apply(const Preferences& prefs) {
  Preferences values = prefs;
  for (const Slot& slot : slots_) slot.box->setText(QString::fromStdString(slot.field(values)));
  rhom_col_o_->setChecked(prefs.RhomColO);
}

void ColourPrefForm::fill(Preferences& prefs) const {
  for (const Slot& slot : slots_) slot.field(prefs) = slot.box->text().toStdString();
  prefs.RhomColO = rhom_col_o_->isChecked();
}

}  // namespace ostrel::gui
