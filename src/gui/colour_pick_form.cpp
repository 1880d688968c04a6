#include "gui/colour_pick_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "gui/colour_pref_form.h"
#include "gui/controls.h"
#include "gui/forms.h"

namespace ostrel::gui {
namespace {

struct Metal {
  const char* caption;
  const char* colour;
};
constexpr Metal kMetals[] = {{"Au", "207.181.59"},  {"Ag", "230.232.250"}, {"Cu", "184.115.51"},
                             {"Brz", "166.125.61"}, {"Brs", "181.166.66"}, {"Stl", "84.84.84"}};

QLabel* hidden_label(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->hide();
  return label;
}

// A button that keeps its colour in its tip text, painted from it.
void set_tip_colour(ColourButton* button, const QString& text) {
  button->setToolTip(text);
  button->set_colour(colour_from_text(text));
}

}  // namespace

const QString ColourPickForm::kLeftPrompt = "Now choose a colour to use as the left range colour";
const QString ColourPickForm::kRightPrompt = "Now choose a colour to use as the right range colour";
const QString ColourPickForm::kStorePrompt =
    "Now choose a user defined colour to store your selection";

ColourPickForm::ColourPickForm(Forms& forms) : forms_(forms) {
  setObjectName("ColourPick");
  setWindowTitle("Ostrel Colour Table");

  // The palette: element 36i + 6j + k in block i, row j, column k; blocks three to a row.
  auto* palette = new QGroupBox("Colour Table");
  auto* blocks = new QGridLayout(palette);
  blocks->setSpacing(12);
  for (int i = 0; i < 6; ++i) {
    auto* block = new QGridLayout;
    block->setSpacing(3);
    for (int j = 0; j < 6; ++j) {
      for (int k = 0; k < 6; ++k) {
        const int index = 36 * i + 6 * j + k;
        auto* button = new ColourButton(QStringLiteral("Col(%1)").arg(index));
        palette_[static_cast<std::size_t>(index)] = button;
        block->addWidget(button, j, k);
        connect(button, &QAbstractButton::clicked, this, [this, index] { palette_clicked(index); });
      }
    }
    blocks->addLayout(block, i / 3, i % 3);
  }

  auto* metals = new QGroupBox("Metals");
  auto* metal_row = new QHBoxLayout(metals);
  for (int m = 0; m < kMetalCount; ++m) {
    auto* button = new ColourButton(QStringLiteral("MVal(%1)").arg(m), nullptr, QSize(46, 26));
    button->setText(kMetals[m].caption);
    metals_[static_cast<std::size_t>(m)] = button;
    metal_row->addWidget(button);
    connect(button, &QAbstractButton::clicked, this, [this, m] { metal_clicked(m); });
  }
  metal_row->addStretch(1);

  auto* users = new QGroupBox("User Defined Colours");
  auto* user_grid = new QGridLayout(users);
  user_grid->setSpacing(3);
  for (int u = 0; u < static_cast<int>(kUserColourCount); ++u) {
    auto* button = new ColourButton(QStringLiteral("UCol(%1)").arg(u));
    user_[static_cast<std::size_t>(u)] = button;
    user_grid->addWidget(button, u / 9, u % 9);
    connect(button, &QAbstractButton::clicked, this, [this, u] { user_clicked(u); });
  }
  user_grid->setColumnStretch(9, 1);

  auto* range = new QGroupBox("Colour Range Bar");
  auto* range_layout = new QVBoxLayout(range);
  auto* bar = new QHBoxLayout;
  bar->setSpacing(0);
  xcol1_ = new ColourButton("XCol1", nullptr, QSize(26, 26));
  xcol2_ = new ColourButton("XCol2", nullptr, QSize(26, 26));
  bar->addWidget(xcol1_);
  bar->addSpacing(6);
  for (int m = 0; m < kRangeCells; ++m) {
    auto* cell = new ColourButton(QStringLiteral("XCol(%1)").arg(m), nullptr, QSize(7, 26));
    cell->setAttribute(Qt::WA_TransparentForMouseEvents);
    cell->set_bordered(false);
    cell->setFocusPolicy(Qt::NoFocus);
    range_[static_cast<std::size_t>(m)] = cell;
    bar->addWidget(cell);
  }
  bar->addSpacing(6);
  bar->addWidget(xcol2_);
  bar->addStretch(1);
  range_layout->addLayout(bar);
  slider_ = new QSlider(Qt::Horizontal);
  slider_->setObjectName("Slider1");
  slider_->setRange(0, kRangeCells - 1);
  slider_->setToolTip("Pick a colour of the range bar, then a user colour to keep it in");
  range_layout->addWidget(slider_);
  xcol1_->setToolTip("0.0.0");
  xcol2_->setToolTip("255.255.255");
  connect(xcol1_, &QAbstractButton::clicked, this, [this] { range_end_clicked(1); });
  connect(xcol2_, &QAbstractButton::clicked, this, [this] { range_end_clicked(2); });
  connect(slider_, &QSlider::sliderMoved, this, &ColourPickForm::slider_moved);
  connect(slider_, &QSlider::actionTriggered, this, [this] {
    // Keyboard and page steps move the slider too.
    slider_moved(slider_->sliderPosition());
  });

  next1_ = new QLabel;
  next1_->setObjectName("Next1");
  next1_->setMinimumHeight(next1_->fontMetrics().height() + 4);
  num_ = hidden_label("Num", "0", this);
  label_ = hidden_label("Label", "", this);
  xpick_ = hidden_label("XPick", "0", this);
  xpno_ = hidden_label("XPNo", "-1", this);
  xpcol_ = hidden_label("XPCol", "", this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(palette);
  auto* lower = new QHBoxLayout;
  lower->addWidget(metals);
  lower->addWidget(users, 1);
  layout->addLayout(lower);
  layout->addWidget(range);
  layout->addWidget(next1_);

  apply(initial_preferences());
}

void ColourPickForm::open_for(const QString& button_name) {
  label_->setText(button_name);
  enter_form(this);
}

void ColourPickForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  rebuild();
}

void ColourPickForm::rebuild() {
  xpick_->setText("0");
  xpno_->setText("-1");
  default_pointer();
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      for (int k = 0; k < 6; ++k) {
        const QColor colour(255 - 51 * i, 255 - 51 * j, 255 - 51 * k);
        set_tip_colour(palette_[static_cast<std::size_t>(36 * i + 6 * j + k)], colour_text(colour));
      }
    }
  }
  for (int m = 0; m < kMetalCount; ++m) {
    set_tip_colour(metals_[static_cast<std::size_t>(m)], kMetals[m].colour);
  }
  for (ColourButton* button : user_) set_tip_colour(button, button->toolTip());
  set_tip_colour(xcol1_, xcol1_->toolTip());
  set_tip_colour(xcol2_, xcol2_->toolTip());
  fill_range_bar();
}

