// Helpers of the chart tests: a chart whose window exists (so it paints), and
// the window's chart as its form builds it.
#pragma once

#include <memory>

#include "travenel/chart/rchart.h"

namespace travenel {

// A chart created by code, with its window created: painting is no longer suppressed.
inline std::unique_ptr<TRChart> LiveChart(int width = 280, int height = 200) {
  auto c = std::make_unique<TRChart>();
  c->HandleNeeded();
  if (width != c->Width() || height != c->Height()) c->SetBounds(0, 0, width, height);
  return c;
}

}  // namespace travenel
