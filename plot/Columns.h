// Columns: the columns of a travenel-batch CSV — the base columns its rows
// per step and per run start with, the measure columns it may append — and
// the layout a header line gives them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace travenel {

enum class TCsvKind { PerStep, Summary };

// The columns every row of a kind starts with, in this order.
inline constexpr std::array<std::string_view, 6> kStepColumns = {"agents", "threshold", "seed",
                                                                 "step",   "attached",  "free"};
inline constexpr std::array<std::string_view, 7> kSummaryColumns = {
    "agents", "threshold", "seed", "steps_run", "paused_at", "final_attached", "final_free"};

// The segregation measures the runner may append after the base columns:
// any of them, each at most once, in any order. Rows per run name them as
// measured at the run's end, with kFinalPrefix. The one place their names
// are kept.
inline constexpr std::array<std::string_view, 3> kMeasureColumns = {"percent_similar", "clusters",
                                                                    "largest_cluster"};
inline constexpr std::string_view kFinalPrefix = "final_";

// Positions of the base columns in a row.
namespace col {
inline constexpr int kAgents = 0;
inline constexpr int kThreshold = 1;
inline constexpr int kSeed = 2;
inline constexpr int kStep = 3;  // per step
inline constexpr int kAttached = 4;
inline constexpr int kFree = 5;
inline constexpr int kStepsRun = 3;  // per run
inline constexpr int kPausedAt = 4;
}  // namespace col

// What a column's fields may hold.
enum class TValueRule {
  Number,  // any finite number
  Whole,   // a whole number, 0 or more (steps)
  Paused,  // a step, or nothing (never paused), which reads as 0
  Measure  // a finite number, or nothing (empty or "nan": no value)
};

struct TCsvLayout {
  TCsvKind Kind = TCsvKind::PerStep;
  std::vector<std::string> Names;  // every column, in the header's order

  int Count() const { return static_cast<int>(Names.size()); }
  int BaseCount() const {
    return static_cast<int>(Kind == TCsvKind::PerStep ? kStepColumns.size()
                                                      : kSummaryColumns.size());
  }
  // The index of a column, or -1.
  int Find(std::string_view name) const;
  TValueRule Rule(int index) const;
  // Columns that say which run a row belongs to or when (not values to plot).
  bool IsKey(int index) const {
    return index <= col::kSeed || (Kind == TCsvKind::PerStep && index == col::kStep);
  }
  // The base columns that count things (their axes start at 0).
  bool IsCount(int index) const { return index < BaseCount() && index > col::kSeed; }
};

// The layout of a header line's fields (blanks around them already taken
// off). Throws EBadInput naming the first column that does not fit.
TCsvLayout LayoutFromHeader(const std::vector<std::string_view>& fields, std::uint64_t line = 1);

// "percent_similar, clusters, largest_cluster", each with kFinalPrefix for
// rows per run.
std::string KnownMeasureList(TCsvKind kind);

}  // namespace travenel
