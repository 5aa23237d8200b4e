// Rectangles, ellipses, polygons, text and images of the drawing surface.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/Glyphs.h"
#include "qt_messages.h"

namespace travenel {

namespace {

int CountColor(const TBitmap& b, TColor c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Canvas().Pixels(x, y) == c;
  return n;
}

TEST(Canvas, RectangleOutlineAndFillLeaveRightAndBottomEdgesOut) {
  TBitmap b(12, 12);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clGray;
  c.Brush.Color = clRed;
  c.Rectangle(0, 0, 10, 10);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      TColor expected = clWhite;
      if (x <= 9 && y <= 9) expected = (x == 0 || x == 9 || y == 0 || y == 9) ? clGray : clRed;
      EXPECT_EQ(c.Pixels(x, y), expected) << x << "," << y;
    }
  }
}

TEST(Canvas, RectangleWithClearBrushLeavesTheInteriorAlone) {
  TBitmap b(12, 12);
  TCanvas& c = b.Canvas();
  c.Brush.Color = clSilver;
  c.FillRect(Rect(0, 0, 12, 12));
  c.Brush.Style = bsClear;
  c.Pen.Color = clBlack;
  c.Rectangle(1, 1, 11, 11);
  EXPECT_EQ(CountColor(b, clBlack), 36);
  EXPECT_EQ(c.Pixels(5, 5), clSilver);
  EXPECT_EQ(c.Pixels(11, 11), clSilver);
}

TEST(Canvas, EllipseStaysInsideItsBoxAndIsSymmetric) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clBlack;
  c.Ellipse(0, 0, 8, 8);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool set = c.Pixels(x, y) == clBlack;
      if (x >= 8 || y >= 8) EXPECT_FALSE(set) << x << "," << y;
      else {
        EXPECT_EQ(set, c.Pixels(7 - x, y) == clBlack) << x << "," << y;
        EXPECT_EQ(set, c.Pixels(x, 7 - y) == clBlack) << x << "," << y;
        EXPECT_EQ(set, c.Pixels(y, x) == clBlack) << x << "," << y;
      }
    }
  // Round, not square: the corners stay free, the middle rows are full width.
  EXPECT_NE(c.Pixels(0, 0), clBlack);
  EXPECT_EQ(c.Pixels(0, 3), clBlack);
  EXPECT_EQ(c.Pixels(3, 0), clBlack);
}

TEST(Canvas, OpenEllipseOutlineIsAClosedRing) {
  TBitmap b(12, 12);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Style = bsClear;
  c.Ellipse(1, 1, 11, 11);
  EXPECT_EQ(c.Pixels(5, 5), clWhite);
  // Every row of the box has ink on both sides of the centre.
  for (int y = 1; y <= 10; ++y) {
    int left = 0, right = 0;
    for (int x = 1; x <= 5; ++x) left += c.Pixels(x, y) == clBlack;
    for (int x = 6; x <= 10; ++x) right += c.Pixels(x, y) == clBlack;
    EXPECT_GT(left, 0) << y;
    EXPECT_EQ(left, right) << y;
  }
}

TEST(Canvas, PolygonIsClosedFilledAndOutlined) {
  TBitmap b(12, 12);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clRed;
  const TPoint tri[] = {{1, 1}, {9, 1}, {1, 9}};
  c.Polygon(tri);
  EXPECT_EQ(c.Pixels(3, 3), clRed);       // inside
  EXPECT_EQ(c.Pixels(1, 5), clBlack);     // the closing edge back to the start
  EXPECT_EQ(c.Pixels(5, 1), clBlack);
  EXPECT_EQ(c.Pixels(9, 9), clWhite);
  EXPECT_EQ(c.PenPos(), (TPoint{0, 0})) << "a polygon leaves the pen where it was";
}

