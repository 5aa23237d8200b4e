#include "travenel/chart/ulxbase_draw.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace travenel {

const std::array<TGlyph, 26> GlyphTable = {{
    {},                                          // 0: a single pixel, no glyph
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00},  // 1: plus 3 x 3
    {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00},  // 2: plus 5 x 5
    {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08},  // 3: plus 7 x 7
    {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00},  // 4: diagonal cross 3 x 3
    {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00},  // 5: diagonal cross 5 x 5
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41},  // 6: diagonal cross 7 x 7
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},  // 7..17 are drawn as shapes
    {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55},  // 18: checkerboard 7 x 7
    {}, {}, {}, {}, {}, {},                      // 19..24 are drawn as shapes
    {0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63},  // 25: thick diagonal cross 7 x 7
}};

namespace {

// A mark centred further out than this is not drawn: it is off every surface
// up to 2^29 pixels across even with the widest pen (whose run reaches 2^30
// pixels across its line). Closer in it is drawn where it is (pulling it in
// would move what a wide pen paints), and its offsets of a few pixels cannot
// overflow.
constexpr int kMarkLimit = 3 << 29;

bool MarkOnSomeSurface(int x, int y) {
  return x >= -kMarkLimit && x <= kMarkLimit && y >= -kMarkLimit && y <= kMarkLimit;
}

// Frames reach onto the surface from anywhere, so their edges are not pulled
// in (that would move their dash patterns); the pixel offsets of their rings
// stop at the ends of the range instead.
int Off(int v, int d) {
  return static_cast<int>(
      std::clamp<long long>(static_cast<long long>(v) + d, INT32_MIN, INT32_MAX));
}

void Line(TCanvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

// A figure filled with the pen colour. The brush is made solid as well: a
// filled mark must not come out hollow because the caller left a clear brush.
void UseFillBrush(TCanvas& c) {
  c.Brush.Color = c.Pen.Color;
  c.Brush.Style = bsSolid;
}

void Polygon(TCanvas& c, bool filled, std::initializer_list<TPoint> pts) {
  if (filled) {
    UseFillBrush(c);
    c.Polygon(pts);
  } else {
    c.Brush.Style = bsClear;
    c.Polygon(pts);
    c.Brush.Style = bsSolid;
  }
}

// Circles by bounding box, right and bottom edges excluded.
void Circle(TCanvas& c, bool filled, int x1, int y1, int x2, int y2) {
  if (filled) {
    UseFillBrush(c);
    c.Ellipse(x1, y1, x2, y2);
  } else {
    c.Brush.Style = bsClear;
    c.Ellipse(x1, y1, x2, y2);
    c.Brush.Style = bsSolid;
  }
}

// Printer versions of the glyph marks: at printer resolution a fixed pixel
// pattern would be a speck, so the shapes are drawn with lines and dots.
void PrinterPlus(TCanvas& c, int x, int y, int n) {
  Line(c, x - n, y, x + n, y);
  Line(c, x, y - n, x, y + n);
}

void PrinterCross(TCanvas& c, int x, int y, int n) {
  Line(c, x - n, y - n, x + n, y + n);
  Line(c, x - n, y + n, x + n, y - n);
}

void PrinterChecker(TCanvas& c, int x, int y) {
  for (int i = 1; i <= 7; ++i)
    for (int j = 1; j <= 7; ++j)
      if ((i + j) % 2 == 0) c.SetPixels(x + i - 4, y + j - 4, c.Pen.Color);
}

void PrinterThickCross(TCanvas& c, int x, int y) {
  Line(c, x - 3, y - 3, x + 3, y + 3);
  Line(c, x - 3, y - 2, x + 2, y + 3);
  Line(c, x - 2, y - 3, x + 3, y + 2);
  Line(c, x - 3, y + 3, x + 3, y - 3);
  Line(c, x - 3, y + 2, x + 2, y - 3);
  Line(c, x - 2, y + 3, x + 3, y - 2);
}

void AppendUtf8(std::string& s, unsigned cp) {
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// A character mark's code is a character of the Western Windows code page
// (the one the marks were chosen from): Latin-1 except for 0x80..0x9F.
std::string CharMarkText(std::uint8_t code) {
  static constexpr unsigned short kCp1252High[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string s;
  AppendUtf8(s, code >= 0x80 && code <= 0x9F ? kCp1252High[code - 0x80] : code);
  return s;
}

void DrawCharMark(TCanvas& c, std::uint8_t code, int x, int y) {
  const std::string s = CharMarkText(code);
  const int w = c.TextWidth(s), h = c.TextHeight(s);
  c.TextOut(x - w / 2, y - h / 2, s);
}

// Mark types 0..47; the caller puts the brush colour back.
void DrawShapeMark(TCanvas& c, int type, int x, int y) {
  const TColor p = c.Pen.Color;
  const bool printer = c.IsPrinter();
  switch (type) {
    case 0:
      c.SetPixels(x, y, p);
      break;
    case 1: case 2: case 3:
      if (printer) PrinterPlus(c, x, y, type + 1);
      else DrawGlyph(c, type, x, y, p);
      break;
    case 4: case 5: case 6:
      if (printer) PrinterCross(c, x, y, type - 2);
      else DrawGlyph(c, type, x, y, p);
      break;
    case 7: case 8: case 9: {
      const int n = type - 6;
      UseFillBrush(c);
      c.Rectangle(x - n, y - n, x + n + 1, y + n + 1);
      break;
    }
    case 10: case 11: case 12: {
      const int n = type - 9;
      Polygon(c, false, {{x - n, y - n}, {x - n, y + n}, {x + n, y + n}, {x + n, y - n}});
      break;
    }
    case 13: case 14: case 15: {
      const int n = type - 12;
      Polygon(c, true, {{x - n, y}, {x, y + n}, {x + n, y}, {x, y - n}});
      break;
    }
    case 16: case 17: {
      const int n = type - 14;
      Circle(c, false, x - n, y - n, x + n + 1, y + n + 1);
      break;
    }
    case 18:
      if (printer) PrinterChecker(c, x, y);
      else DrawGlyph(c, 18, x, y, p);
      break;
    case 19:
      Polygon(c, false, {{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}});
      break;
    case 20: case 21: {
      const int n = type - 17;
      Line(c, x, y, x - n, y + n);
      Line(c, x, y, x + n, y + n);
      break;
    }
    case 22: case 23: {
      const int n = type - 19;
      Line(c, x, y, x - n, y - n);
      Line(c, x, y, x + n, y - n);
      break;
    }
    case 24:
      Circle(c, true, x - 3, y - 3, x + 4, y + 4);
      break;
    case 25:
      if (printer) PrinterThickCross(c, x, y);
      else DrawGlyph(c, 25, x, y, p);
      break;
    case 26:
      Circle(c, true, x - 2, y - 2, x + 3, y + 3);
      break;
    case 27:
      Circle(c, false, x - 2, y - 2, x + 2, y + 2);
      break;
    case 28:
      Circle(c, true, x - 2, y - 2, x + 2, y + 2);
      break;
    case 29: case 30: case 31: case 32: {
      const int n = 2 + (type - 29) % 2;
      Polygon(c, type <= 30, {{x - n, y}, {x, y + n}, {x + n, y}});
      break;
    }
    case 33: case 34:
      Polygon(c, type == 34, {{x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}});
      break;
    case 35: case 36:
      Polygon(c, type == 36, {{x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}});
      break;
    case 37:
      Line(c, x - 3, y, x + 4, y);
      Line(c, x, y, x, y - 8);
      break;
    case 38:
      Line(c, x - 3, y - 2, x + 4, y - 2);
      Line(c, x - 3, y + 2, x + 4, y + 2);
      Line(c, x, y - 2, x, y + 2);
      break;
    case 39:
      Circle(c, false, x - 3, y - 3, x + 4, y + 4);
      Line(c, x - 3, y, x + 4, y);
      Line(c, x, y - 3, x, y + 4);
      break;
    case 40: case 41:
      Polygon(c, type == 41, {{x + 3, y - 2}, {x - 2, y}, {x + 3, y + 2}});
      break;
    case 42: case 43:
      Polygon(c, type == 43, {{x + 4, y - 3}, {x - 3, y}, {x + 4, y + 3}});
      break;
    case 44: case 45:
      Polygon(c, type == 45, {{x - 3, y - 2}, {x + 2, y}, {x - 3, y + 2}});
      break;
    case 46: case 47:
      Polygon(c, type == 47, {{x - 4, y - 3}, {x + 3, y}, {x - 4, y + 3}});
      break;
    default:
      break;
  }
}

}  // namespace

void DrawRectOutline(TCanvas& canvas, int left, int top, int right, int bottom) {
  canvas.MoveTo(left, top);
  canvas.LineTo(left, bottom);
  canvas.LineTo(right, bottom);
  canvas.LineTo(right, top);
  canvas.LineTo(left, top);
}

void DrawFrame3D(TCanvas& canvas, int left, int top, int right, int bottom, TColor c1, TColor c2,
                 TColor c3, TColor c4) {
  // Each ring's second half starts one pixel in from the corner the first half
  // ended on, so the top-right corner keeps the first colour and the
  // bottom-left one takes the second.
  canvas.Pen.Color = c1;
  canvas.MoveTo(left, bottom);
  canvas.LineTo(left, top);
  canvas.LineTo(Off(right, 1), top);
  canvas.MoveTo(right, Off(top, 1));
  canvas.Pen.Color = c2;
  canvas.LineTo(right, bottom);
  canvas.LineTo(Off(left, -1), bottom);

  canvas.Pen.Color = c3;
  canvas.MoveTo(Off(left, 1), Off(bottom, -1));
  canvas.LineTo(Off(left, 1), Off(top, 1));
  canvas.LineTo(right, Off(top, 1));
  canvas.MoveTo(Off(right, -1), Off(top, 2));
  canvas.Pen.Color = c4;
  canvas.LineTo(Off(right, -1), Off(bottom, -1));
  canvas.LineTo(left, Off(bottom, -1));
}

void DrawFrameStyled(TCanvas& canvas, std::uint8_t style, int left, int top, int right, int bottom,
                     TColor highlight, TColor light, TColor shadow, TColor dark, TColor simple) {
  // The top bit of the style byte is not part of the style.
  switch (style & 0x7F) {
    case 1:  // simple
      canvas.Pen.Color = simple;
      DrawRectOutline(canvas, left, top, right, bottom);
      break;
    case 2:  // lowered
      DrawFrame3D(canvas, left, top, right, bottom, shadow, highlight, dark, light);
      break;
    case 3:  // raised
      DrawFrame3D(canvas, left, top, right, bottom, highlight, dark, light, shadow);
      break;
    case 4:  // embossed
      DrawFrame3D(canvas, left, top, right, bottom, highlight, shadow, shadow, highlight);
      break;
    case 5:  // engraved
      DrawFrame3D(canvas, left, top, right, bottom, shadow, highlight, highlight, shadow);
      break;
    default:  // none, or not a frame style
      break;
  }
}

void DrawGlyph(TCanvas& canvas, int glyph, int x, int y, TColor color) {
  if (glyph < 1 || glyph >= static_cast<int>(GlyphTable.size())) return;
  if (!MarkOnSomeSurface(x, y)) return;
  const TGlyph& rows = GlyphTable[static_cast<std::size_t>(glyph)];
  for (int r = 1; r <= kGlyphRows; ++r) {
    const std::uint8_t bits = rows[static_cast<std::size_t>(r - 1)];
    if (bits == 0) continue;
    for (int k = 0; k <= 6; ++k)
      if ((bits >> k) & 1u) canvas.SetPixels(x + 3 - k, y - 4 + r, color);
  }
}

void DrawMark(TCanvas& canvas, std::uint8_t markType, int x, int y) {
  if (!MarkOnSomeSurface(x, y)) return;
  if (markType >= kFirstCharMark) {
    DrawCharMark(canvas, markType, x, y);
    return;
  }
  const TColor brushColor = canvas.Brush.Color;
  DrawShapeMark(canvas, markType, x, y);
  canvas.Brush.Color = brushColor;
}

}  // namespace travenel
