// The generator and the jump offsets drawn from it.
#include "travenel/sim/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "travenel/sim/agenten.h"

namespace travenel {

namespace {

TEST(Random, SeedSequenceFollowsTheCongruence) {
  // 12345 * 134775813 + 1 mod 2^32, and so on, worked out by hand.
  TRandom r(12345);
  EXPECT_EQ(r.Next(), 1655067934u);
  EXPECT_EQ(r.Next(), 1242767767u);
  EXPECT_EQ(r.Next(), 342459380u);
  // From 0: 1, then 134775814.
  TRandom z(0);
  EXPECT_DOUBLE_EQ(z.Real(), 1.0 / 4294967296.0);
  EXPECT_DOUBLE_EQ(z.Real(), 134775814.0 / 4294967296.0);
  EXPECT_EQ(z.Seed(), 134775814u);
}

TEST(Random, IntegerDrawIsTheUpperHalfOfSeedTimesN) {
  TRandom r(12345);
  EXPECT_EQ(r.Below(40), 15);  // 1655067934 * 40 >> 32
  EXPECT_EQ(r.Below(40), 11);
  EXPECT_EQ(r.Below(40), 3);
  EXPECT_EQ(r.Below(2), 1);  // 2377737157 is above 2^31
}

TEST(Random, IntegerDrawsStayBelowN) {
  TRandom r(7);
  for (std::int32_t n : {1, 2, 3, 40, 1000, 2147483647}) {
    for (int i = 0; i < 20000; ++i) {
      const std::int32_t v = r.Below(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
}

TEST(Random, RandomizeTakesTheClock) {
  TRandom a(0), b(0);
  a.Randomize();
  b.Randomize();
  // Two reseeds a moment apart give different seeds (nanosecond clock).
  EXPECT_NE(a.Seed(), 0u);
  EXPECT_NE(a.Seed(), b.Seed());
}

// Seeds whose next value is 0, 2^31 and 2^32 - 1 (inverse of 134775813 mod 2^32).
constexpr std::uint32_t kSeedBeforeZero = 649090867u;
constexpr std::uint32_t kSeedBeforeHalf = 2796574515u;
constexpr std::uint32_t kSeedBeforeMax = 1298181734u;

TEST(RandomOffset, ExtremesAndTheHalfRoundToEven) {
  TRandom r;
  TAgent a(r);
  r.SetSeed(kSeedBeforeZero);
  EXPECT_EQ(a.RandomOffset(-10, 10), -10);  // u = 0
  r.SetSeed(kSeedBeforeMax);
  EXPECT_EQ(a.RandomOffset(-10, 10), 11);  // u just below 1: 10.99999...
  r.SetSeed(kSeedBeforeHalf);
  EXPECT_EQ(a.RandomOffset(-10, 10), 0);  // u = 0.5 gives 0.5, rounded to even
}

TEST(RandomOffset, YieldsExactlyTheTwentyTwoValuesFromMinusTenToEleven) {
  TRandom r(4711);
  TAgent a(r);
  std::map<int, int> seen;
  constexpr int kDraws = 21 * 20000;
  for (int i = 0; i < kDraws; ++i) ++seen[a.RandomOffset(-10, 10)];
  ASSERT_EQ(seen.size(), 22u);
  EXPECT_EQ(seen.begin()->first, -10);
  EXPECT_EQ(seen.rbegin()->first, 11);
  // The two end values come half as often as the others (1/42 against 1/21).
  for (const auto& [v, n] : seen) {
    const double expected = (v == -10 || v == 11) ? kDraws / 42.0 : kDraws / 21.0;
    EXPECT_NEAR(n, expected, expected * 0.06) << v;
  }
}

TEST(RandomOffset, ChangeHeadingTakesTheColumnOffsetFirst) {
  TRandom r(99), replay(99);
  TAgent a(r), b(replay);
  a.ChangeHeading(10);
  EXPECT_EQ(a.StepX, b.RandomOffset(-10, 10));
  EXPECT_EQ(a.StepY, b.RandomOffset(-10, 10));
  EXPECT_EQ(r.Seed(), replay.Seed());
}

// The formula as stated: u * (high - low + 1) + low in floating point,
// rounded half to even.
std::int32_t OffsetByFormula(TRandom& r, std::int32_t low, std::int32_t high) {
  const double u = r.Real();
  return static_cast<std::int32_t>(std::nearbyint(u * (static_cast<double>(high) - low + 1) + low));
}

struct TOffsetRange {
  std::int32_t Low, High;
};

class RandomOffsetRange : public ::testing::TestWithParam<TOffsetRange> {};

TEST_P(RandomOffsetRange, IntegerRouteAgreesWithTheFloatingPointFormula) {
  const auto [low, high] = GetParam();
  // Every seed whose draw lands on a rounding boundary matters most: walk the
  // generator and also the seeds right around the half.
  TRandom r(1), ref(1);
  TAgent a(r);
  for (int i = 0; i < 200000; ++i)
    ASSERT_EQ(a.RandomOffset(low, high), OffsetByFormula(ref, low, high)) << i;
  for (std::uint32_t next : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0x80000001u, 0xFFFFFFFFu}) {
    // Set the seed so that the next value is `next` (seed * M + 1 = next).
    const std::uint32_t before = (next - 1u) * 0xD94FA8CDu;  // M^-1 mod 2^32
    r.SetSeed(before);
    ref.SetSeed(before);
    ASSERT_EQ(a.RandomOffset(low, high), OffsetByFormula(ref, low, high)) << next;
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, RandomOffsetRange,
                         ::testing::Values(TOffsetRange{-10, 10}, TOffsetRange{0, 0},
                                           TOffsetRange{-1, 1}, TOffsetRange{0, 1},
                                           TOffsetRange{-3, 4}, TOffsetRange{5, 100},
                                           TOffsetRange{-65536, 65535},
                                           TOffsetRange{-100000, 100000},
                                           TOffsetRange{-1000000, -5}));

}  // namespace

}  // namespace travenel