TEST(Canvas, TextBoxIsFilledWithASolidBrushAndLeftAloneWithAClearOne) {
  TBitmap b(120, 40);
  TCanvas& c = b.Canvas();
  c.Font().SetColor(clBlack);
  const std::string text = "Agenten 74";
  const int w = c.TextWidth(text), h = c.TextHeight(text);
  ASSERT_GT(w, 20);
  ASSERT_GT(h, 8);
  c.Brush.Color = clYellow;
  c.TextOut(10, 5, text);
  int glyph = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const TColor p = c.Pixels(x, y);
      const bool inBox = x >= 10 && x < 10 + w && y >= 5 && y < 5 + h;
      if (!inBox) EXPECT_EQ(p, clWhite) << x << "," << y;
      else if (p != clYellow) ++glyph;
    }
  EXPECT_GT(glyph, 20);
  EXPECT_EQ(c.Pixels(10, 5), clYellow) << "top-left of the box is background";

  TBitmap clear(120, 40);
  TCanvas& d = clear.Canvas();
  d.Brush.Color = clSilver;
  d.FillRect(Rect(0, 0, 120, 40));
  d.Brush.Style = bsClear;
  d.Font().SetColor(clBlack);
  d.TextOut(10, 5, text);
  EXPECT_EQ(d.Pixels(10, 5), clSilver);
  EXPECT_EQ(d.Pixels(10 + w - 1, 5 + h - 1), clSilver);
  EXPECT_GT(120 * 40 - CountColor(clear, clSilver), 20);
}

// Every glyph pixel is the plain blend of the background and the font colour
// by the glyph's coverage, rounded: (d * (255 - a) + f * a + 127) / 255 per channel.
// A text drawn again on a plain box is copied from the first drawing, so each
// case is drawn twice, and once more over a stripe (a box of two colours).
TEST(Canvas, GlyphPixelsBlendByCoverage) {
  const std::string text = "Wg7&";
  for (const auto& [bg, fg] : {std::pair{TColor{0x123456}, TColor{0xFEDCBA}},
                               std::pair{TColor{0x123456}, TColor{0x00FF00}},
                               std::pair{TColor{clWhite}, TColor{clBlack}},
                               std::pair{TColor{0x00FF01}, TColor{0xFF00FE}}}) {
    for (int pass = 0; pass < 3; ++pass) {
      TBitmap b(80, 30);
      TCanvas& c = b.Canvas();
      c.Brush.Color = bg;
      c.FillRect(Rect(0, 0, 80, 30));
      if (pass == 2) c.Brush.Color = 0x445566, c.FillRect(Rect(0, 9, 80, 12));
      const QImage before = b.Image().copy();
      c.Brush.Style = bsClear;
      c.Font().SetHeight(17);
      c.Font().SetColor(fg);
      c.TextOut(3, 2, text);
      glyphs::FontGlyphs& g = glyphs::For(c.Font().QtFont());
      int penX = 3, blended = 0;
      for (char ch : text) {
        const glyphs::Glyph& gl = g.Get(static_cast<char32_t>(ch));
        for (int j = 0; j < gl.H; ++j)
          for (int i = 0; i < gl.W; ++i) {
            const int a = gl.Coverage[static_cast<std::size_t>(j * gl.W + i)];
            const int x = penX + gl.Left + i, y = 2 + gl.Top + j;
            if (a == 0 || x >= 3 + c.TextWidth(text)) continue;
            const auto mix = [a](int d, int f) { return (d * (255 - a) + f * a + 127) / 255; };
            const QRgb d = before.pixel(x, y);
            const TColor want = RGBColor(mix(qRed(d), GetRValue(fg)), mix(qGreen(d), GetGValue(fg)),
                                         mix(qBlue(d), GetBValue(fg)));
            ASSERT_EQ(c.Pixels(x, y), want) << ch << " " << i << "," << j << " coverage " << a
                                            << " pass " << pass;
            blended += a != 255;
          }
        penX += gl.Advance;
      }
      EXPECT_GT(blended, 10);
    }
  }
}

TEST(Canvas, EmptyImageIgnoresDrawing) {
  for (auto size : {std::pair{0, 0}, std::pair{-5, 10}, std::pair{10, -1}}) {
    TBitmap b(size.first, size.second);
    EXPECT_TRUE(b.Empty());
    TCanvas& c = b.Canvas();
    c.MoveTo(0, 0);
    c.LineTo(10, 10);
    c.Rectangle(0, 0, 5, 5);
    c.Ellipse(0, 0, 5, 5);
    c.FillRect(Rect(0, 0, 5, 5));
    c.TextOut(0, 0, "x");
    c.SetPixels(0, 0, clBlack);
    EXPECT_EQ(c.Pixels(0, 0), TCanvas::kInvalidPixel);
  }
}

