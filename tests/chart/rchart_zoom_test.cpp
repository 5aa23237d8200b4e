// Wheel zoom (off unless set) about the point under the cursor, and the zoom
// history of the pans and zooms made with the mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"

namespace travenel {

namespace {

const TShiftState kLeft{ssLeft};
const TShiftState kNone{};

// Mapping width 200 (270 wide, rims 50 and 20), area x 50 .. 250, y 20 .. 160.
std::unique_ptr<TRChart> ZoomChart() {
  auto c = LiveChart(270, 200);
  c->SetLayerRanges(1, 0, 0, 100, 100);
  c->SetLayerRanges(2, 0, 1, 10, 1000);
  return c;
}

void Drag(TCustomRChart& c, std::initializer_list<TPoint> path) {
  c.MouseDown(mbLeft, kLeft, path.begin()->X, path.begin()->Y);
  for (TPoint p : path) c.MouseMove(kLeft, p.X, p.Y);
  c.MouseUp(mbLeft, kNone, (path.end() - 1)->X, (path.end() - 1)->Y);
}

struct Ranges {
  double xl, xh, yl, yh;
};
Ranges Of(const TRChart& c, int layer = 1) {
  return {c.GetScalePropsX(layer).RangeLow(), c.GetScalePropsX(layer).RangeHigh(),
          c.GetScalePropsY(layer).RangeLow(), c.GetScalePropsY(layer).RangeHigh()};
}
void ExpectRanges(const TRChart& c, Ranges r, int layer = 1) {
  const Ranges now = Of(c, layer);
  EXPECT_DOUBLE_EQ(now.xl, r.xl);
  EXPECT_DOUBLE_EQ(now.xh, r.xh);
  EXPECT_DOUBLE_EQ(now.yl, r.yl);
  EXPECT_DOUBLE_EQ(now.yh, r.yh);
}

TEST(ChartWheel, OffByDefaultAndOutsideTheArea) {
  auto c = ZoomChart();
  int zoomPans = 0;
  c->OnZoomPan = [&](TCustomRChart&) { ++zoomPans; };
  EXPECT_FALSE(c->MouseWheel(kNone, 120, 100, 80));
  c->SetWheelZoom(true);
  EXPECT_FALSE(c->MouseWheel(kNone, 120, 20, 80));  // on the left rim
  EXPECT_FALSE(c->MouseWheel(kNone, 0, 100, 80));
  ExpectRanges(*c, {0, 100, 0, 100});
  EXPECT_EQ(zoomPans, 0);
  EXPECT_EQ(c->ZoomHistoryCount(), 0);
}

TEST(ChartWheel, NotchZoomsAboutTheWorldPointUnderTheCursor) {
  auto c = ZoomChart();
  c->SetWheelZoom(true);
  c->SetMouseLayerEnabled(2, true);
  c->Scale2Y().SetLogarithmic(true);
  c->SetLayerRanges(2, 0, 1, 10, 1000);
  int zoomPans = 0;
  c->OnZoomPan = [&](TCustomRChart&) { ++zoomPans; };
  double x1, y1, x2, y2;
  c->PixelToWorld(1, 90, 48, x1, y1);  // 20 and 80 on layer 1
  c->PixelToWorld(2, 90, 48, x2, y2);
  EXPECT_TRUE(c->MouseWheel(kNone, 120, 90, 48));
  ExpectRanges(*c, {20 - 20 * 0.8, 20 + 80 * 0.8, 80 - 80 * 0.8, 80 + 20 * 0.8});
  EXPECT_NEAR(c->Scale2Y().RangeHigh() / c->Scale2Y().RangeLow(), std::pow(1000, 0.8), 1e-9);
  for (int layer : {1, 2}) {
    const TPoint p = c->WorldToPixel(layer, layer == 1 ? x1 : x2, layer == 1 ? y1 : y2);
    EXPECT_EQ(p, (TPoint{90, 48})) << layer;
  }
  // Half a notch back towards the user and another half: where it began.
  c->MouseWheel(kNone, -60, 90, 48);
  c->MouseWheel(kNone, -60, 90, 48);
  Ranges r = Of(*c);
  EXPECT_NEAR(r.xl, 0, 1e-12);
  EXPECT_NEAR(r.yh, 100, 1e-12);
  EXPECT_NEAR(c->Scale2Y().RangeHigh(), 1000, 1e-9);
  EXPECT_EQ(zoomPans, 3);
  EXPECT_EQ(c->ZoomHistoryCount(), 3);
}

TEST(ChartWheel, NeverNarrowerThanMinRangeAndDisabledLayersStay) {
  auto c = ZoomChart();
  c->SetWheelZoom(true);
  c->Scale1X().SetMinRange(1);
  for (int i = 0; i < 200; ++i) c->MouseWheel(kNone, 120, 150, 90);
  const Ranges r = Of(*c);
  EXPECT_GE(r.xh - r.xl, 1);
  EXPECT_LT(r.xh - r.xl, 1 / 0.8);
  EXPECT_GE(r.yh - r.yl, 1e-10);  // y keeps its MinRange as it stands
  EXPECT_LT(r.yh - r.yl, 1e-9);
  ExpectRanges(*c, {0, 10, 1, 1000}, 2);
}

TEST(ZoomHistory, EveryMousePanOrZoomPushesItsStartOnce) {
  auto c = ZoomChart();
  c->SetWheelZoom(true);
  int zoomPans = 0;
  c->OnZoomPan = [&](TCustomRChart&) { ++zoomPans; };
  c->SetMouseAction(maPan);
  Drag(*c, {{100, 80}, {110, 80}, {120, 80}, {130, 80}});  // one drag, three moves
  EXPECT_EQ(c->ZoomHistoryCount(), 1);
  const Ranges panned = Of(*c);
  Drag(*c, {{100, 80}, {100, 80}});  // a click: nothing moved
  c->SetMouseAction(maZoomDrag);
  Drag(*c, {{100, 80}, {140, 60}});
  const Ranges dragged = Of(*c);
  c->SetMouseAction(maZoomWind);
  Drag(*c, {{100, 40}, {200, 120}});
  const Ranges windowed = Of(*c);
  c->MouseDown(mbLeft, kLeft, 100, 40);
  c->MouseMove(kLeft, 120, 60);
  EXPECT_TRUE(c->MouseWheel(kNone, 120, 150, 90));  // used, but not while dragging a window
  ExpectRanges(*c, windowed);
  c->MouseUp(mbRight, kNone, 120, 60);
  c->MouseWheel(kNone, -120, 150, 90);
  c->SetLayerRanges(1, 5, 5, 6, 6);  // by code: not remembered
  EXPECT_EQ(c->ZoomHistoryCount(), 4);
  const int before = zoomPans;
  c->ZoomBack();
  ExpectRanges(*c, windowed);
  c->ZoomBack();
  ExpectRanges(*c, dragged);
  c->ZoomBack();
  ExpectRanges(*c, panned);
  EXPECT_EQ(zoomPans, before + 3);
  c->ZoomHome();
  ExpectRanges(*c, {0, 100, 0, 100});
  ExpectRanges(*c, {0, 10, 1, 1000}, 2);
  EXPECT_EQ(c->ZoomHistoryCount(), 0);
  c->ZoomBack();  // nothing left: no change, no event
  c->ZoomHome();
  EXPECT_EQ(zoomPans, before + 4);
}

TEST(ZoomHistory, FullHistoryKeepsHomeAndRestoresBothLayersInOnePaint) {
  auto c = ZoomChart();
  c->SetWheelZoom(true);
  c->SetMouseLayerEnabled(2, true);
  for (int i = 0; i < TCustomRChart::kMaxZoomHistory + 30; ++i)
    c->MouseWheel(kNone, i % 2 ? 120 : 60, 150, 90);
  EXPECT_EQ(c->ZoomHistoryCount(), TCustomRChart::kMaxZoomHistory);
  const int paints = c->PaintCount();
  c->ZoomHome();
  EXPECT_EQ(c->PaintCount(), paints + 1);
  ExpectRanges(*c, {0, 100, 0, 100});
  ExpectRanges(*c, {0, 10, 1, 1000}, 2);
}

}  // namespace

}  // namespace travenel

