// Runs per second of the batch runner: 1,000 agents, threshold 74, 99 steps,
// on one and on two worker threads.
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
  std::FILE* sink = std::fopen("/dev/null", "w");
  const std::atomic<bool> cancel{false};
  for (auto _ : state) RunSweep(o, sink, RunSetup, cancel);
  std::fclose(sink);
  state.SetItemsProcessed(state.iterations() * o.Repeats);
}
BENCHMARK(BM_Sweep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneRun(benchmark::State& state) {
  std::uint32_t seed = 1;
  for (auto _ : state) benchmark::DoNotOptimize(RunSetup({1000, 74, seed++}, 99));
}
BENCHMARK(BM_OneRun)->Unit(benchmark::kMicrosecond);

}  // namespace
