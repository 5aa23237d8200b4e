// The window's population chart as a run of 99 steps leaves it: the chart the
// window benchmarks repaint, redraw at a ratio or write as a file.
#pragma once

#include <cmath>
#include <memory>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"

namespace travenel {

inline std::unique_ptr<TRChart> WindowChart() {
  auto c = std::make_unique<TRChart>();
  LoadRChart1(*c);
  c->HandleNeeded();
  c->Scale1X().SetRangeLow(0);
  c->Scale1X().SetRangeHigh(100);
  c->Scale1Y().SetRangeLow(0);
  c->Scale1Y().SetRangeHigh(1000);
  c->ClearItems();
  c->MoveToPoint(0, 0);
  double pa = 0, pf = 0;
  for (int s = 1; s < 100; ++s) {
    const double a = std::round(1000 * (1 - std::exp(-s / 20.0))) + (s % 7) * 3, f = 1000 - a;
    c->SetDataColor(0x0000FF);
    c->AddLine(s - 1, pa, s, a);
    c->SetDataColor(0x008000);
    c->AddLine(s - 1, pf, s, f);
    pa = a;
    pf = f;
  }
  c->Paint();
  return c;
}

}  // namespace travenel
