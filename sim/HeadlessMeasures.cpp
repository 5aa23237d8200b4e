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

// Union-find over the labels of the scan, with the cells given each label.
class TLabels {
 public:
  // A new label with one cell.
  std::int32_t Add() {
    const auto label = static_cast<std::int32_t>(parent_.size());
    parent_.push_back(label);
    cells_.push_back(1);
    return label;
  }
  std::int32_t Root(std::int32_t a) {
    while (parent_[Index(a)] != a) {
      // Halving the path keeps later look-ups short.
      parent_[Index(a)] = parent_[Index(parent_[Index(a)])];
      a = parent_[Index(a)];
    }
    return a;
  }
  void Join(std::int32_t a, std::int32_t b) {
    a = Root(a);
    b = Root(b);
    // The older label stays the root, so roots come before their labels.
    if (a != b) parent_[Index(std::max(a, b))] = std::min(a, b);
  }
  void Count(std::int32_t label) { ++cells_[Index(label)]; }
  void Summarise(TSegregation& m) {
    // Roots come first: by then every label's cells have reached its root.
    for (std::size_t l = parent_.size(); l-- > 0;) {
      const std::int32_t root = Root(static_cast<std::int32_t>(l));
      if (Index(root) != l) {
        cells_[Index(root)] += cells_[l];
        continue;
      }
      ++m.Clusters;
      m.LargestCluster = std::max(m.LargestCluster, static_cast<std::int32_t>(cells_[l]));
    }
  }

 private:
  static std::size_t Index(std::int32_t label) { return static_cast<std::size_t>(label); }
  std::vector<std::int32_t> parent_;
  std::vector<std::uint32_t> cells_;
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
  std::vector<std::int32_t> occupied(width);
  TLabels labels;
  const auto wrap = [columns](std::int32_t c) {
    return c < 0 ? c + columns : c >= columns ? c - columns : c;
  };
  const std::uint8_t* previous = nullptr;
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::uint8_t* row = world.RowBytes(r);
    // The occupied columns, listed without a branch (whether a cell is
    // occupied is a coin toss), then labelled one by one. A free cell's
    // label is never read.
    std::size_t count = 0;
    for (std::int32_t c = 0; c < columns; ++c) {
      occupied[count] = c;
      count += row[c] & THeadlessWorld::kMarked;
    }
    for (std::size_t k = 0; k < count; ++k) {
      const std::int32_t c = occupied[k];
      const std::uint8_t code = THeadlessWorld::CodeOf(row[c]);
      std::int32_t& label = here[static_cast<std::size_t>(c)];
      const bool left = c > 0 && THeadlessWorld::CodeOf(row[c - 1]) == code;
      if (!previous) {
        label = left ? here[static_cast<std::size_t>(c - 1)] : labels.Add();
        if (left) labels.Count(label);
        continue;
      }
      const std::int32_t cl = wrap(c - 1), cr = wrap(c + 1);
      const auto like = [&](std::int32_t k) { return THeadlessWorld::CodeOf(previous[k]) == code; };
      const auto at = [&](std::int32_t k) { return above[static_cast<std::size_t>(k)]; };
      // Like cells next to each other were joined when the second was
      // labelled: the cell above, when like, stands for both its neighbours;
      // the cell to the left for the one above it and the one above this.
      if (like(c)) {
        label = at(c);
      } else if (left) {
        label = here[static_cast<std::size_t>(c - 1)];
        if (like(cr)) labels.Join(label, at(cr));
      } else if (like(cl)) {
        label = at(cl);
        if (like(cr)) labels.Join(label, at(cr));
      } else if (like(cr)) {
        label = at(cr);
      } else {
        label = labels.Add();
        continue;
      }
      labels.Count(label);
    }
    // The last column's left neighbour in this row is the first column.
    const std::uint8_t code = THeadlessWorld::CodeOf(row[columns - 1]);
    if (code != 0 && THeadlessWorld::CodeOf(row[0]) == code) labels.Join(here[0], here[width - 1]);
    if (r == 0) first = here;
    std::swap(above, here);
    previous = row;
  }
  // The last row against the first.
  const std::uint8_t* top = world.RowBytes(0);
  for (std::int32_t c = 0; c < columns; ++c) {
    const std::uint8_t code = THeadlessWorld::CodeOf(previous[c]);
    if (code == 0) continue;
    for (std::int32_t d = -1; d <= 1; ++d) {
      const std::int32_t nc = wrap(c + d);
      if (THeadlessWorld::CodeOf(top[nc]) == code)
        labels.Join(above[static_cast<std::size_t>(c)], first[static_cast<std::size_t>(nc)]);
    }
  }
  labels.Summarise(m);
  return m;
}

}  // namespace travenel
