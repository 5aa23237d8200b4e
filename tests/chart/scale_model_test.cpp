// The scale's properties, setter rules, range rules and mapping to pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "travenel/chart/Scale.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

constexpr double kMax = std::numeric_limits<double>::max();
const double kMaxBelow = std::nextafter(kMax, 0.0);

// Whether a change repainted the scale: an opaque scale paints at once (its
// rendering event fires), a transparent one asks its host to (a paint is
// pending). Repaint() first settles what is already pending.
bool RepaintsOn(TScale& s, const std::function<void()>& change) {
  s.Repaint();
  int paints = 0;
  s.OnBeforeScaleRendered = [&](TScale&, TCanvas&) { ++paints; };
  change();
  s.OnBeforeScaleRendered = nullptr;
  return paints > 0 || s.PaintPending();
}

// A scale that has finished loading, as one read from a form.
void FinishLoading(TScale& s) { LoadControl(s, [] {}); }

TEST(ScaleModel, CreatedWithItsDefaults) {
  TScale s;
  EXPECT_EQ(s.Width(), 400);
  EXPECT_EQ(s.Height(), 400);
  EXPECT_FALSE(s.Windowed());
  EXPECT_EQ(s.Caption(), "");
  EXPECT_EQ(s.CaptionPosX(), 4);
  EXPECT_EQ(s.CaptionPosY(), 4);
  EXPECT_EQ(s.CaptionAlignment(), taCenter);
  EXPECT_EQ(s.CaptionAnchor(), uaSclTopLft);
  EXPECT_EQ(s.ColorBackGnd(), clBtnFace);
  EXPECT_EQ(s.ColorScale(), clBlack);
  EXPECT_EQ(s.ColorScheme(), csBWG);
  EXPECT_EQ(s.DecPlaces(), -2);
  EXPECT_EQ(s.FrameStyle(), fsLowered);
  EXPECT_EQ(s.LabelType(), ftNum);
  EXPECT_FALSE(s.Logarithmic());
  EXPECT_EQ(s.MarginTop(), 20);
  EXPECT_EQ(s.MarginBottom(), 20);
  EXPECT_EQ(s.MarginLeft(), 20);
  EXPECT_EQ(s.MarginRight(), 20);
  EXPECT_EQ(s.MinTicks(), 3);
  EXPECT_EQ(s.NumTicks(), 0);
  EXPECT_EQ(s.RangeLow(), 0);
  EXPECT_EQ(s.RangeHigh(), 100);
  EXPECT_TRUE(s.ShortTicks());
  EXPECT_TRUE(s.ShowBaseLine());
  EXPECT_EQ(s.ScaleType(), sctXB);
  EXPECT_FALSE(s.Transparent());
  EXPECT_EQ(s.FrameDarkColor(), clBlack);
  EXPECT_EQ(s.FrameShadowColor(), clGray);
  EXPECT_EQ(s.FrameHighlightColor(), clWhite);
  EXPECT_TRUE(s.Initialising());
  EXPECT_FALSE(s.PaintSuppressed());
  EXPECT_FALSE(s.Embedded());
  EXPECT_EQ(s.TargetCanvas(), nullptr);
  EXPECT_EQ(s.DateFormat().DateOrder(), doDDMMYY);
  // Mapped at creation: 359 usable pixels for 100 units from x = 20.
  EXPECT_NEAR(static_cast<double>(s.ScaleFactor()), 3.59, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.ScaleOffset()), 20, 1e-12);
}

struct ClampCase {
  const char* name;
  std::function<void(TScale&, int)> set;
  std::function<int(const TScale&)> get;
  int value, stored;
};

class ScaleClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ScaleClamp, StoresTheClampedValue) {
  const ClampCase& c = GetParam();
  TScale s;
  c.set(s, c.value);
  EXPECT_EQ(c.get(s), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, ScaleClamp,
    ::testing::Values(
        ClampCase{"DecPlacesHigh", &TScale::SetDecPlaces, &TScale::DecPlaces, 20, 12},
        ClampCase{"DecPlacesLow", &TScale::SetDecPlaces, &TScale::DecPlaces, -10, -3},
        ClampCase{"DecPlacesInside", &TScale::SetDecPlaces, &TScale::DecPlaces, -1, -1},
        ClampCase{"MinTicksHigh", &TScale::SetMinTicks, &TScale::MinTicks, 11, 10},
        ClampCase{"MinTicksLow", &TScale::SetMinTicks, &TScale::MinTicks, 1, 2},
        ClampCase{"MarginTop", &TScale::SetMarginTop, &TScale::MarginTop, -5, 0},
        ClampCase{"MarginBottom", &TScale::SetMarginBottom, &TScale::MarginBottom, -1, 0},
        ClampCase{"MarginLeft", &TScale::SetMarginLeft, &TScale::MarginLeft, -7, 0},
        ClampCase{"MarginRight", &TScale::SetMarginRight, &TScale::MarginRight, 33, 33}),
    [](const auto& info) { return std::string(info.param.name); });

struct RepaintCase {
  const char* name;
  std::function<void(TScale&)> sameValue;
  bool repaintsOnSameValue;
};

class ScaleRepaint : public ::testing::TestWithParam<RepaintCase> {};

TEST_P(ScaleRepaint, UnchangedValueRepaintsOnlyWhereNotIgnored) {
  const RepaintCase& c = GetParam();
  TScale s;
  EXPECT_EQ(RepaintsOn(s, [&] { c.sameValue(s); }), c.repaintsOnSameValue);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, ScaleRepaint,
    ::testing::Values(
        RepaintCase{"ColorBackGnd", [](TScale& s) { s.SetColorBackGnd(clBtnFace); }, false},
        RepaintCase{"ColorScale", [](TScale& s) { s.SetColorScale(clBlack); }, false},
        RepaintCase{"ColorScheme", [](TScale& s) { s.SetColorScheme(csBWG); }, false},
        RepaintCase{"FrameStyle", [](TScale& s) { s.SetFrameStyle(fsLowered); }, false},
        RepaintCase{"ShortTicks", [](TScale& s) { s.SetShortTicks(true); }, false},
        RepaintCase{"ScaleType", [](TScale& s) { s.SetScaleType(sctXB); }, false},
        RepaintCase{"Caption", [](TScale& s) { s.SetCaption(""); }, true},
        RepaintCase{"CaptionPosX", [](TScale& s) { s.SetCaptionPosX(4); }, true},
        RepaintCase{"ShowBaseLine", [](TScale& s) { s.SetShowBaseLine(true); }, true},
        RepaintCase{"Transparent", [](TScale& s) { s.SetTransparent(false); }, true},
        RepaintCase{"MinTicks", [](TScale& s) { s.SetMinTicks(3); }, true},
        RepaintCase{"RangeHigh", [](TScale& s) { s.SetRangeHigh(100); }, true},
        RepaintCase{"DateFormatProperty", [](TScale& s) { s.DateFormat().SetDateOrder(doDDMMYY); },
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleModel, ColorSchemeSetsTheFrameColours) {
  TScale s;
  s.SetColorScheme(csSystem);
  EXPECT_EQ(s.FrameShadowColor(), clBtnShadow);
  EXPECT_EQ(s.FrameHighlightColor(), clBtnHighlight);
  EXPECT_EQ(s.FrameDarkColor(), clBlack);
  s.SetColorScheme(csBWG);
  EXPECT_EQ(s.FrameShadowColor(), clGray);
  EXPECT_EQ(s.FrameHighlightColor(), clWhite);
}

TEST(ScaleModel, DateFormatCopiesTheGivenValues) {
  TScale s;
  TDTLabel f;
  f.SetYearLength(ylYY);
  f.SetDateSeparator('/');
  EXPECT_TRUE(RepaintsOn(s, [&] { s.SetDateFormat(f); }));
  EXPECT_TRUE(s.DateFormat().SameValues(f));
  EXPECT_NE(&s.DateFormat(), &f);
}

TEST(ScaleModel, LabelTypeSideEffects) {
  TScale s;
  s.SetDecPlaces(1);
  s.SetLabelType(ftTime);
  EXPECT_EQ(s.DecPlaces(), 4);

  s.SetRangeLow(1);
  s.SetRangeHigh(1000);
  s.SetLogarithmic(true);
  ASSERT_TRUE(s.Logarithmic());
  s.SetLabelType(ftDateTime);
  EXPECT_FALSE(s.Logarithmic());
  // ... and the mapping is linear again (10 would be at x = 140 on the log mapping).
  EXPECT_EQ(s.ValueToPixel(10), 23);
  EXPECT_EQ(s.ValueToPixel(1000), 379);
}

TEST(ScaleModel, LogarithmicTakenWithoutChecksWhileInitialising) {
  TScale s;  // created by code: never loaded, so still initialising
  s.SetRangeLow(-5);
  s.SetLogarithmic(true);
  EXPECT_TRUE(s.Logarithmic());
}

struct LogAcceptCase {
  const char* name;
  double low, high;
  TFigType labelType;
  bool accepted;
};

class ScaleLogAccept : public ::testing::TestWithParam<LogAcceptCase> {};

TEST_P(ScaleLogAccept, AfterLoadingOnlyPositiveNonDateRanges) {
  const LogAcceptCase& c = GetParam();
  TScale s;
  FinishLoading(s);
  ASSERT_FALSE(s.Initialising());
  s.SetLabelType(c.labelType);
  s.SetRangeLow(c.low);
  s.SetRangeHigh(c.high);
  EXPECT_TRUE(RepaintsOn(s, [&] { s.SetLogarithmic(true); }));  // repaints either way
  EXPECT_EQ(s.Logarithmic(), c.accepted);
  s.SetLogarithmic(false);
  EXPECT_FALSE(s.Logarithmic());
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ScaleLogAccept,
    ::testing::Values(LogAcceptCase{"ZeroLow", 0, 100, ftNum, false},
                      LogAcceptCase{"Decades", 1, 1000, ftNum, true},
                      LogAcceptCase{"SmallestBound", 1e-100, 1, ftNum, true},
                      LogAcceptCase{"BelowSmallest", 1e-101, 1, ftNum, false},
                      LogAcceptCase{"NegativeHigh", 10, -1, ftNum, false},
                      LogAcceptCase{"Reversed", 1000, 1, ftNum, true},
                      LogAcceptCase{"DateTime", 1, 1000, ftDateTime, false},
                      LogAcceptCase{"Time", 1, 1000, ftTime, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
  const char* name;
  double startLow, startHigh;
  bool setLow;  // which bound is set
  double value;
  double low, high;
};

class ScaleRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ScaleRange, EqualBoundsArePulledApart) {
  const RangeCase& c = GetParam();
  TScale s;
  Apply(s, ScaleSetup{c.startLow, c.startHigh});
  if (c.setLow)
    s.SetRangeLow(c.value);
  else
    s.SetRangeHigh(c.value);
  EXPECT_EQ(s.RangeLow(), c.low);
  EXPECT_EQ(s.RangeHigh(), c.high);
  EXPECT_NE(s.RangeLow(), s.RangeHigh());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScaleRange,
    ::testing::Values(
        // RangeHigh = RangeLow pushes RangeLow up: the scale then runs backwards.
        RangeCase{"HighOntoLow", 0, 100, false, 0, 1, 0},
        RangeCase{"LowOntoHigh", 0, 100, true, 100, 100, 101},
        RangeCase{"ReversedAllowed", 0, 100, true, 200, 200, 100},
        RangeCase{"NaNIgnored", 0, 100, true, std::nan(""), 0, 100},
        RangeCase{"InfinityIgnored", 0, 100, false, INFINITY, 0, 100},
        RangeCase{"MinusInfinityIgnored", 0, 100, true, -INFINITY, 0, 100},
        // Beyond 2^53 one unit is lost in rounding: the next double is taken.
        RangeCase{"HugeLowOntoHigh", 0, 1e300, true, 1e300, 1e300, std::nextafter(1e300, INFINITY)},
        RangeCase{"MaxLowOntoHigh", 0, kMax, true, kMax, kMax, std::nextafter(kMax, 0.0)},
        RangeCase{"MaxHighOntoLow", kMax, 0, false, kMax, std::nextafter(kMax, 0.0), kMax}),
    [](const auto& info) { return std::string(info.param.name); });

struct PixelCase {
  const char* name;
  TScaleType type;
  int width, height;
  double low, high;
  bool logarithmic;
  double value;
  int pixel;
};

class ScalePixel : public ::testing::TestWithParam<PixelCase> {};

TEST_P(ScalePixel, MapsValueToPixel) {
  const PixelCase& c = GetParam();
  TScale s;
  s.SetBounds(0, 0, c.width, c.height);
  ScaleSetup setup{c.low, c.high};
  setup.type = c.type;
  setup.logarithmic = c.logarithmic;
  Apply(s, setup);
  EXPECT_EQ(s.ValueToPixel(c.value), c.pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, ScalePixel,
    ::testing::Values(
        // The default axis: 3.59 pixels per unit from x = 20.
        PixelCase{"DefaultLow", sctXB, 400, 400, 0, 100, false, 0, 20},
        PixelCase{"Default20", sctXB, 400, 400, 0, 100, false, 20, 92},
        PixelCase{"Default40", sctXB, 400, 400, 0, 100, false, 40, 164},
        PixelCase{"Default60", sctXB, 400, 400, 0, 100, false, 60, 235},
        PixelCase{"Default80", sctXB, 400, 400, 0, 100, false, 80, 307},
        PixelCase{"DefaultHigh", sctXB, 400, 400, 0, 100, false, 100, 379},
        PixelCase{"ReversedLowAtStart", sctXT, 400, 400, 100, 0, false, 100, 20},
        // Vertical: RangeHigh on the top pixel.
        PixelCase{"VerticalHigh", sctYL, 400, 300, 0, 100, false, 100, 20},
        PixelCase{"VerticalLow", sctYR, 400, 300, 0, 100, false, 0, 279},
        // 0.5 pixels per unit: halves go to the even pixel.
        PixelCase{"HalfDown", sctXB, 141, 50, 0, 200, false, 1, 20},
        PixelCase{"HalfUp", sctXB, 141, 50, 0, 200, false, 3, 22},
        PixelCase{"ClampedHigh", sctXB, 400, 400, 0, 100, false, 1e300, 2147483647},
        PixelCase{"ClampedLow", sctXB, 400, 400, 0, 100, false, -1e300, -2147483647},
        PixelCase{"NaN", sctXB, 400, 400, 0, 100, false, std::nan(""), 0},
        PixelCase{"LogDecade", sctXB, 400, 400, 1, 1000, true, 10, 140},
        PixelCase{"LogHigh", sctYL, 400, 400, 1, 1000, true, 1000, 20},
        PixelCase{"LogNonPositive", sctXB, 400, 400, 1, 1000, true, 0, 0},
        PixelCase{"LogNonPositiveReversed", sctXB, 300, 400, 1000, 1, true, -1, 300},
        // No usable length: everything on the middle of the control (20.5 -> 20).
        PixelCase{"Collapsed", sctXB, 41, 400, 0, 100, false, 77, 20},
        PixelCase{"CollapsedVertical", sctYL, 400, 40, 0, 100, false, 77, 20},
        // Mended: logarithmic bounds a unit in the last place apart, and a
        // few apart on a long scale, put their ends on the margins.
        PixelCase{"LogUlpApartLow", sctXB, 400, 400, kMaxBelow, kMax, true, kMaxBelow, 20},
        PixelCase{"LogUlpApartHigh", sctXB, 400, 400, kMaxBelow, kMax, true, kMax, 379},
        PixelCase{"LogUlpApartVertical", sctYL, 400, 400, kMaxBelow, kMax, true, kMax, 20},
        PixelCase{"LogNearHundredLow", sctXB, 1963, 400, 100, 100.00000000000001, true, 100, 20},
        PixelCase{"LogNearHundredHigh", sctXB, 1963, 400, 100, 100.00000000000001, true,
                  100.00000000000001, 1942},
        PixelCase{"LogNearHundredVertical", sctYR, 400, 1963, 100, 100.00000000000001, true, 100,
                  1942},
        // The full double range has a finite span in extended precision.
        PixelCase{"FullRangeHigh", sctXB, 400, 400, -kMax, kMax, false, kMax, 379}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleModel, LogarithmicWithABoundBelowZeroKeepsTheMapping) {
  TScale s;
  Apply(s, ScaleSetup{1, 1000, 3, sctXB, ftNum, true});
  const long double factor = s.ScaleFactor();
  const long double offset = s.ScaleOffset();
  s.SetRangeLow(-5);  // accepted by the scale itself; the mapping stays
  EXPECT_EQ(s.ScaleFactor(), factor);
  EXPECT_EQ(s.ScaleOffset(), offset);
  EXPECT_TRUE(s.ComputeTicks().Ticks.empty());
}

TEST(ScaleModel, LogarithmicBoundsPushedApartAtTheTopMapToTheMargins) {
  TScale s;
  s.SetRangeLow(kMax);
  s.SetLogarithmic(true);
  s.SetRangeHigh(kMax);  // pushes RangeLow one unit in the last place down
  EXPECT_EQ(s.ValueToPixel(s.RangeLow()), 20);
  EXPECT_EQ(s.ValueToPixel(s.RangeHigh()), 379);
  EXPECT_EQ(s.ValueToPixel(1), -2147483647);  // far below the range: clamped like any pixel
}

TEST(ScaleModel, BoundsChangeRemaps) {
  TScale s;
  s.SetWidth(200);
  EXPECT_NEAR(static_cast<double>(s.ScaleFactor()), 1.59, 1e-12);
  EXPECT_EQ(s.ValueToPixel(100), 179);
  s.SetScaleType(sctYL);
  s.SetHeight(141);
  EXPECT_NEAR(static_cast<double>(s.ScaleFactor()), -1.0, 1e-12);
  EXPECT_EQ(s.ValueToPixel(100), 20);
}

TEST(ScaleModel, LoadingDefersTheMappingAndThePaintToItsEnd) {
  TScale s;
  int paints = 0;
  s.OnBeforeScaleRendered = [&](TScale&, TCanvas&) { ++paints; };
  LoadControl(s, [&] {
    s.SetRangeLow(1);
    s.SetRangeHigh(1000);
    s.SetLogarithmic(true);  // taken while initialising
    EXPECT_NEAR(static_cast<double>(s.ScaleFactor()), 3.59, 1e-12);  // not remapped yet
    EXPECT_EQ(paints, 0);  // nothing is drawn while loading
  });
  EXPECT_EQ(paints, 1);
  EXPECT_FALSE(s.Initialising());
  EXPECT_TRUE(s.Logarithmic());
  EXPECT_EQ(s.ValueToPixel(1), 20);
  EXPECT_EQ(s.ValueToPixel(1000), 379);
}

TEST(ScaleModel, TickPositionOutsideTheListIsZero) {
  TScale s;
  s.ComputeTicks();
  EXPECT_EQ(s.TickPosition(0), 0);
  EXPECT_EQ(s.TickPosition(-3), 0);
  EXPECT_EQ(s.TickPosition(s.NumTicks() + 1), 0);
}

}  // namespace

}  // namespace travenel
