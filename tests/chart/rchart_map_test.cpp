// The chart's arithmetic without a control: the chart-area geometry, the
// mapping of world values to pixels and back, the clamps, and the grid
// positions, against values worked out by hand.
#include "travenel/chart/rchart_map.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

namespace travenel {

namespace {

// The window's chart: 369 x 320, rims 50, 20, 20, 40, no shadow.
constexpr TChartGeometry kWindow{369, 320, 50, 20, 20, 40, 0};

TEST(ChartGeometry, AreaImageMinimumAndAnchors) {
  EXPECT_EQ(kWindow.AreaRight(), 349);
  EXPECT_EQ(kWindow.AreaBottom(), 280);
  EXPECT_EQ(kWindow.AreaImageWidth(), 300);
  EXPECT_EQ(kWindow.AreaImageHeight(false), 261);
  EXPECT_EQ(kWindow.AreaImageWidth(true), 299);  // one pixel less on a printer
  EXPECT_TRUE(kWindow.InChartArea(50, 20));
  EXPECT_TRUE(kWindow.InChartArea(349, 280));
  EXPECT_FALSE(kWindow.InChartArea(350, 100));
  EXPECT_FALSE(kWindow.InChartArea(100, 19));
  EXPECT_EQ(kWindow.MinWidth(), 150);
  EXPECT_EQ(kWindow.MinHeight(), 80);
  // With a shadow the right anchor is the area's edge, the bottom one is not.
  const TChartGeometry shadow{369, 320, 50, 20, 20, 40, 5};
  EXPECT_EQ(shadow.CaptionAnchorX(cahChartRight), 344);
  EXPECT_EQ(shadow.CaptionAnchorY(cavChartBottom), 280);
  EXPECT_EQ(shadow.CaptionAnchorX(cahChartCenter), 50 + 294 / 2);
  EXPECT_EQ(shadow.CaptionAnchorY(cavChartCenter), 20 + 255 / 2);
  EXPECT_EQ(shadow.CaptionAnchorX(cahControlRight), 369);
  // Rims far beyond the control: an empty area, sums that do not overflow.
  const TChartGeometry huge{10, 10, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 32};
  EXPECT_EQ(huge.AreaImageWidth(), 0);
  EXPECT_EQ(huge.MinWidth(), INT32_MAX);
}

TEST(ChartMapping, WindowRangesMapOntoTheAreaEdges) {
  const TLayerMap unit = MapLayer({0, 1, false}, {0, 1, false}, kWindow);
  EXPECT_EQ(WorldToPixel(unit, 0, 0), (TPoint{50, 280}));
  EXPECT_EQ(WorldToPixel(unit, 1, 1), (TPoint{349, 20}));
  const TLayerMap m = MapLayer({0, 100, false}, {0, 1000, false}, kWindow);
  EXPECT_EQ(WorldToPixel(m, 0, 0), (TPoint{50, 280}));
  EXPECT_EQ(WorldToPixel(m, 100, 1000), (TPoint{349, 20}));
  EXPECT_EQ(WorldToPixel(m, 1, 1000), (TPoint{53, 20}));  // 50 + 2.99
  // A reversed range mirrors the axis.
  const TLayerMap r = MapLayer({100, 0, false}, {1000, 0, false}, kWindow);
  EXPECT_EQ(WorldToPixel(r, 0, 0), (TPoint{349, 20}));
  EXPECT_EQ(WorldToPixel(r, 100, 1000), (TPoint{50, 280}));
}

TEST(ChartMapping, PixelRoundingIsHalfToEven) {
  for (long double v : {0.5L, 1.5L, 2.5L, -0.5L, -1.5L, -2.5L, 7.4999999999L, 2147483646.5L,
                        -2147483646.5L, 0.49999999999999999999L, 123456.75L})
    EXPECT_EQ(PixelNint(v), std::rint(v)) << static_cast<double>(v);
}

TEST(ChartMapping, ClampsAndValuesItCannotPlace) {
  const TLayerMap m = MapLayer({0, 1, false}, {0, 1, false}, kWindow);
  EXPECT_EQ(PixelOf(m.X, 1e300), 2147483647);
  EXPECT_EQ(PixelOf(m.X, -1e300), -2147483647);
  EXPECT_EQ(PixelOf(m.X, INFINITY), 2147483647);
  EXPECT_EQ(PixelOf(m.Y, NAN), 0);
  EXPECT_EQ(ClampPixel(TPoint{2147483647, -40000}), (TPoint{30000, -30000}));
  // A logarithmic axis puts what it cannot take at its low end, outside the area.
  const TLayerMap log = MapLayer({1, 100, true}, {1, 100, true}, kWindow);
  EXPECT_EQ(WorldToPixel(log, 0, -5), (TPoint{0, 320}));
  EXPECT_EQ(WorldToPixel(log, 1e-100, 1e-100), (TPoint{0, 320}));
  EXPECT_EQ(WorldToPixel(log, 10, 10), (TPoint{200, 150}));  // the middle decade
  const TLayerMap reversed = MapLayer({100, 1, true}, {100, 1, true}, kWindow);
  EXPECT_EQ(WorldToPixel(reversed, 0, 0), (TPoint{369, 0}));
}

TEST(ChartMapping, UnmappableAxesPutEverythingInTheMiddle) {
  // No width: every point at W / 2 (halves to even: 101 / 2 = 50.5 gives 50).
  const TChartGeometry narrow{101, 90, 60, 60, 10, 10, 0};
  const TLayerMap n = MapLayer({0, 1, false}, {0, 1, false}, narrow);
  EXPECT_EQ(PixelOf(n.X, 0), 50);
  EXPECT_EQ(PixelOf(n.X, 1e9), 50);
  // Equal ends, and a logarithmic axis with an end that is not positive.
  EXPECT_EQ(PixelOf(MapHorizontal({3, 3, false}, kWindow), 3), 184);
  EXPECT_EQ(PixelOf(MapVertical({0, 10, true}, kWindow), 5), 160);
  EXPECT_EQ(WorldOf(MapHorizontal({3, 3, false}, kWindow), 100), 3);
}

TEST(ChartMapping, NarrowLogarithmicRangeKeepsItsEnds) {
  const double lo = 100, hi = std::nextafter(100.0, 200.0);
  const TAxisMap m = MapHorizontal({lo, hi, true}, kWindow);
  EXPECT_EQ(PixelOf(m, lo), 50);
  EXPECT_EQ(PixelOf(m, hi), 349);
  const TAxisMap wide = MapHorizontal({2e-100, DBL_MAX, true}, kWindow);
  EXPECT_EQ(PixelOf(wide, 2e-100), 50);
  EXPECT_EQ(PixelOf(wide, DBL_MAX), 349);
}

TEST(ChartMapping, PixelToWorldInvertsTheMapping) {
  for (bool log : {false, true}) {
    const TLayerMap m =
        MapLayer({log ? 1.0 : -20.0, 1000, log}, {log ? 0.5 : -3.0, 50, log}, kWindow);
    for (int px : {50, 120, 349}) {
      double x, y;
      PixelToWorld(m, px, 280 - (px - 50) * 260 / 299, x, y);
      EXPECT_EQ(PixelOf(m.X, x), px) << log;
      EXPECT_EQ(PixelOf(m.Y, y), 280 - (px - 50) * 260 / 299) << log;
    }
  }
}

// --- grid positions -------------------------------------------------------------------

std::vector<double> GridRun(const TGridAxis& a) {
  std::vector<double> out;
  double p = FirstGridPosition(a);
  for (int k = 2; p < a.End && out.size() < kMaxGridLines; p = NextGridPosition(a, p, k++))
    out.push_back(p);
  return out;
}

TEST(ChartGrid, LogarithmicSteps) {
  TGridAxis a{1, 1000, true, -2};
  EXPECT_EQ(GridRun(a), (std::vector<double>{2, 5, 10, 20, 50, 100, 200, 500}));
  a.Step = -1;
  EXPECT_EQ(GridRun(a), (std::vector<double>{1, 10, 100}));
  a.End = 30;
  a.Step = -3;
  EXPECT_EQ(GridRun(a), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20}));
  // From inside a decade: 3.7 starts at 5 (1-2-5) or at 4 (1..9).
  TGridAxis b{3.7, 100, true, -2};
  EXPECT_EQ(FirstGridPosition(b), 5);
  b.Step = -3;
  EXPECT_EQ(FirstGridPosition(b), 4);
  b.Step = -1.5;  // any other negative step starts at the range's start
  EXPECT_EQ(FirstGridPosition(b), 3.7);
  b.Step = 20;  // a positive step counts linearly on a logarithmic axis too
  EXPECT_EQ(GridRun(b), (std::vector<double>{20, 40, 60, 80}));
}

TEST(ChartGrid, LinearStepsAndTicks) {
  TGridAxis a{-0.3, 1, false, 0.25};
  EXPECT_EQ(GridRun(a), (std::vector<double>{-0.25, 0, 0.25, 0.5, 0.75}));
  a.Step = -0.5;  // ceil(-0.3 / -0.5) * -0.5, and on by the step's size
  EXPECT_EQ(FirstGridPosition(a), -0.5);
  EXPECT_EQ(NextGridPosition(a, -0.5, 2), 0);
  const double ticks[] = {0, 0.2, 0.4};
  TGridAxis t{-0.3, 1, false, 0, ticks, 3};
  EXPECT_EQ(GridRun(t), (std::vector<double>{0, 0.2, 0.4}));
  TGridAxis none{-0.3, 1, false, 0, nullptr, 0};
  EXPECT_EQ(GridRun(none), (std::vector<double>{-0.3}));  // the smaller end, then the run ends
  TGridAxis dense{0, 1, false, 1e-9};
  EXPECT_EQ(GridRun(dense).size(), static_cast<std::size_t>(kMaxGridLines));
}

}  // namespace

}  // namespace travenel
