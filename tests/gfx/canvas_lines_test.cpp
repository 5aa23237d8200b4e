// Lines, pens and clipping of the drawing surface, pixel for pixel.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr TColor kBg = clWhite;

// The set of pixels that differ from the background.
std::set<std::pair<int, int>> Drawn(const TBitmap& b) {
  std::set<std::pair<int, int>> s;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Canvas().Pixels(x, y) != kBg) s.insert({x, y});
  return s;
}

struct LineCase {
  const char* name;
  TPoint from, to;
  std::set<std::pair<int, int>> pixels;
};

class LineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineTest, DrawsExactlyTheseAndEndsAtTheEndPoint) {
  const LineCase& c = GetParam();
  TBitmap b(12, 12);
  b.Canvas().Pen.Color = clBlack;
  b.Canvas().MoveTo(c.from.X, c.from.Y);
  b.Canvas().LineTo(c.to.X, c.to.Y);
  EXPECT_EQ(Drawn(b), c.pixels);
  EXPECT_EQ(b.Canvas().PenPos(), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, LineTest,
    ::testing::Values(
        LineCase{"horizontal_end_excluded", {0, 0}, {5, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        LineCase{"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        LineCase{"zero_length", {2, 2}, {2, 2}, {}},
        LineCase{"leftwards", {5, 1}, {2, 1}, {{5, 1}, {4, 1}, {3, 1}}},
        LineCase{"upwards", {1, 4}, {1, 1}, {{1, 4}, {1, 3}, {1, 2}}},
        LineCase{"shallow", {0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        LineCase{"clipped_start", {-3, 2}, {3, 2}, {{0, 2}, {1, 2}, {2, 2}}}),
    [](const auto& info) { return info.param.name; });

TEST(Canvas, HugeCoordinatesAreClippedNotOverflowed) {
  TBitmap b(50, 20);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.MoveTo(-2000000000, 5);
  c.LineTo(2000000000, 5);
  for (int x = 0; x < 50; ++x) EXPECT_EQ(c.Pixels(x, 5), clBlack) << x;
  EXPECT_EQ(Drawn(b).size(), 50u);

  // A steep line whose visible part is a short stretch in the middle.
  TBitmap d(20, 20);
  d.Canvas().Pen.Color = clBlack;
  d.Canvas().MoveTo(10, -2147483647);
  d.Canvas().LineTo(10, 2147483647);
  EXPECT_EQ(Drawn(d).size(), 20u);

  // Extreme diagonals, rectangles and ellipses: nothing crashes, nothing hangs.
  c.MoveTo(INT32_MIN, INT32_MIN);
  c.LineTo(INT32_MAX, INT32_MAX);
  c.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  c.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  const TPoint tri[] = {{INT32_MIN, 0}, {INT32_MAX, 10}, {0, INT32_MAX}};
  c.Polygon(tri);
}

TEST(Canvas, PenWidthsZeroAndOneAreThinWiderPensAreWider) {
  for (int w : {0, 1, 3}) {
    TBitmap b(20, 20);
    b.Canvas().Pen.Color = clBlack;
    b.Canvas().Pen.Width = w;
    b.Canvas().MoveTo(2, 10);
    b.Canvas().LineTo(12, 10);
    const std::size_t expected = w <= 1 ? 10u : 30u;
    EXPECT_EQ(Drawn(b).size(), expected) << "width " << w;
  }
}

TEST(Canvas, DashedAndDottedPensLeaveGaps) {
  for (TPenStyle style : {psDash, psDot, psDashDot, psDashDotDot}) {
    TBitmap b(100, 3);
    b.Canvas().Pen.Color = clBlack;
    b.Canvas().Pen.Style = style;
    b.Canvas().MoveTo(0, 1);
    b.Canvas().LineTo(100, 1);
    int on = 0, changes = 0;
    for (int x = 0; x < 100; ++x) {
      const bool set = b.Canvas().Pixels(x, 1) == clBlack;
      on += set;
      if (x > 0 && set != (b.Canvas().Pixels(x - 1, 1) == clBlack)) ++changes;
    }
    EXPECT_GT(on, 20) << style;
    EXPECT_LT(on, 90) << style;
    EXPECT_GE(changes, 4) << style;
    EXPECT_EQ(b.Canvas().Pixels(0, 1), clBlack) << "a pattern starts with ink";
  }
  TBitmap clear(10, 3);
  clear.Canvas().Pen.Style = psClear;
  clear.Canvas().MoveTo(0, 1);
  clear.Canvas().LineTo(10, 1);
  EXPECT_TRUE(Drawn(clear).empty());
}

TEST(Canvas, XorDrawingTwiceRestoresEveryPixel) {
  TBitmap b(30, 30);
  TCanvas& c = b.Canvas();
  c.Brush.Color = 0x123456;
  c.FillRect(Rect(0, 0, 15, 30));
  c.Pen.Color = clBlack;
  c.MoveTo(0, 0);
  c.LineTo(29, 17);
  const QImage before = b.Image().copy();
  c.Pen.Mode = pmXor;
  c.Pen.Color = 0x00FF80;
  c.Brush.Style = bsClear;
  for (int pass = 0; pass < 2; ++pass) {
    c.Rectangle(3, 4, 25, 20);
    c.Rectangle(7, 7, 8, 12);  // one pixel wide: its column must not be drawn twice
    c.MoveTo(1, 28);
    c.LineTo(28, 2);
    const TPoint path[] = {{2, 2}, {20, 2}, {20, 9}, {2, 2}};
    c.Polyline(path);
  }
  EXPECT_EQ(b.Image(), before);
}

TEST(Canvas, PolylineLeavesOutItsLastPoint) {
  TBitmap b(10, 10);
  b.Canvas().Pen.Color = clBlack;
  const TPoint pts[] = {{1, 1}, {4, 1}, {4, 4}};
  b.Canvas().Polyline(pts);
  EXPECT_EQ(Drawn(b), (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}));
}

// A state taken and put back carries everything the next drawing reads: the
// rest of a dashed run continues its pattern as if nothing came between.
TEST(CanvasState, PutBackDrawsOnAsIfUninterrupted) {
  TBitmap a(60, 5), b(60, 5);
  for (TCanvas* c : {&a.Canvas(), &b.Canvas()}) {
    c->Pen = TPen{clRed, psDashDot};
    c->MoveTo(0, 2);
    c->LineTo(13, 2);
  }
  const TCanvasState saved = b.Canvas().State();
  b.Canvas().Pen = TPen{};
  b.Canvas().Font().SetHeight(30);
  b.Canvas().MoveTo(0, 0);
  b.Canvas().SetState(saved);
  const std::uint64_t generation = b.Canvas().Font().Generation();
  b.Canvas().SetState(saved);  // an equal font is not assigned again
  EXPECT_EQ(b.Canvas().Font().Generation(), generation);
  for (TCanvas* c : {&a.Canvas(), &b.Canvas()}) c->LineTo(59, 2);
  EXPECT_TRUE(a.Image() == b.Image());
}

}  // namespace

}  // namespace travenel
