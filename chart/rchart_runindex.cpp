#include "travenel/chart/rchart_runindex.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace travenel {

// --- summaries ------------------------------------------------------------------------

void TYSummary::Add(double y) {
  if (std::isnan(y)) {
    NaN = true;
    return;
  }
  Lo = std::min(Lo, y);
  Hi = std::max(Hi, y);
  if (y > kMinLogValue) LoPositive = std::min(LoPositive, y);
}

void TYSummary::Add(const TYSummary& o) {
  Lo = std::min(Lo, o.Lo);
  Hi = std::max(Hi, o.Hi);
  LoPositive = std::min(LoPositive, o.LoPositive);
  NaN = NaN || o.NaN;
}

// --- building --------------------------------------------------------------------------

void TSortedRunIndex::Append(const TRChartItem& item) {
  const std::size_t i = count_;
  if (i % kBlock == 0) blockX_.push_back(item.X1);
  if (item.Kind != ikLineTo) others_.push_back(static_cast<std::uint32_t>(i));
  xs_.PushBack(item.X1);
  ys_.PushBack(item.Y1);
  if (item.Kind == ikLineTo && !std::isnan(item.X1)) {
    TSortedStretch* last = stretches_.empty() ? nullptr : &stretches_.back();
    if (last && last->End == i && lastX_ <= item.X1) {
      ++last->End;
    } else if (last && last->Size() < kMinStretch) {
      *last = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i + 1)};  // never indexed
    } else {
      stretches_.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i + 1)});
    }
    lastX_ = item.X1;
  }
  open_.Add(item.Y1);
  ++count_;
  if (count_ % kBlock != 0) return;
  // A block is complete: up the tree as far as pairs complete.
  if (levels_.empty()) levels_.emplace_back();
  levels_[0].push_back(open_);
  open_ = TYSummary{};
  for (std::size_t k = 0; levels_[k].size() % 2 == 0; ++k) {
    if (k + 1 == levels_.size()) levels_.emplace_back();
    TYSummary s = levels_[k][levels_[k].size() - 2];
    s.Add(levels_[k].back());
    levels_[k + 1].push_back(s);
  }
}

void TSortedRunIndex::Clear() {
  levels_ = {};
  blockX_ = {};
  stretches_ = {};
  others_ = {};
  xs_.Release();
  ys_.Release();
  open_ = TYSummary{};
  count_ = 0;
}

TYSummary TSortedRunIndex::Summary(std::size_t a, std::size_t b) const {
  const std::span<const double> items = ys_.Span();
  TYSummary s;
  while (a < b && a % kBlock != 0) s.Add(items[a++]);
  std::size_t lo = a / kBlock;
  const std::size_t hi = b / kBlock;
  while (lo < hi) {
    // The largest node that starts at lo and ends by hi.
    std::size_t k = 0;
    while (k + 1 < levels_.size() && lo % (std::size_t{2} << k) == 0 &&
           lo + (std::size_t{2} << k) <= hi)
      ++k;
    s.Add(levels_[k][lo >> k]);
    lo += std::size_t{1} << k;
  }
  for (a = std::max(a, hi * kBlock); a < b; ++a) s.Add(items[a]);
  return s;
}

std::size_t TSortedRunIndex::HeapBytes() const {
  std::size_t n = (blockX_.capacity() + xs_.Capacity() + ys_.Capacity()) * sizeof(double) +
                  others_.capacity() * sizeof(std::uint32_t) +
                  stretches_.capacity() * sizeof(TSortedStretch);
  for (const auto& l : levels_) n += l.capacity() * sizeof(TYSummary);
  return n;
}

// --- reducing a stretch -------------------------------------------------------------------

bool CanSearch(const TItemMapper& map) {
  // A flat linear axis puts infinities elsewhere than every finite value:
  // pixels would not follow the order of the values.
  return (map.Map.X.Logarithmic || map.Map.X.K != 0) && (map.Map.Y.Logarithmic || map.Map.Y.K != 0);
}

