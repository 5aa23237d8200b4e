// Cost of the frame and mark primitives: a chart with many mark items draws one
// DrawMark per point on every repaint, and the scale control one frame.
#include <benchmark/benchmark.h>

#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr int kWidth = 369, kHeight = 320;

// All 48 shape marks once, spread over a chart-sized image.
void BM_ShapeMarks(benchmark::State& state) {
  TBitmap b(kWidth, kHeight);
  TCanvas& c = b.Canvas();
  c.SetPrinter(state.range(0) != 0);
  c.Pen.Color = clNavy;
  for (auto _ : state) {
    for (int type = 0; type < kFirstCharMark; ++type)
      DrawMark(c, static_cast<std::uint8_t>(type), 10 + (type % 12) * 29, 20 + (type / 12) * 70);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFirstCharMark);
}
BENCHMARK(BM_ShapeMarks)->Arg(0)->Arg(1)->ArgNames({"printer"});

void BM_CharacterMark(benchmark::State& state) {
  TBitmap b(kWidth, kHeight);
  TCanvas& c = b.Canvas();
  c.Brush.Style = bsClear;
  for (auto _ : state) {
    DrawMark(c, 'A', 100, 100);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CharacterMark);

// The frame of a 400 x 400 stand-alone scale.
void BM_LoweredFrame(benchmark::State& state) {
  TBitmap b(400, 400);
  TCanvas& c = b.Canvas();
  for (auto _ : state) {
    DrawFrameStyled(c, 2, 0, 0, 399, 399, clWhite, clSilver, clGray, clBlack, clBlack);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LoweredFrame);

}  // namespace

}  // namespace travenel
