// The drawing surface at the edges: coordinates, sizes and pen widths anywhere
// in the 32-bit range, empty boxes, source rectangles beyond their image and
// fonts far larger than the surface.
#include <gtest/gtest.h>

#include <climits>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

int CountNot(const TBitmap& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Canvas().Pixels(x, y) != c;
  return n;
}

TEST(Bounds, FarEdgesStopAtTheEndOfTheRange) {
  EXPECT_EQ(Bounds(INT_MAX, -50, 80, 215), Rect(INT_MAX, -50, INT_MAX, 165));
  EXPECT_EQ(Bounds(INT_MIN, INT_MIN, -1, -7), Rect(INT_MIN, INT_MIN, INT_MIN, INT_MIN));
  EXPECT_EQ(Bounds(5, 3, INT_MAX, 4), Rect(5, 3, INT_MAX, 7));
}

TEST(Canvas, TextAtTheEndOfTheRangeDrawsNothingAndKeepsThePenThere) {
  TBitmap b(20, 20);
  TCanvas& c = b.Canvas();
  c.Brush.Color = clRed;
  c.TextOut(INT_MAX, 2, "Wq");
  EXPECT_EQ(c.PenPos(), (TPoint{INT_MAX, 2}));
  c.TextOut(2, INT_MAX, "Wq");
  EXPECT_EQ(CountNot(b, clWhite), 0);
}

// A pen wider than the surface reaches every pixel across the line, however
// much wider it is: INT_MAX paints what a pen just wider than the surface
// paints (and does not take a step per unit of width).
TEST(Canvas, PenOfAnyWidthPaintsWhatASurfaceWidePenPaints) {
  struct Path {
    int x0, y0, x1, y1;
  };
  const Path paths[] = {{4, 1, 4, 112}, {0, 60, 30, 50}, {65539, 112, 6, 1}, {-9, -9, 40, 130}};
  for (const Path& p : paths) {
    TBitmap wide(31, 123), widest(31, 123);
    for (TBitmap* b : {&wide, &widest}) {
      TCanvas& c = b->Canvas();
      c.Pen.Width = b == &wide ? 2 * (31 + 123) + 1 : INT_MAX;
      c.Pen.Color = clBlue;
      c.MoveTo(p.x0, p.y0);
      c.LineTo(p.x1, p.y1);
    }
    EXPECT_TRUE(wide.Image() == widest.Image()) << p.x0 << "," << p.y0;
    EXPECT_GT(CountNot(widest, clWhite), 0) << p.x0 << "," << p.y0;
  }
}

// The outline of a wide pen is what lies inside the ellipse but has a
// neighbour outside within the pen's width, along a row or a column.
TEST(Canvas, WideEllipseOutlineFollowsTheNeighbourRule) {
  for (int width : {1, 2, 3, 5, 9, 40}) {
    for (TRect box : {Rect(1, 2, 30, 21), Rect(-7, 3, 26, 50), Rect(2, 2, 4, 31)}) {
      TBitmap disc(32, 32), ring(32, 32);
      disc.Canvas().Pen.Color = disc.Canvas().Brush.Color = clBlack;
      disc.Canvas().Ellipse(box);
      TCanvas& c = ring.Canvas();
      c.Pen.Width = width;
      c.Pen.Color = clRed;
      c.Brush.Color = clBlue;
      c.Ellipse(box);
      auto inside = [&](int x, int y) {
        if (x < box.Left || y < box.Top || x >= box.Right || y >= box.Bottom) return false;
        if (x >= 0 && y >= 0 && x < 32 && y < 32) return disc.Canvas().Pixels(x, y) == clBlack;
        // Off the surface: the disc is symmetric about its centre lines.
        const int mx = box.Left + box.Right - 1 - x, my = box.Top + box.Bottom - 1 - y;
        return disc.Canvas().Pixels(mx >= 0 && mx < 32 ? mx : x, my >= 0 && my < 32 ? my : y) ==
               clBlack;
      };
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          bool outline = false;
          for (int j = 1; j <= width; ++j)
            outline = outline || !inside(x - j, y) || !inside(x + j, y) || !inside(x, y - j) ||
                      !inside(x, y + j);
          const TColor expected = !inside(x, y) ? clWhite : outline ? clRed : clBlue;
          ASSERT_EQ(c.Pixels(x, y), expected) << width << " at " << x << "," << y;
        }
    }
  }
}

