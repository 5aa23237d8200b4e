// Command line of travenel-batch: what to sweep and where the rows go.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace travenel {

// A bad command line: the message names the option and the problem.
class EUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TBatchOptions {
  static constexpr int kMaxAgents = 100000;
  // Setups (agents x thresholds) whose costs --balanced and --plan add up.
  static constexpr std::uint64_t kMaxCostedSetups = 100000000;

  std::vector<int> Agents{1000};
  std::vector<int> Thresholds{74};
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

// The runs of the whole sweep (all shards): agent counts x thresholds x
// repeats. Throws EUsage when that does not fit in 64 bits.
std::uint64_t RunCount(const TBatchOptions& options);

std::string HelpText(int defaultJobs);

}  // namespace travenel
