#include "batch/Options.h"

#include <algorithm>
#include <limits>

namespace {

// Sweeps larger than this are surely a typo (a range with a tiny step).
constexpr std::size_t kMaxValues = 100000;
constexpr std::int64_t kLastSeed = std::numeric_limits<std::uint32_t>::max();

// Spaces and tabs around a number are ignored, as the window's whole-number
// conversion ignores them; inside the number (after the sign) none are.
std::string TrimBlanks(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// An optional sign and decimal digits, from the smallest int to the last seed.
bool ReadWhole(const std::string& text, std::int64_t& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > kLastSeed) return false;
  }
  value = negative ? -v : v;
  return value >= std::numeric_limits<std::int32_t>::min();
}

std::int64_t ParseWhole(const std::string& option, const std::string& text,
                        std::int64_t lo = std::numeric_limits<std::int32_t>::min(),
                        std::int64_t hi = std::numeric_limits<std::int32_t>::max()) {
  const std::string number = TrimBlanks(text);
  std::int64_t v = 0;
  if (!ReadWhole(number, v)) throw EUsage(option + ": '" + text + "' is not a whole number");
  if (v < lo || v > hi)
    throw EUsage(option + ": " + number + " is out of range (" + std::to_string(lo) + " to " +
                 std::to_string(hi) + ")");
  return v;
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t pos = text.find(sep, start);
    parts.push_back(text.substr(start, pos - start));
    if (pos == std::string::npos) return parts;
    start = pos + 1;
  }
}

int ParseAtLeast(const std::string& option, const std::string& text, int minimum) {
  const std::int64_t v = ParseWhole(option, text);
  if (v < minimum)
    throw EUsage(option + ": " + TrimBlanks(text) + " is below " + std::to_string(minimum));
  return static_cast<int>(v);
}

std::vector<int> ParseRange(const std::string& option, const std::string& text) {
  const std::vector<std::string> parts = Split(text, ':');
  if (parts.size() != 3) throw EUsage(option + ": '" + text + "' is not a range from:to:step");
  const std::int64_t from = ParseWhole(option, parts[0]);
  const std::int64_t to = ParseWhole(option, parts[1]);
  const std::int64_t step = ParseWhole(option, parts[2]);
  if (step == 0) throw EUsage(option + ": the step of '" + text + "' is 0");
  if ((step > 0 && from > to) || (step < 0 && from < to))
    throw EUsage(option + ": the range '" + text + "' is empty");
  std::vector<int> values;
  for (std::int64_t v = from; step > 0 ? v <= to : v >= to; v += step) {
    if (values.size() == kMaxValues)
      throw EUsage(option + ": the range '" + text + "' has more than " +
                   std::to_string(kMaxValues) + " values");
    values.push_back(static_cast<int>(v));
  }
  return values;
}

// "K/N": block K of N. Either number may have blanks around it.
void ParseShard(const std::string& text, TBatchOptions& o) {
  const std::vector<std::string> parts = Split(text, '/');
  if (parts.size() != 2)
    throw EUsage("--shard: '" + text + "' is not of the form K/N (block K of N, such as 2/8)");
  const std::int64_t k =
      ParseWhole("--shard", parts[0], std::numeric_limits<std::int32_t>::min(), kLastSeed);
  const std::int64_t n =
      ParseWhole("--shard", parts[1], std::numeric_limits<std::int32_t>::min(), kLastSeed);
  if (n < 1) throw EUsage("--shard: the number of blocks in '" + text + "' is below 1");
  if (k < 1 || k > n)
    throw EUsage("--shard: there is no block " + std::to_string(k) + " of " + std::to_string(n) +
                 " (K must be 1 to " + std::to_string(n) + ")");
  o.ShardIndex = static_cast<std::uint32_t>(k);
  o.ShardCount = static_cast<std::uint32_t>(n);
}

