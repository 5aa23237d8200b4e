// TCustomRChart: composing the picture of the control.
#include "chart/rchart.h"

void TCustomRChart::Paint() {
  if (!Visible() && !Designing()) return;
  if (Loading() || paintSuppressed_) return;
  ++paintCount_;
  Present();
}

void TCustomRChart::RedrawChartArea() { Present(); }
