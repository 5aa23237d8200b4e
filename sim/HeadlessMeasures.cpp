// The segregation measures of a headless world, in memory that grows with
// the agents, not with the cells: the grid is read row by row (each row's
// codes copied once into a row of bytes), both measures are taken in the
// same single scan, and clusters are found by labelling each row from the
// row above and joining labels in a union-find (no walk, no recursion, no
// copy of the grid).
#include <algorithm>
#include <vector>

#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/Measures.h"

namespace travenel {

namespace {

// `yes` if `take` (0 or 1), else `no`. By a mask, because a branch on a
// random colour is mispredicted half the time and compilers turn a plain
// `take ? yes : no` of loaded values into one.
std::int32_t Select(std::uint32_t take, std::int32_t yes, std::int32_t no) {
  const auto mask = static_cast<std::int32_t>(0u - take);
  return (yes & mask) | (no & ~mask);
}

// Union-find over the labels of the scan, with the cells given each label.
// A label's parent is never above it (the older label stays the root).
class TLabels {
 public:
  // Room for `more` new labels, each its own root with no cells yet, so that
  // the scan need not check or write before it takes one.
  void Reserve(std::size_t more) {
    const std::size_t size = parent_.size();
    if (size >= Index(next_) + more) return;
    parent_.resize(Index(next_) + more + size / 2);
    for (std::size_t l = size; l < parent_.size(); ++l) parent_[l] = static_cast<std::int32_t>(l);
    cells_.resize(parent_.size());
  }
  // The label the next new cell takes.
  std::int32_t Next() const { return next_; }
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
    if (a != b) parent_[Index(std::max(a, b))] = std::min(a, b);
  }
  // One more cell with `label`, which is Next() when `fresh` (0 or 1).
  void Count(std::int32_t label, std::uint32_t fresh) {
    ++cells_[Index(label)];
    next_ += static_cast<std::int32_t>(fresh);
  }
  void Summarise(TSegregation& m) {
    // In rising order a label's parent already points at its root: one step
    // finds the root, and the cells move there, with no loop or branch.
    const std::size_t count = Index(next_);
    for (std::size_t l = 0; l < count; ++l) {
      const std::int32_t root = parent_[Index(parent_[l])];
      parent_[l] = root;
      cells_[Index(root)] +=
          cells_[l] & static_cast<std::uint32_t>(Select(Index(root) != l, -1, 0));
    }
    for (std::size_t l = 0; l < count; ++l) {
      const std::uint32_t root = Index(parent_[l]) == l;
      m.Clusters += static_cast<std::int32_t>(root);
      m.LargestCluster =
          std::max(m.LargestCluster, Select(root, static_cast<std::int32_t>(cells_[l]), 0));
    }
  }

 private:
  static std::size_t Index(std::int32_t label) { return static_cast<std::size_t>(label); }
  std::int32_t next_ = 0;
  std::vector<std::int32_t> parent_;
  std::vector<std::uint32_t> cells_;
};

// Like and occupied pairs of a cell of `own` and its three neighbours in the
// next row `other`, both rows of codes with wrapped columns on either side,
// each twice (a pair is two cells' neighbours). No branch, so the compiler
// may use vector instructions.
void CountPairs(const std::vector<std::uint8_t>& own, const std::vector<std::uint8_t>& other,
                std::int64_t& same, std::int64_t& occupied) {
  std::uint32_t s = 0, o = 0;  // a row has at most 65,536 cells, 3 pairs each
  for (std::size_t c = 1; c + 1 < own.size(); ++c) {
    const std::uint32_t x = own[c], filled = x != 0;
    s += filled * ((x == other[c - 1]) + (x == other[c]) + (x == other[c + 1]));
    o += filled * ((other[c - 1] != 0) + (other[c] != 0) + (other[c + 1] != 0));
  }
  same += 2 * static_cast<std::int64_t>(s);
  occupied += 2 * static_cast<std::int64_t>(o);
}

}  // namespace

