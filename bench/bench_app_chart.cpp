// Building the window's population chart: a new chart with every stored
// property of the form applied through the loading helper.
#include <benchmark/benchmark.h>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"

namespace travenel {

namespace {

void BM_LoadRChart1(benchmark::State& state) {
  for (auto _ : state) {
    TRChart chart;
    LoadRChart1(chart);
    benchmark::DoNotOptimize(chart.Scale1Y().RangeHigh());
  }
}
BENCHMARK(BM_LoadRChart1)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
