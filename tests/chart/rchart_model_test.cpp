// The chart without painting: construction, the axis property rules, joins,
// the item list and its limit, the appearance setters with their clamps, the
// standard layouts, the isometric rule and when a change repaints.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

TEST(RChartConstruction, ValuesAfterConstruction) {
  TRChart c;
  EXPECT_EQ(c.PaintCount(), 0);  // suppressed until the window exists
  EXPECT_EQ(c.Width(), 280);
  EXPECT_EQ(c.Height(), 200);
  EXPECT_EQ((std::array{c.LRim(), c.RRim(), c.TRim(), c.BRim()}), (std::array{50, 20, 20, 40}));
  EXPECT_EQ(c.CaptionPosY(), -16);
  EXPECT_EQ(c.ChartAreaImage().Width(), 211);
  EXPECT_EQ(c.ChartAreaImage().Height(), 141);
  EXPECT_EQ(c.BackgroundPicture().Width(), 10);
  EXPECT_EQ(c.ScaleObjectX(1).Name(), "RC_FScale_X_1");
  EXPECT_EQ(c.ScaleObjectY(1).Name(), "RC_FScale_Y_1");
  EXPECT_EQ(c.ScaleObjectX(2).Name(), "RC_FScale_X_2");
  EXPECT_EQ(c.ScaleObjectY(2).Name(), "RC_FScale_Y_2");
  // Layer colours, and the standard layout's visibility and placement.
  EXPECT_EQ(c.Scale1X().ColorScale(), clBlack);
  EXPECT_EQ(c.Scale2Y().ColorScale(), clMaroon);
  EXPECT_TRUE(c.Scale1X().Visible() && c.Scale1Y().Visible());
  EXPECT_FALSE(c.Scale2X().Visible() || c.Scale2Y().Visible());
  EXPECT_EQ(c.Scale1X().ScaleType(), sctXT);
  EXPECT_EQ(c.Scale1Y().ScaleType(), sctYR);
  // An embedded scale draws on the chart and keeps no image of its own.
  EXPECT_TRUE(c.ScaleObjectX(1).Embedded() && c.ScaleObjectX(1).Transparent());
  EXPECT_TRUE(c.ScaleObjectX(1).WindowImage().Empty());
  EXPECT_EQ(c.ScaleObjectX(1).TargetCanvas(), &c.ControlImage().Canvas());
  EXPECT_EQ(c.DialogCode(), 3);
  for (TCursor n = 1; n <= 4; ++n) EXPECT_TRUE(TScreen::Instance().CursorRegistered(n)) << n;
}

TEST(RChartConstruction, AxisLinesLieOnTheChartAreaEdges) {
  TRChart c;
  // 280 x 200, rims 50, 20, 20, 40: area x 50 .. 260, y 20 .. 160.
  const TScale& x = c.ScaleObjectX(1);
  const TScale& y = c.ScaleObjectY(1);
  EXPECT_EQ(x.MarginTop(), 160);  // sctXT: base line at y = 160
  EXPECT_EQ(x.MarginLeft(), 50);
  EXPECT_EQ(x.Width() - x.MarginRight() - 1, 260);
  EXPECT_EQ(y.Width() - y.MarginRight() - 1, 50);  // sctYR: base line at x = 50
  EXPECT_EQ(y.MarginTop(), 20);
  EXPECT_EQ(y.Height() - y.MarginBottom() - 1, 160);
  // A positive ScalePos moves the line outward.
  c.Scale1Y().SetScalePos(7);
  EXPECT_EQ(c.ScaleObjectY(1).Width() - c.ScaleObjectY(1).MarginRight() - 1, 43);
  c.Scale1X().SetScalePos(5);
  EXPECT_EQ(c.ScaleObjectX(1).MarginTop(), 165);
}

// --- axis properties ---------------------------------------------------------------

struct RangeCase {
  const char* what;
  double low0, high0, minRange;
  bool setLow;
  double value;
  double low, high;
};

