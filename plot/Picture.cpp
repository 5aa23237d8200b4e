#include "travenel/plot/Picture.h"

#include <algorithm>

#include "travenel/plot/Format.h"

namespace travenel {

void TSweepFacts::Add(const std::vector<double>& row) {
  const double seed = row[col::kSeed], step = row[col::kStep];  // kStep == kStepsRun
  SeedMin = std::min(SeedMin, seed);
  SeedMax = std::max(SeedMax, seed);
  StepMin = std::min(StepMin, step);
  StepMax = std::max(StepMax, step);
}

std::string SweepCaption(const std::vector<double>& agents, const std::vector<double>& thresholds,
                         std::uint64_t runsMin, std::uint64_t runsMax, const TSweepFacts& facts) {
  const std::string dot = " \xC2\xB7 ";  // a middle dot
  std::string s = "agents " + ValuesText(agents) + dot + "threshold " + ValuesText(thresholds);
  s += dot + std::to_string(runsMin);
  if (runsMax != runsMin) s += " to " + std::to_string(runsMax);
  s += runsMax == 1 ? " run per setup" : " runs per setup";
  if (facts.SeedMin <= facts.SeedMax) {
    s += facts.SeedMin == facts.SeedMax
             ? " (seed " + NumberText(facts.SeedMin) + ")"
             : " (seeds " + NumberText(facts.SeedMin) + " to " + NumberText(facts.SeedMax) + ")";
  }
  if (facts.StepMin <= facts.StepMax) {
    if (facts.Kind == TCsvKind::PerStep)
      s += dot + "steps " + NumberText(facts.StepMin) + " to " + NumberText(facts.StepMax);
    else
      s += dot + "up to " + NumberText(facts.StepMax) + " steps a run";
  }
  return s;
}

TPoint ChooseGrid(int n, int width, int height) {
  TPoint best{1, std::max(n, 1)};
  double bestSize = -1;
  for (int cols = 1; cols <= std::max(n, 1); ++cols) {
    const int rows = (n + cols - 1) / cols;
    const double size = std::min(double(width) / cols / 1.5, double(height) / rows);
    if (size >= bestSize - 1e-9) {  // on a tie the wider grid
      bestSize = size;
      best = {cols, rows};
    }
  }
  return best;
}

std::vector<double> Distinct(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

}  // namespace travenel
