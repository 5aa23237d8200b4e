// Seeded random operations on the drawing surface with extreme coordinates,
// sizes, pen widths and fonts. Every operation is drawn twice: on a small
// surface, and moved by (kShift, kShift) on one larger by 2 * kShift each way.
// Clipping must not depend on where the surface lies, so the small picture is
// the middle of the large one, whatever the values; run under the sanitizers,
// the same operations catch overflows, and a hang shows as a timeout.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr int kW = 37, kH = 29;
constexpr int kShift = 11;

// Coordinates: the ends of the range (leaving room for the shift), values
// around the limits inside the drawing code, and a lot of small ones.
int Coord(std::mt19937_64& rng) {
  static constexpr std::array<int, 14> kEdges = {
      INT_MIN, INT_MIN + 1,   -(1 << 30),    -(1 << 22) - 1,       -65539,           -1,    0, 1,
      65539,   (1 << 22) + 1, (1 << 30) + 3, INT_MAX - kShift - 1, INT_MAX - kShift, 2 * kW};
  if (rng() % 3 == 0) return kEdges[rng() % kEdges.size()];
  return static_cast<int>(rng() % (3 * kW)) - kW;
}

int PenWidth(std::mt19937_64& rng) {
  static constexpr std::array<int, 8> kWidths = {0, 1, 2, 3, 7, 65536, INT_MAX - 1, INT_MAX};
  return kWidths[rng() % kWidths.size()];
}

std::string Text(std::mt19937_64& rng) {
  static const std::array<std::string, 5> kTexts = {"", "W", "Ag|", "-00:00:01.000",
                                                    "\xc3\xa4\xe2\x82\xac"};
  return kTexts[rng() % kTexts.size()];
}

struct Surfaces {
  TBitmap small{kW, kH};
  TBitmap large{kW + 2 * kShift, kH + 2 * kShift};
  TBitmap picture{5, 3};  // the source of Draw, StretchDraw and CopyRect

  Surfaces() {
    for (int x = 0; x < 5; ++x)
      for (int y = 0; y < 3; ++y)
        picture.Canvas().SetPixels(x, y, static_cast<TColor>(0xC80000 + 0x5000 * y + 40 * x));
  }

  // Runs op(canvas, shift) on both surfaces.
  template <class Op>
  void Both(Op op) {
    op(small.Canvas(), 0);
    op(large.Canvas(), kShift);
  }

  ::testing::AssertionResult Agree() const {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (small.Canvas().Pixels(x, y) != large.Canvas().Pixels(x + kShift, y + kShift))
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
  }
};

// One random operation with random settings; returns its name for the report.
std::string RandomOp(std::mt19937_64& rng, Surfaces& s) {
  TPen pen;
  pen.Color = static_cast<TColor>(rng() & 0xFFFFFF);
  pen.Style = static_cast<TPenStyle>(rng() % 6);
  pen.Width = PenWidth(rng);
  pen.Mode = rng() % 4 == 0 ? pmXor : pmCopy;
  TBrush brush;
  brush.Color = static_cast<TColor>(rng() & 0xFFFFFF);
  brush.Style = rng() % 3 == 0 ? bsClear : bsSolid;
  // Text above the glyph masks' limit goes through Qt's outline filling,
  // whose edge pixels may differ by a shade when moved: see HugeFontsAnywhere.
  const int fontHeight = 1 + static_cast<int>(rng() % 60);
  int v[8];
  for (int& c : v) c = Coord(rng);
  std::vector<TPoint> points(1 + rng() % 5);
  for (TPoint& p : points) p = {Coord(rng), Coord(rng)};
  const std::string text = Text(rng);
  const int kind = static_cast<int>(rng() % 10);

  s.Both([&](TCanvas& c, int d) {
    c.Pen = pen;
    c.Brush = brush;
    c.Font().SetHeight(fontHeight);
    auto at = [d](int value) { return value + d; };
    std::vector<TPoint> moved = points;
    for (TPoint& p : moved) p = {at(p.X), at(p.Y)};
    switch (kind) {
      case 0:
        c.MoveTo(at(v[0]), at(v[1]));
        c.LineTo(at(v[2]), at(v[3]));
        break;
      case 1: c.Polyline(moved); break;
      case 2: c.Polygon(moved); break;
      case 3: c.Rectangle(at(v[0]), at(v[1]), at(v[2]), at(v[3])); break;
      case 4: c.Ellipse(at(v[0]), at(v[1]), at(v[2]), at(v[3])); break;
      case 5: c.FillRect(Rect(at(v[0]), at(v[1]), at(v[2]), at(v[3]))); break;
      case 6: c.TextOut(at(v[0]), at(v[1]), text); break;
      case 7: c.Draw(at(v[0]), at(v[1]), s.picture); break;
      case 8: c.StretchDraw(Rect(at(v[0]), at(v[1]), at(v[2]), at(v[3])), s.picture); break;
      default:
        c.CopyRect(Rect(at(v[0]), at(v[1]), at(v[2]), at(v[3])), s.picture.Canvas(),
                   Rect(v[4] % 9 - 2, v[5] % 9 - 2, v[6], v[7]));
        break;
    }
  });
  static const char* const kNames[] = {"LineTo",      "Polyline", "Polygon", "Rectangle",
                                       "Ellipse",     "FillRect", "TextOut", "Draw",
                                       "StretchDraw", "CopyRect"};
  std::string name = kNames[kind];
  for (int c : v) name.append(" ").append(std::to_string(c));
  name.append(" pen width ").append(std::to_string(pen.Width));
  return name.append(" style ").append(std::to_string(pen.Style));
}

TEST(CanvasRandom, ClippingDoesNotDependOnWhereTheSurfaceLies) {
  for (std::uint64_t seed : {1u, 2u, 3u, 4u}) {
    std::mt19937_64 rng(seed);
    Surfaces s;
    for (int i = 0; i < 2000; ++i) {
      const std::string op = RandomOp(rng, s);
      ASSERT_TRUE(s.Agree()) << "seed " << seed << ", operation " << i << ": " << op;
    }
  }
}

}  // namespace

namespace {

// Fonts of any height at any place: the text's pen ends past its advances, and
// what falls on the surface is drawn, with the work bounded by the surface.
TEST(CanvasRandom, HugeFontsAnywhere) {
  std::mt19937_64 rng(5);
  TBitmap b(kW, kH);
  TCanvas& c = b.Canvas();
  for (int i = 0; i < 200; ++i) {
    c.Font().SetHeight(static_cast<int>(rng() % TFont::kMaxHeight) + 1);
    c.Brush.Style = rng() % 2 == 0 ? bsClear : bsSolid;
    const int x = Coord(rng), y = Coord(rng);
    const std::string text = Text(rng);
    c.TextOut(x, y, text);
    const long long end = static_cast<long long>(x) + c.TextWidth(text);
    ASSERT_EQ(c.PenPos().X, end > INT_MAX ? INT_MAX : end) << i;
  }
}

}  // namespace

}  // namespace travenel