class RangeRule : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeRule, KeepsTheSpanAtLeastMinRange) {
  const RangeCase& k = GetParam();
  TRChart c;
  TScaleProps& p = c.Scale1X();
  p.SetRangeDirect(k.low0, k.high0);
  if (k.minRange != 1e-10) p.SetMinRange(k.minRange);
  if (k.setLow)
    p.SetRangeLow(k.value);
  else
    p.SetRangeHigh(k.value);
  EXPECT_DOUBLE_EQ(p.RangeLow(), k.low) << k.what;
  EXPECT_DOUBLE_EQ(p.RangeHigh(), k.high) << k.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeRule,
    ::testing::Values(RangeCase{"high 100", 0, 1, 1e-10, false, 100, 0, 100},
                      RangeCase{"low onto high", 0, 5, 1e-10, true, 5, 5, 5 + 1e-10},
                      RangeCase{"high onto low", 0, 1, 1e-10, false, 0, -1e-10, 0},
                      RangeCase{"reversed is kept", 0, 1, 1e-10, true, 7, 7, 1},
                      RangeCase{"just wide enough", 0, 1, 0.5, false, 0.5, 0, 0.5},
                      RangeCase{"NaN ignored", 2, 3, 1e-10, true, NAN, 2, 3},
                      RangeCase{"huge value stays finite", 0, 1.7e308, 1e308, true, 1.7e308,
                                1.7e308, 1.7976931348623157e308}));

TEST(RChartAxisProps, MinRangeWidensAboutTheCentreOnlyWhenNeeded) {
  TRChart c;
  TScaleProps& p = c.Scale1Y();
  int changes = 0;
  p.OnChange = [&](TScaleProps&) { ++changes; };
  p.SetRangeDirect(0, 1e-12);
  p.SetMinRange(1e-10);
  EXPECT_DOUBLE_EQ(p.RangeLow(), -4.95e-11);
  EXPECT_DOUBLE_EQ(p.RangeHigh(), 5.05e-11);
  EXPECT_EQ(changes, 1);
  p.SetMinRange(1e-11);  // already wide enough: stored, no notification
  EXPECT_DOUBLE_EQ(p.MinRange(), 1e-11);
  p.SetMinRange(1e-101);  // at or below 1e-100: ignored
  p.SetMinRange(INFINITY);
  EXPECT_DOUBLE_EQ(p.MinRange(), 1e-11);
  EXPECT_EQ(changes, 1);
}

TEST(RChartAxisProps, LogarithmicOnALoadedChartNeedsAPositiveRange) {
  TRChart loaded;
  LoadControl(loaded, [] {});
  TScaleProps& p = loaded.Scale1X();
  p.SetLogarithmic(true);  // range 0 .. 1
  EXPECT_FALSE(p.Logarithmic());
  p.SetRangeLow(1);
  p.SetRangeHigh(1000);
  p.SetLogarithmic(true);
  EXPECT_TRUE(p.Logarithmic());
  p.SetRangeLow(-5);
  EXPECT_EQ(p.RangeLow(), 1);
  p.SetLabelType(ftDateTime);  // a date/time axis is linear
  EXPECT_FALSE(p.Logarithmic());
  p.SetLogarithmic(true);
  EXPECT_FALSE(p.Logarithmic());

  TRChart byCode;  // never loaded: the flag stays set
  byCode.Scale1X().SetLogarithmic(true);
  EXPECT_TRUE(byCode.Scale1X().Logarithmic());
}

TEST(RChartAxisProps, LabelTypeAndDecPlacesSideEffects) {
  TRChart c;
  TScaleProps& p = c.Scale1Y();
  p.SetLabelType(ftTime);
  EXPECT_EQ(p.DecPlaces(), 4);
  p.SetDecPlaces(20);
  EXPECT_EQ(p.DecPlaces(), 12);
  p.SetDecPlaces(-10);
  EXPECT_EQ(p.DecPlaces(), -3);
}

TEST(RChartAxisProps, AChangeReachesTheScaleObjectWithOneRepaint) {
  auto c = LiveChart();
  const int before = c->PaintCount();
  c->Scale1Y().SetRangeHigh(250);
  EXPECT_EQ(c->PaintCount(), before + 1);
  EXPECT_EQ(c->ScaleObjectY(1).RangeHigh(), 250);
  c->SetAutoRedraw(false);  // an axis change repaints whatever AutoRedraw says
  c->Scale1Y().SetCaption("agents");
  EXPECT_EQ(c->PaintCount(), before + 2);
  EXPECT_EQ(c->ScaleObjectY(1).Caption(), "agents");
  // Font and date format changes are axis changes too; the font colour follows ColorScale.
  TFont f;
  f.SetHeight(15);
  c->Scale1Y().SetFont(f);
  c->Scale1Y().SetColorScale(clRed);
  c->Scale1Y().DateFormat().SetDateSeparator('/');
  EXPECT_EQ(c->PaintCount(), before + 5);
  EXPECT_EQ(c->ScaleObjectY(1).Font().Height(), 15);
  EXPECT_EQ(c->ScaleObjectY(1).Font().Color(), clRed);
  EXPECT_EQ(c->ScaleObjectY(1).DateFormat().DateSeparator(), '/');
}

