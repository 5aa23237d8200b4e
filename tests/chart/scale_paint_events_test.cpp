// When a scale paints and what it tells its handlers: the rendering and tick
// events and their order, Redraw through the host or at once, suppression,
// hidden scales, the Qt host, and copying one scale's settings to another.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <string>
#include <vector>

#include "travenel/chart/Scale.h"
#include "scale_paint_util.h"
#include "scale_test_util.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

// An axis of the chart: drawn transparently onto `target` when asked to.
void MakeEmbedded(TScale& s, TBitmap& target) {
  s.SetPaintSuppressed(true);
  s.SetEmbedded(true);
  s.SetTransparent(true);
  s.SetFrameStyle(fsNone);
  s.SetTarget(&target.Canvas(), 0, 0);
}

TEST(ScaleEvents, BeforeRenderedRunsFirstWithTheTargetSurface) {
  for (bool transparent : {true, false}) {
    TBitmap target(400, 400);
    TScale s;
    s.SetTransparent(transparent);
    s.SetEmbedded(true);
    s.SetTarget(&target.Canvas(), 0, 0);
    int ticks = 0, before = 0;
    s.OnScaleTickDrawn = [&](TScale&, TCanvas&, TScaleType, double, int, int) { ++ticks; };
    s.OnBeforeScaleRendered = [&](TScale& sender, TCanvas& c) {
      ++before;
      EXPECT_EQ(&sender, &s);
      EXPECT_EQ(&c, &target.Canvas());
      EXPECT_EQ(ticks, 0);
      EXPECT_FALSE(InkIn(c, Rect(0, 0, 400, 400), clWhite));  // nothing drawn yet
    };
    s.PaintNow();
    EXPECT_EQ(before, 1);
    EXPECT_GT(ticks, 0);
  }
}

TEST(ScaleEvents, AfterRenderedGetsTheSurfaceDrawnOn) {
  // Transparent: the target, with everything drawn.
  TBitmap target(400, 400);
  TScale t;
  MakeEmbedded(t, target);
  int after = 0;
  t.OnAfterScaleRendered = [&](TScale&, TCanvas& c) {
    ++after;
    EXPECT_EQ(&c, &target.Canvas());
    EXPECT_EQ(c.Pixels(200, 379), clBlack);  // the base line is in
  };
  t.PaintNow();
  EXPECT_EQ(after, 1);

  // Opaque: the off-screen image, after the scale and before the frame.
  TScale o;
  o.OnAfterScaleRendered = [&](TScale&, TCanvas& c) {
    ++after;
    EXPECT_NE(&c, &o.Canvas());
    EXPECT_EQ(c.Width(), 400);
    EXPECT_EQ(c.Pixels(200, 379), clBlack);
    EXPECT_EQ(c.Pixels(0, 200), FaceColor());  // no frame yet
    c.Pen.Color = clRed;
    c.MoveTo(100, 100);
    c.LineTo(110, 100);  // drawn on the image, so it reaches the control's surface
  };
  o.PaintNow();
  EXPECT_EQ(after, 2);
  EXPECT_EQ(o.Canvas().Pixels(105, 100), clRed);
  EXPECT_EQ(o.Canvas().Pixels(0, 200), clGray);
}

TEST(ScaleEvents, TickEventForEveryTickInDrawingOrder) {
  for (TScaleType type : {sctXB, sctYR}) {
    TScale s;
    s.SetScaleType(type);
    s.SetRangeLow(-1);
    s.SetRangeHigh(1);
    struct Seen {
      double value;
      int x, y;
    };
    std::vector<Seen> seen;
    s.OnScaleTickDrawn = [&](TScale& sender, TCanvas& c, TScaleType t, double v, int x, int y) {
      EXPECT_EQ(&sender, &s);
      EXPECT_NE(&c, &s.Canvas());  // an opaque scale draws on its off-screen image
      EXPECT_EQ(c.Width(), 400);
      EXPECT_EQ(t, type);
      seen.push_back({v, x, y});
    };
    s.PaintNow();
    const TTickList expected = s.TickLayout();
    ASSERT_EQ(seen.size(), expected.Ticks.size());
    const int base = 379;  // the bottom line of sctXB, the right line of sctYR
    for (std::size_t i = 0; i < seen.size(); ++i) {
      const TScaleTick& t = expected.Ticks[i];
      EXPECT_EQ(seen[i].value, t.EventValue) << i;
      const int p = s.ValueToPixel(t.Value);
      EXPECT_EQ(seen[i].x, type == sctXB ? p : base) << i;
      EXPECT_EQ(seen[i].y, type == sctXB ? base : p) << i;
    }
  }
}

