// Picture: what travenel-plot's pictures share — the page with its charts,
// the facts about the sweep that its caption tells, and how panels are laid
// out in a grid.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "travenel/plot/Page.h"
#include "travenel/sweepcsv/Columns.h"

namespace travenel {

// The page and the charts on it, kept so that their mappings can be asked.
struct TPicture {
  std::unique_ptr<TPage> Page;
  std::vector<std::unique_ptr<TRChart>> Charts;
  std::vector<TPoint> Origins;  // each chart's top-left on the page
};

// What the rows told about the sweep besides the aggregates.
struct TSweepFacts {
  TCsvKind Kind = TCsvKind::PerStep;
  double SeedMin = std::numeric_limits<double>::infinity();
  double SeedMax = -std::numeric_limits<double>::infinity();
  // Per step: the steps; per run: the steps run.
  double StepMin = std::numeric_limits<double>::infinity();
  double StepMax = -std::numeric_limits<double>::infinity();

  void Add(const std::vector<double>& row);
};

// "agents 500, 1000 · threshold 60, 74 · 2 runs per setup (seeds 1 to 2) · steps 1 to 99"
std::string SweepCaption(const std::vector<double>& agents, const std::vector<double>& thresholds,
                         std::uint64_t runsMin, std::uint64_t runsMax, const TSweepFacts& facts);

// What the caller asked of the picture.
struct TPictureSpec {
  int Width = 0;  // 0: as the picture needs
  int Height = 0;
  std::string Title;
};

// Columns and rows of a grid of n panels that gives them the largest size
// with a width of about 3:2 their height in an area of the given size (of
// two such grids, the one with more columns).
TPoint ChooseGrid(int n, int width, int height);

// Sorted distinct values.
std::vector<double> Distinct(std::vector<double> values);

}  // namespace travenel
