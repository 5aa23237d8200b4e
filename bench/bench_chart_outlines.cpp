// Outlines of shapes far larger than the chart: 1,000 transparent ellipses
// (or rectangles) of radius 1e300 around the chart area, one full paint of a
// tall 183 x 30000 chart and of the created 280 x 200 one. Nothing of them is
// visible, so a paint should cost what the chart costs without them. The
// last case: 1,000 transparent ellipses whose outlines do cross the area.
#include <benchmark/benchmark.h>

#include "travenel/chart/rchart.h"

namespace travenel {

namespace {

enum Shape { kEllipse, kRectangle, kCrossingEllipse };

void BM_HugeOutlines(benchmark::State& state) {
  TRChart chart;
  chart.HandleNeeded();
  chart.SetAutoRedraw(false);
  chart.SetBounds(0, 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  chart.SetLayerRanges(1, 0, 0, 100, 100);
  for (int i = 0; i < TRChartItemList::kMaxItems; ++i) {
    switch (state.range(0)) {
      case kEllipse: chart.Ellipse(50, 50, 1e300, 1e300, true); break;
      case kRectangle: chart.Rectangle(-1e300, -1e300, 1e300, 1e300, true); break;
      default: chart.Ellipse(50 + i % 7, 50, 60, 60, true); break;  // radius above the area
    }
  }
  for (auto _ : state) {
    chart.Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_HugeOutlines)
    ->ArgNames({"shape", "w", "h"})
    ->Args({kEllipse, 183, 30000})
    ->Args({kEllipse, 280, 200})
    ->Args({kRectangle, 183, 30000})
    ->Args({kCrossingEllipse, 183, 30000})
    ->Unit(benchmark::kMillisecond);

// The same chart without items: what the paints above should come near.
void BM_EmptyChart(benchmark::State& state) {
  TRChart chart;
  chart.HandleNeeded();
  chart.SetAutoRedraw(false);
  chart.SetBounds(0, 0, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    chart.Paint();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EmptyChart)->Args({183, 30000})->Args({280, 200})->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace travenel
