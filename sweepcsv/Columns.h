// Columns: the columns of a travenel-batch CSV — the base columns its rows
// per step and per run start with, the measure columns it may append — the
// one place their names are kept, and the layout a header line gives them.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace travenel {

// Input that is not a travenel-batch CSV (or cannot be read).
class EBadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TCsvKind { PerStep, Summary };

// The columns every row of a kind starts with, in this order.
inline constexpr std::array<std::string_view, 6> kStepColumns = {"agents", "threshold", "seed",
                                                                 "step",   "attached",  "free"};
inline constexpr std::array<std::string_view, 7> kSummaryColumns = {
    "agents", "threshold", "seed", "steps_run", "paused_at", "final_attached", "final_free"};

// The segregation measures the runner may append after the base columns:
// any of them, each at most once, in any order. Rows per run name them as
// measured at the run's end, with kFinalPrefix.
inline constexpr std::array<std::string_view, 3> kMeasureColumns = {"percent_similar", "clusters",
                                                                    "largest_cluster"};
inline constexpr std::string_view kFinalPrefix = "final_";

// The world's parameters, written last and only those the sweep was given:
// the world's width and height (together), the jump, the share of colour 1
// and the density. They tell setups apart, as agents and threshold do.
inline constexpr std::array<std::string_view, 5> kParamColumns = {"width", "height", "jump",
                                                                  "share", "density"};
// Which of them a header carries: bits of these.
enum TParamBits : unsigned { kParamWorld = 1, kParamJump = 2, kParamShare = 4, kParamDensity = 8 };

// Positions of the base columns in a row as the reader hands it out (the
// runner's order, whatever the order in the file).
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

// A measure's column name for a kind: "clusters" or "final_clusters".
std::string MeasureName(TCsvKind kind, std::string_view measure);

// The header line the runner writes, with its line end.
std::string HeaderText(TCsvKind kind, bool measures, unsigned params = 0);

struct TCsvLayout {
  TCsvKind Kind = TCsvKind::PerStep;
  // The columns of a row as the reader hands it out: the base columns in
  // their order, then the measures in the file's order.
  std::vector<std::string> Names;
  // For each field of the file, its place in Names, or -1: not read.
  std::vector<int> Source;
  // Columns of the file this program does not know, in the file's order.
  std::vector<std::string> Ignored;

  int Count() const { return static_cast<int>(Names.size()); }
  int BaseCount() const {
    return static_cast<int>(Kind == TCsvKind::PerStep ? kStepColumns.size()
                                                      : kSummaryColumns.size());
  }
  // The index of a column in Names, or -1.
  int Find(std::string_view name) const;
  TValueRule Rule(int index) const;
  // Whether a column is one of kParamColumns.
  bool IsParam(int index) const;
  // Columns that say which run a row belongs to or when (not values to plot).
  bool IsKey(int index) const {
    return index <= col::kSeed || (Kind == TCsvKind::PerStep && index == col::kStep) ||
           IsParam(index);
  }
  // The base columns that count things (their axes start at 0).
  bool IsCount(int index) const { return index < BaseCount() && index > col::kSeed; }
  // Columns of whole numbers (counts and steps: no fractional ticks).
  bool IsWhole(int index) const {
    const std::string& name = Names[static_cast<std::size_t>(index)];
    return index < BaseCount() || name.find("cluster") != std::string::npos ||
           name == kParamColumns[0] || name == kParamColumns[1] || name == kParamColumns[2];
  }
};

// The layout of a header line's fields (unquoted, blanks around them taken
// off), matched by name. Throws EBadInput when a base column is missing or
// a column appears twice.
TCsvLayout LayoutFromHeader(const std::vector<std::string_view>& fields, std::uint64_t line = 1);

// "percent_similar, clusters, largest_cluster", each with kFinalPrefix for
// rows per run.
std::string KnownMeasureList(TCsvKind kind);

// A field's text as a message shows it: at most 40 characters, control
// characters (a NUL cuts a C string short) written as \xNN.
std::string Shown(std::string_view field);

// "line 5, column 3 (seed): " (without a name: "line 5, column 3: ").
std::string Where(std::uint64_t line, int column, const std::string& name);

}  // namespace travenel
