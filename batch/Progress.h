// The progress of a sweep on standard error: runs done of the total, runs per
// second, time taken and time left. On a terminal one line, redrawn in place
// at most five times a second; elsewhere (a cluster job's log) a plain line
// every ten seconds. Time left weighs the runs by their estimated cost, so a
// sweep whose last runs are its slowest does not promise too early an end,
// and corrects that estimate by the rates measured as the sweep goes.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace travenel {

// "1,234,567": digits grouped by three for people to read.
std::string Grouped(std::uint64_t n);
// "42 s", "3 min 05 s", "2 h 07 min": a duration for people to read.
std::string Duration(double seconds);

// The text of a progress line.
std::string ProgressText(std::uint64_t done, std::uint64_t total, double runsPerSecond,
                         double elapsed, double left);

// The time left of a sweep: the estimated cost of the runs still to do,
// each group's (the runs of one threshold) times the seconds its setups so
// far really took per unit of estimate. The estimate is off by factors that
// differ from threshold to threshold far more than along the agent counts
// of one; and a whole group's pace holds steadier on a busy machine than
// its latest setup's.
class TTimeLeft {
 public:
  // left[g]: the estimated cost of group g's runs still to do.
  explicit TTimeLeft(std::vector<double> left);
  // A run of `group` with its estimated cost; its setup's runs follow each
  // other and the last is followed by EndSetup(), at `now` seconds after
  // the start.
  void Add(double cost, std::size_t group) {
    if (current_.Cost <= 0) group_ = std::min(group, left_.size() - 1);
    current_.Cost += cost;
    done_ += cost;
    left_[group_] -= cost;
  }
  void EndSetup(double now);
  // Seconds left `now` seconds after the start; negative when unknown.
  double Left(double now) const;

 private:
  struct TSpent {
    double Seconds = 0, Cost = 0;
  };
  std::vector<double> left_;
  std::vector<TSpent> spent_;  // per group: its complete setups
  TSpent current_;
  std::size_t group_ = 0;
  double currentStart_ = 0, done_ = 0;
};

class TProgress {
 public:
  enum class TStyle { Off, Terminal, Log };
  using TClock = std::chrono::steady_clock;

  // `total` runs of `totalCost`; `done` of them (costing `doneCost`) were done
  // before this process started (a resumed sweep). `groupCost`, if given,
  // holds the estimated cost left of each group of runs (see TTimeLeft).
  TProgress(std::FILE* err, TStyle style, std::uint64_t done, std::uint64_t total, double doneCost,
            double totalCost, std::vector<double> groupCost = {});
  ~TProgress();  // ends a redrawn line
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // After each run, with its estimated cost and its group; `endsSetup` for
  // the last run of a setup.
  void RunDone(double cost, std::size_t group = 0, bool endsSetup = false) {
    ++done_;
    if (style_ == TStyle::Off) return;
    timeLeft_.Add(cost, group);
    if (endsSetup) timeLeft_.EndSetup(Elapsed());
    if (++sinceCheck_ >= checkEvery_) Check();
  }
  // Now and then while no run ends, so the line stays alive.
  void Tick() {
    if (style_ != TStyle::Off) Check();
  }

 private:
  void Check();
  void Show(double elapsed);
  double Elapsed() const { return std::chrono::duration<double>(TClock::now() - start_).count(); }

  std::FILE* err_;
  TStyle style_;
  std::uint64_t startDone_, done_, total_;
  TTimeLeft timeLeft_;
  TClock::time_point start_ = TClock::now();
  double lastShown_ = 0;
  std::size_t shownWidth_ = 0;
  // The clock is read once per so many runs, fewer for fast runs.
  std::uint32_t sinceCheck_ = 0, checkEvery_ = 1;
  double lastCheck_ = 0;
};

}  // namespace travenel
