// Dragging over a chart full of items: a pan drag of 100 mouse moves over a
// 369 x 320 chart with 1,000 items, each move recomputing the ranges and
// repainting; the time per move.
#include <benchmark/benchmark.h>

#include <cmath>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"

namespace travenel {

namespace {

// Arg 0: with the paint cache off (every paint draws everything).
void BM_PanDragMove(benchmark::State& state) {
  TRChart c;
  SetPaintCacheEnabled(c, state.range(0) != 0);
  c.HandleNeeded();
  c.SetBounds(0, 0, 369, 320);
  c.SetMouseAction(maPan);
  c.SetLayerRanges(1, 0, -1.5, 500, 1.5);
  c.MoveToPoint(0, 0);
  for (int i = 1; i < TRChartItemList::kMaxItems; ++i) {
    c.SetDataColor(i % 2 ? clRed : clGreen);
    c.LineTo(i * 0.5, std::sin(i * 0.05));
  }
  const TShiftState left{ssLeft};
  for (auto _ : state) {
    state.PauseTiming();
    c.MouseUp(mbLeft, {}, 200, 150);
    c.MouseDown(mbLeft, left, 200, 150);
    c.MouseMove(left, 200, 150);  // the drag's start
    state.ResumeTiming();
    for (int i = 1; i <= 100; ++i) c.MouseMove(left, 200 - i, 150 + (i % 7));
  }
  // One iteration is 100 moves: the time per move is the time shown / 100.
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_PanDragMove)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
