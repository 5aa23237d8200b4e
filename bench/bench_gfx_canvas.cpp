// Cost of the drawing surface's basic operations.
#include <benchmark/benchmark.h>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

void BM_Lines1000(benchmark::State& state) {
  TBitmap b(369, 320);
  TCanvas& c = b.Canvas();
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      c.MoveTo(i % 369, 0);
      c.LineTo(368 - i % 369, 319);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Lines1000);

void BM_Rectangle10x10(benchmark::State& state) {
  TBitmap b(404, 404);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clGray;
  c.Brush.Color = GreyColor(125);
  int i = 0;
  for (auto _ : state) {
    const int x = (i % 40) * 10, y = (i / 40 % 40) * 10;
    c.Rectangle(x, y, x + 10, y + 10);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Rectangle10x10);

void BM_Ellipse8x8(benchmark::State& state) {
  TBitmap b(404, 404);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clBlack;
  int i = 0;
  for (auto _ : state) {
    const int x = (i % 40) * 10 + 1, y = (i / 40 % 40) * 10 + 1;
    c.Ellipse(x, y, x + 8, y + 8);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Ellipse8x8);

void BM_ShortTexts20(benchmark::State& state) {
  TBitmap b(369, 320);
  TCanvas& c = b.Canvas();
  c.Brush.Style = bsClear;
  const std::string labels[] = {"0", "20", "40", "60", "80", "100", "200", "400", "600", "1000"};
  for (auto _ : state) {
    for (int i = 0; i < 20; ++i) c.TextOut(10 + i * 15, 10 + i * 12, labels[i % 10]);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ShortTexts20);

void BM_TextWidth(benchmark::State& state) {
  TBitmap b(10, 10);
  for (auto _ : state) benchmark::DoNotOptimize(b.Canvas().TextWidth("1000"));
}
BENCHMARK(BM_TextWidth);

void BM_Fill369x320(benchmark::State& state) {
  TBitmap b(369, 320);
  TCanvas& c = b.Canvas();
  c.Brush.Color = clBtnFace;
  for (auto _ : state) {
    c.FillRect(Rect(0, 0, 369, 320));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Fill369x320);

}  // namespace

}  // namespace travenel