TEST(Bitmap, SetSizeKeepsTheTopLeftContent) {
  TBitmap b(4, 4);
  b.Canvas().SetPixels(1, 2, clRed);
  b.SetSize(8, 3);
  EXPECT_EQ(b.Canvas().Pixels(1, 2), clRed);
  EXPECT_EQ(b.Canvas().Pixels(7, 2), clWhite);
  EXPECT_EQ(b.Width(), 8);
}

TEST(Bitmap, DrawStretchDrawAndCopyRectPlacePixels) {
  TBitmap src(2, 2);
  src.Canvas().SetPixels(0, 0, clRed);
  src.Canvas().SetPixels(1, 1, clBlue);
  TBitmap dst(6, 6);
  dst.Canvas().Draw(3, 3, src);
  EXPECT_EQ(dst.Canvas().Pixels(3, 3), clRed);
  EXPECT_EQ(dst.Canvas().Pixels(4, 4), clBlue);
  dst.Canvas().Draw(-1, -1, src);  // partly outside
  EXPECT_EQ(dst.Canvas().Pixels(0, 0), clBlue);

  TBitmap big(8, 8);
  big.Canvas().StretchDraw(Rect(0, 0, 8, 8), src);
  EXPECT_EQ(big.Canvas().Pixels(3, 3), clRed);
  EXPECT_EQ(big.Canvas().Pixels(4, 4), clBlue);

  TBitmap part(4, 4);
  part.Canvas().CopyRect(Rect(0, 0, 1, 1), src.Canvas(), Rect(1, 1, 2, 2));
  EXPECT_EQ(part.Canvas().Pixels(0, 0), clBlue);
}

TEST(Bitmap, LoadFromFileRaisesAClearErrorAndKeepsTheImage) {
  TBitmap b(3, 3);
  b.Canvas().SetPixels(1, 1, clRed);
  try {
    b.LoadFromFile("/nonexistent/picture.bmp");
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/picture.bmp"), std::string::npos);
  }
  QTemporaryDir dir;
  const QString junk = dir.filePath("junk.png");
  {
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no picture");
  }
  EXPECT_THROW(b.LoadFromFile(junk.toStdString()), EInvalidGraphic);
  {
    const QtMessages qt;  // a name with a NUL byte is unreadable, without Qt's warning
    EXPECT_THROW(b.LoadFromFile(std::string("good.png\0.bmp", 13)), EInvalidGraphic);
    EXPECT_TRUE(qt.Texts().empty()) << qt.Texts().front();
  }
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Canvas().Pixels(1, 1), clRed);

  const QString good = dir.filePath("good.png");
  QImage img(5, 4, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 255));
  ASSERT_TRUE(img.save(good));
  b.LoadFromFile(good.toStdString());
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Canvas().Pixels(2, 2), clBlue);
}

TEST(Color, SystemColoursResolveFromTheFixedTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u);
  EXPECT_EQ(GreyColor(125), 0x7D7D7Du);
  EXPECT_EQ(GreyColor(256 + 1), 0x010101u);
}

TEST(Font, SizeAndHeightConvertAtThePixelsPerInch) {
  TFont f;
  int changes = 0;
  f.OnChange = [&] { ++changes; };
  f.SetSize(12);
  EXPECT_EQ(f.Height(), 16);
  f.SetSize(8);
  EXPECT_EQ(f.Height(), 11);  // 8 pt at 96 ppi = 10.67 px
  f.SetHeight(10);
  EXPECT_EQ(f.Size(), 8);     // 7.5 pt rounds to the even 8
  f.SetHeight(10);            // unchanged: no notification
  f.SetPixelsPerInch(600);
  EXPECT_EQ(f.Height(), 10);
  EXPECT_EQ(changes, 4);
  f.SetSize(8);
  EXPECT_EQ(f.Height(), 67);
}

}  // namespace

}  // namespace travenel
