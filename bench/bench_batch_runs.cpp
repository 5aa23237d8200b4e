// Runs per second of the batch runner: 1,000 agents, threshold 74, 99 steps,
// on one and on two worker threads, per step and as one summary row per run;
// and the whole command with and without progress, measures and a file.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "travenel/batch/Batch.h"
#include "travenel/batch/Run.h"
#include "travenel/batch/Sweep.h"

namespace travenel {

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
  TRunSpec spec;
  spec.Agents = 1000;
  spec.Threshold = 74;
  for (auto _ : state) {
    spec.Seed = seed++;
    benchmark::DoNotOptimize(RunSetup(spec, 99, cancel));
  }
}
BENCHMARK(BM_OneRun)->Unit(benchmark::kMicrosecond);

// The command line as a user runs it, 64 runs on one thread, rows to
// /dev/null or to a file (with its partial file, flushes and syncs).
void BM_Command(benchmark::State& state) {
  static const std::vector<std::vector<std::string>> kExtra = {
      {"--quiet"},
      {"--progress"},
      {"--quiet", "--measures"},
      {"--quiet", "--summary"},
      {"--progress", "--summary"},
      {"--quiet", "--summary", "--measures"},
      {"--quiet", "--out", "/tmp/travenel-bench.csv"}};
  std::vector<std::string> args = {"--agents", "1000", "--repeats", "64", "--jobs", "1"};
  const auto& extra = kExtra[static_cast<std::size_t>(state.range(0))];
  args.insert(args.end(), extra.begin(), extra.end());
  std::string label;
  for (const std::string& e : extra) label += e + " ";
  state.SetLabel(label);
  std::FILE* sink = std::fopen("/dev/null", "w");
  const std::atomic<bool> cancel{false};
  for (auto _ : state) RunBatch(args, sink, sink, RunSetup, cancel, 1, false);
  std::fclose(sink);
  std::remove("/tmp/travenel-bench.csv");
  state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_Command)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();

// The README's summary sweep, 50 seeds a setup instead of 2, to a file
// through standard output and with --out: every row written is checked.
void BM_ReadmeSummary(benchmark::State& state) {
  std::vector<std::string> args = {"--agents", "500,1000",  "--threshold", "60,74", "--repeats",
                                   "50",       "--summary", "--jobs",      "1",     "--quiet"};
  const char* path = "/tmp/travenel-bench-summary.csv";
  if (state.range(0) == 1) args.insert(args.end(), {"--out", path});
  state.SetLabel(state.range(0) == 1 ? "--out" : "> file");
  std::FILE* sink = std::fopen(state.range(0) == 1 ? "/dev/null" : path, "w");
  const std::atomic<bool> cancel{false};
  for (auto _ : state) {
    std::rewind(sink);
    RunBatch(args, sink, sink, RunSetup, cancel, 1, false);
  }
  std::fclose(sink);
  std::remove(path);
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_ReadmeSummary)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

}  // namespace travenel
