#include "travenel/examples/gallery/ScalesPage.h"

#include <QFrame>
#include <QLabel>

#include "travenel/examples/gallery/ChartKit.h"
#include "travenel/ui/Application.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

// Four columns of scales with even gaps.
constexpr int kMargin = 12;
constexpr int kColumnWidth = 300;
constexpr int kGap = 12;
constexpr int kColumns = 4;
constexpr int kWindowWidth = 2 * kMargin + kColumns * kColumnWidth + (kColumns - 1) * kGap;
constexpr int kScaleHeight = 70;      // a horizontal scale with one line of labels
constexpr int kTallScaleHeight = 84;  // ... with dates above its labels
constexpr int kHeadingHeight = 22;    // from a heading's top to its section's top
constexpr int kSectionGap = 16;       // below a section, before the next heading
constexpr int kSmallScaleCount = 8;   // frame styles and colour schemes in one row
constexpr int kSmallScaleHeight = 64;
constexpr int kFontHeight = 11;
constexpr TColor kWindowColor = clBtnFace;
constexpr TColor kPanelColor = 0xE8F4FF;  // a pale orange behind the transparent scale

// Date/time values: days since 1899-12-30.
constexpr double k15Mar2023 = 45000;

int Column(int i) { return kMargin + i * (kColumnWidth + kGap); }

using gallery::QtColor;

}  // namespace

TScalesPage::TScalesPage(QWidget* parent) : QWidget(parent), fontName_(RegisterAppFonts()) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QtColor(kWindowColor));
  pal.setColor(QPalette::WindowText, QtColor(clWindowText));
  setPalette(pal);
  setAutoFillBackground(true);

  BuildScaleTypes();
  BuildLinearAndLog();
  BuildTimeAndDate();
  BuildLabels();
  BuildFrames();
  BuildMarks();
}

TScalesPage::~TScalesPage() = default;

TScale& TScalesPage::AddScale(int x, int y, int w, int h, const std::string& caption) {
  scales_.push_back(std::make_unique<TScale>());
  TScale& s = *scales_.back();
  // Set up in one go: a single paint once everything is in.
  s.SetPaintSuppressed(true);
  s.Font().SetName(fontName_);
  s.Font().SetHeight(kFontHeight);
  s.SetParentColor(kWindowColor);
  s.SetBounds(x, y, w, h);
  s.SetCaption(caption);
  new QtHost(s, this);  // owned by the page; shows the scale
  return s;
}

void TScalesPage::PlaceCaption(TScale& s) {
  switch (s.ScaleType()) {
    case sctXB:
      s.SetMarginBottom(24);
      s.SetCaptionAnchor(uaSclCenter);
      s.SetCaptionAlignment(taCenter);
      s.SetCaptionPosX(0);
      s.SetCaptionPosY(5);
      break;
    case sctXT:
      s.SetMarginTop(26);
      s.SetCaptionAnchor(uaSclCenter);
      s.SetCaptionAlignment(taCenter);
      s.SetCaptionPosX(0);
      s.SetCaptionPosY(-21);
      break;
    case sctYL:
    case sctYR:
      s.SetMarginTop(34);
      s.SetMarginBottom(16);
      s.SetCaptionAnchor(uaSclTopLft);
      s.SetCaptionAlignment(s.ScaleType() == sctYL ? taLeftJustify : taRightJustify);
      s.SetCaptionPosX(s.ScaleType() == sctYL ? -10 : 10);
      s.SetCaptionPosY(-27);
      break;
  }
}

void TScalesPage::AddHeading(int x, int y, const QString& text) {
  gallery::AddHeading(this, x, y, text);
}

void TScalesPage::Done(TScale& s) {
  PlaceCaption(s);
  s.SetPaintSuppressed(false);
}

