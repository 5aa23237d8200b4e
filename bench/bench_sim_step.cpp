// Cost of one simulation step: 1,000 agents, threshold 74, the first 100 steps
// of fresh setups from 20 seeds (the first steps, when most agents are still
// free, are the costly ones). Only the steps are timed; building and placing
// the world is not.
//
// Counters: per_step is the mean over every timed step of every seed;
// seed_median the median over the seeds of each seed's mean step.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "gfx/Bitmap.h"
#include "sim/World.h"

namespace {

constexpr std::int32_t kAgents = 1000;
constexpr std::int32_t kThreshold = 74;
constexpr std::uint32_t kSeed = 20240101u;
constexpr int kSeeds = 20;
constexpr int kSteps = 100;
constexpr int kSide = 40;
constexpr int kImageSide = 404;

using Clock = std::chrono::steady_clock;

std::unique_ptr<TWorld> SeededWorld(TCanvas* canvas, std::uint32_t seed) {
  auto world = std::make_unique<TWorld>(kSide, kSide, canvas);
  world->SetFixedSeed(seed);
  world->CreateAgents(kAgents);
  return world;
}

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

enum class TPart { Step, Movement, Attachment };

// One seeded run of `steps` steps; returns the time of the timed part.
double TimedRun(TWorld& world, int steps, TPart part) {
  double seconds = 0;
  for (int s = 0; s < steps; ++s) {
    if (part == TPart::Step) {
      const auto start = Clock::now();
      world.Step(kThreshold);
      seconds += Seconds(start, Clock::now());
      continue;
    }
    auto start = Clock::now();
    world.MoveAgents();
    auto stop = Clock::now();
    if (part == TPart::Movement) seconds += Seconds(start, stop);
    start = Clock::now();
    world.UpdateAttachment(kThreshold);
    stop = Clock::now();
    if (part == TPart::Attachment) seconds += Seconds(start, stop);
  }
  return seconds;
}

// Every iteration runs the first `steps` steps of each of `seeds` setups.
void RunSeeds(benchmark::State& state, int seeds, int steps, bool drawing, TPart part) {
  TBitmap image(kImageSide, kImageSide);
  std::vector<double> perSeed(static_cast<std::size_t>(seeds), 0.0);
  std::int64_t attachedSum = 0;
  for (auto _ : state) {
    double total = 0;
    for (int k = 0; k < seeds; ++k) {
      auto world =
          SeededWorld(drawing ? &image.Canvas() : nullptr, kSeed + static_cast<std::uint32_t>(k));
      const double t = TimedRun(*world, steps, part);
      perSeed[static_cast<std::size_t>(k)] += t;
      total += t;
      attachedSum += world->AttachedCount();
    }
    state.SetIterationTime(total);
    benchmark::DoNotOptimize(attachedSum);
  }
  const double runs = static_cast<double>(state.iterations()) * steps;
  for (double& t : perSeed) t /= runs;
  std::nth_element(perSeed.begin(), perSeed.begin() + seeds / 2, perSeed.end());
  double median = perSeed[static_cast<std::size_t>(seeds / 2)];
  if (seeds % 2 == 0)
    median = (median + *std::max_element(perSeed.begin(), perSeed.begin() + seeds / 2)) / 2;
  state.counters["per_step"] =
      benchmark::Counter(runs * seeds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["seed_median"] = median;
}

void BM_StepHeadless_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, false, TPart::Step);
}
void BM_MovementPass_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, false, TPart::Movement);
}
void BM_AttachmentPass_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, false, TPart::Attachment);
}
// The window's case: every change painted on the 404 x 404 image.
void BM_StepDrawing_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, true, TPart::Step);
}
void BM_StepHeadless_FirstStep(benchmark::State& state) {
  RunSeeds(state, 1, 1, false, TPart::Step);
}
void BM_StepDrawing_FirstStep(benchmark::State& state) { RunSeeds(state, 1, 1, true, TPart::Step); }

// The steady state: step after step of one long run (set up anew when it pauses).
void BM_StepHeadless_Running(benchmark::State& state) {
  auto world = SeededWorld(nullptr, kSeed);
  for (auto _ : state) {
    if (!world->Step(kThreshold)) {
      world->ResetWorld();
      world->CreateAgents(0);  // re-place the same agents
    }
  }
}

}  // namespace

BENCHMARK(BM_StepHeadless_First100_20Seeds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MovementPass_First100_20Seeds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AttachmentPass_First100_20Seeds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDrawing_First100_20Seeds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDrawing_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_Running)->Unit(benchmark::kMicrosecond);