struct OrderCase {
  const char* name;
  TScaleType type;
  ScaleSetup setup;
  bool datetime;  // range and label type of a date/time axis
  bool eventBeforeLabel;
};

class ScaleEventOrder : public ::testing::TestWithParam<OrderCase> {};

// Whether a labelled tick's label is already on the surface when its event comes.
TEST_P(ScaleEventOrder, TickEventBeforeOrAfterTheLabel) {
  const OrderCase& c = GetParam();
  TScale s;
  s.SetFrameStyle(fsNone);
  Apply(s, c.setup);
  s.SetScaleType(c.type);
  if (c.datetime) {
    s.SetLabelType(ftDateTime);
    s.SetRangeLow(45000);
    s.SetRangeHigh(45000.5);
  }
  const TTickList list = s.TickLayout();
  int labelled = 0;
  std::size_t event = 0;  // events come in the list's order
  s.OnScaleTickDrawn = [&](TScale&, TCanvas& cv, TScaleType, double v, int x, int y) {
    ASSERT_LT(event, list.Ticks.size());
    const TScaleTick& t = list.Ticks[event++];
    if (!t.Long || t.Label.empty()) return;
    ++labelled;
    // The band where the label goes, beside the tick.
    const int h = cv.TextHeight("0");
    TRect band;
    switch (c.type) {
      case sctXB: band = Rect(x - 8, y - 7 - h, x + 9, y - 7); break;
      case sctXT: band = Rect(x - 8, y + 7, x + 9, y + 7 + h); break;
      case sctYL: band = Rect(x + 8, y - h / 2, x + 40, y + h / 2); break;
      case sctYR: band = Rect(x - 40, y - h / 2, x - 8, y + h / 2); break;
    }
    EXPECT_EQ(InkIn(cv, band, FaceColor()), !c.eventBeforeLabel) << "tick " << v;
  };
  s.PaintNow();
  EXPECT_GE(labelled, 3);
  EXPECT_EQ(list.EventBeforeLabel, c.eventBeforeLabel);
}

ScaleSetup Log() {
  ScaleSetup c{1, 1000};
  c.logarithmic = true;
  return c;
}
ScaleSetup Time() {
  ScaleSetup c{0, 3600};
  c.labelType = ftTime;
  return c;
}

