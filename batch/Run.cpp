#include "travenel/batch/Run.h"

#include <algorithm>

#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

// Room for the usual run; a run of millions of steps grows as it goes
// instead of claiming all its memory before the first step.
constexpr int kReservedSteps = 1024;

// The steps of a run on either world: both step by the same rule from the
// same seed, the window's world only a little faster at its size.
template <class TAnyWorld>
TRunResult Steps(TAnyWorld& world, const TRunSpec& spec, int steps,
                 const std::atomic<bool>& cancel) {
  TRunResult result;
  const std::size_t reserved = static_cast<std::size_t>(std::clamp(steps, 0, kReservedSteps));
  result.Steps.reserve(reserved);
  if (spec.Measures == TMeasureAt::EveryStep) result.Measures.reserve(reserved);
  for (int step = 1; step <= steps; ++step) {
    if (cancel.load(std::memory_order_relaxed)) break;
    const bool moved = world.MoveAgents();
    result.Steps.push_back(
        {static_cast<int>(world.AttachedCount()), static_cast<int>(world.FreeCount())});
    // Measured where the counts are taken: the world the attachment pass sees.
    if (spec.Measures == TMeasureAt::EveryStep ||
        (spec.Measures == TMeasureAt::LastStep && (!moved || step == steps)))
      result.Measures.push_back(MeasureSegregation(world));
    if (!moved) {
      result.PausedAt = step;
      break;
    }
    world.UpdateAttachment(spec.Threshold);
  }
  return result;
}

}  // namespace

TRunResult RunSetup(const TRunSpec& spec, int steps, const std::atomic<bool>& cancel) {
  if (spec.Headless) {
    THeadlessWorld world(spec.World);
    world.Setup(spec.Agents, spec.Seed);
    return Steps(world, spec, steps, cancel);
  }
  TWorld world(kWorldSide, kWorldSide);
  world.SetFixedSeed(spec.Seed);
  world.CreateAgents(spec.Agents);
  return Steps(world, spec, steps, cancel);
}

}  // namespace travenel
