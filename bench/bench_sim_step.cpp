// Cost of one simulation step: 1,000 agents, threshold 74, the first 100 steps
// of fresh setups from 20 seeds (the first steps, when most agents are still
// free, are the costly ones). Only the steps are timed; building and placing
// the world is not. Each step is timed as a whole and pass by pass.
//
// Every iteration replays the same runs. Counters, in seconds per step:
// per_step is the mean of all timed steps; step, movement and attachment the
// means over the steps of each one's fastest time over the iterations, which
// leaves out what other processes on a shared machine take (a step is a few
// microseconds, being switched out once costs milliseconds); seed_median the
// median over the seeds of each seed's mean fastest step.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/sim/World.h"

namespace travenel {

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

// The fastest time seen of each step (seed after seed, step after step).
struct TFastest {
  std::vector<double> Step, Movement, Attachment;
  explicit TFastest(std::size_t steps)
      : Step(steps, 1e9), Movement(steps, 1e9), Attachment(steps, 1e9) {}
};

double Mean(const std::vector<double>& v, std::size_t from = 0, std::size_t count = 0) {
  if (count == 0) count = v.size();
  double sum = 0;
  for (std::size_t i = from; i < from + count; ++i) sum += v[i];
  return sum / static_cast<double>(count);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// Every iteration runs the first `steps` steps of each of `seeds` setups.
void RunSeeds(benchmark::State& state, int seeds, int steps, bool drawing) {
  TBitmap image(kImageSide, kImageSide);
  const auto perSeed = static_cast<std::size_t>(steps);
  TFastest fastest(static_cast<std::size_t>(seeds) * perSeed);
  std::int64_t attachedSum = 0;
  for (auto _ : state) {
    double total = 0;
    std::size_t i = 0;
    for (int k = 0; k < seeds; ++k) {
      auto world =
          SeededWorld(drawing ? &image.Canvas() : nullptr, kSeed + static_cast<std::uint32_t>(k));
      for (int s = 0; s < steps; ++s, ++i) {
        const auto start = Clock::now();
        world->MoveAgents();
        const auto moved = Clock::now();
        world->UpdateAttachment(kThreshold);
        const auto stop = Clock::now();
        fastest.Step[i] = std::min(fastest.Step[i], Seconds(start, stop));
        fastest.Movement[i] = std::min(fastest.Movement[i], Seconds(start, moved));
        fastest.Attachment[i] = std::min(fastest.Attachment[i], Seconds(moved, stop));
        total += Seconds(start, stop);
      }
      attachedSum += world->AttachedCount();
    }
    state.SetIterationTime(total);
    benchmark::DoNotOptimize(attachedSum);
  }
  std::vector<double> seedMeans;
  for (int k = 0; k < seeds; ++k)
    seedMeans.push_back(Mean(fastest.Step, static_cast<std::size_t>(k) * perSeed, perSeed));
  state.counters["per_step"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * steps * seeds,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["step"] = Mean(fastest.Step);
  state.counters["movement"] = Mean(fastest.Movement);
  state.counters["attachment"] = Mean(fastest.Attachment);
  state.counters["seed_median"] = Median(seedMeans);
}

void BM_StepHeadless_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, false);
}
// The window's case: every change painted on the 404 x 404 image.
void BM_StepDrawing_First100_20Seeds(benchmark::State& state) {
  RunSeeds(state, kSeeds, kSteps, true);
}
void BM_StepHeadless_FirstStep(benchmark::State& state) { RunSeeds(state, 1, 1, false); }
void BM_StepDrawing_FirstStep(benchmark::State& state) { RunSeeds(state, 1, 1, true); }

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
BENCHMARK(BM_StepDrawing_First100_20Seeds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDrawing_FirstStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepHeadless_Running)->Unit(benchmark::kMicrosecond);

}  // namespace travenel
