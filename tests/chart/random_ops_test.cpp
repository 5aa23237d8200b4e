// Seeded random operations with extreme values on the marks and frames and on
// the scale's setters and painting. Each picture is drawn twice, once moved by
// (kShift, kShift) onto a surface larger by 2 * kShift each way: clipping must
// not depend on where the surface lies. Scales also keep their range ends on
// the margins. Run under the sanitizers, the same operations catch overflows;
// a hang shows as a timeout.
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "travenel/chart/Scale.h"
#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr int kW = 41, kH = 33;
constexpr int kShift = 13;

using Rng = std::mt19937_64;

template <class T, std::size_t N>
T Pick(Rng& rng, const std::array<T, N>& values) {
  return values[rng() % N];
}

// Coordinates near the ends of the range and around the limits inside the
// drawing code, and a lot of small ones. The ends keep two pixels of room: the
// rings of a 3-D frame lie up to two pixels inside its edges, and there they
// stop at the end of the range, which moves their dash patterns.
int Coord(Rng& rng) {
  static constexpr std::array<int, 12> kEdges = {
      INT_MIN + 2,   INT_MIN + 3,          -(1 << 30),           -65539, -8, -1, 0, 65539,
      (1 << 30) + 5, INT_MAX - kShift - 3, INT_MAX - kShift - 2, 3 * kW};
  if (rng() % 3 == 0) return Pick(rng, kEdges);
  return static_cast<int>(rng() % (3 * kW)) - kW;
}

// Whole numbers for margins, positions and offsets. With `ends`, the ends of
// the 32-bit range too: sums that pass them are cut there (what lies there is
// off every surface), which a twin moved by kShift would see, so the twin
// comparison uses values whose sums stay inside the range.
int AnyInt(Rng& rng, bool ends) {
  static constexpr std::array<int, 10> kInts = {INT_MIN, INT_MIN + 1, -65539, -1,          0,
                                                1,       3,           65539,  INT_MAX - 1, INT_MAX};
  static constexpr std::array<int, 10> kInner = {-(1 << 29), -(1 << 22) - 1, -65539,  -1,     0, 1,
                                                 3,          65539,          1 << 22, 1 << 29};
  if (rng() % 2 == 0) return ends ? Pick(rng, kInts) : Pick(rng, kInner);
  return static_cast<int>(rng() % 200) - 50;
}

double AnyDouble(Rng& rng) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  static const std::array<double, 22> kValues = {DBL_MAX,
                                                 -DBL_MAX,
                                                 std::nextafter(DBL_MAX, 0.0),
                                                 DBL_MIN,
                                                 -DBL_MIN,
                                                 std::numeric_limits<double>::denorm_min(),
                                                 0,
                                                 -0.0,
                                                 1,
                                                 -1,
                                                 1e-100,
                                                 1e-101,
                                                 1e300,
                                                 -1e300,
                                                 100,
                                                 100.00000000000001,
                                                 45000.25,
                                                 -693593,
                                                 3000000,
                                                 1e15 + 0.5,
                                                 std::nan(""),
                                                 kInf};
  if (rng() % 2 == 0) return Pick(rng, kValues);
  return static_cast<double>(static_cast<std::int64_t>(rng() % 2000001) - 1000000) / 1000;
}

TColor AnyColor(Rng& rng) {
  if (rng() % 5 == 0) return 0xFF000000u | static_cast<TColor>(rng() % 0x20);  // system colours
  return static_cast<TColor>(rng() & 0xFFFFFF);
}

void RandomPen(Rng& rng, TPen& pen) {
  static constexpr std::array<int, 7> kWidths = {0, 1, 1, 2, 5, 65536, INT_MAX};
  pen.Color = AnyColor(rng);
  pen.Style = static_cast<TPenStyle>(rng() % 6);
  pen.Width = Pick(rng, kWidths);
  pen.Mode = rng() % 4 == 0 ? pmXor : pmCopy;
}

// A small and a large surface that every picture is drawn on, moved on the large one.
struct Twin {
  TBitmap small{kW, kH};
  TBitmap large{kW + 2 * kShift, kH + 2 * kShift};

  ::testing::AssertionResult Agree() const {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (small.Canvas().Pixels(x, y) != large.Canvas().Pixels(x + kShift, y + kShift))
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
  }
};