TEST(RChartAxisProps, WholeObjectWriteTakesOverTheValues) {
  auto c = LiveChart();
  TScalePropsHoriz other(sctXB);
  other.SetScaleLocation(slTop);
  other.SetRangeDirect(-3, 9);
  other.SetCaption("t");
  const int before = c->PaintCount();
  c->SetScale2X(other);
  EXPECT_EQ(c->Scale2X().ScaleLocation(), slTop);
  EXPECT_EQ(c->Scale2X().RangeHigh(), 9);
  EXPECT_EQ(c->ScaleObjectX(2).Caption(), "t");
  EXPECT_EQ(c->PaintCount(), before);  // only a chart being designed repaints
  c->SetDesigning(true);
  c->SetScale2X(other);
  EXPECT_EQ(c->PaintCount(), before + 1);
}

TEST(RChartAxisProps, GetScalePropsGivesLayerOneForAnyOtherNumber) {
  TRChart c;
  EXPECT_EQ(&c.GetScalePropsX(2), &c.Scale2X());
  EXPECT_EQ(&c.GetScalePropsY(2), &c.Scale2Y());
  for (int layer : {0, 1, 3, -7}) {
    EXPECT_EQ(&c.GetScalePropsX(layer), &c.Scale1X());
    EXPECT_EQ(&c.GetScalePropsY(layer), &c.Scale1Y());
  }
}

// --- joint layers --------------------------------------------------------------------

std::string JoinError(const std::function<void()>& f) {
  try {
    f();
  } catch (const EUlxRChartError& e) {
    return e.Message();
  }
  return "(none)";
}

TEST(RChartJoints, RefusalsWordForWord) {
  TRChart c;
  TJointLayers& j = c.JointLayers();
  EXPECT_EQ(JoinError([&] { j.SetL01xControlledBy(3); }), "Destination layer 3 is out of range");
  EXPECT_EQ(JoinError([&] { j.SetL02yControlledBy(0); }), "Destination layer 0 is out of range");
  j.SetL02xControlledBy(1);
  EXPECT_EQ(JoinError([&] { j.SetL01xControlledBy(2); }), "Destination layer 2 is already joined");
  EXPECT_EQ(JoinError([&] { j.SetL01xControlledBy(1); }), "(none)");
  EXPECT_EQ(j.L01xControlledBy(), 1);
  EXPECT_EQ(j.L02xControlledBy(), 1);
  // The vertical axes are joined independently.
  EXPECT_EQ(JoinError([&] { j.SetL01yControlledBy(2); }), "(none)");
  EXPECT_EQ(JoinError([&] { j.SetL02yControlledBy(1); }), "Destination layer 1 is already joined");
}

TEST(RChartJoints, AJoinedAxisFollowsItsController) {
  auto c = LiveChart();
  c->Scale1X().SetRangeHigh(100);
  c->Scale2X().SetRangeHigh(7);
  c->Scale2Y().SetRangeHigh(3);
  c->JointLayers().SetL02xControlledBy(1);  // takes layer 1's x range at once
  EXPECT_EQ(c->Scale2X().RangeHigh(), 100);
  EXPECT_EQ(c->Scale2Y().RangeHigh(), 3);
  c->Scale1X().SetRangeHigh(50);
  EXPECT_EQ(c->Scale2X().RangeHigh(), 50);
  EXPECT_EQ(c->ScaleObjectX(2).RangeHigh(), 50);
  // Layer 2's own x range cannot be moved while it is joined; its y range can.
  c->SetLayerRanges(2, -1, -2, 9, 8);
  EXPECT_EQ(c->Scale2X().RangeLow(), 0);
  EXPECT_EQ(c->Scale2X().RangeHigh(), 50);
  EXPECT_EQ(c->Scale2Y().RangeLow(), -2);
  EXPECT_EQ(c->Scale2Y().RangeHigh(), 8);
  // Setting layer 1's ranges moves layer 2's x with it, once repainted.
  const int before = c->PaintCount();
  c->SetLayerRanges(1, 10, 0, 20, 1);
  EXPECT_EQ(c->Scale2X().RangeLow(), 10);
  EXPECT_EQ(c->Scale2X().RangeHigh(), 20);
  EXPECT_EQ(c->PaintCount(), before + 1);
}

