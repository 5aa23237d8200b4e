// Rows per second of travenel-plot's reading and aggregating: a per-step CSV
// of 4 setups (in the runner's order, sorted by step, with semicolons) and a
// summary CSV, both held in a temporary file, read to the
// end; and the picture of the per-step one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "travenel/plot/Plot.h"
#include "travenel/plot/StepAggregate.h"
#include "travenel/plot/SummaryAggregate.h"
#include "travenel/sweepcsv/Reader.h"

namespace travenel {

namespace {

constexpr int kRuns = 2000;  // per setup; 99 steps each

// In the runner's order, or sorted by step (as `sort` leaves it); with ','
// or a spreadsheet's ';' between the fields.
std::FILE* StepCsv(bool byStep = false, char sep = ',') {
  std::FILE* f = std::tmpfile();
  std::fprintf(f, "agents%cthreshold%cseed%cstep%cattached%cfree\n", sep, sep, sep, sep, sep);
  const auto row = [&](int agents, int threshold, int seed, int step) {
    std::fprintf(f, "%d%c%d%c%d%c%d%c%d%c%d\n", agents, sep, threshold, sep, seed, sep, step, sep,
                 (step * seed) % agents, sep, agents - (step * seed) % agents);
  };
  for (int outer = 1; outer <= (byStep ? 99 : 1); ++outer)
    for (int agents : {500, 1000})
      for (int threshold : {74, 90})
        for (int seed = 1; seed <= kRuns; ++seed)
          if (byStep)
            row(agents, threshold, seed, outer);
          else
            for (int step = 1; step <= 99; ++step) row(agents, threshold, seed, step);
  return f;
}

std::FILE* SummaryCsv() {
  std::FILE* f = std::tmpfile();
  std::fputs("agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n", f);
  for (int agents = 100; agents <= 2000; agents += 100)
    for (int threshold = 0; threshold <= 100; threshold += 5)
      for (int seed = 1; seed <= kRuns / 4; ++seed) {
        const int paused = (seed * 7 + threshold) % 120;
        if (paused < 99)
          std::fprintf(f, "%d,%d,%d,%d,%d,%d,0\n", agents, threshold, seed, paused, paused, agents);
        else
          std::fprintf(f, "%d,%d,%d,99,,%d,%d\n", agents, threshold, seed, agents / 2, agents / 2);
      }
  return f;
}

template <class Aggregate>
std::uint64_t ReadAll(std::FILE* f, Aggregate& a) {
  std::rewind(f);
  TCsvReader r(f, "bench");
  r.ReadHeader();
  std::vector<double> row;
  while (r.Next(row)) a.Add(row, r.Line());
  return r.Rows();
}

// Arguments: sorted by step (0/1), semicolons (0/1).
void BM_ReadPerStep(benchmark::State& state) {
  std::FILE* f = StepCsv(state.range(0) != 0, state.range(1) ? ';' : ',');
  std::uint64_t rows = 0;
  for (auto _ : state) {
    TStepAggregate a({col::kAttached, col::kFree});
    rows += ReadAll(f, a);
    benchmark::DoNotOptimize(a.Finish());
  }
  std::fclose(f);
  state.SetItemsProcessed(static_cast<std::int64_t>(rows));
}
BENCHMARK(BM_ReadPerStep)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

void BM_ReadSummary(benchmark::State& state) {
  std::FILE* f = SummaryCsv();
  std::uint64_t rows = 0;
  for (auto _ : state) {
    TSummaryAggregate a(col::kPausedAt, true);
    rows += ReadAll(f, a);
    benchmark::DoNotOptimize(a.Finish());
  }
  std::fclose(f);
  state.SetItemsProcessed(static_cast<std::int64_t>(rows));
}
BENCHMARK(BM_ReadSummary)->Unit(benchmark::kMillisecond);

// Reading, aggregating and drawing the four panels (not writing the file).
void BM_PerStepPicture(benchmark::State& state) {
  std::FILE* f = StepCsv();
  TPlotOptions o;
  o.Out = "unused.png";
  for (auto _ : state) {
    std::rewind(f);
    std::string warnings;
    benchmark::DoNotOptimize(ReadAndDraw(f, "bench", o, warnings));
  }
  std::fclose(f);
}
BENCHMARK(BM_PerStepPicture)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace travenel
