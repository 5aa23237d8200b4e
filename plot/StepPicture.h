// StepPicture: the picture of a per-step CSV — for every setup the mean over
// its runs of each value column against the step, with the runs' least to
// greatest value as a light band; one chart for one setup, a grid of panels
// for more (one agent count to a row, thresholds across). Sweeps too large
// for a panel each get one panel per agent count with a curve per threshold
// (or the other way round).
#pragma once

#include <string>
#include <vector>

#include "travenel/plot/Picture.h"
#include "travenel/plot/StepAggregate.h"

namespace travenel {

struct TStepPlotSpec : TPictureSpec {
  std::vector<std::string> Columns;  // the names of the curves, as aggregated
  bool FromZero = true;              // the value axis starts at 0 at the latest
  bool Whole = true;                 // the values are whole numbers
  std::string By;                    // "agents", "threshold" or empty (see TPlotOptions)
  bool OwnStepAxis = false;
  TSweepFacts Facts;
  // The world's parameters that vary among the setups (TParamBits): then
  // every setup has a panel of its own, its caption naming them; and the
  // values the sweep's world has, for the line under the title.
  unsigned Varying = 0;
  std::string Params;
};

// The colours of the curves: attached red and free green as in the window,
// anything else from the palette.
std::vector<TColor> StepCurveColors(const std::vector<std::string>& columns);

// Throws EPlotUsage when a size was given that leaves the panels too small.
TPicture StepPicture(const std::vector<TStepSetup>& setups, const TStepPlotSpec& spec);

}  // namespace travenel
