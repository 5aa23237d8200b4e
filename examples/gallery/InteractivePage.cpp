#include "travenel/examples/gallery/InteractivePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "travenel/examples/gallery/ChartSamples.h"

namespace travenel {

using namespace gallery;

namespace {

constexpr int kControlsHeight = 32;
constexpr int kHintHeight = 22;
constexpr int kChartHeight = 430;
constexpr int kReadOutHeight = 132;
constexpr TColor kBlue = 0xA05010;
constexpr TColor kRed = 0x2020C0;
constexpr TColor kBarFill = 0xE4E4F4;

struct TModeEntry {
  TMouseActMode Mode;
  const char* Name;
  const char* Hint;
};
const TModeEntry kModes[] = {
    {maNone, "maNone",
     "No range change: the read-out below shows the world position under the mouse."},
    {maPan, "maPan",
     "Drag with the left button: x and y follow the mouse. The wheel zooms about the point under "
     "the cursor; Back and Home undo pans and zooms."},
    {maPanHoriz, "maPanHoriz", "Drag with the left button: x follows the mouse, y stays."},
    {maPanVert, "maPanVert", "Drag with the left button: y follows the mouse, x stays."},
    {maZoomWind, "maZoomWind",
     "Drag a window: it becomes the ranges, its start corner the low ends (top-left to "
     "bottom-right turns y upside down). The right button cancels."},
    {maZoomWindPos, "maZoomWindPos",
     "Drag a window: it becomes the ranges, each axis keeps its direction. The right button "
     "cancels."},
    {maZoomDrag, "maZoomDrag",
     "Drag right or up to zoom in about the centre, left or down to zoom out."},
    {maDragCrossH, "maDragCrossH", "Drag the nearest cross-hair (horizontal, vertical, both)."},
    {maDragLabel, "maDragLabel",
     "Drag the nearest text label (one attached to data, one at control pixels)."},
};
constexpr int kStartMode = 1;  // maPan

struct TRanges {
  double XLow, XHigh, YLow, YHigh;
};
// Layer 1 and layer 2 of each chart: the second one shows a closer view.
constexpr TRanges kOwnerRanges[2] = {{0, 10, -1.5, 1.5}, {0, 10, 0, 100}};
constexpr TRanges kUserRanges[2] = {{2, 5, -1.2, 1.2}, {2, 5, 0, 100}};

void ApplyRanges(TRChart& c, const TRanges (&r)[2]) {
  for (int layer = 1; layer <= 2; ++layer) {
    const TRanges& l = r[layer - 1];
    c.SetLayerRanges(layer, l.XLow, l.YLow, l.XHigh, l.YHigh);
  }
}

void SetUpLayers(TRChart& c, const TRanges (&r)[2]) {
  c.SetStandardLayout(rcl_X1Bottom_Y2Both);
  for (int layer = 1; layer <= 2; ++layer) {
    const TRanges& l = r[layer - 1];
    SetRanges(c, layer, l.XLow, l.XHigh, l.YLow, l.YHigh);
  }
  c.Scale1Y().SetCaption("layer 1");
  c.Scale2Y().SetCaption("layer 2");
  c.Scale2Y().SetColorScale(clMaroon);
  c.SetMouseCursorFixed(false);  // the mode cursors show
}

void SetCrossHair(TRChart& c, int n, TCrossHMode mode, double x, double y, TColor color,
                  TPenStyle style = psSolid) {
  TCrossHair& h = c.CrossHair(n);
  h.SetLayer(1);
  h.SetMode(mode);
  h.SetPosX(x);
  h.SetPosY(y);
  h.SetColor(color);
  h.SetLineType(style);
}

void SetLabel(TRChart& c, int n, TTxtLblMode mode, bool attached, double x, double y,
              const char* caption) {
  TTextLabel& l = c.TextLabel(n);
  l.SetMode(mode);
  l.SetAttachToData(attached);
  l.SetPosX(x);
  l.SetPosY(y);
  l.SetColorBkg(attached ? 0xD8F8FF : 0xF8E0C0);
  l.SetCaption(caption);
}

void SetUpOwner(TRChart& c) {
  SetUpLayers(c, kOwnerRanges);
  SetCrossHair(c, 1, chHoriz, 0, 0.5, 0x008000);
  SetCrossHair(c, 2, chVert, 3, 0, 0x800080);
  SetCrossHair(c, 3, chBoth, 7, -0.6, 0x0060C0, psDash);
  SetLabel(c, 1, tlShadow, true, 5, 1.2, "drag me: attached to data");
  SetLabel(c, 2, tlBox, false, 170, 80, "drag me: at control pixels");
}

void SetUpUser(TRChart& c) {
  SetUpLayers(c, kUserRanges);
  SetCrossHair(c, 1, chBoth, 3.5, 0.3, 0x008000);
  SetLabel(c, 1, tlBox, true, 4.2, -0.95, "drag me (chart B)");
}

// Bars on layer 2 behind a curve and marks on layer 1.
void FillOwner(TRChart& c) {
  c.SetActiveLayer(2);
  c.SetDataColor(clMaroon);
  c.SetFillColor(kBarFill);
  const double heights[] = {35, 52, 61, 48, 70, 82, 66, 58, 75, 90};
  for (int i = 0; i < static_cast<int>(std::size(heights)); ++i)
    c.Rectangle(i + 0.15, 0, i + 0.85, heights[i]);
  c.SetActiveLayer(1);
  c.SetDataColor(kBlue);
  c.SetLineWidth(2);
  c.MoveToPoint(0, 0);
  for (int i = 1; i <= 200; ++i) c.LineTo(i * 0.05, std::sin(i * 0.05 * 1.3));
  c.SetLineWidth(1);
  c.SetDataColor(kRed);
  for (int i = 0; i <= 20; ++i) c.MarkAt(i * 0.5, 0.8 * std::cos(i * 0.5 * 1.3), 26);
}

QString Number(double v) { return QString::number(v, 'f', 3); }

QString RangeText(const TScaleProps& x, const TScaleProps& y) {
  return QStringLiteral("x %1 .. %2, y %3 .. %4")
      .arg(Number(x.RangeLow()), Number(x.RangeHigh()), Number(y.RangeLow()),
           Number(y.RangeHigh()));
}

QLabel* ReadOutLabel(QWidget* parent) {
  auto* l = new QLabel(QStringLiteral("-"), parent);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

}  // namespace

TInteractivePage::TInteractivePage(QWidget* parent) : TGalleryPage(parent), shelf_(this) {
  int y = kMargin;
  y = BuildControls(y);
  y = BuildCharts(y);
  y = BuildReadOuts(y);
  ConnectCharts();
  for (TRChart* c : {owner_, user_}) c->SetWheelZoom(true);
  mode_->setCurrentIndex(kStartMode);
  ApplyMouseAction(kStartMode);
  SetPageSize(kPageWidth, y + kMargin);
}

TInteractivePage::~TInteractivePage() = default;

int TInteractivePage::BuildControls(int y) {
  auto* bar = new QWidget(this);
  bar->setGeometry(kMargin, y, kPageWidth - 2 * kMargin, kControlsHeight);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(new QLabel(QStringLiteral("MouseAction of both charts:"), bar));
  mode_ = new QComboBox(bar);
  for (const TModeEntry& e : kModes) mode_->addItem(QString::fromLatin1(e.Name));
  row->addWidget(mode_);
  row->addSpacing(16);
  static const char* const kFollows[] = {"Layer 1 follows", "Layer 2 follows"};
  for (int i = 0; i < 2; ++i) {
    follows_[i] = new QCheckBox(QString::fromLatin1(kFollows[i]), bar);
    follows_[i]->setChecked(i == 0);  // as a new chart has it
    row->addWidget(follows_[i]);
  }
  row->addSpacing(16);
  auto* restore = new QPushButton(QStringLiteral("Restore ranges"), bar);
  auto* band = new QPushButton(QStringLiteral("Arm rubber band on chart A"), bar);
  auto* marks = new QPushButton(QStringLiteral("Add marks through chart B"), bar);
  row->addWidget(restore);
  row->addWidget(band);
  row->addWidget(marks);
  row->addStretch(1);

  connect(mode_, &QComboBox::currentIndexChanged, this, [this](int i) { ApplyMouseAction(i); });
  for (QCheckBox* box : follows_)
    connect(box, &QCheckBox::toggled, this, [this] { ApplyLayerFollows(); });
  connect(restore, &QPushButton::clicked, this, [this] { RestoreRanges(); });
  connect(band, &QPushButton::clicked, this, [this] {
    owner_->ArmRubberBand();
    band_->setText(QStringLiteral("armed: drag on chart A (the right button disarms it)"));
  });
  connect(marks, &QPushButton::clicked, this, [this] { AddMarksThroughUser(); });

  y += kControlsHeight;
  hint_ = new QLabel(this);
  hint_->setGeometry(kMargin, y, kPageWidth - 2 * kMargin, kHintHeight);
  return y + kHintHeight + kGap / 2;
}

int TInteractivePage::BuildCharts(int y) {
  const int width = ColumnWidth(2);
  owner_ = &shelf_.Add(QRect(ColumnLeft(0, 2), y, width, kChartHeight), "Chart A: owns the items",
                       SetUpOwner, FillOwner);
  user_ = &shelf_.Add(QRect(ColumnLeft(1, 2), y, width, kChartHeight),
                      "Chart B: SetUseDataOf(chart A), a closer view", SetUpUser,
                      [this](TRChart& c) { c.SetUseDataOf(owner_); });
  return y + kChartHeight + kGap;
}

int TInteractivePage::BuildReadOuts(int y) {
  auto* box = new QWidget(this);
  box->setGeometry(kMargin, y, kPageWidth - 2 * kMargin, kReadOutHeight);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setColumnStretch(1, 1);
  mouse_ = ReadOutLabel(box);
  zoomPan_ = ReadOutLabel(box);
  moved_ = ReadOutLabel(box);
  band_ = ReadOutLabel(box);
  const std::pair<const char*, QLabel*> rows[] = {{"OnMouseMoveInChart:", mouse_},
                                                  {"OnZoomPan:", zoomPan_},
                                                  {"Moved:", moved_},
                                                  {"Rubber band:", band_}};
  int r = 0;
  for (const auto& [name, label] : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(name), box), r, 0);
    grid->addWidget(label, r++, 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("Wheel and history:"), box), r, 0);
  grid->addLayout(BuildZoomRow(box), r, 1);
  return y + kReadOutHeight;
}

