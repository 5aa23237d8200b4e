// Reduced polylines set exactly the pixels of the full ones: random walks,
// steep and flat, leaving the surface on both sides, compared image for image
// with drawing every segment.
#include "travenel/chart/rchart_reduce.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr int kW = 48, kH = 32;

QImage Drawn(const std::vector<TPoint>& points) {
  TBitmap b(kW, kH);
  b.Canvas().Brush.Color = clWhite;
  b.Canvas().FillRect(Rect(0, 0, kW, kH));
  b.Canvas().Pen.Color = clBlack;
  b.Canvas().Polyline(points);
  return b.Image().copy();
}

struct Walk {
  const char* Name;
  int MaxDx, MaxDy;
  double MoveX;  // chance that a step moves sideways at all
};

// Steps of the walk; x and y wander well past every edge of the surface.
std::vector<TPoint> RandomWalk(const Walk& w, std::mt19937& rng, int n) {
  std::uniform_int_distribution<int> dx(-w.MaxDx, w.MaxDx), dy(-w.MaxDy, w.MaxDy);
  std::bernoulli_distribution sideways(w.MoveX);
  std::vector<TPoint> p{{std::uniform_int_distribution<int>(-10, kW + 10)(rng),
                         std::uniform_int_distribution<int>(-10, kH + 10)(rng)}};
  for (int i = 1; i < n; ++i) {
    TPoint q = p.back();
    if (sideways(rng)) q.X = std::clamp(q.X + dx(rng), -20, kW + 20);
    q.Y = std::clamp(q.Y + dy(rng), -25, kH + 25);
    p.push_back(q);
  }
  return p;
}

void PrintTo(const Walk& w, std::ostream* os) { *os << w.Name; }

class ReduceWalks : public ::testing::TestWithParam<Walk> {};

TEST_P(ReduceWalks, SamePixelsAsEverySegmentAndFewerPoints) {
  std::mt19937 rng(17);
  std::size_t total = 0, kept = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const std::vector<TPoint> p = RandomWalk(GetParam(), rng, 2 + trial % 97);
    const std::vector<TPoint> r = ReducePolyline(p, kW);
    ASSERT_EQ(Drawn(r), Drawn(p)) << GetParam().Name << " trial " << trial;
    total += p.size();
    kept += r.size();
  }
  EXPECT_LT(kept, total);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReduceWalks,
                         ::testing::Values(Walk{"steep", 1, 12, 0.1}, Walk{"flat", 2, 1, 0.9},
                                           Walk{"jumps", 30, 30, 0.5},
                                           Walk{"one column", 0, 3, 0.0},
                                           Walk{"sticky", 1, 1, 0.3}),
                         [](const auto& info) {
                           std::string n = info.param.Name;
                           std::replace(n.begin(), n.end(), ' ', '_');
                           return n;
                         });

TEST(Reduce, ColumnKeepsItsEndsInTheOrderThatDrawsTheLastPixelAsBefore) {
  // Ending on the top of the run (drawn before), just past it (never drawn),
  // and a column that was only ever a point.
  const std::vector<std::vector<TPoint>> cases = {
      {{5, 10}, {5, 20}, {5, 12}, {5, 20}},
      {{5, 10}, {5, 20}, {5, 12}, {5, 21}},
      {{5, 10}, {5, 10}, {6, 11}},
      {{4, 3}, {5, 10}, {5, 2}, {5, 30}, {5, 9}, {7, 9}},
  };
  for (const auto& p : cases) {
    const std::vector<TPoint> r = ReducePolyline(p, kW);
    EXPECT_EQ(Drawn(r), Drawn(p));
    EXPECT_LE(r.size(), 6u);
  }
  // A long column stays at most four points.
  std::vector<TPoint> column;
  for (int i = 0; i < 1000; ++i) column.push_back({7, (i * 37) % 29});
  EXPECT_LE(ReducePolyline(column, kW).size(), 4u);
}

}  // namespace

}  // namespace travenel