std::string RandomMarkOrFrame(Rng& rng, Twin& t) {
  TPen pen;
  RandomPen(rng, pen);
  TBrush brush{AnyColor(rng), rng() % 3 == 0 ? bsClear : bsSolid};
  const bool printer = rng() % 5 == 0;
  const int fontHeight = 1 + static_cast<int>(rng() % 30);
  const int kind = static_cast<int>(rng() % 5);
  const auto code = static_cast<std::uint8_t>(rng() % 256);
  const int glyph = static_cast<int>(rng() % 30) - 2;
  int v[4];
  for (int& c : v) c = Coord(rng);
  TColor colours[5];
  for (TColor& c : colours) c = AnyColor(rng);
  auto draw = [&](TCanvas& c, int d) {
    c.Pen = pen;
    c.Brush = brush;
    c.SetPrinter(printer);
    c.Font().SetHeight(fontHeight);
    const int x0 = v[0] + d, y0 = v[1] + d, x1 = v[2] + d, y1 = v[3] + d;
    switch (kind) {
      case 0: DrawMark(c, code, x0, y0); break;
      case 1: DrawGlyph(c, glyph, x0, y0, colours[0]); break;
      case 2: DrawRectOutline(c, x0, y0, x1, y1); break;
      case 3: DrawFrame3D(c, x0, y0, x1, y1, colours[0], colours[1], colours[2], colours[3]); break;
      default:
        DrawFrameStyled(c, code, x0, y0, x1, y1, colours[0], colours[1], colours[2], colours[3],
                        colours[4]);
        break;
    }
  };
  draw(t.small.Canvas(), 0);
  draw(t.large.Canvas(), kShift);
  std::string name = "kind " + std::to_string(kind) + " code " + std::to_string(code);
  for (int c : v) name.append(" ").append(std::to_string(c));
  return name.append(" pen width ").append(std::to_string(pen.Width));
}

TEST(MarksRandom, ClippingDoesNotDependOnWhereTheSurfaceLies) {
  for (std::uint64_t seed : {11u, 12u, 13u}) {
    Rng rng(seed);
    Twin t;
    for (int i = 0; i < 1500; ++i) {
      const std::string op = RandomMarkOrFrame(rng, t);
      ASSERT_TRUE(t.Agree()) << "seed " << seed << ", operation " << i << ": " << op;
    }
  }
}

// --- scales -----------------------------------------------------------------

// One random setter with an extreme value, applied alike to both scales.
std::string RandomSetter(Rng& rng, TScale& a, TScale& b, Twin& t, bool ends) {
  const int kind = static_cast<int>(rng() % 24);
  const int i = AnyInt(rng, ends), j = AnyInt(rng, ends);
  const double v = AnyDouble(rng);
  const bool flag = rng() % 2 == 0;
  const std::uint64_t small = rng();
  // Sizes stay modest: an opaque scale is composed on an image of its size.
  const int w = static_cast<int>(small % 500) - 5, h = static_cast<int>((small >> 16) % 500) - 5;
  const int ox = AnyInt(rng, ends), oy = AnyInt(rng, ends);
  const int left = AnyInt(rng, ends), top = AnyInt(rng, ends);
  static const std::array<std::string, 5> kTexts = {"", "x", "&%", "a|b||c", "$&\xc3\xa4"};
  const std::string text = Pick(rng, kTexts);
  const bool paint = rng() % 4 == 0;
  for (TScale* s : {&a, &b}) {
    switch (kind) {
      case 0: s->SetRangeLow(v); break;
      case 1: s->SetRangeHigh(v); break;
      case 2: s->SetLogarithmic(flag); break;
      case 3: s->SetLabelType(static_cast<TFigType>(small % 5)); break;
      case 4: s->SetDecPlaces(i); break;
      case 5: s->SetMinTicks(i); break;
      case 6: s->SetMarginLeft(i); break;
      case 7: s->SetMarginRight(i); break;
      case 8: s->SetMarginTop(i); break;
      case 9: s->SetMarginBottom(i); break;
      case 10: s->SetBounds(left, top, w, h); break;
      case 11: s->SetScaleType(static_cast<TScaleType>(small % 4)); break;
      case 12: s->SetCaption(text.empty() ? "Caption" : text); break;
      case 13:
        s->SetCaptionPosX(i);
        s->SetCaptionPosY(j);
        break;
      case 14: s->SetCaptionAnchor(static_cast<TScaleUnitAnchor>(small % 3)); break;
      case 15: s->SetCaptionAlignment(static_cast<TAlignment>(small % 3)); break;
      case 16:
        s->SetScaleInscript(text);
        s->SetUserTickText(text);
        break;
      case 17:
        s->SetShortTicks(flag);
        s->SetShowBaseLine(!flag);
        break;
      case 18: s->SetTransparent(flag); break;
      case 19: s->SetFrameStyle(static_cast<TFrameStyle>(small % 6)); break;
      // Text above the glyph masks' limit goes through Qt's outline filling,
      // whose edge pixels may differ by a shade when moved; ScaleEdges has it.
      case 20: s->Font().SetHeight(1 + static_cast<int>(small % 60)); break;
      case 21:
        s->DateFormat().SetTimeFormat(static_cast<TTimeFormat>(small % 3));
        s->DateFormat().SetDateForTime(static_cast<TDateForTime>((small >> 8) % 4));
        s->DateFormat().SetYearLength(static_cast<TYearLength>((small >> 16) % 3));
        break;
      case 22: s->SetColorScheme(static_cast<TColorScheme>(small % 2)); break;
      default: {
        // The twin's offset, moved (at the end of the range: as far as it goes).
        const bool onLarge = s == &b;
        auto moved = [&](int o) {
          return onLarge ? (o > INT_MAX - kShift ? INT_MAX : o + kShift) : o;
        };
        s->SetTarget(onLarge ? &t.large.Canvas() : &t.small.Canvas(), moved(ox), moved(oy));
        break;
      }
    }
    if (paint || kind == 23) s->PaintNow();
  }
  return "setter " + std::to_string(kind) + " int " + std::to_string(i) + " double " +
         std::to_string(v);
}