// Shapes far larger than the surface draw only the rows they show there; the
// pixels are those the same shape leaves on a larger surface lying elsewhere,
// and without a fill those it leaves with a fill in the surface's colour
// (which draws every row).
TEST(Canvas, ShapesFarLargerThanTheSurfaceDrawWhatShowsOfThem) {
  constexpr int kW = 50, kH = 40, kMove = 11;
  const TRect boxes[] = {{-100000, -100000, 100050, 100040},  // around it
                         {-100000, 5, 100050, 200035},        // its top edge crosses
                         {20, -100000, 300000, 100000},       // its left edge crosses
                         {10, -70000, 40, 70000},             // both sides cross
                         {-100000, 5, 100050, 35},            // its top and bottom cross
                         {-600, -400, 650, 440}};             // around it, rows from the table
  for (const TRect& r : boxes) {
    for (int variant = 0; variant < 8; ++variant) {
      TBitmap at(kW, kH), moved(kW + 2 * kMove, kH + 2 * kMove), filled(kW, kH);
      for (TBitmap* b : {&at, &moved, &filled}) {
        TCanvas& c = b->Canvas();
        c.Pen.Width = variant % 2 ? 3 : 1;
        c.Pen.Color = clBlue;
        c.Brush.Style = variant & 2 && b != &filled ? bsClear : bsSolid;
        c.Brush.Color = variant & 2 ? clWhite : clYellow;
        const int d = b == &moved ? kMove : 0;
        if (variant & 4)
          c.Rectangle(r.Left + d, r.Top + d, r.Right + d, r.Bottom + d);
        else
          c.Ellipse(r.Left + d, r.Top + d, r.Right + d, r.Bottom + d);
      }
      EXPECT_TRUE(at.Image() == filled.Image()) << r.Left << "," << r.Top << " variant " << variant;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
          ASSERT_EQ(at.Canvas().Pixels(x, y), moved.Canvas().Pixels(x + kMove, y + kMove))
              << r.Left << "," << r.Top << " variant " << variant << " at " << x << "," << y;
    }
  }
}

TEST(Canvas, DashedRectangleAtTheEndsOfTheRangeIsClipped) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  for (TPenStyle style : {psDash, psDot}) {
    c.Pen.Style = style;
    c.Rectangle(INT_MIN, 0, INT_MIN, 5);
    c.Rectangle(INT_MAX, 0, INT_MAX, 5);
    c.Rectangle(0, INT_MIN, 5, INT_MIN);
    c.Rectangle(0, INT_MAX, 5, INT_MAX);
    c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // the outline is off the surface
  }
  EXPECT_EQ(CountNot(b, clWhite), 0);
  c.Pen.Style = psDot;
  c.Rectangle(INT_MIN, 2, INT_MAX, 6);  // the dotted top and bottom edges cross it
  EXPECT_GT(CountNot(b, clWhite), 0);
}

TEST(Canvas, EmptyBoxDrawsNothingWhateverThePen) {
  for (TPenStyle style : {psSolid, psDash, psDot, psDashDot, psDashDotDot}) {
    TBitmap b(40, 100);
    TCanvas& c = b.Canvas();
    c.Pen.Style = style;
    c.Brush.Color = clRed;
    c.Rectangle(0, 89, 30, 89);
    c.Rectangle(7, 10, 7, 40);
    EXPECT_EQ(CountNot(b, clWhite), 0) << style;
  }
}

// A source of 10 x 10 with one red pixel in each corner.
void Corners(TBitmap& src) {
  src.SetSize(10, 10);
  for (int x : {0, 9})
    for (int y : {0, 9}) src.Canvas().SetPixels(x, y, clRed);
}

