// One run of a setup on its own headless 40 x 40 world.
#pragma once

#include "travenel/batch/Sweep.h"

namespace travenel {

// The window's world: 404-pixel panel / 10-pixel cells, rounded.
constexpr int kWorldSide = 40;

// Seeds a fresh world with spec.Seed, places spec.Agents agents and steps it
// like the window does, recording each movement pass's counts. The run ends
// early at the step where it pauses by itself (no free agent), as the
// window's run does, or before the next step once cancel is true.
TRunResult RunSetup(const TRunSpec& spec, int steps, const std::atomic<bool>& cancel);

}  // namespace travenel
