#include "travenel/batch/Cost.h"

#include <algorithm>

namespace travenel {

namespace {

using u128 = unsigned __int128;

std::uint64_t Repeats(const TBatchOptions& o) {
  return static_cast<std::uint64_t>(std::max(o.Repeats, 1));
}
std::uint64_t Setups(const TBatchOptions& o) { return RunCount(o) / Repeats(o); }
std::uint64_t SetupCost(const TBatchOptions& o, const TSweepPlan& plan, std::uint64_t setup) {
  return EstimatedRunCost(plan.At(setup * Repeats(o)), o.Steps);
}

// Walks the setups of a sweep once, forwards, to find the run boundaries
// nearest to rising shares of the total cost.
class TCostWalk {
 public:
  explicit TCostWalk(const TBatchOptions& o)
      : o_(o), plan_(o), setups_(Setups(o)), repeats_(Repeats(o)) {
    for (std::uint64_t s = 0; s < setups_; ++s) total_ += u128{SetupCost(o, plan_, s)} * repeats_;
    if (setups_ > 0) cost_ = SetupCost(o, plan_, 0);
  }
  u128 Total() const { return total_; }

  // The run index whose prefix cost is nearest to `target` (halves up);
  // targets must not decrease from call to call.
  std::uint64_t Boundary(u128 target, u128* prefix = nullptr) {
    while (setup_ + 1 < setups_ && before_ + u128{cost_} * repeats_ < target) {
      before_ += u128{cost_} * repeats_;
      cost_ = SetupCost(o_, plan_, ++setup_);
    }
    if (setups_ == 0) return 0;
    const u128 into = target > before_ ? target - before_ : 0;
    const std::uint64_t j = static_cast<std::uint64_t>(
        std::min<u128>((into * 2 + cost_) / (u128{cost_} * 2), repeats_));
    if (prefix) *prefix = before_ + u128{cost_} * j;
    return setup_ * repeats_ + j;
  }

