// StepPicture: the picture of a per-step CSV — for every setup the mean over
// its runs of each value column against the step, with the runs' least to
// greatest value as a light band; one chart for one setup, a grid of panels
// (agents down, thresholds across where the sweep is such a grid) for more.
#pragma once

#include <string>
#include <vector>

#include "travenel/plot/Picture.h"
#include "travenel/plot/StepAggregate.h"

namespace travenel {

struct TStepPlotSpec : TPictureSpec {
  std::vector<std::string> Columns;  // the names of the curves, as aggregated
  bool FromZero = true;              // the value axis starts at 0 at the latest
  TSweepFacts Facts;
};

// The colours of the curves: attached red and free green as in the window,
// anything else from the palette.
std::vector<TColor> StepCurveColors(const std::vector<std::string>& columns);

// Throws EPlotUsage when a size was given that leaves the panels too small.
TPicture StepPicture(const std::vector<TStepSetup>& setups, const TStepPlotSpec& spec);

}  // namespace travenel
