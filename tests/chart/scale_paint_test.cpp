// Painting of the scale, pixel for pixel: base line, ticks, labels and their
// placement, captions, date lines and the date/time messages, the frame, and
// where the picture lands on a target surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "travenel/chart/Scale.h"
#include "scale_paint_util.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

// The base line of a scale by its type (as its drawing operations get it).
int BaseOf(const TScale& s) {
  switch (s.ScaleType()) {
    case sctXT: return s.MarginTop();
    case sctYL: return s.MarginLeft();
    case sctYR: return s.Width() - s.MarginRight() - 1;
    default: return s.Height() - s.MarginBottom() - 1;
  }
}

// A pixel at distance k from the base line towards the labels, at position p along the axis.
TColor TowardsLabels(const TScale& s, int p, int k) {
  const int b = BaseOf(s);
  const TCanvas& c = s.WindowImage().Canvas();
  switch (s.ScaleType()) {
    case sctXT: return c.Pixels(p, b + k);
    case sctYL: return c.Pixels(b + k, p);
    case sctYR: return c.Pixels(b - k, p);
    default: return c.Pixels(p, b - k);
  }
}

std::string TypeName(const ::testing::TestParamInfo<TScaleType>& info) {
  static const char* const kNames[] = {"XB", "XT", "YL", "YR"};
  return kNames[info.param];
}

TEST(ScalePaint, DefaultStandAloneScale) {
  TScale s;
  s.PaintNow();
  const TCanvas& c = s.Canvas();
  const TColor bg = FaceColor();

  // The base line from its first to its last pixel.
  for (int x = 20; x <= 379; ++x) ASSERT_EQ(c.Pixels(x, 379), clBlack) << x;
  EXPECT_EQ(c.Pixels(19, 379), bg);
  EXPECT_EQ(c.Pixels(380, 379), bg);

  // Long ticks 7 pixels up from the base line, with their labels above them.
  const int longX[] = {20, 92, 164, 235, 307, 379};
  const char* const labels[] = {"0", "20", "40", "60", "80", "100"};
  for (int i = 0; i < 6; ++i) {
    const int x = longX[i];
    for (int y = 373; y <= 379; ++y) EXPECT_EQ(c.Pixels(x, y), clBlack) << x << "," << y;
    EXPECT_EQ(c.Pixels(x, 372), bg) << x;
    const int h = c.TextHeight(labels[i]);
    EXPECT_TRUE(TextAt(c, x - c.TextWidth(labels[i]) / 2, 379 - 7 - h, labels[i], bg));
  }

  // Short ticks every 5 units: just above the base line every tick shows,
  // five pixels up only the long ones.
  std::set<int> tickX;
  for (int v = 0; v <= 100; v += 5) tickX.insert(s.ValueToPixel(v));
  ASSERT_EQ(tickX.size(), 21u);
  for (int x = 2; x < 398; ++x) {  // inside the frame
    EXPECT_EQ(c.Pixels(x, 378) == clBlack, tickX.count(x) == 1) << x;
    EXPECT_EQ(c.Pixels(x, 374) == clBlack, std::count(longX, longX + 6, x) == 1) << x;
    EXPECT_EQ(c.Pixels(x, 375) == clBlack, c.Pixels(x, 374) == clBlack) << x;  // short: 4 pixels
  }

  // A lowered frame: grey and white outside, black and silver inside.
  EXPECT_EQ(c.Pixels(0, 200), clGray);
  EXPECT_EQ(c.Pixels(200, 0), clGray);
  EXPECT_EQ(c.Pixels(399, 200), clWhite);
  EXPECT_EQ(c.Pixels(200, 399), clWhite);
  EXPECT_EQ(c.Pixels(1, 200), clBlack);
  EXPECT_EQ(c.Pixels(200, 1), clBlack);
  EXPECT_EQ(c.Pixels(398, 200), clSilver);
  EXPECT_EQ(c.Pixels(200, 398), clSilver);
  EXPECT_EQ(c.Pixels(200, 200), bg);

  // The tick list is that of the pass: the short ticks of a horizontal scale.
  EXPECT_EQ(s.NumTicks(), 21);
}

class ScaleTickGeometry : public ::testing::TestWithParam<TScaleType> {};