namespace travenel {
namespace {

TEST(ZoomHistory, WheelStepsCloseTogetherAreOneEntryUntilSomethingElseIs) {
  auto c = ZoomChart();
  c->SetWheelZoom(true);
  c->SetWheelGestureMs(TCustomRChart::kWheelGestureMs);
  for (int i = 0; i < 10; ++i) c->MouseWheel(kNone, 120, 150, 90);
  EXPECT_EQ(c->ZoomHistoryCount(), 1);
  c->SetMouseAction(maPan);
  Drag(*c, {{100, 80}, {110, 80}, {120, 80}});
  const Ranges panned = Of(*c);
  c->MouseWheel(kNone, 120, 150, 90);  // after the drag: a gesture of its own
  c->MouseWheel(kNone, 120, 150, 90);
  EXPECT_EQ(c->ZoomHistoryCount(), 3);
  c->ZoomBack();
  ExpectRanges(*c, panned);
  c->MouseWheel(kNone, -120, 150, 90);  // after going back
  EXPECT_EQ(c->ZoomHistoryCount(), 3);
  c->EndWheelGesture();
  c->MouseWheel(kNone, -120, 150, 90);
  EXPECT_EQ(c->ZoomHistoryCount(), 4);
}

}  // namespace
}  // namespace travenel
