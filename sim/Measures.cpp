#include "sim/Measures.h"

#include <algorithm>
#include <vector>

#include "sim/World.h"

TSegregation MeasureSegregation(const TWorld& world) {
  const std::int32_t columns = world.Columns(), rows = world.Rows();
  const auto cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  // Each cell's colour, -1 when free, read once.
  std::vector<std::int8_t> colour(cells);
  for (std::int32_t r = 0; r < rows; ++r)
    for (std::int32_t c = 0; c < columns; ++c) {
      const TCell& cell = world.Cells(c, r);
      colour[static_cast<std::size_t>(r * columns + c)] =
          cell.Occupied ? static_cast<std::int8_t>(cell.State() == 0 ? 0 : 1) : std::int8_t{-1};
    }
  // The eight neighbour indices of a cell; the sides are at least
  // TWorld::kMinSide, so one fold each way is enough.
  const auto neighbours = [&](std::int32_t i, std::int32_t(&out)[8]) {
    const std::int32_t c = i % columns, r = i / columns;
    const std::int32_t cs[3] = {c == 0 ? columns - 1 : c - 1, c, c == columns - 1 ? 0 : c + 1};
    const std::int32_t rs[3] = {r == 0 ? rows - 1 : r - 1, r, r == rows - 1 ? 0 : r + 1};
    int k = 0;
    for (int dy = 0; dy < 3; ++dy)
      for (int dx = 0; dx < 3; ++dx)
        if (dx != 1 || dy != 1) out[k++] = rs[dy] * columns + cs[dx];
  };

  TSegregation m;
  std::vector<std::int32_t> stack;
  std::vector<bool> seen(cells, false);
  std::int32_t around[8];
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(cells); ++i) {
    const std::int8_t own = colour[static_cast<std::size_t>(i)];
    if (own < 0) continue;
    neighbours(i, around);
    for (const std::int32_t n : around) {
      const std::int8_t other = colour[static_cast<std::size_t>(n)];
      m.OccupiedNeighbours += other >= 0;
      m.SameNeighbours += other == own;
    }
    if (seen[static_cast<std::size_t>(i)]) continue;
    // A new cluster: a depth-first walk over same-coloured neighbours.
    ++m.Clusters;
    std::int32_t size = 0;
    seen[static_cast<std::size_t>(i)] = true;
    stack.assign(1, i);
    while (!stack.empty()) {
      const std::int32_t at = stack.back();
      stack.pop_back();
      ++size;
      neighbours(at, around);
      for (const std::int32_t n : around)
        if (colour[static_cast<std::size_t>(n)] == own && !seen[static_cast<std::size_t>(n)]) {
          seen[static_cast<std::size_t>(n)] = true;
          stack.push_back(n);
        }
    }
    m.LargestCluster = std::max(m.LargestCluster, size);
  }
  return m;
}