TEST_P(ScaleTickGeometry, TicksAndLabelsPointAwayFromTheEdge) {
  TScale s;
  s.SetBounds(0, 0, 300, 200);
  s.SetScaleType(GetParam());
  s.SetFrameStyle(fsNone);
  const TCanvas& c = s.Canvas();
  const TColor bg = FaceColor();
  const bool vertical = s.Vertical();
  const int longLength = vertical ? 6 : 7;

  const int pLong = s.ValueToPixel(40), pShort = s.ValueToPixel(45);
  for (int k = 0; k < longLength; ++k) EXPECT_EQ(TowardsLabels(s, pLong, k), clBlack) << k;
  EXPECT_EQ(TowardsLabels(s, pLong, longLength), bg);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(TowardsLabels(s, pShort, k), clBlack) << k;
  EXPECT_EQ(TowardsLabels(s, pShort, 4), bg);
  EXPECT_EQ(TowardsLabels(s, pShort, -1), bg);  // nothing on the far side of the line

  const int b = BaseOf(s);
  const int w = c.TextWidth("40"), h = c.TextHeight("40");
  switch (GetParam()) {
    case sctXB: EXPECT_TRUE(TextAt(c, pLong - w / 2, b - 7 - h, "40", bg)); break;
    case sctXT: EXPECT_TRUE(TextAt(c, pLong - w / 2, b + 7, "40", bg)); break;
    case sctYL: EXPECT_TRUE(TextAt(c, b + 8, pLong - h / 2, "40", bg)); break;
    case sctYR: EXPECT_TRUE(TextAt(c, b - w - 8, pLong - h / 2, "40", bg)); break;
  }
}

INSTANTIATE_TEST_SUITE_P(Types, ScaleTickGeometry, ::testing::Values(sctXB, sctXT, sctYL, sctYR),
                         TypeName);

struct HorizontalLabelCase {
  const char* name;
  TScaleType type;
  const char* text;
  std::function<int(int w)> p;            // the tick's pixel, by the text's width
  std::function<int(int p, int w)> left;  // where the text must start
};

class ScaleHorizontalLabel : public ::testing::TestWithParam<HorizontalLabelCase> {};

