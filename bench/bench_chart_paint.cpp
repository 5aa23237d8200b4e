// Painting a scale: one embedded, transparent axis of a 369 x 320 chart image
// with its labels (drawn four times per chart repaint), and one opaque
// stand-alone 400 x 400 scale composed off-screen with background and frame.
#include <benchmark/benchmark.h>

#include "travenel/chart/Scale.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr int kChartWidth = 369;
constexpr int kChartHeight = 320;

// An axis as the chart sets it up: drawn only when the chart's pass asks.
void SetUpEmbedded(TScale& s, TBitmap& image, TScaleType type) {
  s.SetPaintSuppressed(true);
  s.SetEmbedded(true);
  s.SetTransparent(true);
  s.SetFrameStyle(fsNone);
  s.SetTarget(&image.Canvas(), 0, 0);
  s.SetBounds(0, 0, kChartWidth, kChartHeight);
  s.SetScaleType(type);
  s.SetMarginLeft(40);
  s.SetMarginRight(16);
  s.SetMarginTop(16);
  s.SetMarginBottom(36);
  s.SetCaption(type == sctXB ? "timesteps" : "agents");
}

void BM_EmbeddedAxis(benchmark::State& state) {
  TBitmap image(kChartWidth, kChartHeight);
  TScale s;
  SetUpEmbedded(s, image, static_cast<TScaleType>(state.range(0)));
  if (state.range(0) == sctXB) {
    s.SetRangeHigh(100);  // steps 0 .. 100
  } else {
    s.SetRangeHigh(1000);  // agents 0 .. 1000
  }
  for (auto _ : state) {
    s.PaintNow();
    benchmark::ClobberMemory();
  }
  state.counters["ticks"] = s.NumTicks();
}
BENCHMARK(BM_EmbeddedAxis)->Arg(sctXB)->Arg(sctYL)->Unit(benchmark::kMicrosecond);

void BM_EmbeddedDateTimeAxis(benchmark::State& state) {
  TBitmap image(kChartWidth, kChartHeight);
  TScale s;
  SetUpEmbedded(s, image, sctXB);
  s.SetLabelType(ftDateTime);
  s.SetRangeLow(45000);
  s.SetRangeHigh(45001);  // a day: hours with a date
  for (auto _ : state) {
    s.PaintNow();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EmbeddedDateTimeAxis)->Unit(benchmark::kMicrosecond);

void BM_OpaqueStandAlone(benchmark::State& state) {
  TScale s;  // 400 x 400, sctXB, 0 .. 100, lowered frame
  s.SetCaption("stand-alone");
  for (auto _ : state) {
    s.PaintNow();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OpaqueStandAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
