// The world's two shapes on the quick routes, against the canvas's general
// ones: a framed 10 x 10 cell and an 8 x 8 disc, stepping over the 40 x 40
// cells of a 404 x 404 surface.
#include <benchmark/benchmark.h>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/QuickShapes.h"

namespace travenel {

namespace {

template <bool Quick>
void BM_Cell10x10(benchmark::State& state) {
  TBitmap b(404, 404);
  TCanvas& c = b.Canvas();
  c.Pen.Width = 0;
  c.Pen.Color = clGray;
  c.Brush.Color = GreyColor(125);
  int i = 0;
  for (auto _ : state) {
    const int x = (i % 40) * 10, y = (i / 40 % 40) * 10;
    if (Quick)
      QuickRectangle(c, x, y, x + 10, y + 10);
    else
      c.Rectangle(x, y, x + 10, y + 10);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Cell10x10<false>)->Name("BM_Cell10x10_General");
BENCHMARK(BM_Cell10x10<true>)->Name("BM_Cell10x10_Quick");

template <bool Quick>
void BM_Disc8x8(benchmark::State& state) {
  TBitmap b(404, 404);
  TCanvas& c = b.Canvas();
  c.Pen.Color = clWhite;
  c.Brush.Color = clWhite;
  int i = 0;
  for (auto _ : state) {
    const int x = (i % 40) * 10 + 1, y = (i / 40 % 40) * 10 + 1;
    if (Quick)
      QuickEllipse(c, x, y, x + 8, y + 8);
    else
      c.Ellipse(x, y, x + 8, y + 8);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Disc8x8<false>)->Name("BM_Disc8x8_General");
BENCHMARK(BM_Disc8x8<true>)->Name("BM_Disc8x8_Quick");

}  // namespace

}  // namespace travenel
