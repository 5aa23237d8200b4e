// BlackWhiteChart: a control that shows a chart drawn in black and white. The
// chart paints in colour whenever it paints itself, so it is never shown: this
// control asks it for its control picture, then draws the chart area over that
// on its own image with the render pass's BlackAndWhite set.
#pragma once

#include "travenel/chart/rchart.h"
#include "travenel/ui/Control.h"

namespace travenel {

class TBlackWhiteChart : public TControl {
 public:
  TBlackWhiteChart();

  // The chart drawn; set it up and fill it like any other.
  TRChart& Chart() { return chart_; }

  // The chart takes the control's size.
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void Paint() override;
  bool RenderOn(TCanvas& surface, bool screen) override;

 private:
  TRChart chart_;
};

}  // namespace travenel
