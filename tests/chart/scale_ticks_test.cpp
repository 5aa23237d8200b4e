// Tick layouts of linear, logarithmic and clock-time scales: where the long
// and short ticks fall, in which order, with which labels, and what the tick
// list records.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "travenel/chart/Scale.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Pointwise;

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

Doubles Concat(Doubles a, const Doubles& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct TickCase {
  const char* name;
  ScaleSetup setup;
  TTickPass pass;
  Doubles longs;
  Strings labels;
  Doubles shorts;  // checked unless `anyShorts`
  bool anyShorts = false;
  std::string inscript = {};
  std::string userText = {};
};

class ScaleTicks : public ::testing::TestWithParam<TickCase> {};

TEST_P(ScaleTicks, LaysOutAndLabels) {
  const TickCase& c = GetParam();
  TScale s;
  Apply(s, c.setup);
  s.SetScaleInscript(c.inscript);
  s.SetUserTickText(c.userText);
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(l.Pass, c.pass);
  EXPECT_FALSE(l.Capped);
  EXPECT_THAT(LongValues(l), Pointwise(DoubleNear(1e-9), c.longs));
  EXPECT_THAT(Labels(l), ElementsAreArray(c.labels));
  if (!c.anyShorts) {
    EXPECT_THAT(ShortValues(l), Pointwise(DoubleNear(1e-9), c.shorts));
  }
}

const Doubles kPercentLongs = {0, 20, 40, 60, 80, 100};
const Strings kPercentLabels = {"0", "20", "40", "60", "80", "100"};

INSTANTIATE_TEST_SUITE_P(
    Linear, ScaleTicks,
    ::testing::Values(
        TickCase{"Percent", {0, 100}, tpLinear, kPercentLongs, kPercentLabels, Seq(0, 100, 5)},
        TickCase{"PercentNoShort", {.low = 0, .high = 100, .shortTicks = false}, tpLinear,
                 kPercentLongs, kPercentLabels, {}},
        TickCase{"Unit", {0, 1}, tpLinear, {0, 0.2, 0.4, 0.6, 0.8, 1},
                 {"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}, Seq(0, 1, 0.05)},
        TickCase{"UnitTenIntervals", {0, 1, 10}, tpLinear, Seq(0, 1, 0.1),
                 {"0.00", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90",
                  "1.00"},
                 Seq(0, 1, 0.02)},
        TickCase{"Reversed", {100, 0}, tpLinear, {100, 80, 60, 40, 20, 0},
                 {"100", "80", "60", "40", "20", "0"}, Seq(-100, 0, 5), true},
        // Decimals 1 for a span of 14; short ticks from RangeLow, not from 2.
        TickCase{"ThreeToSeventeen", {3, 17}, tpLinear, {4, 6, 8, 10, 12, 14, 16},
                 {"4.0", "6.0", "8.0", "10.0", "12.0", "14.0", "16.0"}, Seq(3, 17, 0.5)},
        // Exponent form; the zero tick of a wide span reads "0.0".
        TickCase{"Millions",
                 {0, 5000000},
                 tpLinear,
                 {0, 1e6, 2e6, 3e6, 4e6, 5e6},
                 {"0.0", " 1.0E+06", " 2.0E+06", " 3.0E+06", " 4.0E+06", " 5.0E+06"},
                 {},
                 true},
        TickCase{"AcrossZero",
                 {.low = -1, .high = 1, .minTicks = 4},
                 tpLinear,
                 {-1, -0.8, -0.6, -0.4, -0.2, 0, 0.2, 0.4, 0.6, 0.8, 1},
                 {"-1.00", "-0.80", "-0.60", "-0.40", "-0.20", "0.00", "0.20", "0.40", "0.60",
                  "0.80", "1.00"},
                 {},
                 true},
        TickCase{"FixedDecimals", {.low = 0, .high = 100, .decPlaces = 1}, tpLinear, kPercentLongs,
                 {"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}, {}, true},
        TickCase{"InscriptAround", {0, 100}, tpLinear, kPercentLongs,
                 {"0%", "20%", "40%", "60%", "80%", "100%"}, {}, true, "&%"},
        TickCase{"InscriptBefore", {0, 100}, tpLinear, kPercentLongs,
                 {"x0", "x20", "x40", "x60", "x80", "x100"}, {}, true, "x"},
        TickCase{"UserTexts", {.low = 0, .high = 80, .labelType = ftUserText}, tpLinear,
                 {0, 20, 40, 60, 80}, {"a", "b", "c", "c", "c"}, {}, true, "", "a|b|c"},
        TickCase{"NoFigures", {.low = 0, .high = 100, .labelType = ftNoFigs}, tpLinear,
                 kPercentLongs, {"", "", "", "", "", ""}, {}, true, "x"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Logarithmic, ScaleTicks,
    ::testing::Values(
        // Three decades for MinTicks 3: sparse, decades only.
        TickCase{"Sparse", {.low = 1, .high = 1000, .logarithmic = true}, tpLog,
                 {1, 10, 100, 1000}, {"1", "10", "100", "1000"}, {}},
        // MinTicks 4 > 3.5: dense, 2 and 5 labelled, the others short.
        TickCase{"Dense",
                 {.low = 1, .high = 1000, .minTicks = 4, .logarithmic = true},
                 tpLog,
                 {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000},
                 {"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"},
                 {3, 4, 6, 7, 8, 9, 30, 40, 60, 70, 80, 90, 300, 400, 600, 700, 800, 900}},
        TickCase{"DenseNoShort",
                 {.low = 1, .high = 1000, .minTicks = 4, .logarithmic = true, .shortTicks = false},
                 tpLog,
                 {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000},
                 {"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"},
                 {}},
        // Less than a decade: the linear layout on the logarithmic mapping.
        TickCase{"BelowADecade", {.low = 2, .high = 15, .logarithmic = true}, tpLinear,
                 Seq(2, 14, 2), {"2.0", "4.0", "6.0", "8.0", "10.0", "12.0", "14.0"},
                 Seq(2, 15, 0.5)},
        // Decimals 3 from the low bound; trailing zeros removed.
        TickCase{"Fractions", {.low = 0.01, .high = 100, .logarithmic = true}, tpLog,
                 {0.01, 0.1, 1, 10, 100}, {"0.01", "0.1", "1", "10", "100"}, {}},
        TickCase{"Exponents",
                 {.low = 0.01, .high = 100, .minTicks = 5, .logarithmic = true, .decPlaces = -3},
                 tpLog,
                 {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100},
                 {"-2", "", "", "-1", "", "", "0", "", "", "1", "", "", "2"},
                 {},
                 true},
        // Drawn in increasing order whatever the direction.
        TickCase{"Reversed", {.low = 1000, .high = 1, .logarithmic = true}, tpLog,
                 {1, 10, 100, 1000}, {"1", "10", "100", "1000"}, {}},
        // Bounds between decades: only decades inside (a hair of slack).
        TickCase{"BetweenDecades", {.low = 3, .high = 99999.9999999, .logarithmic = true},
                 tpLog, {10, 100, 1000, 10000, 100000}, {"10", "100", "1000", "10000", "100000"},
                 {}},
        TickCase{"ExponentForm", {.low = 1, .high = 1e7, .logarithmic = true}, tpLog,
                 Doubles{1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7},
                 {" 1.0E+00", " 1.0E+01", " 1.0E+02", " 1.0E+03", " 1.0E+04", " 1.0E+05",
                  " 1.0E+06", " 1.0E+07"},
                 {}},
        // The label counter numbers the user texts.
        TickCase{"UserTexts",
                 {.low = 1, .high = 1000, .labelType = ftUserText, .logarithmic = true},
                 tpLog,
                 {1, 10, 100, 1000},
                 {"one", "ten", "hundred", "hundred"},
                 {},
                 false,
                 "",
                 "one|ten|hundred"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Time, ScaleTicks,
    ::testing::Values(
        TickCase{"Hour", {.low = 0, .high = 3600, .labelType = ftTime}, tpTime,
                 {0, 1200, 2400, 3600}, {" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"},
                 Seq(0, 3600, 200)},
        // Too wide for the step table: numeric labels with the 4 decimals of ftTime.
        TickCase{"FallsBackToNumbers",
                 {.low = 0, .high = 400000, .labelType = ftTime},
                 tpLinear,
                 {0, 1e5, 2e5, 3e5, 4e5},
                 {"0.0", "100000.0000", "200000.0000", "300000.0000", "400000.0000"},
                 {},
                 true},
        TickCase{"FallsBackToLog",
                 {.low = 1, .high = 1e6, .labelType = ftTime, .logarithmic = true},
                 tpLog,
                 {1, 10, 100, 1000, 10000, 100000, 1e6},
                 {"1.0000", "10.0000", "100.0000", "1000.0000", "10000.0000", "100000.0000",
                  "1000000.0000"},
                 {}},
        TickCase{"Milliseconds",
                 {.low = 0, .high = 0.4, .labelType = ftTime, .shortTicks = false},
                 tpTime,
                 {0, 0.1, 0.2, 0.3, 0.4},
                 {" 00:00:00.000", " 00:00:00.100", " 00:00:00.200", " 00:00:00.300",
                  " 00:00:00.400"},
                 {}},
        TickCase{"Negative",
                 {.low = -300, .high = -30, .labelType = ftTime, .shortTicks = false},
                 tpTime,
                 {-300, -240, -180, -120, -60},
                 {"-00:05:00", "-00:04:00", "-00:03:00", "-00:02:00", "-00:01:00"},
                 {}},
        // Mended: between -1 s and 0 the sign is that of the value, not of
        // its whole seconds.
        TickCase{"MillisecondsBelowZero",
                 {.low = -1, .high = 0, .labelType = ftTime},
                 tpTime,
                 {-1, -0.8, -0.6, -0.4, -0.2, 0},
                 {"-00:00:01.000", "-00:00:00.800", "-00:00:00.600", "-00:00:00.400",
                  "-00:00:00.200", " 00:00:00.000"},
                 {},
                 true},
        // Mended: a negative RangeLow on a whole step starts the values a step
        // early; they still run on to the last tick inside the range.
        TickCase{"NegativeLowOnAStep", {.low = -1200, .high = 2400, .labelType = ftTime}, tpTime,
                 {-1200, 0, 1200, 2400}, {"-00:20:00", " 00:00:00", " 00:20:00", " 00:40:00"},
                 Seq(-1200, 2400, 200)},
        // Mended: both ends of a reversed range are inside.
        TickCase{"Reversed", {.low = 3600, .high = 0, .labelType = ftTime}, tpTime,
                 {3600, 2400, 1200, 0}, {" 01:00:00", " 00:40:00", " 00:20:00", " 00:00:00"},
                 {3600, 3400, 3200, 3000, 2800, 2600, 2400, 2200, 2000, 1800, 1600, 1400, 1200,
                  1000, 800, 600, 400, 200, 0}},
        // Mended: the window's slack, relative to the values, would reach a
        // whole millisecond past both ends here; it stays within the range.
        TickCase{"MillisecondsAtAMillionSeconds",
                 {.low = 1e6, .high = 1e6 + 0.004, .labelType = ftTime, .shortTicks = false},
                 tpTime,
                 {1e6, 1e6 + 0.001, 1e6 + 0.002, 1e6 + 0.003, 1e6 + 0.004},
                 {" 277:46:40.000", " 277:46:40.001", " 277:46:40.002", " 277:46:40.003",
                  " 277:46:40.004"},
                 {}},
        // Hours do not wrap at 24.
        TickCase{"Days",
                 {.low = 0, .high = 200000, .labelType = ftTime, .shortTicks = false},
                 tpTime,
                 {0, 43200, 86400, 129600, 172800},
                 {" 00:00:00", " 12:00:00", " 24:00:00", " 36:00:00", " 48:00:00"},
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the tick list ----------------------------------------------------------

TEST(ScaleTickList, HorizontalRecordsShortTicksOnly) {
  TScale s;
  s.ComputeTicks();
  EXPECT_THAT(Recorded(s), Pointwise(DoubleNear(1e-12), Seq(0, 100, 5)));
  EXPECT_EQ(s.TickPosition(1), 0);
}

TEST(ScaleTickList, VerticalRecordsLongTicksAfterTheShortOnes) {
  TScale s;
  s.SetScaleType(sctYL);
  s.ComputeTicks();
  Doubles expected = Seq(0, 100, 5);
  for (double v : kPercentLongs) expected.push_back(v);
  EXPECT_THAT(Recorded(s), Pointwise(DoubleNear(1e-12), expected));
}

TEST(ScaleTickList, WithoutShortTicksRecordsTheLongOnes) {
  TScale s;
  s.SetShortTicks(false);
  s.ComputeTicks();
  EXPECT_THAT(Recorded(s), Pointwise(DoubleNear(1e-12), kPercentLongs));
}

TEST(ScaleTickList, HoldsTheFirstFiftyTicks) {
  TScale s;
  s.SetMinTicks(10);  // step 10, 5 minor intervals: 51 short ticks
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(ShortValues(l).size(), 51u);
  EXPECT_EQ(s.NumTicks(), 50);
  EXPECT_EQ(s.TickPosition(50), 98);
  EXPECT_EQ(s.TickPosition(51), 0);
}

TEST(ScaleTickList, EmptiedAtEveryPass) {
  TScale s;
  s.SetMinTicks(10);
  s.ComputeTicks();
  s.SetLabelType(ftDateTime);
  s.SetRangeHigh(-1);  // reversed: no date/time ticks
  s.ComputeTicks();
  EXPECT_EQ(s.NumTicks(), 0);
  EXPECT_EQ(s.TickPosition(1), 0);
}

TEST(ScaleTickList, TimeRecordsShortAndOnVerticalScalesLongTicks) {
  TScale s;
  Apply(s, {.low = 0, .high = 3600, .type = sctYR, .labelType = ftTime});
  s.ComputeTicks();
  Doubles expected = Seq(0, 3600, 200);
  for (double v : {0, 1200, 2400, 3600}) expected.push_back(v);
  EXPECT_THAT(Recorded(s), Pointwise(DoubleNear(1e-9), expected));
}

TEST(ScaleTickList, LogRecordsEveryTickDrawn) {
  TScale s;
  Apply(s, {.low = 1, .high = 100, .minTicks = 4, .logarithmic = true});
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(s.NumTicks(), static_cast<int>(l.Ticks.size()));
  EXPECT_THAT(Recorded(s), Pointwise(DoubleNear(1e-12), Concat(Seq(1, 9, 1), Seq(10, 100, 10))));
}

// --- order and events -------------------------------------------------------

TEST(ScaleTickOrder, ShortTicksComeBeforeLongTicks) {
  TScale s;
  const TTickList l = s.ComputeTicks();
  ASSERT_EQ(l.Ticks.size(), 21u + 6u);
  for (std::size_t i = 0; i < l.Ticks.size(); ++i) EXPECT_EQ(l.Ticks[i].Long, i >= 21) << i;
}

TEST(ScaleTickOrder, EventBeforeLabelByPassAndOrientation) {
  TScale s;
  EXPECT_FALSE(s.ComputeTicks().EventBeforeLabel);  // horizontal linear
  s.SetScaleType(sctYL);
  EXPECT_TRUE(s.ComputeTicks().EventBeforeLabel);  // vertical linear
  s.SetRangeLow(1);
  s.SetRangeHigh(1000);
  s.SetLogarithmic(true);
  EXPECT_TRUE(s.ComputeTicks().EventBeforeLabel);  // logarithmic
  s.SetScaleType(sctXT);
  EXPECT_TRUE(s.ComputeTicks().EventBeforeLabel);
  s.SetLogarithmic(false);
  s.SetLabelType(ftTime);
  EXPECT_FALSE(s.ComputeTicks().EventBeforeLabel);  // time
  s.SetScaleType(sctYL);
  EXPECT_FALSE(s.ComputeTicks().EventBeforeLabel);
}

TEST(ScaleTickOrder, ZeroIsReportedAsZeroOnHorizontalScales) {
  TScale s;
  Apply(s, {.low = -1, .high = 1, .minTicks = 4});
  for (const TScaleTick& t : s.ComputeTicks().Ticks)
    if (t.Long && std::fabs(t.Value) < 1e-12) {
      EXPECT_EQ(t.EventValue, 0.0);
    }
  // A value left over from the tick arithmetic still reads as zero.
  EXPECT_EQ(s.LinearLabel(2.7e-17L, 1), "0.00");
  EXPECT_EQ(s.LinearLabel(-2.7e-17L, 1), "0.00");
}

// --- ranges that must still end quickly -------------------------------------

struct ExtremeCase {
  const char* name;
  ScaleSetup setup;
  std::size_t minLong;  // at least this many long ticks
  std::size_t maxTicks = 200;
  bool numericLabels = true;
};

class ScaleExtremes : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(ScaleExtremes, EndsWithABoundedList) {
  const ExtremeCase& c = GetParam();
  for (TScaleType type : {sctXB, sctYL}) {
    TScale s;
    ScaleSetup setup = c.setup;
    setup.type = type;
    Apply(s, setup);
    const TTickList l = s.ComputeTicks();
    EXPECT_FALSE(l.Capped);
    EXPECT_LE(l.Ticks.size(), c.maxTicks);
    EXPECT_GE(LongValues(l).size(), c.minLong);
    for (const TScaleTick& t : l.Ticks) {
      EXPECT_TRUE(std::isfinite(t.Value));
      if (c.numericLabels) {
        EXPECT_LE(t.Label.size(), kMaxLabelLength);
      }
    }
    EXPECT_LE(s.NumTicks(), TScale::kTickListCapacity);
  }
}

constexpr double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Ranges, ScaleExtremes,
    ::testing::Values(
        ExtremeCase{"FullDoubleRange", {-kMax, kMax}, 3},
        ExtremeCase{"FullDoubleRangeReversed", {kMax, -kMax}, 3},
        ExtremeCase{"NearTheTop", {1e308, kMax}, 3},
        ExtremeCase{"OneUlpAtTheTop", {std::nextafter(kMax, 0.0), kMax}, 1},
        ExtremeCase{"HugeOffsetNarrowSpan", {1e17 + 64, 1e17 + 80, 2}, 1},
        ExtremeCase{"MinRangeSpan", {0, 1e-10}, 3},
        ExtremeCase{"MinRangeAtOne", {1, 1 + 1e-10}, 1},
        ExtremeCase{"Subnormal", {0, 5e-324}, 1},
        ExtremeCase{"LogFromTheSmallestBound",
                    {.low = 1e-100, .high = 1e300, .logarithmic = true},
                    401,
                    401},
        ExtremeCase{"LogSubnormalDense",
                    {.low = 5e-324, .high = 1e-300, .minTicks = 10, .logarithmic = true},
                    3},
        ExtremeCase{"LogNegativeBound", {.low = -10, .high = 1000, .logarithmic = true}, 0},
        // Clock times of millions of hours are longer than numbers may be.
        ExtremeCase{"TimeAtHugeValues", {.low = 1e15, .high = 1e15 + 3600, .labelType = ftTime},
                    3, 200, false},
        ExtremeCase{"TimeNegativeHuge", {.low = -1e14, .high = -1e14 + 3600, .labelType = ftTime},
                    3, 200, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

}  // namespace travenel
