// The headless world at research scale: time per agent-step on the window's
// world and on worlds of a million and sixteen million cells, and the
// measures on the largest. Every run starts from a fresh setup and times
// steps 1 .. N of each setup (the first steps, when most agents are free,
// cost the most; 100 as in bench_sim_step, 20 on the largest world, whose
// steps take a good part of a second), threshold 74 as in the window;
// setting up is not timed.
//
// Counters: agent_step_ns (processor time of a step / agents) and
// agent_steps_per_s. Processor time, not wall time: on a shared machine the
// wall clock counts the others' work. Read medians of repetitions.
#include <benchmark/benchmark.h>

#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/Measures.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

constexpr std::int32_t kThreshold = 74;

void SetCounters(benchmark::State& state, std::int64_t agents) {
  const double agentSteps = static_cast<double>(state.iterations()) * static_cast<double>(agents);
  state.counters["agent_step_ns"] = benchmark::Counter(
      agentSteps * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["agent_steps_per_s"] = benchmark::Counter(agentSteps, benchmark::Counter::kIsRate);
}

// Arguments: side, agents, steps of each setup.
void BM_HeadlessSteps(benchmark::State& state) {
  const auto side = static_cast<std::int32_t>(state.range(0));
  const std::int64_t agents = state.range(1);
  const auto steps = static_cast<int>(state.range(2));
  THeadlessWorld world(TWorldConfig{side, side, 10, {}});
  std::uint32_t seed = 1;
  int step = steps;
  for (auto _ : state) {
    if (step == steps) {
      state.PauseTiming();
      world.Setup(agents, seed++);
      step = 0;
      state.ResumeTiming();
    }
    world.Step(kThreshold);
    ++step;
  }
  SetCounters(state, agents);
}
BENCHMARK(BM_HeadlessSteps)
    ->Args({40, 1000, 100})
    ->Args({1000, 500000, 100})
    ->Unit(benchmark::kMillisecond);
// Exactly the 20 steps of one setup: left to itself the library would stop
// after the first, the costliest.
BENCHMARK(BM_HeadlessSteps)
    ->Args({4096, 8000000, 20})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// The window's world the same way, 100 steps a setup, for the ratio at 40 x 40.
void BM_WindowWorldSteps(benchmark::State& state) {
  TWorld world(40, 40);
  std::uint32_t seed = 1;
  int step = 100;
  for (auto _ : state) {
    if (step == 100) {
      state.PauseTiming();
      world.ReleaseAgents();
      world.ResetWorld();
      world.SetFixedSeed(seed++);
      world.CreateAgents(1000);
      step = 0;
      state.ResumeTiming();
    }
    world.Step(kThreshold);
    ++step;
  }
  SetCounters(state, 1000);
}
BENCHMARK(BM_WindowWorldSteps)->Unit(benchmark::kMillisecond);

// The measures of a 4096 x 4096 world with 8,000,000 agents after 10 steps.
void BM_HeadlessMeasures(benchmark::State& state) {
  const auto side = static_cast<std::int32_t>(state.range(0));
  THeadlessWorld world(TWorldConfig{side, side, 10, {}});
  world.Setup(state.range(1), 1);
  for (int i = 0; i < 10; ++i) world.Step(kThreshold);
  world.MoveAgents();
  for (auto _ : state) benchmark::DoNotOptimize(MeasureSegregation(world));
}
BENCHMARK(BM_HeadlessMeasures)
    ->Args({1000, 500000})
    ->Args({4096, 8000000})
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace travenel