void TScalesPage::BuildScaleTypes() {
  const int top = kMargin;
  AddHeading(Column(0), top, QStringLiteral("Scale types"));
  const int y = top + kHeadingHeight;
  const int verticalHeight = 2 * kScaleHeight + kGap;

  TScale& xb = AddScale(Column(0), y, kColumnWidth, kScaleHeight, "sctXB");
  Done(xb);

  TScale& xt = AddScale(Column(0), y + kScaleHeight + kGap, kColumnWidth, kScaleHeight, "sctXT");
  xt.SetScaleType(sctXT);
  Done(xt);

  const int verticalWidth = (kColumnWidth - kGap) / 2;
  TScale& yl = AddScale(Column(1), y, verticalWidth, verticalHeight, "sctYL");
  yl.SetScaleType(sctYL);
  Done(yl);

  TScale& yr =
      AddScale(Column(1) + verticalWidth + kGap, y, verticalWidth, verticalHeight, "sctYR");
  yr.SetScaleType(sctYR);
  Done(yr);
}

void TScalesPage::BuildLinearAndLog() {
  const int top = kMargin;
  const int y = top + kHeadingHeight;
  AddHeading(Column(2), top, QStringLiteral("Linear and logarithmic"));
  TScale& shortTicks = AddScale(Column(2), y, kColumnWidth, kScaleHeight, "linear, short ticks");
  shortTicks.SetRangeLow(-50);
  shortTicks.SetRangeHigh(50);
  shortTicks.SetMinTicks(4);
  Done(shortTicks);

  TScale& noShort = AddScale(Column(2), y + kScaleHeight + kGap, kColumnWidth, kScaleHeight,
                             "linear, no short ticks");
  noShort.SetRangeHigh(1);
  noShort.SetShortTicks(false);
  Done(noShort);

  TScale& sparse = AddScale(Column(3), y, kColumnWidth, kScaleHeight, "logarithmic, sparse");
  sparse.SetRangeLow(1);
  sparse.SetRangeHigh(1e4);
  sparse.SetLogarithmic(true);
  Done(sparse);

  TScale& dense = AddScale(Column(3), y + kScaleHeight + kGap, kColumnWidth, kScaleHeight,
                           "logarithmic, dense");
  dense.SetRangeLow(1);
  dense.SetRangeHigh(100);
  dense.SetMinTicks(4);
  dense.SetLogarithmic(true);
  Done(dense);
}

void TScalesPage::BuildTimeAndDate() {
  const int top = kMargin + kHeadingHeight + 2 * kScaleHeight + kGap + kSectionGap;
  AddHeading(Column(0), top, QStringLiteral("Clock time and date/time"));
  const int y = top + kHeadingHeight;

  TScale& clock = AddScale(Column(0), y, kColumnWidth, kTallScaleHeight, "clock time, 0 .. 2 h");
  clock.SetLabelType(ftTime);
  clock.SetRangeHigh(7200);
  clock.SetMinTicks(4);
  clock.SetMarginLeft(32);
  clock.SetMarginRight(32);
  Done(clock);

  TScale& hours = AddScale(Column(1), y, kColumnWidth, kTallScaleHeight, "hours, with dates");
  hours.SetLabelType(ftDateTime);
  hours.SetRangeLow(k15Mar2023 + 0.5);
  hours.SetRangeHigh(k15Mar2023 + 1.75);
  hours.SetMinTicks(5);
  hours.SetMarginLeft(40);
  hours.SetMarginRight(24);
  Done(hours);

  TScale& days = AddScale(Column(2), y, kColumnWidth, kTallScaleHeight, "days");
  days.SetLabelType(ftDateTime);
  days.SetRangeLow(k15Mar2023);
  days.SetRangeHigh(k15Mar2023 + 42);
  days.SetMinTicks(3);
  days.SetMarginLeft(28);
  days.SetMarginRight(28);
  Done(days);

  TScale& months = AddScale(Column(3), y, kColumnWidth, kTallScaleHeight, "months");
  months.SetLabelType(ftDateTime);
  months.SetRangeLow(k15Mar2023);
  months.SetRangeHigh(k15Mar2023 + 365);
  months.SetMinTicks(3);
  months.SetMarginLeft(28);
  months.SetMarginRight(28);
  Done(months);
}

