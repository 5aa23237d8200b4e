#include "travenel/sim/Measures.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "travenel/sim/World.h"

namespace travenel {

namespace {

// Eight cells at a time: each byte of a word is one cell's code (0 free,
// 1 + colour when occupied), so a byte is at most 2.
constexpr std::uint64_t kLowBits = 0x0101010101010101u;

std::uint64_t Load(const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
// 1 in each byte whose cell is occupied.
std::uint64_t Occupied(std::uint64_t w) { return (w | w >> 1) & kLowBits; }
// 1 in each byte where both cells are occupied and of one colour.
std::uint64_t Alike(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t x = a ^ b;
  return ~(x | x >> 1) & Occupied(a) & kLowBits;
}
// The sum of the bytes of a word whose bytes add up to less than 256 (the
// processor's population count is not there on every x86-64).
std::int64_t ByteSum(std::uint64_t w) { return static_cast<std::int64_t>((w * kLowBits) >> 56); }

// For each cell of a grid with a border, the grid cell it stands for. Kept
// for the last size asked, per thread: the runner measures one size.
const std::vector<std::int32_t>& Homes(std::int32_t columns, std::int32_t rows) {
  thread_local std::vector<std::int32_t> home;
  thread_local std::int32_t forColumns = 0, forRows = 0;
  if (forColumns == columns && forRows == rows) return home;
  const std::int32_t stride = columns + 2;
  home.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows + 2));
  for (std::int32_t r = -1; r <= rows; ++r)
    for (std::int32_t c = -1; c <= columns; ++c) {
      const std::int32_t hc = (c + columns) % columns, hr = (r + rows) % rows;
      home[static_cast<std::size_t>((r + 1) * stride + c + 1)] = (hr + 1) * stride + hc + 1;
    }
  forColumns = columns;
  forRows = rows;
  return home;
}

}  // namespace

// The grid is copied once into bytes with a border of one cell that repeats
// the opposite edges, so every neighbour is a fixed offset away; a border
// cell leads back to the grid cell it repeats through `home`. Counting and
// the neighbour bits take eight cells per word: the colours are too random
// for branches, which made a cell-by-cell count cost several steps.
TSegregation MeasureSegregation(const TWorld& world) {
  const std::int32_t columns = world.Columns(), rows = world.Rows();
  const std::int32_t stride = columns + 2;
  const auto spots = static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows + 2);
  // Room for a word read from the last cell.
  std::vector<std::uint8_t> code(spots + 8, 0), alike(spots + 8, 0);
  const std::vector<std::int32_t>& home = Homes(columns, rows);
  for (std::int32_t r = 0; r < rows; ++r)
    for (std::int32_t c = 0; c < columns; ++c) {
      const TCell& cell = world.Cells(c, r);
      code[static_cast<std::size_t>((r + 1) * stride + c + 1)] =
          static_cast<std::uint8_t>(cell.Occupied * (1 + (cell.State() != 0)));
    }
  for (std::size_t p = 0; p < spots; ++p) code[p] = code[static_cast<std::size_t>(home[p])];

  const std::int32_t around[8] = {-stride - 1, -stride,    -stride + 1, -1,
                                  1,           stride - 1, stride,      stride + 1};
  TSegregation m;
  for (std::int32_t r = 1; r <= rows; ++r)
    for (std::int32_t c = 1; c <= columns; c += 8) {
      const std::int32_t at = r * stride + c;
      // Bytes past the row's last cell count for nothing.
      const std::int32_t left = columns + 1 - c;
      const std::uint64_t mask = left >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << 8 * left) - 1;
      const std::uint64_t own = Load(&code[static_cast<std::size_t>(at)]) & mask;
      std::uint64_t bits = 0, occupied = 0, same = 0;  // bytes of at most 8
      for (int k = 0; k < 8; ++k) {
        const std::uint64_t other = Load(&code[static_cast<std::size_t>(at + around[k])]) & mask;
        const std::uint64_t alikeBytes = Alike(own, other);
        occupied += Occupied(own) & Occupied(other);
        same += alikeBytes;
        bits |= alikeBytes << k;
      }
      m.OccupiedNeighbours += ByteSum(occupied);
      m.SameNeighbours += ByteSum(same);
      std::uint64_t stored = Load(&alike[static_cast<std::size_t>(at)]);
      stored = (stored & ~mask) | bits;
      std::memcpy(&alike[static_cast<std::size_t>(at)], &stored, sizeof stored);
    }

  // Clusters: a walk from each cell not yet seen along its neighbour bits.
  std::vector<std::uint8_t> seen(spots, 0);
  std::vector<std::int32_t> stack;
  stack.reserve(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
  for (std::int32_t r = 1; r <= rows; ++r)
    for (std::int32_t c = 1; c <= columns; ++c) {
      const std::int32_t start = r * stride + c;
      if (code[static_cast<std::size_t>(start)] == 0 || seen[static_cast<std::size_t>(start)])
        continue;
      ++m.Clusters;
      std::int32_t size = 0;
      seen[static_cast<std::size_t>(start)] = 1;
      stack.push_back(start);
      while (!stack.empty()) {
        const std::int32_t at = stack.back();
        stack.pop_back();
        ++size;
        for (unsigned bits = alike[static_cast<std::size_t>(at)]; bits != 0; bits &= bits - 1) {
          const std::int32_t n = home[static_cast<std::size_t>(at + around[__builtin_ctz(bits)])];
          if (seen[static_cast<std::size_t>(n)]) continue;
          seen[static_cast<std::size_t>(n)] = 1;
          stack.push_back(n);
        }
      }
      m.LargestCluster = std::max(m.LargestCluster, size);
    }
  return m;
}

}  // namespace travenel