QHBoxLayout* TInteractivePage::BuildZoomRow(QWidget* box) {
  auto* row = new QHBoxLayout;
  auto* wheel = new QCheckBox(QStringLiteral("Wheel zooms (both charts)"), box);
  wheel->setChecked(true);
  auto* back = new QPushButton(QStringLiteral("Back"), box);
  auto* home = new QPushButton(QStringLiteral("Home"), box);
  back->setToolTip(QStringLiteral("ZoomBack: the ranges before the last pan or zoom"));
  home->setToolTip(QStringLiteral("ZoomHome: the ranges before the first pan or zoom"));
  for (QWidget* w : std::initializer_list<QWidget*>{wheel, back, home}) row->addWidget(w);
  row->addStretch(1);
  connect(wheel, &QCheckBox::toggled, this, [this](bool on) {
    for (TRChart* c : {owner_, user_}) c->SetWheelZoom(on);
  });
  connect(back, &QPushButton::clicked, this, [this] {
    for (TRChart* c : {owner_, user_}) c->ZoomBack();
  });
  connect(home, &QPushButton::clicked, this, [this] {
    for (TRChart* c : {owner_, user_}) c->ZoomHome();
  });
  return row;
}

void TInteractivePage::ConnectCharts() {
  for (TRChart* c : {owner_, user_}) {
    c->OnMouseMoveInChart = [this](TCustomRChart& s, bool in, TShiftState, double x, double y) {
      ReportMouse(s, in, x, y);
    };
    c->OnZoomPan = [this](TCustomRChart& s) { ReportZoomPan(s); };
    c->OnCrossHairMove = [this](TCustomRChart& s, TCrossHair& h) { ReportCrossHair(s, h); };
    c->OnTextLabelMoved = [this](TCustomRChart& s, TTextLabel& l) { ReportTextLabel(s, l); };
  }
  // The chart finishes the band after its OnMouseUp: look once the event is over.
  owner_->OnMouseUp = [this](TControl&, TMouseButton, TShiftState, int, int) {
    QTimer::singleShot(0, this, [this] { ReportRubberBand(); });
  };
}

