// Charts with many points: the chart's picture with its polylines reduced (and
// the reduced runs kept between repaints while points are appended) is the one
// drawing every segment gives.
#include <gtest/gtest.h>

#include <bitset>
#include <random>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_render.h"
#include "rchart_test_util.h"

namespace travenel {

namespace {

// The chart area as the render pass draws it on a plain background, every
// segment drawn (reduce off) or reduced without keeping anything.
QImage Reference(const TRChart& c, bool reduce, TPenMode mode = pmCopy, bool bw = false) {
  TRenderSettings s;
  s.Geometry = c.Geometry();
  s.Maps = {c.LayerMap(1), c.LayerMap(2)};
  std::bitset<256> visible;
  for (int k = 0; k < 256; ++k) visible[std::size_t(k)] = c.ClassVisible(k);
  s.ClassVisible = &visible;
  s.LayerVisible = {c.LayerVisible(1), c.LayerVisible(2)};
  s.ReducePolylines = reduce;
  TBitmap b(s.Geometry.AreaImageWidth(), s.Geometry.AreaImageHeight());
  TCanvas& cv = b.Canvas();
  cv.Pen.Color = c.ChartFrameColor();
  cv.Brush.Color = c.ChartColor();
  cv.Rectangle(0, 0, b.Width(), b.Height());
  cv.Pen.Mode = mode;
  TItemPixelCache cache;
  const auto items = c.ItemList().Items();
  TItemRenderer r(cv, 0, 0, bw, s);
  r.Begin();
  r.DrawItems(items, cache.Update(items, c.ItemList().Version(), s, 0, 0));
  cv.Pen.Mode = pmCopy;
  r.DrawFrame(c.ChartFrameColor());
  return b.Image().copy();
}

struct WalkCase {
  const char* Name;
  int Points;
  double StepX, StepY;  // world units per point, and the largest y step
};

void PrintTo(const WalkCase& w, std::ostream* os) { *os << w.Name; }

class ChartReduce : public ::testing::TestWithParam<WalkCase> {};

// A walk from left of the x range to right of it, wandering above and below
// the y range, appended in portions with a repaint after each: the kept runs
// grow and must keep drawing what every segment draws.
TEST_P(ChartReduce, GrowingWalkPaintsAsEverySegment) {
  const WalkCase& w = GetParam();
  auto c = LiveChart(300, 220);
  c->SetMaxItems(100000);
  c->Scale1X().SetRangeLow(0);
  c->Scale1X().SetRangeHigh(w.Points * w.StepX * 0.6);
  c->Scale1Y().SetRangeLow(-50);
  c->Scale1Y().SetRangeHigh(50);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> dy(-w.StepY, w.StepY);
  // No move first: the walk starts at the area's corner, which a pan keeps, so
  // the kept runs must notice that their points moved.
  double x = -w.Points * w.StepX * 0.2, y = 0;
  for (int portion = 0; portion < 4; ++portion) {
    for (int i = 0; i < w.Points / 4; ++i) {
      x += w.StepX;
      y = std::clamp(y + dy(rng), -90.0, 90.0);
      c->LineTo(x, y);
    }
    c->Paint();
    ASSERT_EQ(c->ChartAreaImage().Image(), Reference(*c, false)) << w.Name << " " << portion;
  }
  // Panned: everything mapped anew.
  c->SetLayerRanges(1, 0, -30, w.Points * w.StepX * 0.3, 30);
  EXPECT_EQ(c->ChartAreaImage().Image(), Reference(*c, false)) << w.Name;
}

INSTANTIATE_TEST_SUITE_P(Walks, ChartReduce,
                         ::testing::Values(WalkCase{"steep", 40000, 0.001, 9},
                                           WalkCase{"flat", 4000, 1, 0.5},
                                           WalkCase{"mixed", 20000, 0.01, 3}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Runs broken by colours, classes, layers, a move, relative moves, wide and
// dashed pens; then classes and layers hidden, black and white, and XOR (which
// is never reduced: overdrawn pixels would flip back).
TEST(ChartReduce, MixedItemsHiddenClassesBlackAndWhiteAndXor) {
  auto c = LiveChart(260, 180);
  c->SetMaxItems(50000);
  c->Scale1X().SetRangeHigh(100);
  c->Scale1Y().SetRangeHigh(100);
  c->Scale2X().SetRangeHigh(50);
  c->Scale2Y().SetRangeHigh(200);
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> v(-20, 120);
  const TColor colours[] = {clRed, clBlue, clRed};
  for (int block = 0; block < 30; ++block) {
    c->SetDataColor(colours[block % 3]);
    c->SetClassDefault(static_cast<std::uint8_t>(block % 4));
    c->SetActiveLayer(1 + block % 2);
    c->SetLineWidth(block % 7 == 3 ? 2 : 1);
    c->SetPenStyle(block % 5 == 4 ? psDot : psSolid);
    if (block % 6 == 0) c->MoveToPoint(v(rng), v(rng));
    if (block % 8 == 1) c->MoveToRelPix(3, -4);
    if (block % 9 == 2) c->MarkAt(v(rng), v(rng), 1);
    for (int i = 0; i < 400; ++i) c->LineTo(block * 3 + i * 0.01, v(rng));
  }
  c->ShowItems();
  EXPECT_EQ(c->ChartAreaImage().Image(), Reference(*c, false));
  c->SetClassVisible(2, false);
  c->SetLayerVisible(2, false);
  c->Paint();
  EXPECT_EQ(c->ChartAreaImage().Image(), Reference(*c, false));
  c->SetLayerVisible(2, true);
  c->Paint();
  EXPECT_EQ(c->ChartAreaImage().Image(), Reference(*c, false));
  EXPECT_EQ(Reference(*c, true, pmCopy, true), Reference(*c, false, pmCopy, true));
  const QImage xorAll = Reference(*c, false, pmXor);
  EXPECT_EQ(Reference(*c, true, pmXor), xorAll);
  EXPECT_NE(xorAll, Reference(*c, false));
}

}  // namespace

}  // namespace travenel
