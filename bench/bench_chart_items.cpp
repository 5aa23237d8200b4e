// The chart's item list: appending the 1,000 line items it can hold and
// clearing them again, per item.
#include <benchmark/benchmark.h>

#include "travenel/chart/rchart.h"

namespace travenel {

namespace {

void BM_AppendThousandLinesAndClear(benchmark::State& state) {
  TRChart chart;
  for (auto _ : state) {
    for (int i = 0; i < TRChartItemList::kMaxItems; ++i) chart.AddLine(i, i, i + 1, i + 2);
    chart.ClearItems();
  }
  state.SetItemsProcessed(state.iterations() * TRChartItemList::kMaxItems);
}
BENCHMARK(BM_AppendThousandLinesAndClear);

void BM_CreateChart(benchmark::State& state) {
  for (auto _ : state) {
    TRChart chart;
    benchmark::DoNotOptimize(chart.ItemCount());
  }
}
BENCHMARK(BM_CreateChart)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