TSegregation MeasureSegregation(const THeadlessWorld& world) {
  const std::int32_t columns = world.Columns(), rows = world.Rows();
  TSegregation m;
  // Clusters (and percent similar below, from the same rows). Each occupied
  // cell takes the label of a like neighbour to its left or above (joining
  // the labels of any others), or a new one. Colours are random, so which neighbours are like is a
  // coin toss: the choice is made by selects, not branches, and only the rare join branches. Rows
  // of codes and labels are kept with a column on either side (index c + 1 holds column c): the row
  // above carries its wrapped neighbours there, the current row a free cell at the left. The world
  // wraps: the last column meets the first within each row, and the last row meets the first, whose
  // labels are kept for that.
  const auto width = static_cast<std::size_t>(columns);
  std::vector<std::uint8_t> up(width + 2, 0), here(width + 2, 0), firstCodes;
  std::vector<std::int32_t> upLabel(width + 2, 0), hereLabel(width + 2, 0), first;
  std::vector<std::int32_t> occupied(width);
  TLabels labels;
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::uint8_t* row = world.RowBytes(r);
    // The codes, then the occupied columns listed without a branch (whether
    // a cell is occupied is a coin toss). A free cell's label is never read.
    for (std::size_t c = 1; c <= width; ++c) here[c] = THeadlessWorld::CodeOf(row[c - 1]);
    here[0] = 0;
    std::size_t count = 0;
    for (std::size_t c = 1; c <= width; ++c) {
      occupied[count] = static_cast<std::int32_t>(c);
      count += here[c] != 0;
    }
    labels.Reserve(count);
    std::int32_t last = 0;  // the label of the cell before in the list
    for (std::size_t k = 0; k < count; ++k) {
      const auto c = static_cast<std::size_t>(occupied[k]);
      const std::uint8_t code = here[c];
      const std::uint32_t u = up[c] == code, ul = up[c - 1] == code, ur = up[c + 1] == code,
                          l = here[c - 1] == code;
      // A like cell to the left (the cell before in the list) was joined to
      // the cells above it and above this one; the cell above, when like,
      // to both its neighbours. Only the one above to the right may be apart.
      std::int32_t label = Select(ur, upLabel[c + 1], labels.Next());
      label = Select(ul, upLabel[c - 1], label);
      label = Select(u, upLabel[c], label);
      label = Select(l, last, label);
      if ((ur & ~u & (l | ul)) != 0) labels.Join(label, upLabel[c + 1]);
      labels.Count(label, (u | ul | ur | l) ^ 1u);
      hereLabel[c] = label;
      last = label;
    }
    // The last column's left neighbour in this row is the first column.
    if (here[width] != 0 && here[1] == here[width]) labels.Join(hereLabel[1], hereLabel[width]);
    here[0] = here[width];
    here[width + 1] = here[1];
    hereLabel[0] = hereLabel[width];
    hereLabel[width + 1] = hereLabel[1];
    // Percent similar from the pairs of neighbours, each pair counted here
    // once for the two cells it joins: with the next cell in the row (the
    // last cell's next is the first) and with the row above (the first
    // row's is the last, counted at the end). Sides of 11 and more keep a
    // cell's eight neighbours apart, so no pair is met twice.
    std::uint32_t same = 0, filled = 0;
    for (std::size_t c = 1; c <= width; ++c) {
      const std::uint32_t both = (here[c] != 0) & (here[c + 1] != 0);
      same += both & (here[c] == here[c + 1]);
      filled += both;
    }
    m.SameNeighbours += 2 * static_cast<std::int64_t>(same);
    m.OccupiedNeighbours += 2 * static_cast<std::int64_t>(filled);
    if (r > 0) CountPairs(here, up, m.SameNeighbours, m.OccupiedNeighbours);
    if (r == 0) {
      first = hereLabel;
      firstCodes = here;
    }
    std::swap(up, here);
    std::swap(upLabel, hereLabel);
  }
  // The last row against the first.
  CountPairs(firstCodes, up, m.SameNeighbours, m.OccupiedNeighbours);
  for (std::size_t c = 1; c <= width; ++c) {
    const std::uint8_t code = up[c];
    if (code == 0) continue;
    for (std::size_t n = c - 1; n <= c + 1; ++n)
      if (firstCodes[n] == code) labels.Join(upLabel[c], first[n]);
  }
  labels.Summarise(m);
  return m;
}

}  // namespace travenel