void ColourPickForm::fill_range_bar() {
  for (int m = 0; m < kRangeCells; ++m)
    range_[static_cast<std::size_t>(m)]->set_colour(range_cell(m));
}

QColor ColourPickForm::range_cell(int position) const {
  return range_colour(colour_from_text(xcol1_->toolTip()), colour_from_text(xcol2_->toolTip()),
                      position);
}

void ColourPickForm::default_pointer() {
  unsetCursor();
}

void ColourPickForm::chosen(ColourButton* button) {
  const QString pick = xpick_->text();
  if (pick == "1" || pick == "2") {
    // Choosing a range colour.
    set_tip_colour(pick == "1" ? xcol1_ : xcol2_, button->toolTip());
    xpick_->setText("0");
    next1_->clear();
    default_pointer();
    fill_range_bar();
    return;
  }
  return_colour(colour_from_text(button->toolTip()));
}

void ColourPickForm::return_colour(const QColor& colour) {
  num_->setText(QString::number(colour_number(colour)));
  leave_form(this);
  ColourPrefForm& preferences = forms_.colour_pref();
  preferences.setEnabled(true);
  preferences.activated();
}

void ColourPickForm::palette_clicked(int index) {
  chosen(palette_[static_cast<std::size_t>(index)]);
}

void ColourPickForm::metal_clicked(int index) {
  chosen(metals_[static_cast<std::size_t>(index)]);
}

void ColourPickForm::user_clicked(int index) {
  ColourButton* button = user_[static_cast<std::size_t>(index)];
  if (xpick_->text() == "1" || xpick_->text() == "2" || xpno_->text() == "-1") {
    chosen(button);
    return;
  }
  // A slider colour waits: store it in this user colour; the picker stays open.
  set_tip_colour(button, xpcol_->text());
  xpno_->setText("-1");
  next1_->clear();
  default_pointer();
}

void ColourPickForm::range_end_clicked(int which) {
  xpick_->setText(QString::number(which));
  next1_->setText(which == 1 ? kLeftPrompt : kRightPrompt);
  setCursor(Qt::WhatsThisCursor);
}

void ColourPickForm::slider_moved(int position) {
  xpno_->setText(QString::number(position));
  xpcol_->setText(colour_text(range_cell(position)));
  next1_->setText(kStorePrompt);
  setCursor(Qt::WhatsThisCursor);
}

qint64 ColourPickForm::num() const {
  return num_->text().toLongLong();
}

QString ColourPickForm::label() const {
  return label_->text();
}

void ColourPickForm::consume_label() {
  label_->clear();
}

void ColourPickForm::closeEvent(QCloseEvent* event) {
  // The picker has no cancel; closing its window goes back without a colour.
  event->accept();
  label_->clear();
  leave_form(this);
  ColourPrefForm& preferences = forms_.colour_pref();
  preferences.setEnabled(true);
  preferences.activated();
}

void ColourPickForm::apply(const Preferences& prefs) {
  for (std::size_t u = 0; u < kUserColourCount; ++u) {
    set_tip_colour(user_[u], QString::fromStdString(prefs.UCol[u]));
  }
  set_tip_colour(xcol1_, QString::fromStdString(prefs.XCol1));
  set_tip_colour(xcol2_, QString::fromStdString(prefs.XCol2));
  fill_range_bar();
}

void ColourPickForm::fill(Preferences& prefs) const {
  for (std::size_t u = 0; u < kUserColourCount; ++u)
    prefs.UCol[u] = user_[u]->toolTip().toStdString();
  prefs.XCol1 = xcol1_->toolTip().toStdString();
  prefs.XCol2 = xcol2_->toolTip().toStdString();
}

}  // namespace ostrel::gui