INSTANTIATE_TEST_SUITE_P(Passes, ScaleEventOrder,
                         ::testing::Values(OrderCase{"HorizontalLinear", sctXB, {}, false, false},
                                           OrderCase{
                                               "HorizontalLinearTop", sctXT, {}, false, false},
                                           OrderCase{"VerticalLinear", sctYL, {}, false, true},
                                           OrderCase{"VerticalLinearRight", sctYR, {}, false, true},
                                           OrderCase{"HorizontalLog", sctXB, Log(), false, true},
                                           OrderCase{"VerticalLog", sctYR, Log(), false, true},
                                           OrderCase{"HorizontalTime", sctXT, Time(), false, false},
                                           OrderCase{"VerticalTime", sctYL, Time(), false, false},
                                           OrderCase{"HorizontalDateTime", sctXB, {}, true, false},
                                           OrderCase{"VerticalDateTime", sctYL, {}, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleRedraw, TransparentStandAloneScaleLeavesItToTheHost) {
  TScale s;
  s.SetParentColor(clAqua);
  s.SetTransparent(true);
  s.Repaint();  // what the host does: the parent's colour, then Paint
  PaintCounter count(s);
  s.SetCaption("x");
  EXPECT_EQ(count.paints, 0);
  EXPECT_TRUE(s.PaintPending());
  s.Repaint();
  EXPECT_EQ(count.paints, 1);
  EXPECT_EQ(s.Canvas().Pixels(200, 200), clAqua);  // the parent shows through
  EXPECT_EQ(s.Canvas().Pixels(0, 0), clAqua);      // no frame
  EXPECT_EQ(s.Canvas().Pixels(200, 379), clBlack);
}

TEST(ScaleRedraw, EmbeddedScaleDrawsOnlyWhenAskedTo) {
  TBitmap target(400, 400);
  TScale s;
  MakeEmbedded(s, target);
  PaintCounter count(s);
  s.SetRangeHigh(50);
  s.SetCaption("axis");
  s.SetTarget(&target.Canvas(), 0, 0);  // binding never repaints
  EXPECT_EQ(count.paints, 0);
  EXPECT_FALSE(InkIn(target.Canvas(), Rect(0, 0, 400, 400), clWhite));
  s.PaintNow();
  EXPECT_EQ(count.paints, 1);
  EXPECT_TRUE(s.PaintSuppressed());  // restored
  EXPECT_EQ(target.Canvas().Pixels(200, 379), clBlack);
  EXPECT_EQ(s.NumTicks(), 26);  // 0 .. 50 in short steps of 2
}

TEST(ScaleRedraw, SuppressionBatchesChangesIntoOnePaint) {
  TScale s;
  PaintCounter count(s);
  s.SetPaintSuppressed(true);
  s.SetRangeLow(10);
  s.SetMinTicks(5);
  s.SetColorScale(clRed);
  EXPECT_EQ(count.paints, 0);
  s.SetPaintSuppressed(false);
  EXPECT_EQ(count.paints, 1);
  s.SetPaintSuppressed(false);  // unchanged: nothing
  EXPECT_EQ(count.paints, 1);
  EXPECT_EQ(s.Canvas().Pixels(200, 379), clRed);
}

TEST(ScaleRedraw, EmbeddedFlagFontAndVisibilityRepaintOnChange) {
  TScale s;
  PaintCounter count(s);
  s.SetEmbedded(false);
  EXPECT_EQ(count.paints, 0);
  s.SetEmbedded(true);
  EXPECT_EQ(count.paints, 1);
  s.Font().SetHeight(14);
  EXPECT_EQ(count.paints, 2);
  EXPECT_EQ(s.Canvas().Font().Height(), 14);
  s.SetVisible(true);  // unchanged
  EXPECT_EQ(count.paints, 2);
}

TEST(ScaleRedraw, AHandlersChangeDoesNotStartAPaintInsideThePaint) {
  TScale s;
  int paints = 0;
  s.OnBeforeScaleRendered = [&](TScale& sender, TCanvas&) {
    ++paints;
    sender.SetCaption("changed while painting");
  };
  s.OnScaleTickDrawn = [](TScale& sender, TCanvas&, TScaleType, double, int, int) {
    sender.SetColorScale(sender.ColorScale() == clBlack ? clNavy : clBlack);
  };
  s.PaintNow();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(s.Caption(), "changed while painting");
}

struct HiddenCase {
  const char* name;
  bool designing, embedded;
  bool painted;
};

class ScaleHidden : public ::testing::TestWithParam<HiddenCase> {};

TEST_P(ScaleHidden, PaintedOnlyWhileDesigningAStandAloneScale) {
  const HiddenCase& c = GetParam();
  TBitmap target(400, 400);
  TScale s;
  if (c.embedded) MakeEmbedded(s, target);
  s.SetDesigning(c.designing);
  s.SetVisible(false);
  PaintCounter count(s);
  s.PaintNow();
  s.Repaint();  // as the host would
  EXPECT_EQ(count.paints > 0, c.painted);
}

INSTANTIATE_TEST_SUITE_P(States, ScaleHidden,
                         ::testing::Values(HiddenCase{"StandAlone", false, false, false},
                                           HiddenCase{"StandAloneDesigning", true, false, true},
                                           HiddenCase{"Embedded", false, true, false},
                                           HiddenCase{"EmbeddedDesigning", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleHost, ShownInAQtWindowOpaqueOrTransparent) {
  TScale s;
  s.SetParentColor(clYellow);
  QtHost host(s);
  QImage shown = host.grab().toImage();
  ASSERT_EQ(shown.width(), 400);
  EXPECT_EQ(PixelToRgb(shown.pixel(200, 379)), clBlack);
  EXPECT_EQ(PixelToRgb(shown.pixel(200, 200)), FaceColor());
  EXPECT_EQ(PixelToRgb(shown.pixel(0, 200)), clGray);  // the frame

  s.SetTransparent(true);
  shown = host.grab().toImage();
  EXPECT_EQ(PixelToRgb(shown.pixel(200, 379)), clBlack);
  EXPECT_EQ(PixelToRgb(shown.pixel(200, 200)), clYellow);
  EXPECT_EQ(PixelToRgb(shown.pixel(0, 200)), clYellow);
}

// A source scale whose every copied setting differs from a new scale's.
void SetUpSource(TScale& src, TBitmap& target, int& tickEvents) {
  src.SetFrameStyle(fsEngraved);
  src.SetColorBackGnd(clWhite);
  src.SetColorScale(clNavy);
  src.SetColorScheme(csSystem);
  src.OnScaleTickDrawn = [&](TScale&, TCanvas&, TScaleType, double, int, int) { ++tickEvents; };
  src.SetRangeHigh(500);
  src.SetShortTicks(false);
  src.SetMinTicks(7);
  src.SetLabelType(ftTime);  // DecPlaces 4 ...
  src.SetDecPlaces(2);       // ... then 2: a copy that ran the setters would end with 4
  src.SetShowBaseLine(false);
  src.DateFormat().SetDateSeparator('/');
  src.DateFormat().SetYearLength(ylYY);
  src.SetMarginTop(1);
  src.SetMarginBottom(2);
  src.SetMarginLeft(3);
  src.SetMarginRight(4);
  src.SetCaptionPosX(-7);
  src.SetCaptionPosY(9);
  src.SetUserTickText("a|b");
  src.SetScaleInscript("&%");
  src.SetCaption("source");
  src.SetCaptionAnchor(uaSclBotRgt);
  src.SetCaptionAlignment(taRightJustify);
  src.SetTarget(&target.Canvas(), 5, 6);
  src.SetScaleType(sctYR);
  src.SetBounds(0, 0, 300, 250);  // the mapping of another size and type
  // Taken while initialising although RangeLow is 0; the mapping stays linear.
  src.SetLogarithmic(true);
  src.PaintNow();  // fills the tick list (clock-time ticks)
  src.SetTransparent(true);
  src.SetPaintSuppressed(true);
  src.Font().SetHeight(20);
  src.SetEmbedded(true);
  src.OnBeforeScaleRendered = [](TScale&, TCanvas&) {};
  src.OnAfterScaleRendered = [](TScale&, TCanvas&) {};
}

TEST(ScaleCopy, CopyFromTakesTheListedSettingsAsTheyAre) {
  TBitmap target(400, 400);
  int tickEvents = 0;
  TScale src;
  SetUpSource(src, target, tickEvents);
  ASSERT_GT(src.NumTicks(), 0);

  TScale dst;
  LoadControl(dst, [] {});  // finished loading: its setters would check
  int paints = 0;
  dst.OnBeforeScaleRendered = [&](TScale&, TCanvas&) { ++paints; };
  dst.CopyFrom(src);

  EXPECT_EQ(dst.FrameStyle(), fsEngraved);
  EXPECT_EQ(dst.ColorBackGnd(), clWhite);
  EXPECT_EQ(dst.ColorScale(), clNavy);
  EXPECT_EQ(dst.ColorScheme(), csSystem);
  EXPECT_EQ(dst.FrameShadowColor(), clBtnShadow);
  EXPECT_EQ(dst.FrameHighlightColor(), clBtnHighlight);
  EXPECT_EQ(dst.FrameDarkColor(), clBlack);
  EXPECT_TRUE(dst.Logarithmic());  // the setter would refuse it with RangeLow 0
  EXPECT_EQ(dst.ScaleFactor(), src.ScaleFactor());
  EXPECT_EQ(dst.ScaleOffset(), src.ScaleOffset());
  EXPECT_EQ(dst.RangeLow(), 0);
  EXPECT_EQ(dst.RangeHigh(), 500);
  EXPECT_FALSE(dst.ShortTicks());
  EXPECT_EQ(dst.NumTicks(), src.NumTicks());
  EXPECT_EQ(dst.TickPositions(), src.TickPositions());
  EXPECT_EQ(dst.MinTicks(), 7);
  EXPECT_EQ(dst.DecPlaces(), 2);
  EXPECT_FALSE(dst.ShowBaseLine());
  EXPECT_TRUE(dst.Transparent());
  EXPECT_EQ(dst.LabelType(), ftTime);
  EXPECT_TRUE(dst.DateFormat().SameValues(src.DateFormat()));
  EXPECT_NE(&dst.DateFormat(), &src.DateFormat());
  EXPECT_EQ(dst.MarginTop(), 1);
  EXPECT_EQ(dst.MarginBottom(), 2);
  EXPECT_EQ(dst.MarginLeft(), 3);
  EXPECT_EQ(dst.MarginRight(), 4);
  EXPECT_EQ(dst.CaptionPosX(), -7);
  EXPECT_EQ(dst.CaptionPosY(), 9);
  EXPECT_EQ(dst.UserTickText(), "a|b");
  EXPECT_EQ(dst.ScaleInscript(), "&%");
  EXPECT_EQ(dst.Caption(), "source");
  EXPECT_EQ(dst.CaptionAnchor(), uaSclBotRgt);
  EXPECT_EQ(dst.CaptionAlignment(), taRightJustify);
  EXPECT_EQ(dst.TargetCanvas(), &target.Canvas());
  EXPECT_EQ(dst.TargetOffsetX(), 5);
  EXPECT_EQ(dst.TargetOffsetY(), 6);
  EXPECT_EQ(dst.ScaleType(), sctYR);
  EXPECT_TRUE(dst.PaintSuppressed());
  ASSERT_TRUE(dst.OnScaleTickDrawn);

  // Not copied: the font, Embedded, Initialising, the two rendering events, the size.
  EXPECT_EQ(dst.Font().Height(), 11);
  EXPECT_FALSE(dst.Embedded());
  EXPECT_FALSE(dst.Initialising());
  EXPECT_FALSE(dst.OnAfterScaleRendered);
  EXPECT_EQ(dst.Width(), 400);
  // Redraw ran once, and found painting suppressed.
  EXPECT_EQ(paints, 0);

  // The copied tick handler is the source's.
  dst.SetPaintSuppressed(false);
  dst.Repaint();  // a transparent scale is painted by its host
  EXPECT_GT(tickEvents, 0);
  EXPECT_EQ(paints, 1);
}

TEST(ScaleCopy, CopyToGoesThroughTheDestinationsCopyFrom) {
  TScale a, b;
  a.SetCaption("from a");
  a.SetRangeHigh(7);
  a.CopyTo(b);
  EXPECT_EQ(b.Caption(), "from a");
  EXPECT_EQ(b.RangeHigh(), 7);
  a.CopyFrom(a);  // onto itself: nothing changes
  EXPECT_EQ(a.Caption(), "from a");
}

TEST(ScaleCopy, OtherControlsCannotBeCopied) {
  TControl other(TControl::Kind::Graphic);
  other.SetName("Panel1");
  TScale s;
  EXPECT_THROW(s.CopyFrom(other), EUlxError);
  EXPECT_THROW(s.CopyTo(other), EUlxError);
  EXPECT_EQ(s.Caption(), "");
}

}  // namespace

}  // namespace travenel
