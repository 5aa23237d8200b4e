// Segregation measures against a plain computation: the world's own census
// for percent similar, and clusters found by spreading the smallest label.
#include "travenel/sim/Measures.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "travenel/sim/World.h"

namespace travenel {

namespace {

void Occupy(TWorld& w, std::int32_t c, std::int32_t r, std::int32_t state) {
  TCell& cell = w.Cells(c, r);
  cell.Occupied = true;
  cell.SetState(state);
}

TSegregation Plain(TWorld& w) {
  TSegregation m;
  const std::int32_t cols = w.Columns(), rows = w.Rows();
  std::vector<int> label(static_cast<std::size_t>(cols * rows), -1);
  for (std::int32_t r = 0; r < rows; ++r)
    for (std::int32_t c = 0; c < cols; ++c)
      if (w.Cells(c, r).Occupied) {
        w.CountNeighbours(c, r);
        m.SameNeighbours += w.Cells(c, r).SameCount;
        m.OccupiedNeighbours += w.Cells(c, r).SameCount + w.Cells(c, r).OtherCount;
        label[static_cast<std::size_t>(r * cols + c)] = r * cols + c;
      }
  for (bool changed = true; changed;) {
    changed = false;
    for (std::int32_t r = 0; r < rows; ++r)
      for (std::int32_t c = 0; c < cols; ++c) {
        int& own = label[static_cast<std::size_t>(r * cols + c)];
        if (own < 0) continue;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nc = (c + dx + cols) % cols, nr = (r + dy + rows) % rows;
            const int n = label[static_cast<std::size_t>(nr * cols + nc)];
            if (n >= 0 && n < own && w.Cells(nc, nr).State() == w.Cells(c, r).State()) {
              own = n;
              changed = true;
            }
          }
      }
  }
  std::map<int, int> sizes;
  for (const int l : label)
    if (l >= 0) ++sizes[l];
  m.Clusters = static_cast<std::int32_t>(sizes.size());
  for (const auto& [l, n] : sizes) m.LargestCluster = std::max(m.LargestCluster, n);
  return m;
}

TEST(Measures, HandMadeWorlds) {
  TWorld empty(11, 11);
  EXPECT_EQ(MeasureSegregation(empty), TSegregation{});
  EXPECT_FALSE(MeasureSegregation(empty).PercentSimilar());

  // Two black cells meeting diagonally across the corner, a white one beside
  // them, and a lone white cell: 3 clusters, the largest of 2.
  TWorld w(40, 40);
  Occupy(w, 0, 0, 0);
  Occupy(w, 39, 39, 0);
  Occupy(w, 1, 0, 1);
  Occupy(w, 20, 20, 1);
  const TSegregation m = MeasureSegregation(w);
  EXPECT_EQ(m.Clusters, 3);
  EXPECT_EQ(m.LargestCluster, 2);
  // (0,0): 1 same, 1 other; (39,39): 1 same; (1,0): 1 other; (20,20): none.
  EXPECT_EQ(m.SameNeighbours, 2);
  EXPECT_EQ(m.OccupiedNeighbours, 4);
  EXPECT_DOUBLE_EQ(*m.PercentSimilar(), 50.0);
}

TEST(Measures, MatchThePlainComputationOnRandomWorlds) {
  std::mt19937 pick(7);
  for (int trial = 0; trial < 60; ++trial) {
    const std::int32_t cols = 11 + static_cast<std::int32_t>(pick() % 20);
    const std::int32_t rows = 11 + static_cast<std::int32_t>(pick() % 20);
    TWorld w(cols, rows);
    const unsigned fill = pick() % 101;  // percent of cells occupied
    for (std::int32_t r = 0; r < rows; ++r)
      for (std::int32_t c = 0; c < cols; ++c)
        if (pick() % 100 < fill) Occupy(w, c, r, static_cast<std::int32_t>(pick() % 2));
    const TSegregation m = MeasureSegregation(w);
    EXPECT_EQ(m, Plain(w)) << cols << " x " << rows << ", " << fill << "% full";
  }
}

TEST(Measures, ReadTheWorldAsTheStepsLeftIt) {
  // Cells written by the passes (the world's compact state), not by hand.
  TWorld w(40, 40);
  w.SetFixedSeed(3);
  w.CreateAgents(1200);
  for (int step = 0; step < 15; ++step) {
    w.MoveAgents();
    const TSegregation m = MeasureSegregation(w);
    EXPECT_EQ(m, Plain(w)) << "step " << step;
    w.UpdateAttachment(74);
  }
}

}  // namespace

}  // namespace travenel