TEST(Bitmap, CopyRectDrawsOnlyWhatLiesOnTheSource) {
  TBitmap src;
  Corners(src);
  TBitmap dst(40, 40);
  TCanvas& c = dst.Canvas();
  c.Brush.Color = clGreen;
  c.FillRect(Rect(0, 0, 40, 40));
  // Twice the size, from a source rectangle that starts 10 pixels before the
  // image: the image lands on the bottom-right quarter, the rest stays green.
  c.CopyRect(Rect(0, 0, 40, 40), src.Canvas(), Rect(-10, -10, 10, 10));
  for (int x : {0, 19, 20, 21, 30, 38, 39}) {
    const TColor expected = x < 20 ? clGreen : (x <= 21 || x >= 38) ? clRed : clWhite;
    EXPECT_EQ(c.Pixels(x, 20), expected) << x;
    EXPECT_EQ(c.Pixels(20, x), expected) << x;
  }
  EXPECT_EQ(c.Pixels(10, 30), clGreen);
  // A source rectangle of 12000 x 12000 around a 10 x 10 image: its pixels are
  // far smaller than one destination pixel and hit no pixel centre.
  c.FillRect(Rect(0, 0, 40, 40));
  c.CopyRect(Rect(0, 0, 10, 10), src.Canvas(), Rect(0, 0, 12000, 12000));
  c.CopyRect(Rect(0, 0, 10, 10), src.Canvas(), Rect(-(1 << 22), 0, 1 << 22, 10));
  c.CopyRect(Rect(0, 0, 40, 40), src.Canvas(), Rect(INT_MIN, INT_MIN, -1, -1));
  EXPECT_EQ(CountNot(dst, clGreen), 0);
}

// A destination far larger than the surface keeps its scale: the surface
// shows the part of the picture that falls on it.
TEST(Bitmap, StretchDrawBeyondTheSurfaceIsClippedNotSquashed) {
  TBitmap src(4, 1);
  src.Canvas().SetPixels(1, 0, clRed);
  src.Canvas().SetPixels(2, 0, clBlue);
  TBitmap dst(8, 2);
  // Each source pixel is 2^23 pixels wide; the seam of red and blue falls on x = 3.
  const int quarter = 1 << 23;
  dst.Canvas().StretchDraw(Rect(3 - 2 * quarter, 0, 3 + 2 * quarter, 2), src);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.Canvas().Pixels(x, 1), x < 3 ? clRed : clBlue) << x;
  // The whole 32-bit range as destination: 2^30 pixels per source pixel.
  dst.Canvas().StretchDraw(Rect(INT_MIN, 0, INT_MAX, 2), src);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.Canvas().Pixels(x, 0), clBlue) << x;
}

TEST(Bitmap, CopyRectOntoItselfReadsTheOldPixels) {
  TBitmap b(4, 1);
  b.Canvas().SetPixels(0, 0, clRed);
  b.Canvas().CopyRect(Rect(1, 0, 4, 1), b.Canvas(), Rect(0, 0, 1, 1));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Canvas().Pixels(x, 0), clRed) << x;
}

// Text far higher than the surface still shows the part of it that falls on
// the surface, and its width is the sum of its advances as for small text.
TEST(Canvas, HugeFontDrawsItsVisiblePart) {
  for (int height : {600, 4000, 20000, TFont::kMaxHeight}) {
    TBitmap b(50, 50);
    TCanvas& c = b.Canvas();
    c.Font().SetHeight(height);
    c.Font().SetColor(clBlack);
    c.Brush.Style = bsClear;
    const int w = c.TextWidth("I"), h = c.TextHeight("I");
    ASSERT_GT(w, height / 10) << height;
    EXPECT_EQ(c.TextWidth("II"), 2 * w) << height;
    // The middle of the box of an "I" lies on its stem.
    c.TextOut(25 - w / 2, 25 - h / 2, "I");
    EXPECT_EQ(c.Pixels(25, 25), clBlack) << height;
    EXPECT_EQ(c.PenPos(), (TPoint{25 - w / 2 + w, 25 - h / 2})) << height;
  }
}

TEST(Font, HeightStopsAtItsLimit) {
  TFont f;
  f.SetHeight(INT_MAX);
  EXPECT_EQ(f.Height(), TFont::kMaxHeight);
  f.SetSize(INT_MAX);
  EXPECT_EQ(f.Height(), TFont::kMaxHeight);
}

}  // namespace

}  // namespace travenel
