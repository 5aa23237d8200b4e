// Cost of one simulation step: 1,000 agents, threshold 74, a fixed seed.
// Only the steps are timed; building and placing the world is not.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "gfx/Bitmap.h"
#include "sim/World.h"

namespace {

constexpr std::int32_t kAgents = 1000;
constexpr std::int32_t kThreshold = 74;
constexpr std::uint32_t kSeed = 20240101u;
constexpr int kSide = 40;
constexpr int kImageSide = 404;

using Clock = std::chrono::steady_clock;

std::unique_ptr<TWorld> SeededWorld(TCanvas* canvas) {
  auto world = std::make_unique<TWorld>(kSide, kSide, canvas);
  world->SetFixedSeed(kSeed);
  world->CreateAgents(kAgents);
  return world;
}

// Runs `steps` steps from a fresh setup per iteration; reports time per step.
void RunSteps(benchmark::State& state, int steps, bool drawing) {
  TBitmap image(kImageSide, kImageSide);
  std::int64_t attachedSum = 0;
  for (auto _ : state) {
    auto world = SeededWorld(drawing ? &image.Canvas() : nullptr);
    const auto start = Clock::now();
    for (int s = 0; s < steps; ++s) world->Step(kThreshold);
    const auto stop = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    attachedSum += world->AttachedCount();
    benchmark::DoNotOptimize(attachedSum);
  }
  state.counters["per_step"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * steps,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StepHeadless_First100(benchmark::State& state) { RunSteps(state, 100, false); }
void BM_StepHeadless_FirstStep(benchmark::State& state) { RunSteps(state, 1, false); }
void BM_StepDrawing_First100(benchmark::State& state) { RunSteps(state, 100, true); }
void BM_StepDrawing_FirstStep(benchmark::State& state) { RunSteps(state, 1, true); }

// The steady state: step after step of one long run (restarted when it pauses).
void BM_StepHeadless_Running(benchmark::State& state) {
  auto world = SeededWorld(nullptr);
  for (auto _ : state) {
    if (!world->Step(kThreshold)) world->CreateAgents(0);  // re-place the same agents
  }
}

}  // namespace

BENCHMARK(BM_StepHeadless_First100)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDrawing_First100)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDrawing_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_Running)->Unit(benchmark::kMicrosecond);
