// StepAggregate: the rows of a per-step CSV reduced, as they stream in, to
// what the picture shows — for every setup (agents, threshold) and value
// column, the mean over its runs at each step and the least and greatest
// value.
//
// A run that pauses ends early (the runner writes no rows after it): nothing
// changes in its world from then on, so it keeps counting with its last
// values at the later steps of its setup.
//
// Rows may come in any order (sorted by step, shuffled, joined): each row
// counts for its own run, told by its setup and seed. Memory grows with the
// number of runs (each keeps its last values, and a bit per step to know a
// row given twice), never with the number of rows otherwise: steps are
// gathered in at most kMaxBins bins per setup, each twice as wide whenever
// a longer run needs more.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "travenel/plot/Stat.h"
#include "travenel/sweepcsv/Columns.h"

namespace travenel {

// The world's parameters of a setup, as kParamColumns: width, height, jump,
// share, density; 0 where the input has no such column.
using TParams = std::array<double, 5>;
namespace param {
inline constexpr int kWidth = 0, kHeight = 1, kJump = 2, kShare = 3, kDensity = 4;
}

struct TSetupKey {
  double Agents = 0;
  double Threshold = 0;
  TParams Params{};
  auto operator<=>(const TSetupKey&) const = default;
};

// Where a row of the layout holds each of the world's parameters (-1: not).
using TParamIndex = std::array<int, 5>;
TParamIndex ParamIndexOf(const TCsvLayout& layout);
TSetupKey SetupKeyOf(const std::vector<double>& row, const TParamIndex& index);

// Which parameters take more than one value among the setups: bits of
// TParamBits (kParamWorld for width or height).
unsigned VaryingParams(const std::vector<TSetupKey>& keys);
// "world 64x64 · jump 3": the parameters of `varying` a setup has.
std::string ParamsText(const TSetupKey& key, unsigned varying);
// "world 64x64 to 1024x1024 · density 40": the values the setups have of
// every parameter the input carries (`present`, TParamBits).
std::string ParamsRange(const std::vector<TSetupKey>& keys, unsigned present);
// The TParamBits the layout carries.
unsigned PresentParams(const TParamIndex& index);

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

// The same setup, seed and step on two lines.
class EDuplicateRow : public EBadInput {
 public:
  EDuplicateRow(const std::string& message, std::uint64_t first, std::uint64_t second)
      : EBadInput(message), First(first), Second(second) {}
  std::uint64_t First;  // 0: not known (the input could not be read again)
  std::uint64_t Second;
};

class TStepAggregate {
 public:
  static constexpr std::uint64_t kMaxBins = 2048;

  // columns: the value columns to follow (indexes into a row); params:
  // where the rows hold the world's parameters.
  explicit TStepAggregate(std::vector<int> columns, TParamIndex params = {-1, -1, -1, -1, -1});

  // One row (the layout's columns in its order), read from `line`. Throws
  // EDuplicateRow when the row's run already had its step.
  void Add(const std::vector<double>& row, std::uint64_t line);

  // The curves of every setup, in the order of agents, then threshold.
  std::vector<TStepSetup> Finish();

  // The number of runs seen.
  std::size_t RunCount() const { return runs_.size(); }

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
  struct TRunKey {
    TSetupKey Setup;
    double Seed;
    bool operator==(const TRunKey&) const = default;
  };
  struct TRunHash {
    std::size_t operator()(const TRunKey& k) const;
  };
  // Kept for every run: what a run needs is kept small.
  struct TRun {
    std::uint64_t LastStep = 0;
    std::uint64_t FirstLine = 0;
    // While the run's rows come one line after another from step FirstStep
    // on (as the runner writes them), the line of any of its steps is known.
    std::uint64_t FirstStep = 0, LastLine = 0, PrevStep = 0;
    // The steps seen, a bit each: the first 128 here, later ones in Seen
    // (beyond kBitSteps in far_).
    std::uint64_t Near[2] = {0, 0};
    std::vector<std::uint64_t> Seen;
    std::uint32_t Setup = 0;
    bool Contiguous = true;
  };

  std::size_t SetupOf(const TSetupKey& key);
  std::size_t RunOf(const TRunKey& key, std::uint64_t line);
  // Marks a step of run i seen; false when it was seen before.
  bool MarkSeen(std::size_t i, std::uint64_t step);
  // The bin of a step, widening the bins while it lies beyond the last one.
  std::size_t BinOf(TSetup& s, std::uint64_t step);
  void Widen(TSetup& s);

  std::vector<int> columns_;
  TParamIndex params_;
  std::vector<TSetup> setups_;
  std::map<TSetupKey, std::size_t> index_;
  std::vector<TRun> runs_;  // in the order they first appear
  // Per run and column: the value at the latest step that had one (NaN:
  // none yet), and that step.
  std::vector<double> last_;
  std::vector<std::uint64_t> lastAt_;
  std::set<std::pair<std::size_t, std::uint64_t>> far_;  // (run, step) of steps beyond the bits
  std::unordered_map<TRunKey, std::size_t, TRunHash> runIndex_;
  std::size_t lastRun_ = SIZE_MAX;
  TRunKey lastKey_{};
};

}  // namespace travenel
