#include "travenel/examples/gallery/ChartsPage.h"

#include <QRect>

#include "travenel/examples/gallery/ChartSamples.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

using namespace gallery;

namespace {

// The page fits a 1280 x 1024 screen, tab bar and window frame included.
constexpr int kItemsHeight = 226;
constexpr int kLabelsHeight = 196;
constexpr int kSmallHeight = 96;  // the grid, shadow and picture samples, two rows of them
constexpr int kLayoutHeight = 150;
constexpr int kShadowWidth = 8;

// The picture is compiled into the program: no file needs to lie beside it.
constexpr const char* kBackgroundPicture = ":/gallery/landscape.png";

// Column `column` of `columns` across the page, `span` columns wide.
QRect Cell(int column, int columns, int y, int height, int span = 1) {
  const int left = ColumnLeft(column, columns);
  const int right = ColumnLeft(column + span - 1, columns) + ColumnWidth(columns);
  return QRect(left, y, right - left, height);
}

int Below(int y, int height) { return y + height + kSectionGap; }

// The sample curve of layer 1 over 0 .. 10 on both axes, labelled in whole numbers.
void SetUpSample(TRChart& c) {
  SetRanges(c, 1, 0, 10, 0, 10);
  c.Scale1X().SetDecPlaces(0);
  c.Scale1Y().SetDecPlaces(0);
}
void FillSample(TRChart& c) { FillSampleCurve(c, 1, 1, 10); }

// The small samples: the sample with narrow rims.
void SetUpSmallSample(TRChart& c) {
  SetUpSample(c);
  c.SetLRim(28);
  c.SetRRim(10);
  c.SetTRim(18);
  c.SetBRim(24);
}

}  // namespace

TChartsPage::TChartsPage(QWidget* parent) : TGalleryPage(parent), shelf_(this) {
  int y = kMargin;
  y = BuildItems(y);
  y = BuildLabelsAndAxes(y);
  y = BuildGridsShadowsAndPictures(y);
  y = BuildLayouts(y);
  SetPageSize(kPageWidth, y - kSectionGap + kMargin);
}

TChartsPage::~TChartsPage() = default;

int TChartsPage::BuildItems(int y) {
  AddHeading(this, kMargin, y, QStringLiteral("Item kinds, 3-D solids and marks"));
  y += kHeadingHeight;
  shelf_.Add(Cell(0, 4, y, kItemsHeight), "Every item kind", SetUpItemKinds, FillItemKinds);

  blackWhite_ = std::make_unique<TBlackWhiteChart>();
  const QRect bw = Cell(1, 4, y, kItemsHeight);
  blackWhite_->SetBounds(bw.x(), bw.y(), bw.width(), bw.height());
  SetUpChart(blackWhite_->Chart(), QRect(0, 0, bw.width(), bw.height()), "The same, BlackAndWhite",
             SetUpItemKinds);
  FillItemKinds(blackWhite_->Chart());
  new QtHost(*blackWhite_, this);

  shelf_.Add(Cell(2, 4, y, kItemsHeight), "Rect3D edge styles, Bar3D angles", SetUpSolids,
             FillSolids);
  shelf_.Add(Cell(3, 4, y, kItemsHeight), "Marks 0 .. 47, character marks", SetUpMarks, FillMarks);
  return Below(y, kItemsHeight);
}

int TChartsPage::BuildLabelsAndAxes(int y) {
  AddHeading(this, kMargin, y,
             QStringLiteral("Text labels, logarithmic axes, date and clock-time axes"));
  y += kHeadingHeight;
  shelf_.Add(Cell(0, 4, y, kLabelsHeight, 2), "Text labels: modes, lines, alignments",
             SetUpTextLabels, FillTextLabelGuides);
  shelf_.Add(Cell(2, 4, y, kLabelsHeight), "Logarithmic x and y", SetUpLogAxes, FillLogCurves);
  shelf_.Add(Cell(3, 4, y, kLabelsHeight), "Sunrise: ftDateTime x, ftTime y", SetUpSunrise,
             FillSunrise);
  return Below(y, kLabelsHeight);
}

