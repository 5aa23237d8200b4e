// The quick rectangle and ellipse against the canvas's general route: every
// pixel of the surface must come out the same, for boxes wholly on it, across
// its edges and off it, with plain and other pens and brushes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/QuickShapes.h"

namespace travenel {

namespace {

constexpr int kW = 30, kH = 26;

struct TStyle {
  TPenStyle Style;
  int Width;
  TPenMode Mode;
  TBrushStyle Brush;
  TColor Pen, Fill;
};

constexpr TStyle kStyles[] = {
    {psSolid, 0, pmCopy, bsSolid, clGray, 0x7D7D7D},      // a cell
    {psSolid, 1, pmCopy, bsSolid, clWhite, clWhite},      // an agent
    {psSolid, 1, pmCopy, bsSolid, clBtnFace, clBtnFace},  // system colours
    {psSolid, 1, pmCopy, bsSolid, 0x12000080, clMaroon},  // a stray top byte
    {psSolid, -3, pmCopy, bsSolid, clRed, clBlue},
    {psSolid, 2, pmCopy, bsSolid, clBlack, clBlack},
    {psSolid, 3, pmCopy, bsSolid, clRed, clBlue},
    {psDash, 1, pmCopy, bsSolid, clBlack, clBlack},
    {psClear, 1, pmCopy, bsSolid, clRed, clRed},
    {psSolid, 1, pmXor, bsSolid, clYellow, clYellow},
    {psSolid, 1, pmCopy, bsClear, clRed, clRed},
};

void Apply(TCanvas& c, const TStyle& s) {
  c.Pen.Style = s.Style;
  c.Pen.Width = s.Width;
  c.Pen.Mode = s.Mode;
  c.Pen.Color = s.Pen;
  c.Brush.Style = s.Brush;
  c.Brush.Color = s.Fill;
}

// A surface where no two neighbouring pixels are alike.
void Noise(TBitmap& b) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      b.Canvas().SetPixels(x, y, (x * 73 + y * 151) * 2654435761u & 0xFFFFFF);
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  return std::memcmp(a.Image().constBits(), b.Image().constBits(), a.Image().sizeInBytes()) == 0;
}

// Left edges of boxes of width w: off, across and on both edges of a side.
std::vector<int> Edges(int w, int side) {
  return {-w - 1, -w, -w + 1, -1, 0, 1, 7, side - w - 1, side - w, side - w + 1, side - 1, side};
}

template <class Quick, class General>
void ExpectSamePixels(int w, int h, Quick quick, General general) {
  TBitmap a(kW, kH), b(kW, kH);
  for (const TStyle& s : kStyles) {
    Noise(a);
    Noise(b);
    Apply(a.Canvas(), s);
    Apply(b.Canvas(), s);
    bool swap = false;
    for (int x : Edges(w, kW))
      for (int y : Edges(h, kH)) {
        // Every other box is given with its corners swapped.
        swap = !swap;
        if (swap) {
          quick(a.Canvas(), x + w, y + h, x, y);
          general(b.Canvas(), x + w, y + h, x, y);
        } else {
          quick(a.Canvas(), x, y, x + w, y + h);
          general(b.Canvas(), x, y, x + w, y + h);
        }
        ASSERT_TRUE(SamePixels(a, b)) << w << " x " << h << " at " << x << "," << y << " pen "
                                      << s.Pen << " style " << int(s.Style) << " width " << s.Width;
      }
  }
}

TEST(QuickShapes, RectangleWritesTheGeneralRoutesPixels) {
  for (int w : {1, 2, 3, 10, 13})
    for (int h : {1, 2, 10, 11})
      ExpectSamePixels(
          w, h,
          [](TCanvas& c, int x1, int y1, int x2, int y2) { QuickRectangle(c, x1, y1, x2, y2); },
          [](TCanvas& c, int x1, int y1, int x2, int y2) { c.Rectangle(x1, y1, x2, y2); });
}

TEST(QuickShapes, EllipseWritesTheGeneralRoutesPixels) {
  for (int w : {7, 8, 9})
    for (int h : {7, 8, 9})
      ExpectSamePixels(
          w, h, [](TCanvas& c, int x1, int y1, int x2, int y2) { QuickEllipse(c, x1, y1, x2, y2); },
          [](TCanvas& c, int x1, int y1, int x2, int y2) { c.Ellipse(x1, y1, x2, y2); });
}

TEST(QuickShapes, FarCoordinatesAndAnEmptySurfaceFallBackSafely) {
  TBitmap a(kW, kH), b(kW, kH), empty;
  Noise(a);
  Noise(b);
  for (TCanvas* c : {&a.Canvas(), &empty.Canvas()}) {
    QuickRectangle(*c, INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10);
    QuickRectangle(*c, INT32_MAX, 3, INT32_MIN, 13);
    QuickEllipse(*c, INT32_MAX - 8, 0, INT32_MAX, 8);
    QuickEllipse(*c, 0, INT32_MIN, 8, INT32_MIN + 8);
  }
  b.Canvas().Rectangle(INT32_MAX, 3, INT32_MIN, 13);
  EXPECT_TRUE(SamePixels(a, b));
}

}  // namespace

}  // namespace travenel
