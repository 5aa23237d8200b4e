// The window's chart (its size, rims and axes) holding one long polyline of
// 1,000, 100,000 or 1,000,000 points (a random walk from left to right): a
// full repaint, a pan move by the mouse (the polyline's x never decreases, so
// it is reduced by searching its index), appending a point, and the memory an
// item takes (the index and its copy of the points included).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <random>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"

namespace travenel {

namespace {

std::unique_ptr<TRChart> WalkChart(int points) {
  auto c = std::make_unique<TRChart>();
  LoadRChart1(*c);
  c->HandleNeeded();
  c->SetMaxItems(points + 1);
  c->Scale1X().SetRangeLow(0);
  c->Scale1X().SetRangeHigh(points);
  c->Scale1Y().SetRangeLow(0);
  c->Scale1Y().SetRangeHigh(1000);
  c->ClearItems();
  std::mt19937 rng(1);
  std::normal_distribution<double> step(0, 8);
  double y = 500;
  c->MoveToPoint(0, y);
  for (int i = 1; i < points; ++i) {
    y = std::clamp(y + step(rng), 0.0, 1000.0);
    c->LineTo(i, y);
  }
  c->Paint();
  return c;
}

// A repaint with nothing changed (the second argument 1: what the paint keeps
// from the last one is reused) and the full repaint (0: drawn anew, as after
// any change of ranges, sizes or looks).
void BM_WalkRepaint(benchmark::State& state) {
  auto c = WalkChart(static_cast<int>(state.range(0)));
  SetPaintCacheEnabled(*c, state.range(1) != 0);
  for (auto _ : state) c->Paint();
}
BENCHMARK(BM_WalkRepaint)
    ->ArgsProduct({{1000, 100000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// A drag of the pan mouse action, one pixel to the right and back again.
void BM_WalkPanMove(benchmark::State& state) {
  auto c = WalkChart(static_cast<int>(state.range(0)));
  c->SetMouseAction(maPan);
  const TShiftState left{ssLeft};
  c->MouseDown(mbLeft, left, 150, 150);
  c->MouseMove(left, 150, 150);
  int x = 150;
  for (auto _ : state) {
    x = x == 150 ? 151 : 150;
    c->MouseMove(left, x, 150);
  }
  c->MouseUp(mbLeft, left, x, 150);
}
BENCHMARK(BM_WalkPanMove)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Appending n points to an empty list and clearing it, per point: the same
// for any n when appending is O(1) (the storage grows geometrically).
void BM_AppendPoints(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TRChart c;
  c.SetMaxItems(n);
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) c.LineTo(i, i % 100);
    c.ClearItems();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendPoints)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Appending one point to the walk and repainting, as a live feed does.
void BM_WalkAppendAndRepaint(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto c = WalkChart(n);
  c->SetMaxItems(TRChartItemList::kMaxItemsCeiling);
  double x = n;
  for (auto _ : state) {
    c->LineTo(x, 500 + static_cast<int>(x) % 50);
    x += 1e-3;
    c->Paint();
  }
}
BENCHMARK(BM_WalkAppendAndRepaint)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Heap bytes per item of a painted chart (items, their pixels, the reduced runs).
void BM_MemoryPerItem(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    // Large blocks are mapped apart from the heap: both count.
    const auto used = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    const std::size_t before = used();
    auto c = WalkChart(n);
    const std::size_t after = used();
    state.counters["bytes_per_item"] = static_cast<double>(after - before) / n;
  }
}
BENCHMARK(BM_MemoryPerItem)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace travenel