namespace {

// The least and greatest pixel of the values of a summary (lo > hi: none).
// Pixels follow the order of the values, apart from NaN (pixel of 0) and, on
// a logarithmic axis, the values it cannot take (one pixel for all).
void PixelRange(const TYSummary& s, const TItemMapper& map, std::int64_t& lo, std::int64_t& hi) {
  lo = INT64_MAX;
  hi = INT64_MIN;
  const auto put = [&](double v) {
    const std::int64_t p = map.Y(v);
    lo = std::min(lo, p);
    hi = std::max(hi, p);
  };
  if (s.NaN) put(std::nan(""));
  if (s.Lo > s.Hi) return;
  if (!map.Map.Y.Logarithmic) {
    put(s.Lo);
    put(s.Hi);
    return;
  }
  if (!(s.Lo > kMinLogValue)) put(s.Lo);
  if (s.Hi > kMinLogValue) {
    put(s.LoPositive);
    put(s.Hi);
  }
}

class TStretchFeeder {
 public:
  TStretchFeeder(TPolylineReducer& r, const TSortedRunIndex& index, const TItemMapper& map)
      : r_(r), xs_(index.Xs()), ys_(index.Ys()), index_(index), map_(map), width_(r.SurfaceWidth()) {}

  // Items a .. b - 1, whose zones follow their order.
  void Feed(std::size_t a, std::size_t b) {
    while (a < b) {
      const std::int64_t zone = ZoneOfX(xs_[a]);
      const std::size_t end =
          FirstWhere(a, b, [&](double x) { return ZoneOfX(x) != zone; });
      Group(a, end, zone);
      a = end;
    }
  }

  // The first index in a .. b - 1 whose x satisfies pred (false at a, and
  // once true true to b), or b: galloping over the compact block starts,
  // then halving, then within one block.
  template <class Pred>
  std::size_t FirstWhere(std::size_t a, std::size_t b, Pred pred) const {
    constexpr std::size_t B = TSortedRunIndex::kBlock;
    std::size_t lo = a, hi = b;
    for (std::size_t c = a / B + 1, step = 1; c * B < hi; c += step, step *= 2) {
      if (pred(index_.BlockX(c))) {
        hi = c * B;
        break;
      }
      lo = c * B;
    }
    for (;;) {
      const std::size_t first = lo / B + 1, last = (hi - 1) / B;  // block starts in (lo, hi)
      if (hi == 0 || first > last) break;
      const std::size_t mid = first + (last - first) / 2;
      if (pred(index_.BlockX(mid)))
        hi = mid * B;
      else
        lo = mid * B;
    }
    while (hi - lo > 1) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (pred(xs_[mid]))
        hi = mid;
      else
        lo = mid;
    }
    return hi;
  }

 private:
  std::int64_t ZoneOfX(double x) const {
    const int p = map_.X(x);
    return p < 0 ? -1 : p >= width_ ? width_ : p;
  }

  TPoint At(std::size_t i) const { return map_(xs_[i], ys_[i]); }

  // Items a .. e - 1, all in one zone.
  void Group(std::size_t a, std::size_t e, std::int64_t zone) {
    const TPoint first = At(a), last = At(e - 1);
    if (zone < 0 || zone >= width_ || e - a == 1) {
      r_.AddGroup(first, last, 1, 0);
      return;
    }
    // One column: the vertical segments from point to point draw one run
    // from the lowest to the highest pixel, but for an end that only the
    // last point reaches (it is left out), or only the trailing points at
    // its pixel, which draw nothing.
    std::int64_t lo, hi;
    PixelRange(index_.Summary(a, e), map_, lo, hi);
    const std::int64_t y = last.Y;
    if (lo == hi || (lo < y && y < hi)) {
      r_.AddGroup(first, last, lo, lo == hi ? lo - 1 : hi);
      return;
    }
    const auto same = [&](double v) { return map_.Y(v) == y; };
    const auto all = [&](const TYSummary& s) {
      std::int64_t l, h;
      PixelRange(s, map_, l, h);
      return l == y && h == y;
    };
    const std::size_t u = index_.LastNot(a, e - 1, all, same);
    std::int64_t before, beforeHi;
    PixelRange(index_.Summary(a, u + 1), map_, before, beforeHi);
    if (y == hi)
      r_.AddGroup(first, last, lo, beforeHi == hi ? hi : hi - 1);
    else
      r_.AddGroup(first, last, before == lo ? lo : lo + 1, hi);
  }