 private:
  const TBatchOptions& o_;
  const TSweepPlan plan_;
  const std::uint64_t setups_, repeats_;
  u128 total_ = 0, before_ = 0;
  std::uint64_t setup_ = 0, cost_ = 1;
};

u128 Target(u128 total, std::uint64_t k, std::uint32_t blocks) {
  // A run costs below 2^50, a setup has below 2^31 repeats and a balanced
  // sweep at most kMaxCostedSetups < 2^27 setups: total < 2^108, and the
  // remainder times k stays below 2^64.
  return total / blocks * k + total % blocks * k / blocks;
}

double Seconds(u128 cost) { return static_cast<double>(cost) / 1e6; }

}  // namespace

// The model, fitted to the processor time of runs of 100 to 2,000 agents
// at thresholds 0 to 100 (bench/bench_batch_cost.cpp prints estimate against
// measurement): a run costs a setting-up plus the steps it is expected to run
// times the cost of one step. Below the 1,600 cells a run pauses once every
// agent has attached: soon at low thresholds, later in a crowded world, never
// from about 75 (from less when crowded). A step costs little while most
// agents are attached and grows with the tries of free agents to find an
// unmarked cell as the world fills. Just below 75 (72 to 74, the default
// threshold among them) a world of 1,000 agents or more seldom settles
// either, and its steps cost a share of those at 75 that grows with the
// crowd. From 1,600 agents on some agents find no cell, the run never
// pauses, and a step's cost climbs with the agents, in levels of the
// threshold set by the shares of eight neighbours an agent can reach (5/8,
// 2/3, 3/4).
namespace {

constexpr std::int64_t kCells = 1600, kSetUp = 10;  // microseconds

// The steps a run on the window's world is expected to take, and the cost of
// one of them in tenths of a microsecond.
struct TWindowRun {
  std::int64_t RunSteps, Step;
};

TWindowRun WindowRun(std::int64_t a, std::int64_t t, std::int64_t n) {
  constexpr std::int64_t kNearSettling = 72;
  const std::int64_t settles = a < 1350 ? 75 : a < 1450 ? 70 : a < 1525 ? 60 : 50;
  std::int64_t runSteps = n;
  if (a == 0) {
    runSteps = 1;
  } else if (a < kCells && t < 0) {
    runSteps = std::min(n, 2 + a / 300);
  } else if (a < kCells && t < settles - 5) {
    const std::int64_t crowded = std::max<std::int64_t>(a - 1200, 0);
    const std::int64_t slower = 10000 + crowded * crowded / 4;  // in 1/10000
    runSteps = std::min(n, 5 + 3000 / a + t * t * slower / (180 * 10000));
  } else if (a < kCells && t < settles) {
    // Just below 75 a world of 1,000 agents or more seldom settles.
    runSteps = t < kNearSettling || a < 1000 ? std::min(n, n * 6 / 10 + 1)
               : a < 1050                    ? std::min(n, n * 8 / 10 + 1)
                                             : n;
  }
  // One step, in tenths of a microsecond.
  std::int64_t step = 0;
  if (a < kCells) {
    step = 30 + a / 8;
    const std::int64_t crowding = 2133 * a / (16000 - 9 * a);
    if (t >= 75) {
      step += crowding;
    } else if (t >= kNearSettling) {
      // Fewer agents are free than at 75, more of them as the world fills:
      // from about 1,200 agents some two thirds of the tries.
      step += crowding * std::clamp<std::int64_t>(a - 950, 40, 260) / 400;
    }
  } else {
    const std::int64_t over = a - kCells;
    step = t < 15   ? 150 + 19 * over / 2
           : t < 50 ? 400 + 19 * over / 2
           : t < 65 ? 1500 + 23 * over / 2
           : t < 75 ? 4000 + 12 * over
           : t < 90 ? 2800 + 30 * over
                    : 2800 + 19 * over;
    step = step * 11 / 10;  // the crowded world's memory traffic, in whole sweeps
  }
  return {runSteps, step};
}

}  // namespace

std::uint64_t EstimatedRunCost(int agents, int threshold, int steps) {
  const TWindowRun w = WindowRun(std::clamp<std::int64_t>(agents, 0, TBatchOptions::kMaxAgents),
                                 threshold, std::max(steps, 1));
  return static_cast<std::uint64_t>(kSetUp + w.RunSteps * w.Step / 10);
}

// A world of any size (measured on 64 x 64 to 1024 x 1024 at densities of 30
// to 95 percent): a step costs per agent about what it costs on the window's
// world at the same density (the marks the tries read are a bit a cell, in
// the caches), so the window's model at the agents of the same density,
// scaled by the cells. A run settles later in a larger world, where the last
// agent to attach is the slowest of more: the steps grow by a tenth for each
// doubling of the cells; a crowded large world (90 percent and more) seldom
// settles at all. Placing costs about a nanosecond a cell.
std::uint64_t EstimatedRunCost(const TRunSpec& spec, int steps) {
  if (!spec.Headless) return EstimatedRunCost(spec.Agents, spec.Threshold, steps);
  const std::int64_t cells = std::max<std::int64_t>(spec.World.Cells(), 1);
  const std::int64_t a = std::max(spec.Agents, 0), n = std::max(steps, 1);
  // The agents of the same density on the window's world (at least one
  // where there are any: a sparse large world still steps its agents).
  const std::int64_t same = a == 0 ? 0 : std::max<std::int64_t>(a * kCells / cells, 1);
  TWindowRun w = WindowRun(same, spec.Threshold, n);
  if (w.RunSteps < n && cells > kCells) {
    const int doublings = 63 - __builtin_clzll(static_cast<unsigned long long>(cells / kCells));
    w.RunSteps = same * 100 >= kCells * 90 && doublings >= 4
                     ? n
                     : std::min(n, w.RunSteps * (10 + doublings) / 10);
  }
  // Below 2^50, as every run's cost: 2^31 steps of 2^28 cells would pass 2^64.
  const u128 cost = u128(kSetUp) + u128(cells) / 1000 +
                    u128(w.RunSteps) * u128(w.Step) * u128(cells) / (u128(kCells) * 10);
  return static_cast<std::uint64_t>(std::min<u128>(cost, u128{1} << 49));
}

unsigned __int128 EstimatedCost(const TBatchOptions& o, TRunBlock block) {
  return EstimatedCost(o, TSweepPlan(o), block);
}

unsigned __int128 EstimatedCost(const TBatchOptions& o, const TSweepPlan& plan, TRunBlock block) {
  const std::uint64_t r = Repeats(o);
  u128 sum = 0;
  for (std::uint64_t i = block.First; i < block.Last;) {
    const std::uint64_t setup = i / r;
    const std::uint64_t end = std::min(block.Last, (setup + 1) * r);
    sum += u128{SetupCost(o, plan, setup)} * (end - i);
    i = end;
  }
  return sum;
}

TRunBlock BalancedBlock(const TBatchOptions& o, std::uint32_t index, std::uint32_t blocks) {
  TCostWalk walk(o);
  const std::uint64_t first = walk.Boundary(Target(walk.Total(), index - 1u, blocks));
  const std::uint64_t last =
      index == blocks ? RunCount(o) : walk.Boundary(Target(walk.Total(), index, blocks));
  return {first, last};
}

TRunBlock BlockOf(const TBatchOptions& o) {
  return o.Balanced ? BalancedBlock(o, o.ShardIndex, o.ShardCount)
                    : ShardBlock(RunCount(o), o.ShardIndex, o.ShardCount);
}

void WritePlan(std::FILE* out, const TBatchOptions& o) {
  const std::uint32_t n = o.ShardCount;
  const std::uint64_t count = RunCount(o);
  std::fprintf(out, "block,first_run,last_run,runs,estimated_seconds,share\n");
  TCostWalk walk(o);
  const u128 total = walk.Total();
  u128 before = 0;
  std::uint64_t first = 0;
  for (std::uint32_t k = 1; k <= n; ++k) {
    TRunBlock b{first, 0};
    u128 cost = 0;
    if (o.Balanced) {
      u128 prefix = total;
      b.Last = k == n ? count : walk.Boundary(Target(total, k, n), &prefix);
      cost = prefix - before;
      before = prefix;
    } else {
      b = ShardBlock(count, k, n);
      cost = EstimatedCost(o, b);
    }
    first = b.Last;
    const double share =
        total > 0 ? 100.0 * static_cast<double>(cost) / static_cast<double>(total) : 0;
    if (b.Last > b.First)
      std::fprintf(out, "%u/%u,%llu,%llu,%llu,%.1f,%.1f%%\n", k, n,
                   static_cast<unsigned long long>(b.First + 1),
                   static_cast<unsigned long long>(b.Last),
                   static_cast<unsigned long long>(b.Last - b.First), Seconds(cost), share);
    else
      std::fprintf(out, "%u/%u,,,0,0.0,0.0%%\n", k, n);
  }
}

}  // namespace travenel