TEST(RChartJoints, ALogarithmicAxisKeepsItsLastPositiveRangeAgainstItsController) {
  auto c = LiveChart();
  c->SetLayerRanges(1, -5, -5, 5, 5);
  c->SetLayerRanges(2, 1, 1, 1000, 1000);
  c->Scale2X().SetLogarithmic(true);
  c->Scale2Y().SetLogarithmic(true);
  const auto range = [&](const TScaleProps& p) { return std::pair{p.RangeLow(), p.RangeHigh()}; };
  c->JointLayers().SetL02xControlledBy(1);  // joining does not take -5 .. 5
  c->JointLayers().SetL02yControlledBy(1);
  EXPECT_EQ(range(c->Scale2X()), std::pair(1.0, 1000.0));
  EXPECT_EQ(range(c->Scale2Y()), std::pair(1.0, 1000.0));
  c->SetLayerRanges(1, 10, 0, 100, 7);  // a positive x range is followed, y is not
  EXPECT_EQ(range(c->Scale2X()), std::pair(10.0, 100.0));
  EXPECT_EQ(range(c->Scale2Y()), std::pair(1.0, 1000.0));
  c->Scale1X().SetRangeLow(-1);  // nor through the axis's setter
  EXPECT_EQ(range(c->Scale2X()), std::pair(10.0, 100.0));
  EXPECT_EQ(c->ScaleObjectX(2).RangeLow(), 10);
}

// --- items ----------------------------------------------------------------------------

TEST(RChartItems, LimitAndGrowthByAllocSize) {
  for (int alloc : {1000, 1}) {
    TRChart c;
    c.SetAllocSize(alloc);
    int growths = 0, capacity = 0;
    for (int i = 0; i < 1000; ++i) {
      c.AddLine(i, 0, i + 1, 1);
      if (c.ItemList().Capacity() != capacity) ++growths;
      capacity = c.ItemList().Capacity();
    }
    EXPECT_EQ(growths, alloc == 1 ? 1000 : 1) << alloc;
    EXPECT_EQ(c.ItemList().Capacity(), 1000);
    std::string message;
    try {
      c.MoveToPoint(0, 0);
    } catch (const EUlxError& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find("RChart: number of elements too high"), std::string::npos) << message;
    EXPECT_EQ(c.ItemCount(), 1000);
    EXPECT_EQ(c.ItemList().KindCount(ikLine), 1000);
    EXPECT_EQ(c.ItemList().KindCount(ikMoveTo), 0);
    c.ClearItems();  // and the chart goes on
    EXPECT_EQ(c.ItemList().Capacity(), 0);
    EXPECT_EQ(c.ItemList().KindCount(ikLine), 0);
    c.MoveToPoint(1, 1);
    EXPECT_EQ(c.ItemCount(), 1);
  }
}

TEST(RChartItems, AllocSizeAcceptsOneToAMillion) {
  TRChart c;
  for (int v : {0, -5, 1000001}) {
    c.SetAllocSize(v);
    EXPECT_EQ(c.AllocSize(), 1000) << v;
  }
  c.SetAllocSize(1000000);
  EXPECT_EQ(c.AllocSize(), 1000000);
  c.AddLine(0, 0, 1, 1);
  EXPECT_EQ(c.ItemList().Capacity(), 1000000);
}

