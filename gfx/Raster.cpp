#include "travenel/gfx/Raster.h"

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>
#include <cwchar>

namespace travenel {

namespace raster {

namespace {

using i64 = std::int64_t;

// Fills n pixels with one value. glibc's wmemset writes 32-bit units with the
// widest stores the processor has (wchar_t is 32 bits here), where a plain
// loop is compiled for the oldest x86-64; filling the chart's images is
// bound by how fast the stores go.
static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
inline void FillPixels(std::uint32_t* p, i64 n, std::uint32_t px) {
  if (n > 0) std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(px), static_cast<std::size_t>(n));
}
using i128 = __int128;

// Dash patterns of the thin styled pens, as on/off run lengths in pixels.
constexpr std::uint8_t kDash[] = {18, 6};
constexpr std::uint8_t kDot[] = {3, 3};
constexpr std::uint8_t kDashDot[] = {9, 6, 3, 6};
constexpr std::uint8_t kDashDotDot[] = {9, 3, 3, 3, 3, 3};

// floor(a / b) for b > 0.
i128 FloorDiv(i128 a, i128 b) {
  i128 q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}

bool PatternOn(const LinePen& pen, int phase) {
  if (!pen.Pattern) return true;
  int pos = phase % pen.PatternLength;
  for (int i = 0; i < pen.PatternRuns; ++i) {
    if (pos < pen.Pattern[i]) return (i % 2) == 0;
    pos -= pen.Pattern[i];
  }
  return false;
}

// A closed pixel interval of one row; empty when Lo > Hi.
struct Interval {
  i64 Lo = 1, Hi = 0;
  bool Empty() const { return Lo > Hi; }
};

Interval Intersect(Interval a, Interval b) { return {std::max(a.Lo, b.Lo), std::min(a.Hi, b.Hi)}; }

// Draws a row of a shape whose region in that row is `region` and whose interior
// (what is left after taking the outline away) is `inner`.
void ShapeRow(const Target& t, i64 y, Interval region, Interval inner, const LinePen* outline,
              const std::uint32_t* fill) {
  if (region.Empty()) return;
  inner = Intersect(inner, region);
  // Outline and fill of one colour: the three disjoint pieces are one span.
  if (inner.Empty() || (outline && fill && outline->Pixel == *fill)) {
    if (outline) t.Span(y, region.Lo, region.Hi, outline->Pixel);
    else if (fill) t.Span(y, region.Lo, region.Hi, *fill);
    return;
  }
  if (outline) {
    t.Span(y, region.Lo, inner.Lo - 1, outline->Pixel);
    t.Span(y, inner.Hi + 1, region.Hi, outline->Pixel);
  } else if (fill) {
    t.Span(y, region.Lo, inner.Lo - 1, *fill);
    t.Span(y, inner.Hi + 1, region.Hi, *fill);
  }
  if (fill) t.Span(y, inner.Lo, inner.Hi, *fill);
}

// Lines up to this long (in either direction) are worked out in 64 bits.
constexpr i64 kFastLineExtent = i64{1} << 30;

// The common case of a solid line one pixel wide, short enough that the
// error term fits in 64 bits: the same pixels as the general loop below,
// written straight into the image (the minor coordinate checked per pixel).
void SolidThinLine(const Target& t, bool xMajor, i64 m0, i64 dir, i64 n0, i64 dMinor, i64 n,
                   i64 sFirst, i64 sLast, std::uint32_t px) {
  const i64 twoN = 2 * n, twoD = 2 * dMinor;
  const i64 num0 = 2 * sFirst * dMinor + n;  // |num0| <= 2^61
  i64 q = num0 / twoN;
  if (num0 % twoN != 0 && num0 < 0) --q;  // floor
  i64 r = num0 - q * twoN;
  const std::uint64_t minorExtent = static_cast<std::uint64_t>(xMajor ? t.H : t.W);
  const std::uint32_t xorBits = px & 0x00FFFFFF;
  i64 major = m0 + dir * sFirst;
  for (i64 s = sFirst; s <= sLast; ++s, major += dir) {
    const i64 minor = n0 + q;
    if (static_cast<std::uint64_t>(minor) < minorExtent) {
      std::uint32_t& d = xMajor ? t.Bits[minor * t.Stride + major] : t.Bits[major * t.Stride + minor];
      d = t.Xor ? (d ^ xorBits) : px;
    }
    r += twoD;
    if (r >= twoN) {
      r -= twoN;
      ++q;
    } else if (r < 0) {
      r += twoN;
      --q;
    }
  }
}

}  // namespace

Target Target::Of(QImage& image, bool xorMode) {
  Target t;
  if (image.isNull()) return t;
  t.Bits = reinterpret_cast<std::uint32_t*>(image.bits());
  t.Stride = image.bytesPerLine() / 4;
  t.W = image.width();
  t.H = image.height();
  t.Xor = xorMode;
  return t;
}

void Target::Plot(i64 x, i64 y, std::uint32_t px) const {
  if (x < 0 || y < 0 || x >= W || y >= H) return;
  std::uint32_t& d = Bits[y * Stride + x];
  d = Xor ? (d ^ (px & 0x00FFFFFF)) : px;
}

void Target::Span(i64 y, i64 x0, i64 x1, std::uint32_t px) const {
  if (y < 0 || y >= H) return;
  x0 = std::max<i64>(x0, 0);
  x1 = std::min<i64>(x1, W - 1);
  if (x0 > x1) return;
  std::uint32_t* row = Bits + y * Stride;
  if (Xor) {
    for (i64 x = x0; x <= x1; ++x) row[x] ^= (px & 0x00FFFFFF);
  } else {
    FillPixels(row + x0, x1 + 1 - x0, px);
  }
}

LinePen MakePen(std::uint32_t pixel, int width, int style) {
  LinePen p;
  p.Pixel = pixel;
  p.Width = std::max(width, 1);
  // Styled pens are cosmetic: only one pixel wide ones draw the pattern.
  if (p.Width > 1) return p;
  auto use = [&p](const std::uint8_t* pat, int runs) {
    p.Pattern = pat;
    p.PatternRuns = runs;
    p.PatternLength = 0;
    for (int i = 0; i < runs; ++i) p.PatternLength += pat[i];
  };
  switch (style) {
    case 1: use(kDash, 2); break;
    case 2: use(kDot, 2); break;
    case 3: use(kDashDot, 4); break;
    case 4: use(kDashDotDot, 6); break;
    default: break;
  }
  return p;
}

void Line(const Target& t, i64 x0, i64 y0, i64 x1, i64 y1, const LinePen& pen, int& phase) {
  const i64 dx = x1 - x0, dy = y1 - y0;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const i64 n = xMajor ? std::abs(dx) : std::abs(dy);  // pixels drawn: steps 0 .. n-1
  if (n == 0) return;
  const int startPhase = phase;
  if (pen.Pattern) phase = static_cast<int>((phase + n) % pen.PatternLength);
  if (t.Empty()) return;

  // Major coordinate at step s is m0 + dir * s; the minor one is the exact
  // rational value rounded (half up), which is what Bresenham's error term
  // produces, but computable at any step so clipping can jump straight in.
  const i64 m0 = xMajor ? x0 : y0;
  const i64 dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const i64 n0 = xMajor ? y0 : x0;
  const i64 dMinor = xMajor ? dy : dx;
  const i64 majorExtent = xMajor ? t.W : t.H;
  const int w = pen.Width;
  const i64 lo = -(w / 2), hi = (w - 1) / 2;  // the run across the line for wide pens

  // Steps whose major coordinate falls inside the image (widened by the pen).
  i64 sFirst, sLast;
  if (dir > 0) {
    sFirst = std::max<i64>(0, -m0);
    sLast = std::min<i64>(n - 1, majorExtent - 1 - m0);
  } else {
    sFirst = std::max<i64>(0, m0 - (majorExtent - 1));
    sLast = std::min<i64>(n - 1, m0);
  }
  if (sFirst > sLast) return;
  // Exact minor coordinate at the first visible step, then Bresenham's error
  // term from there: minor = n0 + q where q = floor(num / (2n)), num = 2 s dMinor + n.
  const i64 twoN = 2 * n, twoD = 2 * dMinor;
  if (!pen.Pattern && w == 1 && dMinor == 0 && !xMajor) {
    // A vertical line (long polylines reduced to a few points a column are
    // mostly these): one column, walked by the row stride.
    if (n0 < 0 || n0 >= t.W) return;
    std::uint32_t* d = t.Bits + (m0 + dir * sFirst) * t.Stride + n0;
    const i64 step = dir * t.Stride;
    const std::uint32_t xorBits = pen.Pixel & 0x00FFFFFF;
    for (i64 s = sFirst; s <= sLast; ++s, d += step) *d = t.Xor ? (*d ^ xorBits) : pen.Pixel;
    return;
  }
  if (!pen.Pattern && w == 1 && n <= kFastLineExtent && std::abs(dMinor) <= kFastLineExtent) {
    SolidThinLine(t, xMajor, m0, dir, n0, dMinor, n, sFirst, sLast, pen.Pixel);
    return;
  }
  const i128 num0 = i128(2) * sFirst * dMinor + n;
  i64 q = static_cast<i64>(FloorDiv(num0, twoN));
  i64 r = static_cast<i64>(num0 - i128(q) * twoN);  // 0 <= r < 2n
  int pat = pen.Pattern ? static_cast<int>((startPhase + sFirst) % pen.PatternLength) : 0;
  const i64 minorExtent = xMajor ? t.H : t.W;
  for (i64 s = sFirst; s <= sLast; ++s) {
    if (!pen.Pattern || PatternOn(pen, pat)) {
      const i64 major = m0 + dir * s, minor = n0 + q;
      // The run across the line, cut to the surface: a pen of any width costs
      // no more than the pixels it can reach.
      const i64 kFrom = std::max(lo, -minor), kTo = std::min(hi, minorExtent - 1 - minor);
      if (xMajor) {
        for (i64 k = kFrom; k <= kTo; ++k) t.Plot(major, minor + k, pen.Pixel);
      } else if (kFrom <= kTo) {
        t.Span(major, minor + kFrom, minor + kTo, pen.Pixel);
      }
    }
    if (pen.Pattern && ++pat == pen.PatternLength) pat = 0;
    // |dMinor| <= n, so one correction at most keeps 0 <= r < 2n.
    r += twoD;
    if (r >= twoN) { r -= twoN; ++q; }
    else if (r < 0) { r += twoN; --q; }
  }
}

void Rectangle(const Target& t, i64 x1, i64 y1, i64 x2, i64 y2, const LinePen* outline,
               const std::uint32_t* fill) {
  if (x2 <= x1 || y2 <= y1 || t.Empty()) return;
  const i64 k = outline ? outline->Width : 0;  // outline thickness, inwards
  if (!t.Xor && x1 >= 0 && y1 >= 0 && x2 <= t.W && y2 <= t.H) {
    // Wholly on the surface (every cell of the world, every frame): rows are
    // written straight, without clipping each piece.
    const std::uint32_t pen = outline ? outline->Pixel : 0;
    // A local copy: through the pointer the compiler must assume the row
    // stores may change it, and would not fill in wide stores.
    const std::uint32_t inside = fill ? *fill : 0;
    for (i64 y = y1; y < y2; ++y) {
      std::uint32_t* row = t.Bits + y * t.Stride;
      if (outline && (y < y1 + k || y >= y2 - k)) {
        FillPixels(row + x1, x2 - x1, pen);
        continue;
      }
      const i64 in1 = std::min(x1 + k, x2), in2 = std::max(x2 - k, in1);
      for (i64 x = x1; x < in1; ++x) row[x] = pen;
      if (fill)
        FillPixels(row + in1, in2 - in1, inside);
      for (i64 x = in2; x < x2; ++x) row[x] = pen;
    }
    return;
  }
  const i64 yFrom = std::max<i64>(y1, 0), yTo = std::min<i64>(y2 - 1, t.H - 1);
  // Without a fill, rows whose interior spans the surface show nothing: an
  // outline far larger than the surface costs no more than its visible rows.
  i64 hiddenFrom = yTo + 1, hiddenTo = yTo;
  if (!fill && x1 + k <= 0 && x2 - 1 - k >= t.W - 1) {
    hiddenFrom = y1 + k;
    hiddenTo = y2 - 1 - k;
  }
  for (i64 y = yFrom; y <= yTo; ++y) {
    if (y >= hiddenFrom && y <= hiddenTo) {
      y = hiddenTo;
      continue;
    }
    Interval inner{x1 + k, x2 - 1 - k};
    if (y < y1 + k || y > y2 - 1 - k) inner = {};
    ShapeRow(t, y, {x1, x2 - 1}, inner, outline, fill);
  }
}

namespace {

// The first row of [lo, hi] where `in` holds, when it holds on a run of rows
// that ends at hi; and the last one of a run that starts at lo.
template <class Pred>
i64 FirstOfRun(i64 lo, i64 hi, const Pred& in) {
  while (lo < hi) {
    const i64 mid = lo + (hi - lo) / 2;
    if (in(mid))
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

template <class Pred>
i64 LastOfRun(i64 lo, i64 hi, const Pred& in) {
  while (lo < hi) {
    const i64 mid = hi - (hi - lo) / 2;
    if (in(mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  return hi;
}

// Half-width term m of the ellipse inscribed in a box W x H, for the row at
// doubled offset Y from the centre, when the doubled centre column S has
// parity sParity: the row covers (S - m) / 2 .. (S + m) / 2; -1 when empty.
// Working in doubled integer coordinates keeps the shape exactly symmetric.
i64 EllipseHalfWidth(i64 W, i64 H, i64 sParity, i64 Y) {
  if (std::abs(Y) >= H) return -1;
  const long double q = static_cast<long double>(Y) / static_cast<long double>(H);
  const long double s = 1.0L - q * q;
  if (s < 0) return -1;
  i64 m = static_cast<i64>(std::floor(static_cast<long double>(W) * std::sqrt(s) + 1e-9L));
  if (((m - sParity) % 2) != 0) --m;  // X = 2x - S has the parity of S
  return m < 0 ? -1 : m;
}

// The half-widths of all rows of a box (index: row - top) depend only on the
// box's size and the parity of S. Shapes of one size are drawn over and over
// (agents, marks) and the long double rounding above is slow, so the table of
// the last size is kept, per thread.
const std::vector<i64>* EllipseRows(i64 W, i64 H, i64 sParity) {
  constexpr i64 kMaxCachedHeight = 1024;
  if (H > kMaxCachedHeight) return nullptr;
  struct Cache {
    i64 W = -1, H = -1, Parity = -1;
    std::vector<i64> M;
  };
  thread_local Cache cache;
  if (cache.W != W || cache.H != H || cache.Parity != sParity) {
    cache.M.resize(static_cast<std::size_t>(H));
    for (i64 j = 0; j < H; ++j)
      cache.M[static_cast<std::size_t>(j)] = EllipseHalfWidth(W, H, sParity, 2 * j + 1 - H);
    cache.W = W;
    cache.H = H;
    cache.Parity = sParity;
  }
  return &cache.M;
}

}  // namespace

void Ellipse(const Target& t, i64 x1, i64 y1, i64 x2, i64 y2, const LinePen* outline,
             const std::uint32_t* fill) {
  if (x2 <= x1 || y2 <= y1 || t.Empty()) return;
  const i64 W = x2 - x1, H = y2 - y1;
  const i64 S = x1 + x2 - 1, T = y1 + y2 - 1;
  const i64 sParity = S & 1;
  const std::vector<i64>* rows = EllipseRows(W, H, sParity);
  // A row is looked up again as the row k above or below the next ones: the
  // last few rows worked out without the table are kept.
  struct Known {
    i64 Row = INT64_MIN;  // no row
    i64 M = -1;
  };
  std::array<Known, 8> known;
  auto span = [&](i64 y) -> Interval {
    const i64 Y = 2 * y - T;
    if (std::abs(Y) >= H) return {};
    i64 m;
    if (rows) {
      m = (*rows)[static_cast<std::size_t>(y - y1)];
    } else {
      Known& e = known[static_cast<std::size_t>(y & 7)];
      if (e.Row != y) e = {y, EllipseHalfWidth(W, H, sParity, Y)};
      m = e.M;
    }
    if (m < 0) return {};
    return {(S - m) / 2, (S + m) / 2};
  };
  // Outline and fill of one colour make a plain disc: no interior to find.
  const bool oneColour = outline && fill && outline->Pixel == *fill;
  if (rows && (oneColour || (!outline && fill)) && !t.Xor && x1 >= 0 && y1 >= 0 && x2 <= t.W &&
      y2 <= t.H) {
    // A disc wholly on the surface (every agent): each row is one run.
    const std::uint32_t px = *fill;
    for (i64 y = y1; y < y2; ++y) {
      const i64 m = (*rows)[static_cast<std::size_t>(y - y1)];
      if (m < 0) continue;
      std::uint32_t* row = t.Bits + y * t.Stride;
      for (i64 x = (S - m) / 2, e = (S + m) / 2; x <= e; ++x) row[x] = px;
    }
    return;
  }
  const i64 k = outline && !oneColour ? outline->Width : 0;
  // The interior: pixels whose neighbours up to k rows away and k columns
  // away are all inside (for k = 1 this is the four-neighbour rule). The
  // rows share one centre and narrow away from the middle, so the rows k
  // above and k below bound all those between: two look-ups, whatever k.
  auto interior = [&](i64 y, Interval region) {
    Interval inner{region.Lo + k, region.Hi - k};
    if (k > 0 && !inner.Empty()) inner = Intersect(inner, Intersect(span(y - k), span(y + k)));
    return inner;
  };
  const i64 yFrom = std::max<i64>(y1, 0), yTo = std::min<i64>(y2 - 1, t.H - 1);
  if (yFrom > yTo || (!outline && !fill)) return;
  // Only the rows with pixels on the surface are worked out, so a shape far
  // larger than the surface costs what its visible pixels cost. A row's ends
  // move outwards towards the middle row and back, and so do its interior's:
  // the rows that reach the surface's columns, and (without a fill) those
  // whose interior hides all of them, are runs about the middle row, found
  // by halving from the visible row nearest to it.
  const auto reaches = [&](i64 y) {
    const Interval r = span(y);
    return !r.Empty() && r.Lo < t.W && r.Hi >= 0;
  };
  const auto hidden = [&](i64 y) {
    const Interval r = span(y);
    if (r.Empty()) return false;
    const Interval inner = interior(y, r);
    return inner.Lo <= 0 && inner.Hi >= t.W - 1;
  };
  // Most often the interior hides all of the surface (the first and the
  // last row tell, as the hidden rows are one run), or the shape misses it.
  if (!fill && hidden(yFrom) && hidden(yTo)) return;
  const i64 middle = std::clamp<i64>(T / 2, yFrom, yTo);
  if (!reaches(middle)) return;
  const i64 first = FirstOfRun(yFrom, middle, reaches), last = LastOfRun(middle, yTo, reaches);
  i64 hiddenFrom = last + 1, hiddenTo = last;
  if (!fill && hidden(middle)) {
    hiddenFrom = FirstOfRun(first, middle, hidden);
    hiddenTo = LastOfRun(middle, last, hidden);
  }
  for (i64 y = first; y <= last; ++y) {
    if (y == hiddenFrom) {
      y = hiddenTo;
      continue;
    }
    const Interval region = span(y);
    if (region.Empty()) continue;
    ShapeRow(t, y, region, interior(y, region), outline, fill);
  }
}

void FillPolygon(const Target& t, std::span<const TPoint> pts, std::uint32_t fill) {
  const std::size_t n = pts.size();
  if (n < 3 || t.Empty()) return;
  i64 yMin = pts[0].Y, yMax = pts[0].Y;
  for (const TPoint& p : pts) {
    yMin = std::min<i64>(yMin, p.Y);
    yMax = std::max<i64>(yMax, p.Y);
  }
  yMin = std::max<i64>(yMin, 0);
  yMax = std::min<i64>(yMax, t.H - 1);
  std::vector<long double> xs;
  xs.reserve(n);
  for (i64 y = yMin; y <= yMax; ++y) {
    xs.clear();
    for (std::size_t i = 0; i < n; ++i) {
      const TPoint a = pts[i], b = pts[(i + 1) % n];
      if (a.Y == b.Y) continue;
      const i64 ya = std::min(a.Y, b.Y), yb = std::max(a.Y, b.Y);
      if (y < ya || y >= yb) continue;  // half-open, so shared vertices count once
      // Differences of two 32-bit coordinates need 64 bits.
      const long double x =
          a.X + static_cast<long double>(y - a.Y) * (i64{b.X} - a.X) / (i64{b.Y} - a.Y);
      xs.push_back(x);
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      // Pixel centres from the left crossing up to, not including, the right one;
      // clamp first so far-away crossings cannot overflow the conversion.
      const long double lo = std::clamp(xs[i], -1.0L, static_cast<long double>(t.W) + 1);
      const long double hi = std::clamp(xs[i + 1], -1.0L, static_cast<long double>(t.W) + 1);
      t.Span(y, static_cast<i64>(std::ceil(lo)), static_cast<i64>(std::ceil(hi)) - 1, fill);
    }
  }
}

}  // namespace raster

}  // namespace travenel