void TInteractivePage::ApplyMouseAction(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kModes))) return;
  for (TRChart* c : {owner_, user_}) c->SetMouseAction(kModes[index].Mode);
  hint_->setText(QString::fromLatin1(kModes[index].Hint));
}

void TInteractivePage::ApplyLayerFollows() {
  for (TRChart* c : {owner_, user_})
    for (int layer = 1; layer <= 2; ++layer)
      c->SetMouseLayerEnabled(layer, follows_[layer - 1]->isChecked());
}

void TInteractivePage::RestoreRanges() {
  ApplyRanges(*owner_, kOwnerRanges);
  ApplyRanges(*user_, kUserRanges);
  zoomPan_->setText(QStringLiteral("ranges restored"));
}

void TInteractivePage::AddMarksThroughUser() {
  // Added through the user, the items land in the owner's list: both show them.
  // The list holds at most kMaxItems: stop there rather than let the adder refuse.
  const int room = TRChartItemList::kMaxItems - owner_->ItemCount();
  if (room <= 0) {
    moved_->setText(QStringLiteral("the item list is full (%1 items): no more marks")
                        .arg(TRChartItemList::kMaxItems));
    return;
  }
  user_->SetDataColor(0x008000);
  for (int i = 0; i < std::min(5, room); ++i, ++marksAdded_) {
    const double x = 2.2 + std::fmod(marksAdded_ * 0.61, 2.6);
    const double y = 0.9 * std::sin(marksAdded_ * 2.3);
    user_->MarkAt(x, y, 8);
  }
  user_->ShowItems();
  moved_->setText(QStringLiteral("%1 marks added through chart B; chart A holds %2 items")
                      .arg(marksAdded_)
                      .arg(owner_->ItemCount()));
}