TEST(RChartItems, ItemsKeepTheDrawingStateOfTheirMoment) {
  TRChart c;
  c.SetDataColor(clRed);
  c.SetPenStyle(psDot);
  c.SetLineWidth(3);
  c.SetClassDefault(7);
  c.SetActiveLayer(2);
  c.AddLine(1, 2, 3, 4);
  c.SetDataColor(clGreen);
  c.SetClassDefault(255);  // ignored
  c.SetActiveLayer(3);     // ignored
  c.MoveToPoint(5, 6);
  const auto items = c.ItemList().Items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Kind, ikLine);
  EXPECT_EQ(items[0].Color, clRed);
  EXPECT_EQ(items[0].PenStyle, psDot);
  EXPECT_EQ(items[0].LineWidth, 3u);
  EXPECT_EQ(items[0].ItemClass, 7);
  EXPECT_EQ(items[0].Layer, 2);
  EXPECT_EQ((std::array{items[0].X1, items[0].Y1, items[0].X2, items[0].Y2}),
            (std::array{1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(items[1].Kind, ikMoveTo);
  EXPECT_EQ(items[1].Color, clGreen);
  EXPECT_EQ(items[1].ItemClass, 7);
  EXPECT_EQ(items[1].Layer, 2);
  EXPECT_EQ(items[1].FillColor, 0u);
  EXPECT_EQ(items[1].Reserved, 0);
}

TEST(RChartItems, ItemTextKeepsSeventeenCharacters) {
  TRChartItem item{};
  SetItemText(item, "a text longer than seventeen");
  EXPECT_EQ(ItemText(item), "a text longer tha");
  EXPECT_EQ(item.Text[0], 17);
  SetItemText(item, "");
  EXPECT_EQ(ItemText(item), "");
}

// --- appearance ---------------------------------------------------------------------------

TEST(RChartAppearance, ClampsAndIgnoredValues) {
  TRChart c;
  c.SetShadowWidth(40);
  EXPECT_EQ(c.ShadowWidth(), 32);
  c.SetShadowWidth(-1);
  EXPECT_EQ(c.ShadowWidth(), 0);
  c.SetGridDx(-3.0);
  EXPECT_EQ(c.GridDx(), -3.0);
  c.SetGridDx(-3.5);
  c.SetGridDx(NAN);
  EXPECT_EQ(c.GridDx(), -3.0);
  c.SetLRim(-4);
  EXPECT_EQ(c.LRim(), 0);
  c.SetRRim(2000000000);  // a rim the chart's images can still hold
  EXPECT_EQ(c.RRim(), TCustomRChart::kMaxRim);
  EXPECT_EQ(c.ChartAreaImage().Width(), 0);  // an area of no size, not a negative one
}

TEST(RChartAppearance, ResizingTakesAtLeastTheMinimumSize) {
  TRChart c;
  c.SetBounds(0, 0, 100, 50);
  EXPECT_EQ(c.Width(), 150);
  EXPECT_EQ(c.Height(), 80);
  c.SetShadowWidth(5);
  c.SetBounds(3, 4, 10, 10);
  EXPECT_EQ(c.Width(), 155);
  EXPECT_EQ(c.Height(), 85);
  EXPECT_EQ(c.ChartAreaImage().Width(), 155 - 50 - 20 - 5 + 1);
  EXPECT_EQ(c.ScaleObjectY(1).Height(), 85);
  // Rims and shadow move the chart-area image and the axes' margins.
  c.SetTRim(30);
  EXPECT_EQ(c.ChartAreaImage().Height(), 85 - 30 - 40 - 5 + 1);
  EXPECT_EQ(c.ScaleObjectY(1).MarginTop(), 30);
  EXPECT_EQ(c.ScaleObjectY(1).MarginBottom(), 40 + 5 - 1);
  EXPECT_EQ(c.ScaleObjectX(1).MarginRight(), 20 + 5 - 1);
}

struct LayoutCase {
  TrcLayout layout;
  std::array<int, 4> rims;
  std::array<bool, 4> visible;  // 1X, 1Y, 2X, 2Y
  std::array<TScaleType, 4> types;
  TCaptionAnchorHoriz anchor;
};

class StandardLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(StandardLayout, SetsRimsCaptionAndAxesWithOneRepaint) {
  const LayoutCase& k = GetParam();
  auto c = LiveChart();
  const int before = c->PaintCount();
  c->SetStandardLayout(k.layout);
  EXPECT_EQ(c->PaintCount(), before + 1);
  EXPECT_EQ((std::array{c->LRim(), c->RRim(), c->TRim(), c->BRim()}), k.rims);
  const std::array<const TScaleProps*, 4> axes{&c->Scale1X(), &c->Scale1Y(), &c->Scale2X(),
                                               &c->Scale2Y()};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(axes[i]->Visible(), k.visible[i]) << i;
    EXPECT_EQ(axes[i]->ScaleType(), k.types[i]) << i;
  }
  EXPECT_EQ(c->ScaleObjectY(2).ScaleType(), k.types[3]);
  EXPECT_EQ(c->ScaleObjectY(2).Visible(), k.visible[3]);
  EXPECT_EQ(c->CaptionAnchorHoriz(), k.anchor);
  EXPECT_EQ(c->StandardLayout(), rcl_X1Bottom_Y1Left);
}

INSTANTIATE_TEST_SUITE_P(All, StandardLayout,
                         ::testing::Values(LayoutCase{rcl_X1Bottom_Y1Left,
                                                      {50, 20, 20, 40},
                                                      {true, true, false, false},
                                                      {sctXT, sctYR, sctXT, sctYR},
                                                      cahChartRight},
                                           LayoutCase{rcl_X1Bottom_Y2Left,
                                                      {100, 20, 24, 40},
                                                      {true, true, false, true},
                                                      {sctXT, sctYR, sctXT, sctYR},
                                                      cahChartRight},
                                           LayoutCase{rcl_X1Bottom_Y2Both,
                                                      {50, 50, 24, 40},
                                                      {true, true, false, true},
                                                      {sctXT, sctYR, sctXT, sctYL},
                                                      cahChartCenter},
                                           LayoutCase{rcl_X2Bottom_Y2Left,
                                                      {100, 20, 24, 70},
                                                      {true, true, true, true},
                                                      {sctXT, sctYR, sctXT, sctYR},
                                                      cahChartRight},
                                           LayoutCase{rcl_X2Both_Y2Both,
                                                      {50, 50, 48, 40},
                                                      {true, true, true, true},
                                                      {sctXT, sctYR, sctXB, sctYL},
                                                      cahChartCenter}));

TEST(RChartAppearance, StandardLayoutPlacesAxesWithScalePos) {
  TRChart c;
  c.SetStandardLayout(rcl_X2Bottom_Y2Left);
  // Scale2X lies 30 px below the area's bottom edge, Scale2Y 50 px left of it.
  EXPECT_EQ(c.ScaleObjectX(2).MarginTop(), 200 - 70 + 30);
  const TScale& y2 = c.ScaleObjectY(2);
  EXPECT_EQ(y2.Width() - y2.MarginRight() - 1, 100 - 50);
  EXPECT_EQ(c.Scale2Y().CaptionPosY(), -23);
}

TEST(RChartAppearance, IsometricRule) {
  auto c = LiveChart();
  c->Scale1X().SetRangeHigh(100);
  c->Scale1Y().SetRangeHigh(5);
  const int before = c->PaintCount();
  c->SetIsometric(false);  // off: nothing changes, nothing repaints
  EXPECT_EQ(c->Scale1Y().RangeHigh(), 5);
  EXPECT_EQ(c->PaintCount(), before);
  c->SetIsometric(true);  // plot area 211 x 141
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 100.0 * 141 / 211);
  // While on, resizing keeps a world unit square.
  c->SetBounds(0, 0, 280 + 211, 200);
  EXPECT_DOUBLE_EQ(c->Scale1Y().RangeHigh(), 100.0 * 141 / 422);
}

