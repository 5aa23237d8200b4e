#include "batch/Run.h"

#include <algorithm>

#include "sim/World.h"

namespace {

// Room for the usual run; a run of millions of steps grows as it goes
// instead of claiming all its memory before the first step.
constexpr int kReservedSteps = 1024;

}  // namespace

TRunResult RunSetup(const TRunSpec& spec, int steps, const std::atomic<bool>& cancel) {
  TWorld world(kWorldSide, kWorldSide);
  world.SetFixedSeed(spec.Seed);
  world.CreateAgents(spec.Agents);
  TRunResult result;
  result.Steps.reserve(static_cast<std::size_t>(std::clamp(steps, 0, kReservedSteps)));
  for (int step = 1; step <= steps; ++step) {
    if (cancel.load(std::memory_order_relaxed)) break;
    const bool moved = world.MoveAgents();
    result.Steps.push_back({world.AttachedCount(), world.FreeCount()});
    if (!moved) {
      result.PausedAt = step;
      break;
    }
    world.UpdateAttachment(spec.Threshold);
  }
  return result;
}
