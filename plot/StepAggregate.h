// StepAggregate: the rows of a per-step CSV reduced, as they stream in, to
// what the picture shows — for every setup (agents, threshold) and value
// column, the mean over its runs at each step and the least and greatest
// value.
//
// A run that pauses ends early (the runner writes no rows after it): nothing
// changes in its world from then on, so it keeps counting with its last
// values at the later steps of its setup.
//
// Memory does not grow with the rows: steps are gathered in at most kMaxBins
// bins per setup, each twice as wide whenever a longer run needs more.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "travenel/plot/Stat.h"

namespace travenel {

struct TSetupKey {
  double Agents = 0;
  double Threshold = 0;
  auto operator<=>(const TSetupKey&) const = default;
};

// One step (or one bin of steps) of a curve.
struct TStepPoint {
  double Step = 0;  // the step; for a bin of steps, their middle
  double Mean = 0;
  double Min = 0;
  double Max = 0;
};

struct TStepSetup {
  TSetupKey Key;
  std::uint64_t Runs = 0;
  // One curve per value column followed, in the order given.
  std::vector<std::vector<TStepPoint>> Curves;
};

class TStepAggregate {
 public:
  static constexpr std::uint64_t kMaxBins = 2048;
  static constexpr std::size_t kMaxSetups = 64;

  // columns: the value columns to follow (indexes into a row).
  explicit TStepAggregate(std::vector<int> columns);

  // One row (the header's columns in its order), read from `line`. A run is
  // a stretch of rows with the same agents, threshold and seed and rising
  // steps. Throws EBadInput when the row would make more than kMaxSetups
  // setups.
  void Add(const std::vector<double>& row, std::uint64_t line);

  // The curves of every setup, in the order of agents, then threshold.
  std::vector<TStepSetup> Finish();

 private:
  struct TSetup {
    TSetupKey Key;
    std::uint64_t Runs = 0;
    std::uint64_t Width = 1;  // steps per bin
    std::uint64_t FirstStep = UINT64_MAX, LastStep = 0;
    // Per bin and column: the values of the rows in it, and the last values
    // of the runs that ended in it.
    std::vector<TStat> Rows, Ended;
  };

  std::size_t SetupOf(const TSetupKey& key, std::uint64_t line);
  // The bin of a step, widening the bins while it lies beyond the last one.
  std::size_t BinOf(TSetup& s, std::uint64_t step);
  void Widen(TSetup& s);
  void EndRun();

  std::vector<int> columns_;
  std::vector<TSetup> setups_;
  std::map<TSetupKey, std::size_t> index_;

  // The run being read.
  bool inRun_ = false;
  TSetupKey runKey_;
  double runSeed_ = 0;
  std::uint64_t runStep_ = 0;
  std::size_t runSetup_ = 0;
  std::vector<double> runLast_;  // NaN: no value yet
};

}  // namespace travenel
