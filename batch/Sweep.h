// A parameter sweep: every setup (agents x threshold) with every seed, run on
// worker threads, its rows written in a fixed order whatever the threads do.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "batch/Options.h"

struct TRunSpec {
  int Agents = 0;
  int Threshold = 0;
  std::uint32_t Seed = 0;
};

// The counts of one step's movement pass: what the window's chart plots.
struct TStepCounts {
  int Attached = 0;
  int Free = 0;
};

struct TRunResult {
  std::vector<TStepCounts> Steps;  // one per step run
  int PausedAt = 0;                // step at which the run paused by itself; 0 if never
};

using TRunner = std::function<TRunResult(const TRunSpec& spec, int steps)>;

// Runs in output order: setups (agents, then threshold, as given), then seeds.
std::vector<TRunSpec> PlanRuns(const TBatchOptions& options);

// Writes the header line, then the rows of each run in plan order as soon as
// all runs before it are done. Returns false if cancelled (cancel set true).
// progress(done, total) is called from the writing thread after each run.
bool RunSweep(const TBatchOptions& options, std::FILE* out, const TRunner& runner,
              const std::atomic<bool>& cancel,
              const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// The CSV rows of one run (without header).
void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary);
