// Calibration data for the cost estimate: the time of each setup
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include "batch/Run.h"
namespace {
void BM_Calib(benchmark::State& state) {
  const std::atomic<bool> cancel{false};
  for (auto _ : state) {
    std::FILE* f = std::fopen("/tmp/calib2.csv", "w");
    std::fprintf(f, "agents,threshold,seed,steps,us\n");
    for (int a : {0,100,200,400,600,800,1000,1200,1300,1400,1500,1550,1600,1650,1700,1800,1900,2000,2200,2500,3000})
      for (int t : {-1,0,10,20,30,40,50,55,60,65,70,75,80,90,100})
        for (std::uint32_t s = 1; s <= 4; ++s) {
          const auto t0 = std::chrono::steady_clock::now();
          const TRunResult r = RunSetup({a, t, s}, 99, cancel);
          const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
          std::fprintf(f, "%d,%d,%u,%zu,%.1f\n", a, t, s, r.Steps.size(), us);
        }
    std::fclose(f);
  }
}
BENCHMARK(BM_Calib)->Iterations(1)->Unit(benchmark::kSecond);
}
