// The 1-2-5 step search and the numeric helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "travenel/chart/math1.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

struct StepCase {
  const char* name;
  int n;
  double low, high;
  double first, step;
  int minorCount;
};

class NiceTickStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(NiceTickStepTest, PicksStepFirstTickAndMinorCount) {
  const StepCase& c = GetParam();
  const TNiceTicks t = NiceTickStep(c.n, c.low, c.high);
  EXPECT_NEAR(static_cast<double>(t.Step), c.step, std::fabs(c.step) * 1e-15);
  EXPECT_NEAR(static_cast<double>(t.First), c.first, std::fabs(c.step) * 1e-12);
  EXPECT_EQ(t.MinorCount, c.minorCount);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceTickStepTest,
    ::testing::Values(
        StepCase{"Percent", 3, 0, 100, 0, 20, 4},
        StepCase{"UnitMantissaTwo", 3, 0, 1, 0, 0.2, 4},
        // 1/10 is exactly a power of ten: the snap gives 0.1, not 0.05.
        StepCase{"UnitTenIntervals", 10, 0, 1, 0, 0.1, 5},
        StepCase{"Reversed", 3, 100, 0, 100, -20, 4},
        StepCase{"FirstMultipleAfterLow", 3, 3, 17, 4, 2, 4},
        // Raised boundaries: exactly 2 (or 5) times a power falls to the lower mantissa.
        StepCase{"ExactlyTwentyPerInterval", 3, 0, 60, 0, 10, 5},
        StepCase{"ExactlyHalfPerInterval", 4, -1, 1, -1, 0.2, 4},
        StepCase{"MantissaFive", 3, -1, 1, -1, 0.5, 5},
        StepCase{"ExactlyFivePerInterval", 2, 0, 10, 0, 2, 4},
        StepCase{"Tiny", 3, 0, 3e-9, 0, 1e-9, 5},
        StepCase{"Huge", 5, 0, 1e300, 0, 1e299, 5},
        StepCase{"Negative", 3, -7.5, -2.25, -7, 1, 5},
        StepCase{"ReversedNegative", 4, -2, -12, -2, -2, 4},
        StepCase{"FirstWithinAThousandthBefore", 3, 20.0199, 120, 20, 20, 4},
        StepCase{"FirstJustBeyondAThousandth", 3, 20.021, 120, 40, 20, 4},
        StepCase{"EqualBounds", 3, 5, 5, 5, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NiceTickStep, EndsWhereAddingTheStepNoLongerMovesTheValue) {
  const long double low = 1e17 + 64;
  const TNiceTicks t = NiceTickStep(2, low, low + 16);
  EXPECT_EQ(t.Step, 5);
  EXPECT_LE(low - t.First, 0.001L * 5);
}

TEST(NiceTickStep, NonFiniteBoundsGiveNoStep) {
  EXPECT_EQ(NiceTickStep(3, 0, INFINITY).Step, 0);
  EXPECT_EQ(NiceTickStep(3, NAN, 1).Step, 0);
}

TEST(NiceTickStep, FullDoubleRangeHasAFiniteStep) {
  const TNiceTicks t = NiceTickStep(3, -1.7976931348623157e308, 1.7976931348623157e308);
  EXPECT_TRUE(std::isfinite(t.Step));
  EXPECT_EQ(static_cast<double>(t.Step), 1e308);
  EXPECT_EQ(static_cast<double>(t.First), -1e308);
}

TEST(NiceTickStep, StepsAreRoundNumbersWithoutError) {
  // Built from exact powers of ten, so minor positions land exactly on 0.
  EXPECT_EQ(NiceTickStep(3, 0, 100).Step, 20.0L);
  EXPECT_EQ(NiceTickStep(3, 0, 3e6).Step, 1e6L);
  EXPECT_EQ(NiceTickStep(3, 0, 1).Step, 2.0L / 10);
}

TEST(Math1, FloorModKeepsThePeriodAcrossZero) {
  EXPECT_EQ(FloorMod(-1, 7), 6);
  EXPECT_EQ(FloorMod(-7, 7), 0);
  EXPECT_EQ(FloorMod(-8, 7), 6);
  EXPECT_EQ(FloorMod(15, 7), 1);
  EXPECT_EQ(Floor(-1.25L), -2);
}

TEST(Math1, PowersOfTenAreExact) {
  EXPECT_EQ(Pow10(20), 1e20L);
  EXPECT_EQ(Pow10(-3), 1.0L / 1000);
  EXPECT_EQ(Pow10(0), 1);
  EXPECT_TRUE(std::isfinite(Pow10(-330)) && Pow10(-330) > 0);
}

}  // namespace

}  // namespace travenel