TEST_P(ScaleHorizontalLabel, PlacedByTheEdgeRules) {
  const HorizontalLabelCase& c = GetParam();
  TScale s;  // 400 pixels wide
  s.SetScaleType(c.type);
  TBitmap target(400, 100);
  TCanvas& t = target.Canvas();
  t.Font() = s.Font();
  t.Brush.Style = bsClear;
  const int w = t.TextWidth(c.text), h = t.TextHeight(c.text);
  const int p = c.p(w);
  const int y = 50;
  s.PlaceHorizontalLabel(t, p, y, c.text);
  EXPECT_TRUE(TextAt(t, c.left(p, w), c.type == sctXT ? y + 7 : y - 7 - h, c.text, clWhite))
      << "tick at " << p << ", text width " << w;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScaleHorizontalLabel,
    ::testing::Values(
        HorizontalLabelCase{"Centred", sctXB, "100", [](int) { return 200; },
                            [](int p, int w) { return p - w / 2; }},
        HorizontalLabelCase{"CentredBelowOnXT", sctXT, "100", [](int) { return 200; },
                            [](int p, int w) { return p - w / 2; }},
        // Its right half would reach width - 2: the text ends there instead.
        HorizontalLabelCase{"RightEdge", sctXB, "100", [](int) { return 395; },
                            [](int, int w) { return 400 - 2 * (w / 2) - 2; }},
        HorizontalLabelCase{"RightEdgeExactly", sctXT, "12345", [](int w) { return 398 - w / 2; },
                            [](int, int w) { return 400 - 2 * (w / 2) - 2; }},
        HorizontalLabelCase{"JustInsideTheRightEdge", sctXB, "12345",
                            [](int w) { return 397 - w / 2; },
                            [](int p, int w) { return p - w / 2; }},
        // A tick at x = 5 with a label at least 6 pixels wide: the text starts at x = 2.
        HorizontalLabelCase{"NearTheLeftEdge", sctXB, "$1000", [](int) { return 5; },
                            [](int, int) { return 2; }},
        HorizontalLabelCase{"NarrowNearTheLeftEdge", sctXB, "1", [](int) { return 5; },
                            [](int p, int w) { return p - w / 2; }},
        HorizontalLabelCase{"AtZero", sctXT, "1000", [](int) { return 0; },
                            [](int, int) { return 2; }},
        HorizontalLabelCase{"LeftOfTheControl", sctXB, "1000", [](int) { return -40; },
                            [](int, int) { return 2; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScalePaint, LabelsOfTheEndTicksStayInsideTheControl) {
  // The first tick at x = 5 and the last at x = 399: both labels are pulled in.
  TScale s;
  s.SetFrameStyle(fsNone);
  s.SetMarginLeft(5);
  s.SetMarginRight(0);
  s.SetScaleInscript("$&");
  const TCanvas& c = s.Canvas();
  const int h = c.TextHeight("$0");
  ASSERT_GE(c.TextWidth("$0"), 6);
  EXPECT_TRUE(TextAt(c, 2, 379 - 7 - h, "$0", FaceColor()));
  const int w = c.TextWidth("$100");
  EXPECT_TRUE(TextAt(c, 400 - 2 * (w / 2) - 2, 379 - 7 - h, "$100", FaceColor()));
}

TEST(ScalePaint, WithoutBaseLineOnlyTheTicksTouchIt) {
  TScale s;
  s.SetShowBaseLine(false);
  const TCanvas& c = s.Canvas();
  std::set<int> tickX;
  for (int v = 0; v <= 100; v += 5) tickX.insert(s.ValueToPixel(v));
  for (int x = 2; x < 398; ++x) EXPECT_EQ(c.Pixels(x, 379) == clBlack, tickX.count(x) == 1) << x;
  EXPECT_TRUE(
      TextAt(c, 164 - c.TextWidth("40") / 2, 379 - 7 - c.TextHeight("40"), "40", FaceColor()));
}

struct CaptionCase {
  const char* name;
  bool vertical;
  TScaleUnitAnchor anchor;
  TAlignment alignment;
  int nearMargin, farMargin;  // left and right, or top and bottom
  int anchorAt;               // the anchor's coordinate along the axis (CaptionPos included)
};

class ScaleCaption : public ::testing::TestWithParam<CaptionCase> {};

// A 400 x 400 scale with CaptionPosX 150 (vertical) or 3 (horizontal) and
// CaptionPosY 6: the caption goes beside the base line, clear of the labels.
void SetUpCaptionScale(TScale& s, const CaptionCase& c) {
  s.SetFrameStyle(fsNone);
  s.SetScaleType(c.vertical ? sctYL : sctXB);
  if (c.vertical) {
    s.SetMarginTop(c.nearMargin);
    s.SetMarginBottom(c.farMargin);
  } else {
    s.SetMarginLeft(c.nearMargin);
    s.SetMarginRight(c.farMargin);
  }
  s.SetCaptionPosX(c.vertical ? 150 : 3);
  s.SetCaptionPosY(6);
}

TEST_P(ScaleCaption, PlacedByAnchorAndAlignment) {
  const CaptionCase& c = GetParam();
  TScale s;
  SetUpCaptionScale(s, c);
  s.SetCaptionAnchor(c.anchor);
  s.SetCaptionAlignment(c.alignment);
  const std::string text = "Caption Wg";
  s.SetCaption(text);
  const TCanvas& cv = s.Canvas();
  const int tw = cv.TextWidth(text);
  const int shift = c.alignment == taLeftJustify ? 0 : c.alignment == taRightJustify ? tw : tw / 2;
  // Across the axis the caption is CaptionPos away from the base line.
  if (c.vertical)
    EXPECT_TRUE(TextAt(cv, 150 + 20 - shift, c.anchorAt, text, FaceColor()));
  else
    EXPECT_TRUE(TextAt(cv, c.anchorAt - shift, 6 + 379, text, FaceColor()));

  // An empty caption draws nothing, whatever its anchor and alignment.
  TScale plain;
  SetUpCaptionScale(plain, c);
  s.SetCaption("");
  EXPECT_TRUE(s.Canvas().Image() == plain.Canvas().Image());
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, ScaleCaption,
    ::testing::Values(
        CaptionCase{"HorizTopLftLeft", false, uaSclTopLft, taLeftJustify, 20, 41, 3 + 20},
        CaptionCase{"HorizTopLftRight", false, uaSclTopLft, taRightJustify, 20, 41, 3 + 20},
        // (400 - 20 - 41) div 2 = 169 after the left margin.
        CaptionCase{"HorizCenterCenter", false, uaSclCenter, taCenter, 20, 41, 3 + 20 + 169},
        CaptionCase{"HorizCenterLeft", false, uaSclCenter, taLeftJustify, 20, 41, 3 + 20 + 169},
        // (400 - 250 - 251) div 2 = -50: div truncates toward zero.
        CaptionCase{"HorizCenterNoLength", false, uaSclCenter, taLeftJustify, 250, 251,
                    3 + 250 - 50},
        CaptionCase{"HorizBotRgtRight", false, uaSclBotRgt, taRightJustify, 20, 41, 3 + 359},
        CaptionCase{"HorizBotRgtCenter", false, uaSclBotRgt, taCenter, 20, 41, 3 + 359},
        CaptionCase{"VertTopLftLeft", true, uaSclTopLft, taLeftJustify, 20, 41, 6 + 20},
        CaptionCase{"VertCenterCenter", true, uaSclCenter, taCenter, 20, 41, 6 + 20 + 169},
        CaptionCase{"VertBotRgtRight", true, uaSclBotRgt, taRightJustify, 20, 41, 6 + 359}),
    [](const auto& info) { return std::string(info.param.name); });

class ScaleDateTimeMessage : public ::testing::TestWithParam<TScaleType> {};

TEST_P(ScaleDateTimeMessage, ReversedRangeWritesInvalidDateTimeScale) {
  TScale s;
  s.SetFrameStyle(fsNone);
  s.SetScaleType(GetParam());
  s.SetLabelType(ftDateTime);
  s.SetRangeLow(45001);
  s.SetRangeHigh(45000);
  const TCanvas& c = s.Canvas();
  const TColor bg = FaceColor();
  EXPECT_EQ(s.NumTicks(), 0);
  const int b = BaseOf(s);
  const int middle = s.ValueToPixel(45000.5);
  if (!s.Vertical()) {
    // One line centred on the middle of the range, below the base line on both types.
    const std::string text = "invalid DateTime scale";
    EXPECT_TRUE(TextAt(c, middle - c.TextWidth(text) / 2, b + 7, text, bg));
    return;
  }
  // One word group per line, the second on the middle.
  const int h = c.TextHeight("T");
  const char* const lines[] = {"invalid", "DateTime", "scale"};
  for (int i = 0; i < 3; ++i) {
    const int w = c.TextWidth(lines[i]);
    const int x = GetParam() == sctYR ? b - w - 2 : b + 2;
    EXPECT_TRUE(TextAt(c, x, middle - h + i * h, lines[i], bg));
  }
  // No tick: the base line stands alone.
  EXPECT_EQ(c.Pixels(GetParam() == sctYR ? b - 1 : b + 1, s.ValueToPixel(45000)), bg);
}

INSTANTIATE_TEST_SUITE_P(Types, ScaleDateTimeMessage, ::testing::Values(sctXB, sctXT, sctYL, sctYR),
                         TypeName);

TEST(ScalePaint, RangeBelowOneSecondOnFourLines) {
  TScale s;
  s.SetFrameStyle(fsNone);
  s.SetScaleType(sctYL);
  s.SetLabelType(ftDateTime);
  s.SetRangeLow(45000);
  s.SetRangeHigh(45000 + 1e-8);
  const TCanvas& c = s.Canvas();
  const int h = c.TextHeight("T");
  const int middle = s.ValueToPixel(45000 + 0.5e-8);
  const char* const lines[] = {"DateTime", "range is", "below 1", "second"};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(TextAt(c, 20 + 2, middle - h + i * h, lines[i], FaceColor())) << lines[i];
}

// 15-Mar-2023 00:00 .. 12:00 in steps of 3 hours; the first label has the date.
void SetUpHours(TScale& s, TScaleType type) {
  s.SetFrameStyle(fsNone);
  s.SetScaleType(type);
  s.SetLabelType(ftDateTime);
  s.SetRangeLow(45000);
  s.SetRangeHigh(45000.5);
}

TEST(ScalePaint, HorizontalDateGoesOneLineFurtherOut) {
  TScale s;
  SetUpHours(s, sctXB);
  const TCanvas& c = s.Canvas();
  const std::string time = "00:00", date = "15-Mar-2023";
  const int h = c.TextHeight(time), hd = c.TextHeight(date);
  const int p = s.ValueToPixel(45000);  // x = 20: the wide date starts at x = 2
  EXPECT_TRUE(TextAt(c, std::max(2, p - c.TextWidth(time) / 2), 379 - 7 - h, time, FaceColor()));
  EXPECT_TRUE(TextAt(c, 2, 379 - hd - 7 - hd, date, FaceColor()));
  // The 12:00 tick has no date (same day).
  const int p12 = s.ValueToPixel(45000.5);
  EXPECT_FALSE(InkIn(c, Rect(p12 - 10, 379 - 7 - h - hd, p12 + 10, 379 - 7 - h), FaceColor()));

  TScale top;
  SetUpHours(top, sctXT);
  EXPECT_TRUE(TextAt(top.Canvas(), 2, 20 + hd + 7, date, FaceColor()));
}

TEST(ScalePaint, VerticalDateGoesOneLineHigher) {
  for (TScaleType type : {sctYL, sctYR}) {
    TScale s;
    SetUpHours(s, type);
    const TCanvas& c = s.Canvas();
    const std::string time = "00:00", date = "15-Mar-2023";
    const int p = s.ValueToPixel(45000);
    const int b = BaseOf(s);
    const int h = c.TextHeight(time), hd = c.TextHeight(date);
    const int xTime = type == sctYL ? b + 8 : b - c.TextWidth(time) - 8;
    const int xDate = type == sctYL ? b + 8 : b - c.TextWidth(date) - 8;
    EXPECT_TRUE(TextAt(c, xTime, p - h / 2, time, FaceColor())) << int(type);
    EXPECT_TRUE(TextAt(c, xDate, p - 3 * (hd / 2), date, FaceColor())) << int(type);
  }
}

TEST(ScalePaint, OpaqueScaleIsCopiedToTheTargetAtItsOffset) {
  TScale twin;
  twin.SetCaption("offset");
  twin.PaintNow();
  TBitmap target(500, 500);
  TScale s;
  s.SetCaption("offset");
  s.SetTarget(&target.Canvas(), 30, 40);
  s.PaintNow();
  const TCanvas& t = target.Canvas();
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x)
      ASSERT_EQ(t.Pixels(x + 30, y + 40), twin.Canvas().Pixels(x, y)) << x << "," << y;
  EXPECT_EQ(t.Pixels(29, 100), clWhite);
  EXPECT_EQ(t.Pixels(100, 39), clWhite);
}

TEST(ScalePaint, TransparentScaleIsDrawnAtItsOffset) {
  // Two transparent scales that differ only in the offset draw the same picture, moved.
  auto draw = [](TBitmap& target, int ox, int oy) {
    TScale s;
    s.SetEmbedded(true);
    s.SetTransparent(true);
    s.SetCaption("offset");
    s.SetCaptionAnchor(uaSclCenter);
    s.SetTarget(&target.Canvas(), ox, oy);
    s.PaintNow();
  };
  TBitmap a(500, 500), b(500, 500);
  draw(a, 0, 0);
  draw(b, 30, 40);
  for (int y = 0; y < 500; ++y)
    for (int x = 0; x < 500; ++x) {
      const TColor moved = (x >= 30 && y >= 40) ? a.Canvas().Pixels(x - 30, y - 40) : clWhite;
      ASSERT_EQ(b.Canvas().Pixels(x, y), moved) << x << "," << y;
    }
  // Nothing but the scale: no background, no frame.
  EXPECT_EQ(a.Canvas().Pixels(200, 200), clWhite);
  EXPECT_EQ(a.Canvas().Pixels(0, 0), clWhite);
  EXPECT_EQ(a.Canvas().Pixels(100, 379), clBlack);
}

TEST(ScalePaint, PrinterSurfaceGetsTheFontAtPrinterResolution) {
  TBitmap target(400, 400);
  target.Canvas().SetPrinter(true, 600);
  TScale s;
  s.Font().SetHeight(16);  // 12 points on the screen
  s.SetEmbedded(true);
  s.SetTransparent(true);
  s.SetTarget(&target.Canvas(), 0, 0);
  s.PaintNow();
  const TFont& f = target.Canvas().Font();
  EXPECT_EQ(f.PixelsPerInch(), 600);
  EXPECT_EQ(f.Height(), 16);  // the size in points at the screen's resolution
  EXPECT_EQ(s.Font().PixelsPerInch(), TCanvas::kScreenPixelsPerInch);  // the scale's own stays
}

}  // namespace

}  // namespace travenel
