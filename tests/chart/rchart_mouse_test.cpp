// The chart and the mouse: pan, zoom window, zoom by dragging, cross-hairs and
// text labels dragged, the rubber band, the cursor and the position report —
// through the handlers, the pure pan and zoom functions, and a real Qt host.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <cmath>

#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"
#include "travenel/ui/Application.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

const TShiftState kLeft{ssLeft};
const TShiftState kNone{};

// A chart whose mapping width is 200 pixels (270 wide, rims 50 and 20), area
// x 50 .. 250 and y 20 .. 160, layer 1 on 0 .. 100 both ways.
std::unique_ptr<TRChart> PanChart(TMouseActMode mode) {
  auto c = LiveChart(270, 200);
  c->SetMouseAction(mode);
  c->SetLayerRanges(1, 0, 0, 100, 100);
  return c;
}

void Drag(TCustomRChart& c, std::initializer_list<TPoint> path, TMouseButton up = mbLeft) {
  const TPoint first = *path.begin();
  c.MouseDown(mbLeft, kLeft, first.X, first.Y);
  for (TPoint p : path) c.MouseMove(kLeft, p.X, p.Y);
  const TPoint last = *(path.end() - 1);
  c.MouseUp(up, kNone, last.X, last.Y);
}

TEST(ChartPan, TenPixelsRightOnAHundredOverTwoHundredPixels) {
  auto c = PanChart(maPan);
  int zoomPans = 0;
  c->OnZoomPan = [&](TCustomRChart&) { ++zoomPans; };
  Drag(*c, {{100, 80}, {110, 80}});  // the first move only records the start
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -5);
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeHigh(), 95);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeLow(), 0);
  EXPECT_EQ(zoomPans, 1);
  // Each move counts from the start: there and back leaves no drift.
  Drag(*c, {{100, 80}, {137, 61}, {151, 99}, {100, 80}});
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -5);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 100);
}

TEST(ChartPan, HorizontalKeepsYAndOutsideTheAreaNothingMoves) {
  auto c = PanChart(maPanHoriz);
  Drag(*c, {{100, 80}, {120, 50}});
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -10);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeLow(), 0);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 100);
  c->SetMouseAction(maPanVert);
  Drag(*c, {{100, 80}, {120, 94}});  // 14 of 140 pixels down: y up by 10
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -10);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeLow(), 10);
  const double before = c->Scale1Y().RangeLow();
  Drag(*c, {{100, 80}, {260, 94}});  // the second move is right of the area
  EXPECT_EQ(c->Scale1Y().RangeLow(), before);
}

TEST(ChartPan, LogarithmicAxisPansByRatio) {
  auto c = PanChart(maPan);
  c->Scale1X().SetRangeLow(1);
  c->Scale1X().SetRangeHigh(100);
  c->Scale1X().SetLogarithmic(true);
  Drag(*c, {{100, 80}, {200, 80}});  // half the width: a decade's worth of ratio
  EXPECT_NEAR(c->Scale1X().RangeLow(), 0.1, 1e-15);
  EXPECT_NEAR(c->Scale1X().RangeHigh(), 10, 1e-13);
  // The pure rule, vertical and logarithmic.
  const TRange r = PanRange({1, 1000, true}, {1, 1000, true}, -70, 140, true);
  EXPECT_NEAR(r.Low, 1 / std::sqrt(1000.0), 1e-15);
  EXPECT_EQ(PanRange({0, 1, false}, {0, 1, false}, 10, 0, false).High, 1);  // no area, no pan
}

TEST(ChartPan, LayerTwoFollowsOnlyWhenEnabled) {
  auto c = PanChart(maPan);
  c->SetLayerRanges(2, 0, 0, 10, 10);
  Drag(*c, {{100, 80}, {120, 80}});
  EXPECT_EQ(c->Scale2X().RangeLow(), 0);
  c->SetMouseLayerEnabled(2, true);
  c->SetMouseLayerEnabled(1, false);
  Drag(*c, {{100, 80}, {120, 80}});
  EXPECT_DOUBLE_EQ(c->Scale2X().RangeLow(), -1);
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -10);  // layer 1 stays where the first drag put it
}

