// SummaryPicture: the picture of a summary CSV (one row per run) — a value
// against the threshold, one curve per agent count through the means of its
// runs, every run as a small mark. For the step at which the runs paused,
// runs that never paused are marked in a band above the values instead of
// being given one.
#pragma once

#include <string>
#include <vector>

#include "travenel/plot/Picture.h"
#include "travenel/plot/SummaryAggregate.h"

namespace travenel {

struct TSummaryPlotSpec : TPictureSpec {
  std::string Column;      // the value column's name
  bool NeverBand = false;  // the column is paused_at (0: never paused)
  bool FromZero = true;    // the value axis starts at 0 at the latest
  bool Whole = true;       // the values are whole numbers
  bool MarksDropped = false;
  bool XAgents = false;  // the agent count across, one curve per threshold
  TSweepFacts Facts;
  // For curves that carry labels (across a world's parameter, or where the
  // world's parameters vary): what goes across, whether its values are
  // whole, the sweep's agent counts and thresholds, and its world's values.
  std::string XCaption;
  bool XWhole = true;
  std::vector<double> Agents, Thresholds;
  std::string Params;
};

// The mark types used: a single run, a mean, a mean of only some runs, a
// setup with runs that never paused.
inline constexpr std::uint8_t kRunMark = 28;
inline constexpr std::uint8_t kMeanMark = 24;
inline constexpr std::uint8_t kPartialMeanMark = 17;
inline constexpr std::uint8_t kNeverMark = 36;

TPicture SummaryPicture(const std::vector<TSummaryCurve>& curves, const TSummaryPlotSpec& spec);

}  // namespace travenel
