// Runs per second of the batch runner: 1,000 agents, threshold 74, 99 steps,
// on one and on two worker threads, per step and as one summary row per run.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "batch/Run.h"
#include "batch/Sweep.h"

namespace {

void BM_Sweep(benchmark::State& state) {
  TBatchOptions o;
  o.Agents = {1000};
  o.Thresholds = {74};
  o.Steps = 99;
  o.Repeats = 16;
  o.Jobs = static_cast<int>(state.range(0));
  o.Summary = state.range(1) != 0;
  std::FILE* sink = std::fopen("/dev/null", "w");
  const std::atomic<bool> cancel{false};
  for (auto _ : state) RunSweep(o, sink, RunSetup, cancel);
  std::fclose(sink);
  state.SetItemsProcessed(state.iterations() * o.Repeats);
}
BENCHMARK(BM_Sweep)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->ArgNames({"jobs", "summary"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_OneRun(benchmark::State& state) {
  std::uint32_t seed = 1;
  const std::atomic<bool> cancel{false};
  for (auto _ : state) benchmark::DoNotOptimize(RunSetup({1000, 74, seed++}, 99, cancel));
}
BENCHMARK(BM_OneRun)->Unit(benchmark::kMicrosecond);

}  // namespace
