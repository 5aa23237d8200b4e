#include "batch/Run.h"

#include "sim/World.h"

TRunResult RunSetup(const TRunSpec& spec, int steps) {
  TWorld world(kWorldSide, kWorldSide);
  world.SetFixedSeed(spec.Seed);
  world.CreateAgents(spec.Agents);
  TRunResult result;
  result.Steps.reserve(static_cast<std::size_t>(std::max(steps, 0)));
  for (int step = 1; step <= steps; ++step) {
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