void TScalesPage::BuildLabels() {
  const int top =
      kMargin + 2 * kHeadingHeight + 2 * kScaleHeight + kGap + kTallScaleHeight + 2 * kSectionGap;
  AddHeading(Column(0), top, QStringLiteral("Labels"));
  const int y = top + kHeadingHeight;

  TScale& user = AddScale(Column(0), y, kColumnWidth, kScaleHeight, "user texts");
  user.SetLabelType(ftUserText);
  user.SetUserTickText("Mon|Tue|Wed|Thu|Fri|Sat");
  user.SetRangeHigh(5);
  user.SetMinTicks(5);
  user.SetShortTicks(false);
  Done(user);

  TScale& inscript = AddScale(Column(1), y, kColumnWidth, kScaleHeight, "inscript &%");
  inscript.SetScaleInscript("&%");
  Done(inscript);

  TScale& exponent = AddScale(Column(2), y, kColumnWidth, kScaleHeight, "exponent form");
  exponent.SetRangeHigh(5e6);
  exponent.SetMinTicks(2);
  Done(exponent);

  // A transparent scale shows what lies behind it: here a coloured panel.
  auto* panel = new QFrame(this);
  panel->setGeometry(Column(3), y, kColumnWidth, kScaleHeight);
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QtColor(kPanelColor));
  panel->setPalette(pal);
  TScale& transparent =
      AddScale(Column(3), y, kColumnWidth, kScaleHeight, "transparent, reversed 100 .. 0");
  transparent.SetParentColor(kPanelColor);
  transparent.SetTransparent(true);
  transparent.SetRangeLow(100);
  transparent.SetRangeHigh(0);
  transparent.SetColorScale(0x204080);
  Done(transparent);
}

void TScalesPage::BuildFrames() {
  const int top =
      kMargin + 3 * kHeadingHeight + 3 * kScaleHeight + kGap + kTallScaleHeight + 3 * kSectionGap;
  AddHeading(Column(0), top, QStringLiteral("Frame styles and colour schemes"));
  const int y = top + kHeadingHeight;
  const int width = (kWindowWidth - 2 * kMargin - (kSmallScaleCount - 1) * kGap) / kSmallScaleCount;
  static const char* const kStyleNames[] = {"fsNone",   "fsSimple",   "fsLowered",
                                            "fsRaised", "fsEmbossed", "fsEngraved"};
  int i = 0;
  for (; i < 6; ++i) {
    TScale& s = AddScale(kMargin + i * (width + kGap), y, width, kSmallScaleHeight, kStyleNames[i]);
    s.SetFrameStyle(static_cast<TFrameStyle>(i));
    s.SetRangeHigh(60);
    s.SetMinTicks(2);
    s.SetMarginLeft(14);
    s.SetMarginRight(14);
    Done(s);
  }
  for (TColorScheme scheme : {csBWG, csSystem}) {
    TScale& s = AddScale(kMargin + i * (width + kGap), y, width, kSmallScaleHeight,
                         scheme == csBWG ? "csBWG, fsRaised" : "csSystem, fsRaised");
    s.SetColorScheme(scheme);
    s.SetFrameStyle(fsRaised);
    s.SetRangeHigh(60);
    s.SetMinTicks(2);
    s.SetMarginLeft(14);
    s.SetMarginRight(14);
    Done(s);
    ++i;
  }
}

void TScalesPage::BuildMarks() {
  const int top = kMargin + 4 * kHeadingHeight + 3 * kScaleHeight + kGap + kTallScaleHeight +
                  kSmallScaleHeight + 4 * kSectionGap;
  AddHeading(Column(0), top, QStringLiteral("Marks 0 .. 47 and character marks"));
  const int y = top + kHeadingHeight;
  marks_ = std::make_unique<TMarkPanel>(fontName_);
  marks_->SetBounds(kMargin, y, kWindowWidth - 2 * kMargin, TMarkPanel::NeededHeight());
  new QtHost(*marks_, this);
  size_ = QSize(kWindowWidth, y + TMarkPanel::NeededHeight() + kMargin);
  resize(size_);
}

}  // namespace travenel
