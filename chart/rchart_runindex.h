// rchart_runindex: an index over the item list for polylines whose x values
// never decrease (time series), built as items are appended, so that a frame
// reduces such a polyline in O(pixel columns x log n) instead of mapping
// every point: the visible range and each column's ends are found by search,
// each column's lowest and highest point from a min/max tree over blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "travenel/chart/rchart_item.h"
#include "travenel/chart/rchart_map.h"
#include "travenel/chart/rchart_podbuffer.h"
#include "travenel/chart/rchart_reduce.h"

namespace travenel {

// The y values of a range of items, as far as their pixels need them.
struct TYSummary {
  double Lo = std::numeric_limits<double>::infinity();   // least value that is no NaN
  double Hi = -std::numeric_limits<double>::infinity();  // greatest value that is no NaN
  // Least value a logarithmic axis can take (above kMinLogValue); valid while Hi is.
  double LoPositive = std::numeric_limits<double>::infinity();
  bool NaN = false;

  void Add(double y);
  void Add(const TYSummary& o);
};

// A run of consecutive line-to items whose x values never decrease (and are
// no NaN): items Begin .. End - 1.
struct TSortedStretch {
  std::uint32_t Begin = 0, End = 0;
  std::size_t Size() const { return End - Begin; }
};

class TSortedRunIndex {
 public:
  // Items per block of the min/max tree (its leaves).
  static constexpr std::size_t kBlock = 16;
  // Shorter stretches are mapped point by point: searching would not pay.
  static constexpr std::size_t kMinStretch = 64;

  // The item appended as number Count(); O(1) amortised.
  void Append(const TRChartItem& item);
  void Clear();
  std::size_t Count() const { return count_; }

  // The stretches, in order; those of fewer than kMinStretch items are not
  // indexed. A stretch's End may lie beyond a prefix being drawn.
  std::span<const TSortedStretch> Stretches() const { return stretches_; }

  // The y values of items a .. b - 1 (b <= Count()).
  TYSummary Summary(std::size_t a, std::size_t b) const;
  // The last index in a .. b - 1 whose item is not `same` by its y value,
  // where `all(s)` tells whether every value of a summary is; b when none.
  template <class All, class Same>
  std::size_t LastNot(std::size_t a, std::size_t b, All all, Same same) const;
  // X of the first item of block k (compact, for searching).
  double BlockX(std::size_t k) const { return blockX_[k]; }
  // Every item's X1 and Y1, held compactly: a frame that maps the points of
  // a long polyline reads these, not the items.
  std::span<const double> Xs() const { return xs_.Span(); }
  std::span<const double> Ys() const { return ys_.Span(); }
  // The indices of the items that are no line-to items, in order.
  std::span<const std::uint32_t> Others() const { return others_; }

  std::size_t HeapBytes() const;

 private:
  // levels_[k][j] sums up blocks j * 2^k .. (j + 1) * 2^k - 1; complete nodes only.
  std::vector<std::vector<TYSummary>> levels_;
  std::vector<double> blockX_;
  std::vector<TSortedStretch> stretches_;
  std::vector<std::uint32_t> others_;
  TPodBuffer<double> xs_, ys_;
  TYSummary open_;  // the block being filled
  std::size_t count_ = 0;
  double lastX_ = 0;
};

template <class All, class Same>
std::size_t TSortedRunIndex::LastNot(std::size_t a, std::size_t b, All all, Same same) const {
  const std::span<const double> ys = ys_.Span();
  std::size_t j = b;
  // The tail of a block, item by item.
  while (j > a && j % kBlock != 0) {
    --j;
    if (!same(ys[j])) return j;
  }
  // Whole blocks, as large tree nodes as fit, from the right.
  std::size_t hi = j / kBlock;
  const std::size_t lo = (a + kBlock - 1) / kBlock;
  while (hi > lo) {
    std::size_t k = 0;
    while (k + 1 < levels_.size() && hi % (std::size_t{2} << k) == 0 &&
           hi - (std::size_t{2} << k) >= lo)
      ++k;
    std::size_t node = (hi >> k) - 1;
    if (!all(levels_[k][node])) {
      // Down to the rightmost block that holds another value.
      while (k > 0) {
        --k;
        node = 2 * node + 1;
        if (all(levels_[k][node])) --node;
      }
      for (std::size_t i = (node + 1) * kBlock; i-- > node * kBlock;)
        if (!same(ys[i])) return i;
    }
    hi -= std::size_t{1} << k;
  }
  // The head, item by item.
  for (j = std::min(j, lo * kBlock); j > a;) {
    --j;
    if (!same(ys[j])) return j;
  }
  return b;
}

// Feeds items a .. b - 1 of one indexed stretch (line-to items) to the
// reducer, as Add with each point's pixel would, in O(columns x log n).
// Axes without a finite mapping are not searched: see CanSearch.
void FeedSorted(TPolylineReducer& r, const TSortedRunIndex& index, std::size_t a, std::size_t b,
                const TItemMapper& map);
// Feeds items a .. b - 1 (line-to items) to the reducer point by point,
// mapped in blocks by a loop the compiler vectorises.
void FeedMapped(TPolylineReducer& r, const TSortedRunIndex& index, std::size_t a, std::size_t b,
                const TItemMapper& map);
// Whether FeedSorted may be used with this mapping.
bool CanSearch(const TItemMapper& map);

}  // namespace travenel
