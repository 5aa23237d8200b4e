// SummaryAggregate: the rows of a summary CSV (one per run) reduced, as they
// stream in, to what the picture shows — for every setup (agents, threshold)
// the mean of the chosen column over its runs and the distinct values single
// runs had. For paused_at, a run that never paused (empty, or 0) has no
// value: it is counted apart instead of as step 0.
//
// Memory does not grow with the rows: distinct values are kept up to a limit
// per setup and in all (beyond it the mean, least and greatest value still
// take every run).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "travenel/plot/Stat.h"
#include "travenel/plot/StepAggregate.h"

namespace travenel {

struct TSummaryPoint {
  double X = 0;               // the threshold, or the agent count (see Finish)
  TStat Values;               // the runs with a value
  std::uint64_t Runs = 0;     // all runs
  std::uint64_t Never = 0;    // runs that never paused
  std::vector<double> Marks;  // distinct values of single runs, ascending
};

// The setups of one agent count by threshold, or of one threshold by agent
// count.
struct TSummaryCurve {
  double Key = 0;  // the agent count, or the threshold
  std::vector<TSummaryPoint> Points;
  std::string Label;  // across a world's parameter: what the curve's setups share
};

class TSummaryAggregate {
 public:
  static constexpr std::size_t kMaxSetups = 100000;
  static constexpr std::size_t kMaxMarksPerSetup = 1000;
  static constexpr std::size_t kMaxMarks = 200000;

  // column: the value column; zeroMeansNever: 0 there is a run that never
  // paused; params: where the rows hold the world's parameters.
  TSummaryAggregate(int column, bool zeroMeansNever,
                    TParamIndex params = {-1, -1, -1, -1, -1});

  // One row (the header's columns in its order), read from `line`. Throws
  // EBadInput when it would make more than kMaxSetups setups.
  void Add(const std::vector<double>& row, std::uint64_t line);

  // Curves by agents, points by threshold; with xAgents the other way round.
  std::vector<TSummaryCurve> Finish(bool xAgents = false) const;

  // Across one of the world's parameters (an index of TParams; for the
  // world its cells), one curve for each combination of the other setup
  // values, labelled by those that vary. The agent count goes with the
  // density where the rows have one (it follows from density and world).
  // kAcrossThreshold and kAcrossAgents put those across instead.
  static constexpr int kAcrossThreshold = 10, kAcrossAgents = 11;
  std::vector<TSummaryCurve> FinishAcross(int param) const;

  // The setups' keys, in order.
  std::vector<TSetupKey> Keys() const;

  // How many agent counts and thresholds the rows had.
  std::size_t AgentCounts() const;
  std::size_t Thresholds() const;

  // Whether some distinct values found no room (their runs are in the means).
  bool MarksDropped() const { return marksDropped_; }

 private:
  struct TSetup {
    TStat Values;
    std::uint64_t Runs = 0, Never = 0;
    std::unordered_set<double> Marks;
  };
  TSetup& SetupOf(const TSetupKey& key, std::uint64_t line);

  int column_;
  bool zeroMeansNever_;
  TParamIndex params_;
  std::map<TSetupKey, TSetup> setups_;
  TSetup* last_ = nullptr;
  TSetupKey lastKey_;
  std::size_t marks_ = 0;
  bool marksDropped_ = false;
};

}  // namespace travenel
