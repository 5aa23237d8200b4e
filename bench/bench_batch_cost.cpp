// The cost estimate against the time runs really take: for each setup, the
// processor time of its runs (seeds 1 to 4) and the estimate over it. Only
// the ratios between setups matter for cutting balanced blocks; refit the
// estimate when they drift apart.
#include <benchmark/benchmark.h>

#include "travenel/batch/Cost.h"
#include "travenel/batch/Run.h"

namespace travenel {

namespace {

void BM_SetupCost(benchmark::State& state) {
  const int agents = static_cast<int>(state.range(0));
  const int threshold = static_cast<int>(state.range(1));
  const std::atomic<bool> cancel{false};
  for (auto _ : state)
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
      TRunSpec spec;
      spec.Agents = agents;
      spec.Threshold = threshold;
      spec.Seed = seed;
      benchmark::DoNotOptimize(RunSetup(spec, 99, cancel));
    }
  state.counters["estimate_us"] = static_cast<double>(EstimatedRunCost(agents, threshold, 99));
  state.counters["measured_us"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 4 * 1e-6,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SetupCost)
    ->ArgsProduct({{100, 400, 1000, 1200, 1400, 1600, 1800, 2000}, {0, 30, 60, 70, 74, 80, 100}})
    ->ArgNames({"agents", "threshold"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// Worlds of any size: a side, a density in percent and a threshold, two seeds.
void BM_WorldCost(benchmark::State& state) {
  TRunSpec spec;
  spec.Headless = true;
  spec.World.Columns = spec.World.Rows = static_cast<std::int32_t>(state.range(0));
  spec.Agents = static_cast<int>(spec.World.Cells() * state.range(1) / 100);
  spec.Threshold = static_cast<int>(state.range(2));
  const std::atomic<bool> cancel{false};
  for (auto _ : state)
    for (std::uint32_t seed = 1; seed <= 2; ++seed) {
      spec.Seed = seed;
      benchmark::DoNotOptimize(RunSetup(spec, 99, cancel));
    }
  state.counters["estimate_us"] = static_cast<double>(EstimatedRunCost(spec, 99));
  state.counters["measured_us"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 2 * 1e-6,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WorldCost)
    ->ArgsProduct({{64, 256, 1024}, {30, 70, 95}, {30, 60, 80}})
    ->ArgNames({"side", "density", "threshold"})
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace travenel
