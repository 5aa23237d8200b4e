// The segregation measures of one world against one step of it: 1,000 agents
// on the 40 x 40 world after 20 steps at threshold 74.
#include <benchmark/benchmark.h>

#include "travenel/sim/Measures.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

void BM_Measures(benchmark::State& state) {
  TWorld world(40, 40);
  world.SetFixedSeed(1);
  world.CreateAgents(1000);
  for (int i = 0; i < 20; ++i) world.Step(74);
  world.MoveAgents();
  for (auto _ : state) benchmark::DoNotOptimize(MeasureSegregation(world));
}
BENCHMARK(BM_Measures)->Unit(benchmark::kMicrosecond);

void BM_Step(benchmark::State& state) {
  TWorld world(40, 40);
  world.SetFixedSeed(1);
  world.CreateAgents(1000);
  for (int i = 0; i < 20; ++i) world.Step(74);
  for (auto _ : state) world.Step(74);
}
BENCHMARK(BM_Step)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
