// Command line of travenel-batch: what to sweep and where the rows go.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace travenel {

// A bad command line: the message names the option and the problem.
class EUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A world's size, as --world gives it: "WxH".
struct TWorldSize {
  std::int32_t Columns = 40;
  std::int32_t Rows = 40;
  bool operator==(const TWorldSize&) const = default;
};

struct TBatchOptions {
  // On the window's world; a world given by --world holds up to twice its
  // cells (at most TWorldConfig::kMaxAgents).
  static constexpr int kMaxAgents = 100000;
  // Setups (agents x thresholds) whose costs --balanced and --plan add up.
  static constexpr std::uint64_t kMaxCostedSetups = 100000000;

  std::vector<int> Agents{1000};
  std::vector<int> Thresholds{74};
  // The world's parameters. Each is written as a column of its own only when
  // given, so a sweep without them writes the bytes it always did; with any
  // of --world, --jump and --share the runs go on a headless world.
  std::vector<TWorldSize> Worlds{TWorldSize{}};
  std::vector<int> Jumps{10};
  std::vector<double> Shares;     // percent of colour 1; empty: a coin toss
  std::vector<double> Densities;  // percent of cells; empty: Agents counts
  bool WorldGiven = false;
  bool JumpGiven = false;
  bool AgentsGiven = false;
  bool Headless() const { return WorldGiven || JumpGiven || !Shares.empty(); }
  // The agents of a setup per world: Agents, or Densities as counts.
  std::size_t AgentChoices() const { return Densities.empty() ? Agents.size() : Densities.size(); }
  int Steps = 99;  // the steps the window plots
  std::uint32_t Seed = 1;
  int Repeats = 1;
  int Jobs = 1;
  std::string Out;  // empty: standard output
  bool Summary = false;
  bool Measures = false;  // percent similar and clusters after each row's counts
  bool Help = false;
  // Continue the unfinished sweep kept beside Out instead of refusing to
  // start over it.
  bool Resume = false;
  bool Plan = false;      // print the blocks of the sweep, run nothing
  bool Balanced = false;  // blocks of about equal estimated cost, not count
  bool Progress = false;  // a progress line also when stderr is no terminal
  bool Quiet = false;     // no progress and no notes on stderr
  // This process runs block ShardIndex (1-based) of ShardCount contiguous
  // blocks of the sweep; only block 1 writes the header.
  std::uint32_t ShardIndex = 1;
  std::uint32_t ShardCount = 1;
};

// Reads the arguments after the program name. Throws EUsage.
TBatchOptions ParseOptions(const std::vector<std::string>& args, int defaultJobs);

// A value list: "5", "1,2,3" or a range "from:to:step" (inclusive, step != 0).
// Blanks around each number are allowed, as in the window's edit boxes.
std::vector<int> ParseValueList(const std::string& option, const std::string& text);

// "1.5", "50,62.5" or a whole range "from:to:step": percents, read the same
// under every locale. Each must lie in 0 .. 100.
std::vector<double> ParsePercentList(const std::string& option, const std::string& text);

// "40x40" or "64x64,128x96".
std::vector<TWorldSize> ParseWorldList(const std::string& text);

// The agents a density puts on a world of `cells` cells: D x cells / 100,
// rounded to the nearest, halves to even.
std::int64_t AgentsAtDensity(double density, std::int64_t cells);

// The runs of the whole sweep (all shards): worlds x jumps x shares x agent
// counts (or densities) x thresholds x repeats. Throws EUsage when that does not fit in 64 bits.
std::uint64_t RunCount(const TBatchOptions& options);

std::string HelpText(int defaultJobs);

}  // namespace travenel