TEST(RChartAppearance, BackgroundNameStripsThePathUnlessIncluded) {
  TRChart c;
  TBakGndImg& b = c.BackGroundImg();
  b.SetName("/home/user/pictures/sky.png");
  EXPECT_EQ(b.Name(), "sky.png");
  b.SetName("C:\\Bilder\\wolken.bmp");
  EXPECT_EQ(b.Name(), "wolken.bmp");
  b.SetName("D:bild.png");
  EXPECT_EQ(b.Name(), "bild.png");
  b.SetIncludePath(true);
  EXPECT_EQ(b.Name(), "bild.png");  // the path does not come back
  b.SetName("/tmp/a/b.png");
  EXPECT_EQ(b.Name(), "/tmp/a/b.png");
  b.SetIncludePath(false);
  EXPECT_EQ(b.Name(), "b.png");
}

TEST(RChartAppearance, SubObjectsStartAsCreatedAndRepaintOnChange) {
  auto c = LiveChart();
  EXPECT_EQ(c->CrossHair(3).Layer(), 3);
  EXPECT_EQ(c->CrossHair(4).Mode(), chOff);
  EXPECT_EQ(c->TextLabel(20).Number(), 20);
  EXPECT_EQ(c->TextLabel(1).Font().Height(), c->Font().Height());
  const int before = c->PaintCount();
  c->CrossHair(2).SetPosX(3);
  c->TextLabel(5).SetCaption("x");
  c->TextLabel(5).SetLayer(3);  // ignored, no notification
  c->BackGroundImg().SetFillMode(bfTile);
  EXPECT_EQ(c->PaintCount(), before + 3);
  EXPECT_EQ(c->TextLabel(5).Layer(), 1);
}