TEST(ChartZoom, WindowDraggedEitherWayKeepsTheDirections) {
  auto a = PanChart(maZoomWindPos);
  Drag(*a, {{70, 40}, {150, 120}});  // top-left to bottom-right
  auto b = PanChart(maZoomWindPos);
  Drag(*b, {{150, 120}, {70, 40}});
  EXPECT_DOUBLE_EQ(a->Scale1X().RangeLow(), b->Scale1X().RangeLow());
  EXPECT_DOUBLE_EQ(a->Scale1X().RangeHigh(), b->Scale1X().RangeHigh());
  EXPECT_DOUBLE_EQ(a->Scale1Y().RangeLow(), b->Scale1Y().RangeLow());
  EXPECT_DOUBLE_EQ(a->Scale1X().RangeLow(), 10);
  EXPECT_DOUBLE_EQ(a->Scale1X().RangeHigh(), 50);
  EXPECT_LT(a->Scale1Y().RangeLow(), a->Scale1Y().RangeHigh());
  // maZoomWind takes the start corner as the low ends: y turns upside down.
  auto w = PanChart(maZoomWind);
  Drag(*w, {{70, 40}, {150, 120}});
  EXPECT_GT(w->Scale1Y().RangeLow(), w->Scale1Y().RangeHigh());
}

TEST(ChartZoom, RightReleaseCancelsAndTheOutlineGoes) {
  auto c = PanChart(maZoomWind);
  const QImage before = c->ControlImage().Image().copy();
  c->MouseDown(mbLeft, kLeft, 70, 40);
  c->MouseMove(kLeft, 150, 120);
  EXPECT_NE(c->ControlImage().Image(), before);                      // the XOR outline shows
  EXPECT_EQ(c->ControlImage().Canvas().Pixels(100, 40), 0x000000u);  // white area inverted
  c->MouseUp(mbRight, kNone, 150, 120);
  EXPECT_FALSE(c->ZoomWindowActive());
  EXPECT_EQ(c->ControlImage().Image(), before);
  EXPECT_EQ(c->Scale1X().RangeHigh(), 100);
  // A window without height is ignored.
  Drag(*c, {{70, 40}, {150, 40}});
  EXPECT_EQ(c->Scale1X().RangeHigh(), 100);
  EXPECT_EQ(c->ControlImage().Image(), before);
}

TEST(ChartZoom, ZoomingInAgainAndAgainStopsAtMinRange) {
  auto c = PanChart(maZoomWindPos);
  c->Scale1X().SetMinRange(1e-6);
  for (int i = 0; i < 40; ++i) Drag(*c, {{100, 60}, {130, 90}});
  const double span = c->Scale1X().RangeHigh() - c->Scale1X().RangeLow();
  EXPECT_GE(span, 1e-6);
  EXPECT_LT(span, 1e-4);  // it did zoom in, down to the least span
  // ... and can still be zoomed out and panned.
  c->SetMouseAction(maZoomDrag);
  Drag(*c, {{240, 80}, {240, 80}, {105, 80}});
  EXPECT_GT(c->Scale1X().RangeHigh() - c->Scale1X().RangeLow(), span);
  c->SetMouseAction(maPan);
  const double low = c->Scale1X().RangeLow();
  Drag(*c, {{100, 80}, {150, 80}});
  EXPECT_LT(c->Scale1X().RangeLow(), low);
}

TEST(ChartZoom, DragLeftByTheFullWidthDoublesTheSpan) {
  auto c = PanChart(maZoomDrag);
  c->MouseDown(mbLeft, kLeft, 240, 80);
  c->MouseMove(kLeft, 240, 80);
  c->MouseMove(kLeft, 240 - 270, 80);  // outside the area: nothing yet
  EXPECT_EQ(c->Scale1X().RangeHigh(), 100);
  EXPECT_EQ(ZoomAboutCentre({0, 100}, ZoomDragFactorX(-270, 270)).High, 150);
  EXPECT_EQ(ZoomAboutCentre({0, 100}, ZoomDragFactorX(-270, 270)).Low, -50);
  c->MouseMove(kLeft, 105, 80);  // half the control's width to the left: x1.5
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), 50 - 75);
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeHigh(), 50 + 75);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 100);  // no vertical movement
}