// The range ends lie on the first and the last pixel of the axis wherever the
// mapping is defined: a linear scale, or a logarithmic one with usable bounds.
::testing::AssertionResult EndsOnTheMargins(const TScale& s) {
  const double lo = s.RangeLow(), hi = s.RangeHigh();
  if (s.Logarithmic() && !(lo > TScale::kMinLogBound && hi > TScale::kMinLogBound))
    return ::testing::AssertionSuccess();
  const bool vertical = s.Vertical();
  const long long first = vertical ? s.MarginTop() : s.MarginLeft();
  const long long last = vertical ? static_cast<long long>(s.Height()) - s.MarginBottom() - 1
                                  : static_cast<long long>(s.Width()) - s.MarginRight() - 1;
  if (last <= first) return ::testing::AssertionSuccess();  // no length: all on the middle
  const long long pLow = s.ValueToPixel(vertical ? hi : lo),
                  pHigh = s.ValueToPixel(vertical ? lo : hi);
  if (std::llabs(pLow - first) > 1 || std::llabs(pHigh - last) > 1)
    return ::testing::AssertionFailure()
           << "range " << lo << " .. " << hi << " maps to " << pLow << " .. " << pHigh
           << ", the axis runs " << first << " .. " << last;
  return ::testing::AssertionSuccess();
}

TEST(ScaleRandom, SettersAndPaintingKeepTheMappingAndClipAlike) {
  // Seeds of the first list run with values at the ends of the 32-bit range
  // (for the sanitizers and the mapping), those of the second are compared
  // with their twin.
  for (bool ends : {true, false}) {
    for (std::uint64_t seed : {21u, 22u, 23u}) {
      Rng rng(seed);
      Twin t;
      TScale a, b;
      for (TScale* s : {&a, &b}) {
        s->SetEmbedded(true);  // drawn when asked, onto the target
        s->SetBounds(0, 0, 120, 60);
      }
      a.SetTarget(&t.small.Canvas(), 0, 0);
      b.SetTarget(&t.large.Canvas(), kShift, kShift);
      for (int i = 0; i < 700; ++i) {
        if (i == 350) {
          a.Loaded();  // the rest with the rules of a loaded scale
          b.Loaded();
        }
        const std::string op = RandomSetter(rng, a, b, t, ends);
        const std::string where = "seed " + std::to_string(seed) + (ends ? " with ends" : "") +
                                  ", operation " + std::to_string(i) + ": " + op;
        ASSERT_TRUE(EndsOnTheMargins(a)) << where;
        if (!ends) {
          ASSERT_TRUE(t.Agree()) << where;
        }
      }
    }
  }
}

// Found by the operations above.
TEST(ScaleEdges, BoundsAndOffsetsAtTheEndOfTheRange) {
  TScale s;
  s.SetBounds(INT_MAX, -50, 80, 215);
  EXPECT_EQ(s.BoundsRect(), Rect(INT_MAX, -50, INT_MAX, 165));
  TBitmap target(40, 40);
  s.SetEmbedded(true);
  s.SetTransparent(true);
  for (TScaleType type : {sctXB, sctXT, sctYL, sctYR}) {
    s.SetScaleType(type);
    s.SetTarget(&target.Canvas(), INT_MAX, 10);
    s.PaintNow();
    s.SetTarget(&target.Canvas(), 10, INT_MIN);
    s.PaintNow();
  }
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(target.Canvas().Pixels(x, y), clWhite) << x << "," << y;
}

TEST(ScaleEdges, HugeFontPaintsWithoutRunningAway) {
  TScale s;
  s.SetEmbedded(true);
  s.SetCaption("Caption");
  s.SetBounds(0, 0, 300, 200);
  TBitmap target(300, 200);
  s.SetTarget(&target.Canvas(), 0, 0);
  s.Font().SetHeight(20000);
  s.PaintNow();
  const TBitmap blank(300, 200);
  EXPECT_FALSE(target.Image() == blank.Image());
}

}  // namespace

}  // namespace travenel
