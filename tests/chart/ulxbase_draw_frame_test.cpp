// Rectangle outlines and 3-D frames, pixel for pixel.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

// Frame style ordinals as the chart library numbers them.
constexpr std::uint8_t kNone = 0, kSimple = 1, kLowered = 2, kRaised = 3, kEmbossed = 4,
                       kEngraved = 5;

// Five colours that are easy to tell apart, none of them white.
constexpr TColor kHighlight = 0x00F0F0, kLight = 0xC0C0C0, kShadow = 0x808080, kDark = 0x200000,
                 kSimpleColor = 0x0000A0;

void Styled(TCanvas& c, std::uint8_t style, int l, int t, int r, int b) {
  DrawFrameStyled(c, style, l, t, r, b, kHighlight, kLight, kShadow, kDark, kSimpleColor);
}

bool SameImage(const TBitmap& a, const TBitmap& b) { return a.Image() == b.Image(); }

TEST(DrawRectOutline, SimpleFrameDrawsAClosedOutlineWithEveryCorner) {
  TBitmap b(12, 12);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clRed;
  Styled(c, kSimple, 0, 0, 9, 9);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool onRing = x <= 9 && y <= 9 && (x == 0 || x == 9 || y == 0 || y == 9);
      EXPECT_EQ(c.Pixels(x, y), onRing ? kSimpleColor : clWhite) << x << "," << y;
    }
  EXPECT_EQ(c.Pen.Color, kSimpleColor);
}

TEST(DrawRectOutline, ReversedRectangleDrawsTheSameOutline) {
  TBitmap a(12, 12), b(12, 12);
  DrawRectOutline(a.Canvas(), 1, 2, 9, 10);
  DrawRectOutline(b.Canvas(), 9, 10, 1, 2);
  EXPECT_TRUE(SameImage(a, b));
}

// The colours a frame style gives the outer ring's left/top half, its
// right/bottom half, and the same halves of the inner ring.
struct RingColours {
  std::uint8_t Style;
  TColor OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
};

class FrameStyle : public ::testing::TestWithParam<RingColours> {};

// Which ring colour a pixel of the rectangle's border gets: the top row and the
// left column belong to the first half except the bottom-left corner, which
// the second half's bottom row takes.
TColor RingPixel(int x, int y, int l, int t, int r, int b, TColor topLeft, TColor bottomRight) {
  if (x < l || x > r || y < t || y > b) return clWhite;
  if (y == t || (x == l && y < b)) return topLeft;
  if (x == r || y == b) return bottomRight;
  return clWhite;
}

TEST_P(FrameStyle, ColoursBothRingsPixelExact) {
  const RingColours& p = GetParam();
  constexpr int l = 2, t = 3, r = 12, b = 9;
  for (std::uint8_t topBit : {std::uint8_t{0}, std::uint8_t{0x80}}) {
    TBitmap bmp(15, 13);
    TCanvas& c = bmp.Canvas();
    Styled(c, static_cast<std::uint8_t>(p.Style | topBit), l, t, r, b);
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) {
        TColor expected = RingPixel(x, y, l, t, r, b, p.OuterTopLeft, p.OuterBottomRight);
        if (expected == clWhite)
          expected = RingPixel(x, y, l + 1, t + 1, r - 1, b - 1, p.InnerTopLeft, p.InnerBottomRight);
        EXPECT_EQ(c.Pixels(x, y), expected) << "style " << int(p.Style | topBit) << " at " << x << "," << y;
      }
    // The pen stays in the colour of the last half drawn.
    EXPECT_EQ(c.Pen.Color, p.InnerBottomRight);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FrameStyle,
    ::testing::Values(RingColours{kLowered, kShadow, kHighlight, kDark, kLight},
                      RingColours{kRaised, kHighlight, kDark, kLight, kShadow},
                      RingColours{kEmbossed, kHighlight, kShadow, kShadow, kHighlight},
                      RingColours{kEngraved, kShadow, kHighlight, kHighlight, kShadow}));

TEST(DrawFrameStyled, RaisedThenLoweredSwapTheOuterRingHalves) {
  // With shadow and dark alike, lowered is raised turned inside out.
  auto draw = [](TBitmap& bmp, std::uint8_t style) {
    DrawFrameStyled(bmp.Canvas(), style, 0, 0, 9, 9, kHighlight, kLight, kDark, kDark, kSimpleColor);
  };
  TBitmap bmp(10, 10);
  draw(bmp, kRaised);
  TColor raised[10][10];
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) raised[y][x] = bmp.Canvas().Pixels(x, y);
  draw(bmp, kLowered);
  int outer = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      if (x != 0 && x != 9 && y != 0 && y != 9) continue;
      ++outer;
      const TColor now = bmp.Canvas().Pixels(x, y);
      ASSERT_TRUE(raised[y][x] == kHighlight || raised[y][x] == kDark) << x << "," << y;
      EXPECT_EQ(now, raised[y][x] == kHighlight ? kDark : kHighlight) << x << "," << y;
    }
  EXPECT_EQ(outer, 36);
}

TEST(DrawFrameStyled, TopBitOfTheStyleByteIsIgnored) {
  TBitmap a(16, 16), b(16, 16);
  Styled(a.Canvas(), 0x83, 1, 1, 14, 14);
  Styled(b.Canvas(), kRaised, 1, 1, 14, 14);
  EXPECT_TRUE(SameImage(a, b));
}

TEST(DrawFrameStyled, NoneAndUnknownStylesDrawNothingAndKeepThePen) {
  TBitmap blank(12, 12);
  for (int style = 0; style < 256; ++style) {
    if ((style & 0x7F) != kNone && (style & 0x7F) <= kEngraved) continue;
    TBitmap b(12, 12);
    b.Canvas().Pen.Color = clGreen;
    Styled(b.Canvas(), static_cast<std::uint8_t>(style), 0, 0, 11, 11);
    EXPECT_TRUE(SameImage(b, blank)) << "style " << style;
    EXPECT_EQ(b.Canvas().Pen.Color, clGreen) << "style " << style;
  }
}

TEST(DrawFrameStyled, FarAwayEdgesAreClippedNotOverflowed) {
  TBitmap b(10, 10);
  for (std::uint8_t style = kSimple; style <= kEngraved; ++style) {
    Styled(b.Canvas(), style, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    Styled(b.Canvas(), style, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  }
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(b.Canvas().Pixels(x, y), clWhite);
  // A frame reaching far out still shows its near edges where they are.
  Styled(b.Canvas(), kSimple, 1, 1, INT_MAX, INT_MAX);
  for (int i = 1; i < 10; ++i) {
    EXPECT_EQ(b.Canvas().Pixels(1, i), kSimpleColor) << i;
    EXPECT_EQ(b.Canvas().Pixels(i, 1), kSimpleColor) << i;
  }
  EXPECT_EQ(b.Canvas().Pixels(5, 5), clWhite);
}

}  // namespace

}  // namespace travenel