std::string TInteractivePage::NameOf(const TCustomRChart& chart) const {
  return &chart == owner_ ? "chart A" : "chart B";
}

void TInteractivePage::ReportMouse(TCustomRChart& chart, bool inChart, double x, double y) {
  mouse_->setText(QStringLiteral("%1: x = %2, y = %3 (%4)")
                      .arg(QString::fromStdString(NameOf(chart)), Number(x), Number(y),
                           inChart ? QStringLiteral("in the chart area")
                                   : QStringLiteral("outside the chart area")));
}

void TInteractivePage::ReportZoomPan(TCustomRChart& chart) {
  ++zoomPanCount_;
  zoomPan_->setText(QStringLiteral("#%1 from %2: layer 1 %3; layer 2 %4; %5 steps to go back")
                        .arg(zoomPanCount_)
                        .arg(QString::fromStdString(NameOf(chart)),
                             RangeText(chart.Scale1X(), chart.Scale1Y()),
                             RangeText(chart.Scale2X(), chart.Scale2Y()))
                        .arg(chart.ZoomHistoryCount()));
}

void TInteractivePage::ReportCrossHair(TCustomRChart& chart, TCrossHair& crossHair) {
  int n = 1;
  while (n < TCustomRChart::kCrossHairs && &chart.CrossHair(n) != &crossHair) ++n;
  moved_->setText(QStringLiteral("%1: cross-hair %2 at x = %3, y = %4")
                      .arg(QString::fromStdString(NameOf(chart)))
                      .arg(n)
                      .arg(Number(crossHair.PosX()), Number(crossHair.PosY())));
}

void TInteractivePage::ReportTextLabel(TCustomRChart& chart, TTextLabel& label) {
  moved_->setText(QStringLiteral("%1: text label %2 at %3 = %4, %5")
                      .arg(QString::fromStdString(NameOf(chart)))
                      .arg(label.Number())
                      .arg(label.AttachToData() ? QStringLiteral("world x, y")
                                                : QStringLiteral("control pixel x, y"),
                           Number(label.PosX()), Number(label.PosY())));
}

void TInteractivePage::ReportRubberBand() {
  TRect r;
  if (!owner_->RubberBandRect(r)) return;
  band_->setText(QStringLiteral("from pixel (%1, %2) to (%3, %4) of chart A")
                     .arg(r.Left)
                     .arg(r.Top)
                     .arg(r.Right)
                     .arg(r.Bottom));
}

}  // namespace travenel