TEST(ChartZoom, DragStartedOutsideTheControlNeverTurnsAnAxisRound) {
  auto c = LiveChart(283, 318);
  c->SetMouseAction(maZoomDrag);
  c->SetLayerRanges(1, 0, 0, 100, 100);
  c->MouseMove(kLeft, -953, 301);  // the start, taken outside the control
  c->MouseMove(kLeft, 191, 135);   // 1144 pixels right: as far in as a drag reaches
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), 50 - 50.0 / 283);
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeHigh(), 50 + 50.0 / 283);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 50 + 50 * (1 - 166.0 / 318));
  c->MouseUp(mbLeft, kNone, 191, 135);
  c->MouseMove(kLeft, 100, 318 + 900);  // from below, up by more than the height
  c->MouseMove(kLeft, 100, 100);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeLow(), 50 - 50 * (1 - 166.0 / 318) / 318);
  EXPECT_LT(c->Scale1Y().RangeLow(), c->Scale1Y().RangeHigh());
}

TEST(ChartCrossHairs, NearestLineIsChosenAndDragged) {
  auto c = PanChart(maDragCrossH);
  // Cross-hair 3 vertical at pixel x = 100 (world 25), cross-hair 1 off.
  c->CrossHair(3).SetLayer(1);
  c->CrossHair(3).SetMode(chVert);
  c->CrossHair(3).SetPosX(25);
  c->CrossHair(2).SetMode(chHoriz);
  c->CrossHair(2).SetPosY(50);  // y = 90, far from a press at y = 10
  const TCrossHair* moved = nullptr;
  c->OnCrossHairMove = [&](TCustomRChart&, TCrossHair& h) { moved = &h; };
  c->MouseDown(mbLeft, kLeft, 104, 10);
  c->MouseMove(kLeft, 104, 10);
  EXPECT_EQ(c->SelectedCrossHair(), 3);
  c->MouseMove(kLeft, 150, 90);
  EXPECT_DOUBLE_EQ(c->CrossHair(3).PosX(), 50);
  EXPECT_DOUBLE_EQ(c->CrossHair(3).PosY(), 50);
  EXPECT_EQ(moved, &c->CrossHair(3));
  const std::array<TCrossHairSpot, 4> none{};
  EXPECT_EQ(ChooseCrossHair(none, 10, 10), 1);  // all off: number 1 stays
  const std::array<TCrossHairSpot, 2> tie{{{{5, 0}, chVert}, {{15, 0}, chVert}}};
  EXPECT_EQ(ChooseCrossHair(tie, 10, 0), 1);  // ties keep the lower number
}

TEST(ChartCrossHairs, LinesTouchingTheBorderAreNotDrawn) {
  auto c = PanChart(maNone);
  TCrossHair& h = c->CrossHair(1);
  h.SetColor(clRed);
  h.SetLineWid(3);
  h.SetMode(chHoriz);
  const auto redRow = [&](int y) { return c->ControlImage().Canvas().Pixels(150, y) == clRed; };
  h.SetPosY(50);  // y = 90: drawn
  EXPECT_TRUE(redRow(90));
  // From just inside the left edge plus LineWid div 2, to as far from the right one.
  EXPECT_NE(c->ControlImage().Canvas().Pixels(51, 90), clRed);
  EXPECT_EQ(c->ControlImage().Canvas().Pixels(52, 90), clRed);
  EXPECT_EQ(c->ControlImage().Canvas().Pixels(248, 90), clRed);
  EXPECT_NE(c->ControlImage().Canvas().Pixels(249, 90), clRed);
  // Within LineWid div 2 of the top edge (y = 20): 1 + 20 < cy is needed.
  h.SetPosY(100 - 100.0 * 1 / 140);  // y = 21
  EXPECT_FALSE(redRow(21));
  h.SetPosY(100 - 100.0 * 2 / 140);  // y = 22
  EXPECT_TRUE(redRow(22));
  h.SetMode(chOff);
  EXPECT_FALSE(redRow(22));
}

TEST(ChartTextLabels, NearestShownLabelIsDragged) {
  auto c = PanChart(maDragLabel);
  TTextLabel& a = c->TextLabel(4);
  a.SetMode(tlBox);
  a.SetCaption("A");
  a.SetAttachToData(false);
  a.SetPosX(200);
  a.SetPosY(60);
  TTextLabel& b = c->TextLabel(7);
  b.SetMode(tlBox);
  b.SetCaption("B");
  b.SetPosX(50);  // world (50, 50): pixel (150, 90)
  b.SetPosY(50);
  int moved = 0;
  c->OnTextLabelMoved = [&](TCustomRChart&, TTextLabel& l) { moved = l.Number(); };
  Drag(*c, {{140, 95}, {160, 100}});
  EXPECT_EQ(c->SelectedTextLabel(), 7);
  EXPECT_DOUBLE_EQ(b.PosX(), 55);
  EXPECT_EQ(moved, 7);
  Drag(*c, {{198, 62}, {210, 70}});  // label 4 sits at control pixels
  EXPECT_EQ(a.PosX(), 210);
  EXPECT_EQ(a.PosY(), 70);
}

