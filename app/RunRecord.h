// TRunRecord: the counts of the window's run, step by step, kept so that the
// run can be saved in the runner's per-step columns and drawn by the plotter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace travenel {

class TRunRecord {
 public:
  // A run of a day at the window's pace; beyond it the first steps are kept
  // (a file of the run stays readable, and memory bounded).
  static constexpr std::size_t kMaxSteps = 1000000;

  // A new setup: its agents and the seed it was placed from.
  void Start(std::int32_t agents, std::uint32_t seed);
  // One step's counts, with the threshold it was attached by.
  void Add(std::int32_t threshold, std::int32_t attached, std::int32_t free);

  std::size_t Steps() const { return steps_.size(); }
  bool Cut() const { return cut_; }
  // The header and one row per step: agents,threshold,seed,step,attached,free.
  std::string Csv() const;

 private:
  struct TStep {
    std::int32_t Threshold, Attached, Free;
  };
  std::int32_t agents_ = 0;
  std::uint32_t seed_ = 0;
  std::vector<TStep> steps_;
  bool cut_ = false;
};

}  // namespace travenel
