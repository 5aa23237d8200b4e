// The progress of a sweep on standard error: runs done of the total, runs per
// second, time taken and time left. On a terminal one line, redrawn in place
// at most five times a second; elsewhere (a cluster job's log) a plain line
// every ten seconds. Time left weighs the runs by their estimated cost, so a
// sweep whose last runs are its slowest does not promise too early an end.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace travenel {

// "1,234,567": digits grouped by three for people to read.
std::string Grouped(std::uint64_t n);
// "42 s", "3 min 05 s", "2 h 07 min": a duration for people to read.
std::string Duration(double seconds);

// The text of a progress line.
std::string ProgressText(std::uint64_t done, std::uint64_t total, double runsPerSecond,
                         double elapsed, double left);

class TProgress {
 public:
  enum class TStyle { Off, Terminal, Log };
  using TClock = std::chrono::steady_clock;

  // `total` runs of `totalCost`; `done` of them (costing `doneCost`) were done
  // before this process started (a resumed sweep).
  TProgress(std::FILE* err, TStyle style, std::uint64_t done, std::uint64_t total, double doneCost,
            double totalCost);
  ~TProgress();  // ends a redrawn line
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // After each run, with its estimated cost.
  void RunDone(double cost) {
    ++done_;
    doneCost_ += cost;
    if (style_ != TStyle::Off && ++sinceCheck_ >= checkEvery_) Check();
  }
  // Now and then while no run ends, so the line stays alive.
  void Tick() {
    if (style_ != TStyle::Off) Check();
  }

 private:
  void Check();
  void Show(double elapsed);

  std::FILE* err_;
  TStyle style_;
  std::uint64_t startDone_, done_, total_;
  double startCost_, doneCost_, totalCost_;
  TClock::time_point start_ = TClock::now();
  double lastShown_ = 0;
  std::size_t shownWidth_ = 0;
  // The clock is read once per so many runs, fewer for fast runs.
  std::uint32_t sinceCheck_ = 0, checkEvery_ = 1;
  double lastCheck_ = 0;
};

}  // namespace travenel