// The eight grid styles in two rows of four on the left half; the shadows
// and pictures in two rows of two on the right half.
int TChartsPage::BuildGridsShadowsAndPictures(int y) {
  AddHeading(this, kMargin, y, QStringLiteral("Grid styles"));
  AddHeading(this, ColumnLeft(4, 8), y, QStringLiteral("Shadows and background pictures"));
  y += kHeadingHeight;
  const auto row = [y](int i) { return y + i * (kSmallHeight + kGap); };
  static const std::pair<GridStyleType, const char*> kGrids[] = {
      {gsNone, "gsNone"},
      {gsPoints, "gsPoints"},
      {gsVertLines, "gsVertLines"},
      {gsHorizLines, "gsHorizLines"},
      {gsLines, "gsLines"},
      {gsHorizDotLines, "gsHorizDotLines"},
      {gsVertDotLines, "gsVertDotLines"},
      {gsDotLines, "gsDotLines"}};
  int n = 0;
  for (const auto& [style, name] : kGrids) {
    const GridStyleType s = style;
    shelf_.Add(
        Cell(n % 4, 8, row(n / 4), kSmallHeight), name,
        [s](TRChart& c) {
          SetUpSmallSample(c);
          // Lines at the labelled ticks only (the short ones count too when shown).
          c.Scale1X().SetShortTicks(false);
          c.Scale1Y().SetShortTicks(false);
          c.SetGridStyle(s);
          // Single points need a darker grey than lines to be seen.
          c.SetGridColor(s == gsPoints ? 0x404040 : 0xA8A8A8);
        },
        FillSample);
    ++n;
  }
  static const std::pair<TShadowStyle, const char*> kShadows[] = {
      {ssFlying, "ShadowWidth 8, ssFlying"}, {ssBox, "ShadowWidth 8, ssBox"}};
  n = 0;
  for (const auto& [style, name] : kShadows) {
    const TShadowStyle s = style;
    shelf_.Add(
        Cell(4 + 2 * n++, 8, row(0), kSmallHeight, 2), name,
        [s](TRChart& c) {
          SetUpSmallSample(c);
          c.SetShadowWidth(kShadowWidth);
          c.SetShadowStyle(s);
        },
        FillSample);
  }
  static const std::pair<TBkgFill, const char*> kPictures[] = {
      {bfTile, "Background picture, bfTile"}, {bfStretch, "Background picture, bfStretch"}};
  n = 0;
  for (const auto& [fill, name] : kPictures) {
    const TBkgFill f = fill;
    shelf_.Add(
        Cell(4 + 2 * n++, 8, row(1), kSmallHeight, 2), name,
        [f](TRChart& c) {
          SetUpSmallSample(c);
          c.BackGroundImg().SetIncludePath(true);  // the resource path is the name
          c.BackGroundImg().SetName(kBackgroundPicture);
          c.BackGroundImg().SetFillMode(f);
        },
        FillSample);
  }
  return Below(row(1), kSmallHeight);
}

int TChartsPage::BuildLayouts(int y) {
  AddHeading(this, kMargin, y, QStringLiteral("Standard layouts (layer 2 in maroon)"));
  y += kHeadingHeight;
  static const std::pair<TrcLayout, const char*> kLayouts[] = {
      {rcl_X1Bottom_Y1Left, "rcl_X1Bottom_Y1Left"},
      {rcl_X1Bottom_Y2Left, "rcl_X1Bottom_Y2Left"},
      {rcl_X1Bottom_Y2Both, "rcl_X1Bottom_Y2Both"},
      {rcl_X2Bottom_Y2Left, "rcl_X2Bottom_Y2Left"},
      {rcl_X2Both_Y2Both, "rcl_X2Both_Y2Both"}};
  int column = 0;
  for (const auto& [layout, name] : kLayouts) {
    const TrcLayout l = layout;
    shelf_.Add(
        Cell(column++, 5, y, kLayoutHeight), name,
        [l](TRChart& c) {
          c.SetStandardLayout(l);
          SetUpSample(c);
          SetRanges(c, 2, 0, 1, 0, 100);
          c.Scale2X().SetDecPlaces(1);
          c.Scale1X().SetCaption("X1");
          c.Scale1Y().SetCaption("Y1");
          c.Scale2X().SetCaption("X2");
          c.Scale2Y().SetCaption("Y2");
          c.Scale2X().SetColorScale(clMaroon);
          c.Scale2Y().SetColorScale(clMaroon);
        },
        [](TRChart& c) {
          FillSampleCurve(c, 1, 1, 10);
          FillSampleCurve(c, 2, 0.1, 100);
        });
  }
  return Below(y, kLayoutHeight);
}

}  // namespace travenel