bool TakesValue(const std::string& name) {
  static const char* const kNames[] = {"--agents",  "--threshold", "--steps", "--seed",
                                       "--repeats", "--jobs",      "--out",   "--shard"};
  return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

void SetOption(const std::string& name, const std::string& value, TBatchOptions& o) {
  if (name == "--agents") {
    o.Agents = ParseValueList(name, value);
    for (int a : o.Agents)
      if (a > TBatchOptions::kMaxAgents)
        throw EUsage("--agents: " + std::to_string(a) + " agents are too many (at most " +
                     std::to_string(TBatchOptions::kMaxAgents) + ")");
  } else if (name == "--threshold") {
    o.Thresholds = ParseValueList(name, value);
  } else if (name == "--steps") {
    o.Steps = ParseAtLeast(name, value, 1);
  } else if (name == "--seed") {
    o.Seed = static_cast<std::uint32_t>(ParseWhole(name, value, 0, kLastSeed));
  } else if (name == "--repeats") {
    o.Repeats = ParseAtLeast(name, value, 1);
  } else if (name == "--jobs") {
    o.Jobs = ParseAtLeast(name, value, 1);
  } else if (name == "--out") {
    if (value.empty()) throw EUsage("--out: no file name given");
    o.Out = value;
  } else if (name == "--shard") {
    ParseShard(value, o);
  }
}

// Checks that need more than one option, whatever order they came in.
void CheckTogether(const TBatchOptions& o) {
  if (o.Seed + static_cast<std::int64_t>(o.Repeats) - 1 > kLastSeed)
    throw EUsage("--seed: " + std::to_string(o.Repeats) + " repeats from seed " +
                 std::to_string(o.Seed) + " would pass the last seed, " +
                 std::to_string(kLastSeed));
  RunCount(o);
}

}  // namespace

std::vector<int> ParseValueList(const std::string& option, const std::string& text) {
  if (TrimBlanks(text).empty()) throw EUsage(option + ": no value given");
  if (text.find(':') != std::string::npos) return ParseRange(option, text);
  std::vector<int> values;
  for (const std::string& part : Split(text, ',')) {
    if (TrimBlanks(part).empty()) throw EUsage(option + ": '" + text + "' has an empty item");
    values.push_back(static_cast<int>(ParseWhole(option, part)));
  }
  return values;
}

std::uint64_t RunCount(const TBatchOptions& o) {
  std::uint64_t setups = 0, runs = 0;
  if (__builtin_mul_overflow(std::uint64_t{o.Agents.size()}, std::uint64_t{o.Thresholds.size()},
                             &setups) ||
      __builtin_mul_overflow(setups, static_cast<std::uint64_t>(std::max(o.Repeats, 0)), &runs))
    throw EUsage("the sweep has more runs than can be counted (more than " +
                 std::to_string(std::numeric_limits<std::uint64_t>::max()) + ")");
  return runs;
}

TBatchOptions ParseOptions(const std::vector<std::string>& args, int defaultJobs) {
  TBatchOptions o;
  o.Jobs = std::max(defaultJobs, 1);
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    bool hasValue = false;
    if (name.rfind("--", 0) != 0) throw EUsage("unexpected argument '" + name + "'");
    if (const std::size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    if (name == "--help") {
      o.Help = true;
      continue;
    }
    if (name == "--summary") {
      if (hasValue) throw EUsage("--summary takes no value");
      o.Summary = true;
      continue;
    }
    if (!TakesValue(name)) throw EUsage("unknown option '" + name + "'");
    // The next argument is the value even when it starts with '-':
    // "--threshold -1" sweeps a negative threshold.
    if (!hasValue) {
      if (i + 1 >= args.size()) throw EUsage(name + ": no value given");
      value = args[++i];
    }
    SetOption(name, value, o);
  }
  CheckTogether(o);
  return o;
}

std::string HelpText(int defaultJobs) {
  return "Usage: travenel-batch [options]\n"
         "Runs Travenel setups without a window and writes their counts as CSV.\n"
         "\n"
         "  --agents LIST     number of agents (default 1000; at most 100000)\n"
         "  --threshold LIST  threshold in percent (default 74)\n"
         "  --steps N         steps per run (default 99, the steps the window plots)\n"
         "  --seed N          seed of the first repeat (default 1)\n"
         "  --repeats N       seeds per setup: seed, seed+1, ... (default 1)\n"
         "  --jobs N          worker threads (default " +
         std::to_string(defaultJobs) +
         ")\n"
         "  --out FILE        write to FILE, replaced only when the sweep completes\n"
         "                    (default standard output)\n"
         "  --summary         one row per run instead of one per step\n"
         "  --shard K/N       run only the K-th of N equal blocks of the sweep; block 1\n"
         "                    writes the header, so the N outputs in order are the sweep\n"
         "  --help            this text\n"
         "\n"
         "A LIST is a value (74), a comma list (50,74,90) or a range from:to:step (0:100:10).\n"
         "The rows as a picture: travenel-batch ... | travenel-plot --out sweep.png\n"
         "Rows per step:  agents,threshold,seed,step,attached,free\n"
         "Rows per run:   agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n";
}
