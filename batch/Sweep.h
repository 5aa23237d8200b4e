// A parameter sweep: every setup (agents x threshold) with every seed, run on
// worker threads, its rows written in a fixed order whatever the threads do.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "travenel/batch/Options.h"
#include "travenel/sim/Measures.h"
#include "travenel/sim/WorldConfig.h"
#include "travenel/sweepcsv/Columns.h"

namespace travenel {

// When a run takes the segregation measures: never, after every step's
// movement pass (as the counts), or after the last one only.
enum class TMeasureAt : std::uint8_t { Never, EveryStep, LastStep };

struct TRunSpec {
  int Agents = 0;
  int Threshold = 0;
  std::uint32_t Seed = 0;
  TMeasureAt Measures = TMeasureAt::Never;
  // The world; Headless: on a THeadlessWorld of World's shape, else on the
  // window's 40 x 40 TWorld.
  TWorldConfig World;
  bool Headless = false;
  double Density = 0;   // with kParamDensity: the density Agents came from
  unsigned Params = 0;  // TParamBits: the columns written with the rows
};

// The counts of one step's movement pass: what the window's chart plots.
struct TStepCounts {
  int Attached = 0;
  int Free = 0;
};

struct TRunResult {
  std::vector<TStepCounts> Steps;      // one per step run
  int PausedAt = 0;                    // step at which the run paused by itself; 0 if never
  std::vector<TSegregation> Measures;  // per step, or of the last step alone
};

// Runs one setup. It should return soon after cancel becomes true; what it
// returns then is thrown away.
using TRunner =
    std::function<TRunResult(const TRunSpec& spec, int steps, const std::atomic<bool>& cancel)>;

// The runs in output order: setups (world, jump, share, agents or density,
// then threshold, as given), then seeds. Each run is worked out from its index, so a sweep of any size needs
// no memory for its plan.
class TSweepPlan {
 public:
  explicit TSweepPlan(const TBatchOptions& options);  // throws EUsage if too large
  std::uint64_t Count() const { return count_; }
  TRunSpec At(std::uint64_t index) const;  // index < Count()
  unsigned Params() const { return params_; }  // the TParamBits its rows carry

 private:
  std::vector<TWorldSize> worlds_;
  std::vector<int> jumps_;
  std::vector<double> shares_, densities_;
  std::vector<int> agents_, thresholds_;
  bool headless_;
  unsigned params_;
  std::uint64_t repeats_;
  std::uint32_t seed_;
  TMeasureAt measures_;
  std::uint64_t count_;
};

// Runs [First, Last) of a plan.
struct TRunBlock {
  std::uint64_t First = 0;
  std::uint64_t Last = 0;
};

// Block `index` (1-based) of `blocks` contiguous blocks of `count` runs; the
// sizes differ by at most one and the blocks in order cover every run once.
TRunBlock ShardBlock(std::uint64_t count, std::uint32_t index, std::uint32_t blocks);

// Called on the caller's thread with each run's result, in plan order.
using TRunWritten =
    std::function<void(std::uint64_t index, const TRunSpec& spec, const TRunResult& result)>;

// Runs `range` of the plan on `jobs` worker threads and hands each result to
// `written` as soon as every run before it has been handed over, so the
// order never depends on the threads. `idle`, if given, is called now and
// then while the next result is awaited. Returns false if cancelled (cancel
// set true); no result is handed over once that is seen. Rethrows what a
// runner or `written` threw. The runners watch a flag of their own, raised
// within moments of a cancel and at once when a runner or `written` throws,
// so a failed write does not wait for the runs in progress.
bool RunRange(const TSweepPlan& plan, TRunBlock range, int steps, int jobs, const TRunner& runner,
              const std::atomic<bool>& cancel, const TRunWritten& written,
              const std::function<void()>& idle = {});

// Writes the header line (in the first shard only), then the rows of each run
// of this shard in plan order as soon as all runs before it are done.
// Returns false if cancelled (cancel set true); nothing is written once it
// is seen. progress(done, total) is called from the writing thread after
// each run, total being the runs of this shard.
bool RunSweep(const TBatchOptions& options, std::FILE* out, const TRunner& runner,
              const std::atomic<bool>& cancel,
              const std::function<void(std::uint64_t done, std::uint64_t total)>& progress = {});

}  // namespace travenel