TEST(ChartRubberBand, StatesAndRectangle) {
  auto c = PanChart(maNone);
  c->ArmRubberBand();
  EXPECT_EQ(c->RubberBandState(), 1);
  c->MouseDown(mbRight, TShiftState{ssRight}, 60, 60);  // the right button disarms
  EXPECT_EQ(c->RubberBandState(), 0);
  c->ArmRubberBand();
  const QImage before = c->ControlImage().Image().copy();
  c->MouseDown(mbMiddle, TShiftState{ssMiddle}, 60, 60);
  EXPECT_EQ(c->RubberBandState(), 2);
  c->MouseMove(TShiftState{ssMiddle}, 300, 100);  // clamped into the area
  c->MouseUp(mbMiddle, kNone, 300, 100);
  EXPECT_EQ(c->RubberBandState(), 3);
  EXPECT_EQ(c->ControlImage().Image(), before);
  TRect r;
  ASSERT_TRUE(c->RubberBandRect(r));
  EXPECT_EQ(r, Rect(60, 60, 300, 100));
}

TEST(ChartMouse, PositionReportAndCursors) {
  auto c = PanChart(maNone);
  bool inChart = false;
  double wx = 0, wy = 0;
  c->OnMouseMoveInChart = [&](TCustomRChart&, bool in, TShiftState, double x, double y) {
    inChart = in;
    wx = x;
    wy = y;
  };
  TScreen& screen = TScreen::Instance();
  c->MouseMove(kNone, 150, 90);
  EXPECT_TRUE(inChart);
  EXPECT_DOUBLE_EQ(wx, 50);
  EXPECT_DOUBLE_EQ(wy, 50);
  EXPECT_EQ(screen.Cursor(), crDefault);  // MouseCursorFixed
  c->MouseMove(kNone, 10, 190);
  EXPECT_FALSE(inChart);
  EXPECT_DOUBLE_EQ(wx, -20);
  c->SetMouseCursorFixed(false);
  const std::pair<TMouseActMode, TCursor> cursors[] = {
      {maNone, crCross},  {maPan, 1},      {maZoomWind, 2},
      {maZoomWindPos, 4}, {maZoomDrag, 3}, {maDragCrossH, crDefault}};
  for (auto [mode, cursor] : cursors) {
    c->SetMouseAction(mode);
    c->MouseMove(kNone, 150, 90);
    EXPECT_EQ(screen.Cursor(), cursor) << int(mode);
  }
  c->SetMouseAction(maRotate);  // leaves the cursor as it is
  c->MouseMove(kNone, 150, 90);
  EXPECT_EQ(screen.Cursor(), crDefault);
  c->SetMouseAction(maPan);
  c->MouseMove(kNone, 150, 90);
  c->MouseLeave();
  EXPECT_EQ(screen.Cursor(), crDefault);
}

// --- through a real host ---------------------------------------------------------------

TEST(ChartHost, MouseAndKeysReachTheChart) {
  QWidget window;
  window.resize(400, 300);
  auto c = std::make_unique<TRChart>();
  c->SetBounds(10, 10, 270, 200);
  c->SetLayerRanges(1, 0, 0, 100, 100);
  c->SetMouseAction(maPan);
  QtHost host(*c, &window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mousePress(&host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 80));
  QTest::mouseMove(&host, QPoint(101, 80));  // the first move records the start
  QTest::mouseMove(&host, QPoint(111, 80));
  QTest::mouseRelease(&host, Qt::LeftButton, Qt::NoModifier, QPoint(111, 80));
  // Moves are reported with the buttons Qt says are held; the pan follows them.
  EXPECT_DOUBLE_EQ(c->Scale1X().RangeLow(), -5);
  std::vector<std::uint16_t> keys;
  c->OnKeyDown = [&](TControl&, std::uint16_t& key, TShiftState) { keys.push_back(key); };
  host.setFocus();
  QTest::keyClick(&host, Qt::Key_Left);
  QTest::keyClick(&host, Qt::Key_Tab);
  EXPECT_EQ(keys, (std::vector<std::uint16_t>{vk::Left, vk::Tab}));
  EXPECT_TRUE(host.hasFocus());  // Tab did not move the focus away
}

}  // namespace

}  // namespace travenel
