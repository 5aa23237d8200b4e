// The window's population chart as a run leaves it (369 x 320, the move-to
// and 2 x 99 segments, two visible axes, the caption): a full repaint, the
// chart-area redraw of ShowItems, and the pieces a repaint is made of. A
// repaint keeps what the last one left where nothing it shows has changed;
// the _Reference cases draw everything at every paint (the cache off), the
// _NewRange cases change what the axes show before each paint, and RunStep
// is what the window does at each step of a run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"
#include "window_chart.h"

namespace travenel {

namespace {

void BM_ChartFullPaint(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->Paint();
}
BENCHMARK(BM_ChartFullPaint)->Unit(benchmark::kMicrosecond);

void BM_ChartFullPaint_Reference(benchmark::State& state) {
  auto c = WindowChart();
  SetPaintCacheEnabled(*c, false);
  for (auto _ : state) c->Paint();
}
BENCHMARK(BM_ChartFullPaint_Reference)->Unit(benchmark::kMicrosecond);

// The vertical range alternates, so every paint composes the axes anew and
// maps and draws every item again.
void BM_ChartFullPaint_NewRange(benchmark::State& state) {
  auto c = WindowChart();
  SetPaintCacheEnabled(*c, state.range(0) != 0);
  int n = 0;
  for (auto _ : state) c->Scale1Y().SetRangeHigh(++n % 2 ? 1001 : 1000);  // repaints
}
BENCHMARK(BM_ChartFullPaint_NewRange)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// One step of the window's run: the repaint that selecting layer 1 makes,
// then the step's two segments; a new run every 99 steps (not timed).
void BM_ChartRunStep(benchmark::State& state) {
  auto c = WindowChart();
  SetPaintCacheEnabled(*c, state.range(0) != 0);
  int step = 100;
  double pa = 0, pf = 0;
  for (auto _ : state) {
    if (step == 100) {
      state.PauseTiming();
      c->ClearItems();
      c->MoveToPoint(0, 0);
      c->Scale1Y().SetRangeHigh(1000);
      step = 1;
      pa = pf = 0;
      state.ResumeTiming();
    }
    c->SetActiveLayer(1);
    const double a = std::round(1000 * (1 - std::exp(-step / 20.0))), f = 1000 - a;
    c->SetDataColor(0x0000FF);
    c->AddLine(step - 1, pa, step, a);
    c->SetActiveLayer(3);
    c->SetDataColor(0x008000);
    c->AddLine(step - 1, pf, step, f);
    pa = a;
    pf = f;
    ++step;
  }
}
BENCHMARK(BM_ChartRunStep)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_ChartShowItems(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->ShowItems();
}
BENCHMARK(BM_ChartShowItems)->Unit(benchmark::kMicrosecond);

void BM_ChartShowItems_Reference(benchmark::State& state) {
  auto c = WindowChart();
  SetPaintCacheEnabled(*c, false);
  for (auto _ : state) c->ShowItems();
}
BENCHMARK(BM_ChartShowItems_Reference)->Unit(benchmark::kMicrosecond);

// The window's tick selects layer 1, which repaints: the same full paint.
void BM_ChartSelectLayer(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->SetActiveLayer(1);
}
BENCHMARK(BM_ChartSelectLayer)->Unit(benchmark::kMicrosecond);

void BM_ChartPiece_ControlImage(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->RenderControlImage(c->ControlImage().Canvas());
}
BENCHMARK(BM_ChartPiece_ControlImage)->Unit(benchmark::kMicrosecond);

void BM_ChartPiece_Background(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->RenderChartBackground(c->ChartAreaImage().Canvas(), 0, 0);
}
BENCHMARK(BM_ChartPiece_Background)->Unit(benchmark::kMicrosecond);

void BM_ChartPiece_Items(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->RenderItems(c->ChartAreaImage().Canvas(), 0, 0, false, false);
}
BENCHMARK(BM_ChartPiece_Items)->Unit(benchmark::kMicrosecond);

void BM_ChartPiece_AreaCopy(benchmark::State& state) {
  auto c = WindowChart();
  for (auto _ : state) c->ControlImage().Canvas().Draw(c->LRim(), c->TRim(), c->ChartAreaImage());
}
BENCHMARK(BM_ChartPiece_AreaCopy)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
