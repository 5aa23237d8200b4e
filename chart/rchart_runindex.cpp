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
  *this = TSortedRunIndex{};
}

const TSortedStretch* TSortedRunIndex::StretchAt(std::size_t i) const {
  const auto at = std::upper_bound(stretches_.begin(), stretches_.end(), i,
                                   [](std::size_t v, const TSortedStretch& s) { return v < s.Begin; });
  if (at == stretches_.begin()) return nullptr;
  const TSortedStretch& s = *std::prev(at);
  return i < s.End && s.Size() >= kMinStretch ? &s : nullptr;
}

TYSummary TSortedRunIndex::Summary(std::span<const TRChartItem> items, std::size_t a,
                                   std::size_t b) const {
  TYSummary s;
  while (a < b && a % kBlock != 0) s.Add(items[a++].Y1);
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
  for (a = std::max(a, hi * kBlock); a < b; ++a) s.Add(items[a].Y1);
  return s;
}

std::size_t TSortedRunIndex::HeapBytes() const {
  std::size_t n = blockX_.capacity() * sizeof(double) +
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
  TStretchFeeder(TPolylineReducer& r, std::span<const TRChartItem> items,
                 const TSortedRunIndex& index, const TItemMapper& map)
      : r_(r), items_(items), index_(index), map_(map), width_(r.SurfaceWidth()) {}

  // Items a .. b - 1, whose zones follow their order.
  void Feed(std::size_t a, std::size_t b) {
    while (a < b) {
      const std::int64_t zone = ZoneOfX(items_[a].X1);
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
      if (pred(items_[mid].X1))
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

  TPoint At(std::size_t i) const { return map_(items_[i].X1, items_[i].Y1); }

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
    PixelRange(index_.Summary(items_, a, e), map_, lo, hi);
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
    const std::size_t u = index_.LastNot(items_, a, e - 1, all, same);
    std::int64_t before, beforeHi;
    PixelRange(index_.Summary(items_, a, u + 1), map_, before, beforeHi);
    if (y == hi)
      r_.AddGroup(first, last, lo, beforeHi == hi ? hi : hi - 1);
    else
      r_.AddGroup(first, last, before == lo ? lo : lo + 1, hi);
  }

  TPolylineReducer& r_;
  std::span<const TRChartItem> items_;
  const TSortedRunIndex& index_;
  const TItemMapper& map_;
  std::int64_t width_;
};

}  // namespace

void FeedSorted(TPolylineReducer& r, std::span<const TRChartItem> items,
                const TSortedRunIndex& index, std::size_t a, std::size_t b,
                const TItemMapper& map) {
  if (a >= b) return;
  TStretchFeeder f(r, items, index, map);
  if (map.Map.X.Logarithmic) {
    // Values a logarithmic axis cannot take come first and share one pixel;
    // after them the pixels follow the values.
    const std::size_t p = f.FirstWhere(a, b, [](double x) { return x > kMinLogValue; });
    const std::size_t q = items[a].X1 > kMinLogValue ? a : p;
    f.Feed(a, q);
    f.Feed(q, b);
    return;
  }
  f.Feed(a, b);
}

}  // namespace travenel