// --- when a change repaints ---------------------------------------------------------------

struct RepaintCase {
  const char* what;
  bool autoRedraw, designing, suppressed, visible;
  int repaints;  // by a property change that repaints with AutoRedraw
};

class RepaintRule : public ::testing::TestWithParam<RepaintCase> {};

TEST_P(RepaintRule, PropertyChangeLayerSelectionAndSubObjects) {
  const RepaintCase& k = GetParam();
  auto c = LiveChart();
  c->SetAutoRedraw(k.autoRedraw);
  c->SetDesigning(k.designing);
  c->SetVisible(k.visible);
  c->SetPaintSuppressed(k.suppressed);
  const int before = c->PaintCount();
  c->SetChartColor(clYellow);
  c->CrossHair(1).SetColor(clRed);
  EXPECT_EQ(c->PaintCount() - before, 2 * k.repaints) << k.what;
  c->SetActiveLayer(1);  // with AutoRedraw only (not for designing)
  const int layerRepaint = k.autoRedraw && !k.suppressed && (k.visible || k.designing) ? 1 : 0;
  EXPECT_EQ(c->PaintCount() - before, 2 * k.repaints + layerRepaint) << k.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RepaintRule,
    ::testing::Values(RepaintCase{"auto", true, false, false, true, 1},
                      RepaintCase{"manual", false, false, false, true, 0},
                      RepaintCase{"manual, designing", false, true, false, true, 1},
                      RepaintCase{"auto, suppressed", true, false, true, true, 0},
                      RepaintCase{"auto, hidden", true, false, false, false, 0},
                      RepaintCase{"hidden, designing", false, true, false, false, 1}));

TEST(RChartRepaint, SuppressionBatchesIntoOneRepaint) {
  auto c = LiveChart();
  const int before = c->PaintCount();
  c->SetPaintSuppressed(true);
  c->SetGridStyle(gsLines);
  c->Scale1X().SetRangeHigh(10);
  c->SetLayerRanges(1, 0, 0, 5, 5);
  EXPECT_EQ(c->PaintCount(), before);
  c->SetPaintSuppressed(false);
  EXPECT_EQ(c->PaintCount(), before + 1);
  c->SetPaintSuppressed(false);  // no change, no repaint
  EXPECT_EQ(c->PaintCount(), before + 1);
}

TEST(RChartRepaint, NothingPaintsWhileLoadingOrBeforeTheWindow) {
  TRChart c;
  c.SetChartColor(clRed);
  c.SetActiveLayer(1);
  EXPECT_EQ(c.PaintCount(), 0);
  c.HandleNeeded();  // the window: suppression ends with one repaint
  EXPECT_EQ(c.PaintCount(), 1);
  LoadControl(c, [&] {
    c.SetCaption("x");
    c.Scale1X().SetRangeHigh(100);
    EXPECT_EQ(c.PaintCount(), 1);
  });
  EXPECT_EQ(c.PaintCount(), 2);  // the end of loading repaints
  EXPECT_FALSE(c.Scale1X().LoadingFlag());
}

TEST(RChartRepaint, ItemChangesNeverRepaint) {
  auto c = LiveChart();
  const int before = c->PaintCount();
  c->SetDataColor(clRed);
  c->AddLine(0, 0, 1, 1);
  c->MoveToPoint(0, 0);
  c->ClearItems();
  c->SetAllocSize(10);
  EXPECT_EQ(c->PaintCount(), before);
  c->SetAutoRedraw(false);
  c->ShowItems();  // without AutoRedraw: a full repaint
  EXPECT_EQ(c->PaintCount(), before + 1);
}

}  // namespace

}  // namespace travenel
