// The segregation measures of a headless world, in memory that grows with
// the agents, not with the cells: the grid's own bytes are read in place,
// row by row, and clusters are found by a single scan that labels each row
// from the row above and joins labels in a union-find (no walk, no
// recursion, no copy of the grid).
#include <algorithm>
#include <vector>

#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/Measures.h"

namespace travenel {

namespace {

// Union-find over the labels of the scan: a root holds -(its cells), any
// other label the label it was joined to.
class TLabels {
 public:
  // A new set of one cell.
  std::int32_t Add() {
    parent_.push_back(-1);
    return static_cast<std::int32_t>(parent_.size() - 1);
  }
  std::int32_t Root(std::int32_t a) {
    while (parent_[static_cast<std::size_t>(a)] >= 0) {
      const std::int32_t up = parent_[static_cast<std::size_t>(a)];
      // Halving the path keeps later look-ups short.
      if (parent_[static_cast<std::size_t>(up)] >= 0)
        parent_[static_cast<std::size_t>(a)] = parent_[static_cast<std::size_t>(up)];
      a = up;
    }
    return a;
  }
  // Joins the sets of a and b (roots or not); returns the root of the union.
  std::int32_t Join(std::int32_t a, std::int32_t b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return a;
    if (parent_[static_cast<std::size_t>(a)] > parent_[static_cast<std::size_t>(b)]) std::swap(a, b);
    parent_[static_cast<std::size_t>(a)] += parent_[static_cast<std::size_t>(b)];
    parent_[static_cast<std::size_t>(b)] = a;
    return a;
  }
  void Count(std::int32_t root) { --parent_[static_cast<std::size_t>(root)]; }
  void Summarise(TSegregation& m) const {
    for (const std::int32_t p : parent_)
      if (p < 0) {
        ++m.Clusters;
        m.LargestCluster = std::max(m.LargestCluster, -p);
      }
  }

 private:
  std::vector<std::int32_t> parent_;
};

constexpr std::int32_t kNone = -1;

// Neighbours on one row among the cells of row `own`: the pairs (own[c],
// row[c + d]) for d = -1, 0, 1, wrapped at the row's ends.
void CountAgainst(const std::uint8_t* own, const std::uint8_t* row, std::int32_t columns,
                  std::int64_t& same, std::int64_t& occupied, bool itself) {
  std::uint32_t s = 0, o = 0;  // a row has at most 65,536 cells, 3 pairs each
  const auto pair = [&](std::uint8_t a, std::uint8_t b) {
    const std::uint8_t x = THeadlessWorld::CodeOf(a), y = THeadlessWorld::CodeOf(b);
    s += (x != 0) & (x == y);
    o += (x != 0) & (y != 0);
  };
  const std::int32_t last = columns - 1;
  pair(own[0], row[last]);
  if (!itself) pair(own[0], row[0]);
  pair(own[0], row[1]);
  for (std::int32_t c = 1; c < last; ++c) {
    const std::uint8_t x = THeadlessWorld::CodeOf(own[c]);
    const std::uint8_t l = THeadlessWorld::CodeOf(row[c - 1]), m = THeadlessWorld::CodeOf(row[c]),
                       r = THeadlessWorld::CodeOf(row[c + 1]);
    const std::uint32_t filled = x != 0;
    s += filled * ((x == l) + (!itself & (x == m)) + (x == r));
    o += filled * ((l != 0) + (!itself & (m != 0)) + (r != 0));
  }
  pair(own[last], row[last - 1]);
  if (!itself) pair(own[last], row[last]);
  pair(own[last], row[0]);
  same += s;
  occupied += o;
}

}  // namespace

TSegregation MeasureSegregation(const THeadlessWorld& world) {
  const std::int32_t columns = world.Columns(), rows = world.Rows();
  TSegregation m;
  // Percent similar: each row against the row above, itself and the row below.
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::uint8_t* own = world.RowBytes(r);
    CountAgainst(own, world.RowBytes(r == 0 ? rows - 1 : r - 1), columns, m.SameNeighbours,
                 m.OccupiedNeighbours, false);
    CountAgainst(own, own, columns, m.SameNeighbours, m.OccupiedNeighbours, true);
    CountAgainst(own, world.RowBytes(r == rows - 1 ? 0 : r + 1), columns, m.SameNeighbours,
                 m.OccupiedNeighbours, false);
  }

  // Clusters. Each occupied cell takes the label of a like neighbour to its
  // left or above (joining the labels of any others), or a new one. The
  // world wraps: the last column meets the first within each row, and the
  // last row meets the first, whose labels are kept for that.
  const auto width = static_cast<std::size_t>(columns);
  std::vector<std::int32_t> first(width, kNone), above(width, kNone), here(width, kNone);
  TLabels labels;
  const auto wrap = [columns](std::int32_t c) {
    return c < 0 ? c + columns : c >= columns ? c - columns : c;
  };
  // Joins the cell's label with the like cells of `row` at columns c - 1 .. c + 1.
  const auto joinRow = [&](std::int32_t& label, std::uint8_t code, const std::uint8_t* row,
                           const std::vector<std::int32_t>& rowLabels, std::int32_t c) {
    for (std::int32_t d = -1; d <= 1; ++d) {
      const std::int32_t nc = wrap(c + d);
      if (THeadlessWorld::CodeOf(row[nc]) != code) continue;
      const std::int32_t other = rowLabels[static_cast<std::size_t>(nc)];
      label = label == kNone ? labels.Root(other) : labels.Join(label, other);
    }
  };
  const std::uint8_t* previous = nullptr;
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::uint8_t* row = world.RowBytes(r);
    for (std::int32_t c = 0; c < columns; ++c) {
      const std::uint8_t code = THeadlessWorld::CodeOf(row[c]);
      std::int32_t label = kNone;
      if (code != 0) {
        if (c > 0 && THeadlessWorld::CodeOf(row[c - 1]) == code)
          label = labels.Root(here[static_cast<std::size_t>(c - 1)]);
        if (previous) joinRow(label, code, previous, above, c);
        if (label == kNone)
          label = labels.Add();
        else
          labels.Count(labels.Root(label));
      }
      here[static_cast<std::size_t>(c)] = label;
    }
    // The last column's left neighbour in this row is the first column.
    const std::uint8_t code = THeadlessWorld::CodeOf(row[columns - 1]);
    if (code != 0 && THeadlessWorld::CodeOf(row[0]) == code)
      labels.Join(here[0], here[width - 1]);
    if (r == 0) first = here;
    std::swap(above, here);
    previous = row;
  }
  // The last row against the first.
  const std::uint8_t* top = world.RowBytes(0);
  for (std::int32_t c = 0; c < columns; ++c) {
    const std::uint8_t code = THeadlessWorld::CodeOf(previous[c]);
    if (code == 0) continue;
    std::int32_t label = above[static_cast<std::size_t>(c)];
    joinRow(label, code, top, first, c);
  }
  labels.Summarise(m);
  return m;
}

}  // namespace travenel
