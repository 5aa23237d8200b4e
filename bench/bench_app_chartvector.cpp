// The window's population chart and a chart of a 10^5-point polyline drawn
// anew at a device pixel ratio (what a host on a scaled screen does when the
// picture changed) and written as SVG and PDF (the files' sizes are
// counters), and a step of the window's world painted at a ratio.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"
#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/PictureFile.h"
#include "travenel/sim/World.h"
#include "window_chart.h"

namespace travenel {

namespace {

// The window's chart with one polyline of 10^5 points, x rising.
std::unique_ptr<TRChart> LongLineChart() {
  auto c = WindowChart();
  c->ClearItems();
  c->SetMaxItems(TRChartItemList::kMaxItemsCeiling);
  c->Scale1X().SetRangeHigh(100000);
  c->SetDataColor(0x0000FF);
  c->MoveToPoint(0, 500);
  for (int i = 1; i < 100000; ++i) c->LineTo(i, 500 + 400 * std::sin(i / 700.0) + (i % 13) * 7);
  c->Paint();
  return c;
}

void Scaled(benchmark::State& state, std::unique_ptr<TRChart> (*make)()) {
  auto c = make();
  const double r = static_cast<double>(state.range(0)) / 100;
  for (auto _ : state) {
    QImage img = RenderScaled(c->Width(), c->Height(), r, [&](TCanvas& s) { c->RenderOn(s, true); });
    benchmark::DoNotOptimize(img.constBits());
  }
}
void BM_WindowChart_Scaled(benchmark::State& s) { Scaled(s, WindowChart); }
BENCHMARK(BM_WindowChart_Scaled)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);
void BM_LongLine_Scaled(benchmark::State& s) { Scaled(s, LongLineChart); }
BENCHMARK(BM_LongLine_Scaled)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void Written(benchmark::State& state, std::unique_ptr<TRChart> (*make)(), const char* name) {
  auto c = make();
  QTemporaryDir dir;
  const std::string path = dir.filePath(name).toStdString();
  for (auto _ : state) c->SaveToFile(path, 1);
  state.counters["bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
}
void BM_WindowChart_Svg(benchmark::State& s) { Written(s, WindowChart, "c.svg"); }
void BM_WindowChart_Pdf(benchmark::State& s) { Written(s, WindowChart, "c.pdf"); }
void BM_WindowChart_Png(benchmark::State& s) { Written(s, WindowChart, "c.png"); }
void BM_LongLine_Svg(benchmark::State& s) { Written(s, LongLineChart, "c.svg"); }
void BM_LongLine_Pdf(benchmark::State& s) { Written(s, LongLineChart, "c.pdf"); }
BENCHMARK(BM_WindowChart_Svg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowChart_Pdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowChart_Png)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLine_Svg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLine_Pdf)->Unit(benchmark::kMillisecond);

// One step of 1000 agents on the window's 40 x 40 world, painted on its
// image at the ratio (1: the raster rules).
void BM_WorldStep_Scaled(benchmark::State& state) {
  TBitmap image(404, 404);
  image.SetDeviceScale(static_cast<double>(state.range(0)) / 100);
  TWorld world(40, 40, &image.Canvas());
  world.SetFixedSeed(3);
  world.CreateAgents(1000);
  for (auto _ : state) world.Step(101);  // nobody attaches: every agent moves
}
BENCHMARK(BM_WorldStep_Scaled)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