  TPolylineReducer& r_;
  std::span<const double> xs_, ys_;
  const TSortedRunIndex& index_;
  const TItemMapper& map_;
  std::int64_t width_;
};

}  // namespace

void FeedSorted(TPolylineReducer& r, const TSortedRunIndex& index, std::size_t a, std::size_t b,
                const TItemMapper& map) {
  if (a >= b) return;
  const std::span<const double> xs = index.Xs();
  TStretchFeeder f(r, index, map);
  if (map.Map.X.Logarithmic) {
    // Values a logarithmic axis cannot take come first and share one pixel;
    // after them the pixels follow the values.
    const std::size_t p = f.FirstWhere(a, b, [](double x) { return x > kMinLogValue; });
    const std::size_t q = xs[a] > kMinLogValue ? a : p;
    f.Feed(a, q);
    f.Feed(q, b);
    return;
  }
  f.Feed(a, b);
}

// --- reducing point by point --------------------------------------------------------------

namespace {

constexpr int kChunk = 256;

// |O| below this keeps the double form's error below kSureMargin wherever
// the value lands on or near the surface: |K v| <= |p| + |O| < 2^30 there, and
// three roundings of 2^-53 each of that (and the extended form's own) stay
// below 2^-20. Far off, no cancellation can turn the sign.
constexpr double kMaxOffset = 0x1p29;
constexpr double kSureMargin = 0x1p-20;

// The double form of ItemPixelOf for n values (|o| < kMaxOffset), without a
// branch and in doubles only, so that the compiler vectorises it: out[i] is
// the pixel, or NaN where the extended form must decide (a value within the
// margin of a half pixel, or NaN).
void MapChunk(const double* v, int n, double k, double o, double* out) {
  constexpr double kEdge = kMaxItemPixel + 1.0, kMax = kMaxItemPixel;
  for (int i = 0; i < n; ++i) {
    const double p = k * v[i] + o;
    // Beyond the limits the value is the limit, whatever its rounding.
    double c = p < -kEdge ? -kEdge : p;
    c = c > kEdge ? kEdge : c;
    const double r = (c + 0x1.8p52) - 0x1.8p52;
    double lim = r < -kMax ? -kMax : r;
    lim = lim > kMax ? kMax : lim;
    // NaN fails both comparisons.
    const bool sure = (std::fabs(p) > kEdge) | (0.5 - std::fabs(c - r) > kSureMargin);
    out[i] = sure ? lim : std::numeric_limits<double>::quiet_NaN();
  }
}

}  // namespace

void FeedMapped(TPolylineReducer& r, const TSortedRunIndex& index, std::size_t a, std::size_t b,
                const TItemMapper& map) {
  const std::span<const double> xs = index.Xs(), ys = index.Ys();
  double px[kChunk], py[kChunk];
  // Offsets that cannot take a pixel out of the 32-bit range need no clamp.
  constexpr std::int64_t kSafe = std::int64_t{1} << 30;
  const bool plain = map.FastX && map.FastY && map.Dx > -kSafe && map.Dx < kSafe &&
                     map.Dy > -kSafe && map.Dy < kSafe && std::fabs(map.Ox) < kMaxOffset &&
                     std::fabs(map.Oy) < kMaxOffset;
  const int dx = plain ? static_cast<int>(map.Dx) : 0, dy = plain ? static_cast<int>(map.Dy) : 0;
  while (a < b) {
    const int n = static_cast<int>(std::min<std::size_t>(b - a, kChunk));
    if (plain) {
      MapChunk(&xs[a], n, map.Kx, map.Ox, px);
      MapChunk(&ys[a], n, map.Ky, map.Oy, py);
      for (int i = 0; i < n; ++i) {
        const double fx = px[i], fy = py[i];
        // Where the double form is not sure, the point as ItemPixelOf takes it.
        r.Add(fx == fx && fy == fy ? TPoint{static_cast<int>(fx) + dx, static_cast<int>(fy) + dy}
                                   : map(xs[a + static_cast<std::size_t>(i)],
                                         ys[a + static_cast<std::size_t>(i)]));
      }
    } else {
      for (int i = 0; i < n; ++i) {
        const std::size_t j = a + static_cast<std::size_t>(i);
        r.Add(map(xs[j], ys[j]));
      }
    }
    a += static_cast<std::size_t>(n);
  }
}

}  // namespace travenel
