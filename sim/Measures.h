// Segregation measures of a world as its occupied cells stand: how alike the
// neighbours of the agents are, and how the colours clump into clusters. Pure
// functions of the grid; the world is only read.
#pragma once

#include <cstdint>
#include <optional>

namespace travenel {

class TWorld;
class THeadlessWorld;

struct TSegregation {
  // Over the occupied cells (each names the agent on it, of the cell's State):
  // their occupied neighbours of the same State, and all their occupied
  // neighbours. Neighbours are the eight positions around a cell, wrapped.
  std::int64_t SameNeighbours = 0;
  std::int64_t OccupiedNeighbours = 0;
  // Groups of occupied cells of one State joined through any of the eight
  // neighbour positions (the world wraps), and the cells of the largest.
  std::int32_t Clusters = 0;
  std::int32_t LargestCluster = 0;

  // "Percent similar": SameNeighbours / OccupiedNeighbours x 100; none while
  // no occupied cell has an occupied neighbour.
  std::optional<double> PercentSimilar() const {
    if (OccupiedNeighbours == 0) return std::nullopt;
    return 100.0 * static_cast<double>(SameNeighbours) / static_cast<double>(OccupiedNeighbours);
  }
  bool operator==(const TSegregation&) const = default;
};

TSegregation MeasureSegregation(const TWorld& world);
// The same for a headless world of any size, in memory that grows with the
// clusters' labels, not with the grid.
TSegregation MeasureSegregation(const THeadlessWorld& world);

}  // namespace travenel
