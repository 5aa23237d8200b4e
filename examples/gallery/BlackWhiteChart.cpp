#include "travenel/examples/gallery/BlackWhiteChart.h"

namespace travenel {

TBlackWhiteChart::TBlackWhiteChart() : TControl(Kind::Windowed) {}

void TBlackWhiteChart::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  chart_.SetBounds(0, 0, width, height);
}

void TBlackWhiteChart::Paint() {
  // Window colour, caption and axes: the axes draw only on the chart's own
  // control image, so the picture is made there and copied.
  chart_.RenderControlImage(chart_.ControlImage().Canvas());
  TCanvas& c = Canvas();
  c.Draw(0, 0, chart_.ControlImage());
  // The chart area in place: (LRim, TRim) is its top-left pixel on this image.
  chart_.RenderChartBackground(c, chart_.LRim(), chart_.TRim());
  chart_.RenderItems(c, chart_.LRim(), chart_.TRim(), /*blackAndWhite=*/true, /*noGrid=*/false);
}

bool TBlackWhiteChart::RenderOn(TCanvas& surface, bool) {
  if (!surface.IsDevice()) return false;
  chart_.RenderControlImage(surface);
  // The chart area on a part of the surface of its own, clipped to it.
  const std::unique_ptr<TCanvas> area = surface.Part(
      Bounds(chart_.LRim(), chart_.TRim(), chart_.Geometry().AreaImageWidth(),
             chart_.Geometry().AreaImageHeight()));
  chart_.RenderChartBackground(*area, 0, 0);
  chart_.RenderItems(*area, 0, 0, /*blackAndWhite=*/true, /*noGrid=*/false);
  return true;
}

}  // namespace travenel
