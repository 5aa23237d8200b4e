#include "travenel/batch/Options.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "travenel/sim/WorldConfig.h"
#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Number.h"

namespace travenel {

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

// An optional sign and decimal digits. Values too large to matter are held
// at +-kHuge, so the caller can still say they are out of range.
constexpr std::int64_t kHuge = 100000000000000000;
bool ReadWhole(const std::string& text, std::int64_t& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v >= kHuge ? kHuge : std::min(kHuge, v * 10 + (text[i] - '0'));
  }
  value = negative ? -v : v;
  return true;
}

std::int64_t ReadNumber(const std::string& option, const std::string& text) {
  std::int64_t v = 0;
  if (!ReadWhole(TrimBlanks(text), v))
    throw EUsage(option + ": '" + text + "' is not a whole number");
  return v;
}

std::string OutOfRange(const std::string& option, const std::string& text, std::int64_t lo,
                       std::int64_t hi) {
  return option + ": " + TrimBlanks(text) + " is out of range (" + std::to_string(lo) + " to " +
         std::to_string(hi) + ")";
}

std::int64_t ParseWhole(const std::string& option, const std::string& text,
                        std::int64_t lo = std::numeric_limits<std::int32_t>::min(),
                        std::int64_t hi = std::numeric_limits<std::int32_t>::max()) {
  const std::int64_t v = ReadNumber(option, text);
  if (v < lo || v > hi) throw EUsage(OutOfRange(option, text, lo, hi));
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
  constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();
  const std::int64_t v = ReadNumber(option, text);
  if (v < minimum)
    throw EUsage(option + ": " + TrimBlanks(text) + " is below " + std::to_string(minimum));
  if (v > kMost) throw EUsage(OutOfRange(option, text, minimum, kMost));
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
  const std::int64_t k = ReadNumber("--shard", parts[0]);
  const std::int64_t n = ReadNumber("--shard", parts[1]);
  if (n < 1) throw EUsage("--shard: the number of blocks in '" + text + "' is below 1");
  if (n > kLastSeed)
    throw EUsage("--shard: " + TrimBlanks(parts[1]) + " blocks are too many (at most " +
                 std::to_string(kLastSeed) + ")");
  if (k < 1 || k > n)
    throw EUsage("--shard: there is no block " + std::to_string(k) + " of " + std::to_string(n) +
                 " (K must be 1 to " + std::to_string(n) + ")");
  o.ShardIndex = static_cast<std::uint32_t>(k);
  o.ShardCount = static_cast<std::uint32_t>(n);
}

// The options without a value; null for any other name.
bool* Flag(const std::string& name, TBatchOptions& o) {
  const std::pair<const char*, bool*> flags[] = {
      {"--summary", &o.Summary}, {"--measures", &o.Measures}, {"--resume", &o.Resume},
      {"--plan", &o.Plan},       {"--balanced", &o.Balanced}, {"--progress", &o.Progress},
      {"--quiet", &o.Quiet}};
  for (const auto& [flagName, member] : flags)
    if (name == flagName) return member;
  return nullptr;
}

bool TakesValue(const std::string& name) {
  static const char* const kNames[] = {"--agents", "--threshold", "--steps", "--seed",
                                       "--repeats", "--jobs",     "--out",   "--shard",
                                       "--world",   "--jump",     "--share", "--density"};
  return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

void SetOption(const std::string& name, const std::string& value, TBatchOptions& o) {
  if (name == "--agents") {
    o.Agents = ParseValueList(name, value);
    for (int a : o.Agents) {
      // The window reads "0 or less" as no agents; in a sweep a negative
      // count is surely a typo.
      if (a < 0) throw EUsage("--agents: " + std::to_string(a) + " is below 0");
      if (a > TWorldConfig::kMaxAgents)
        throw EUsage("--agents: " + std::to_string(a) + " agents are too many (at most " +
                     std::to_string(TWorldConfig::kMaxAgents) + ")");
    }
    o.AgentsGiven = true;
  } else if (name == "--world") {
    o.Worlds = ParseWorldList(value);
    o.WorldGiven = true;
  } else if (name == "--jump") {
    o.Jumps = ParseValueList(name, value);
    o.JumpGiven = true;
  } else if (name == "--share") {
    o.Shares = ParsePercentList(name, value);
  } else if (name == "--density") {
    o.Densities = ParsePercentList(name, value);
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

// Every world with every jump, share and agent count must be one a world can
// be built as: the first that cannot is named.
void CheckWorlds(const TBatchOptions& o) {
  if (o.AgentsGiven && !o.Densities.empty())
    throw EUsage("--agents and --density: choose one");
  if (!o.Headless()) {
    // The window's world, as always: agents beyond its cells share them.
    for (int a : o.Agents)
      if (a > TBatchOptions::kMaxAgents)
        throw EUsage("--agents: " + std::to_string(a) + " agents are too many (at most " +
                     std::to_string(TBatchOptions::kMaxAgents) + ")");
  }
  for (const TWorldSize& w : o.Worlds) {
    TWorldConfig config;
    config.Columns = w.Columns;
    config.Rows = w.Rows;
    for (int jump : o.Jumps) {
      config.Jump = jump;
      // The share's range is checked where it is read.
      const std::string problem = config.Problem(0);
      if (!problem.empty()) throw EUsage((o.JumpGiven ? "--jump: " : "--world: ") + problem);
    }
    const std::int64_t most = config.MaxAgents();
    if (o.Densities.empty()) {
      if (!o.Headless()) continue;
      for (int a : o.Agents)
        if (a > most)
          throw EUsage("--agents: " + std::to_string(a) + " agents do not fit a world " +
                       std::to_string(w.Columns) + "x" + std::to_string(w.Rows) + " (at most " +
                       std::to_string(most) + ", twice its cells)");
    } else {
      for (double d : o.Densities)
        if (AgentsAtDensity(d, config.Cells()) > most)
          throw EUsage("--density: " + ShortestText(d) + " puts " +
                       std::to_string(AgentsAtDensity(d, config.Cells())) +
                       " agents on a world " + std::to_string(w.Columns) + "x" +
                       std::to_string(w.Rows) + " (at most " + std::to_string(most) + ")");
    }
  }
}

// Checks that need more than one option, whatever order they came in.
void CheckTogether(const TBatchOptions& o) {
  CheckWorlds(o);
  if (o.Seed + static_cast<std::int64_t>(o.Repeats) - 1 > kLastSeed)
    throw EUsage("--seed: " + std::to_string(o.Repeats) + " repeats from seed " +
                 std::to_string(o.Seed) + " would pass the last seed, " +
                 std::to_string(kLastSeed));
  RunCount(o);
  const std::uint64_t setups = RunCount(o) / static_cast<std::uint64_t>(o.Repeats);
  if ((o.Balanced || o.Plan) && setups > TBatchOptions::kMaxCostedSetups)
    throw EUsage(std::string(o.Plan ? "--plan" : "--balanced") + ": the sweep has " +
                 std::to_string(setups) + " setups; at most " +
                 std::to_string(TBatchOptions::kMaxCostedSetups) + " can be costed");
  if (o.Progress && o.Quiet) throw EUsage("--progress and --quiet: choose one");
  if (o.Resume && o.Out.empty() && !o.Plan)
    throw EUsage("--resume needs --out FILE: the rows of an unfinished sweep are kept beside it");
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

std::vector<double> ParsePercentList(const std::string& option, const std::string& text) {
  std::vector<double> values;
  if (TrimBlanks(text).empty()) throw EUsage(option + ": no value given");
  if (text.find(':') != std::string::npos) {
    for (int v : ParseRange(option, text)) values.push_back(v);
  } else {
    for (const std::string& part : Split(text, ',')) {
      const std::string item = TrimBlanks(part);
      if (item.empty()) throw EUsage(option + ": '" + text + "' has an empty item");
      double v = 0;
      // Only digits, a '.' and a sign: "nan" and exponents are no percents.
      if (item.find_first_not_of("+-.0123456789") != std::string::npos ||
          !ReadNumber(item[0] == '+' ? std::string_view(item).substr(1) : item, v))
        throw EUsage(option + ": '" + item + "' is not a number (a percent such as 50 or 62.5)");
      values.push_back(v);
    }
  }
  for (double v : values)
    if (!(v >= 0 && v <= 100))
      throw EUsage(option + ": " + ShortestText(v) + " is out of range (0 to 100 percent)");
  return values;
}

std::vector<TWorldSize> ParseWorldList(const std::string& text) {
  if (TrimBlanks(text).empty()) throw EUsage("--world: no value given");
  std::vector<TWorldSize> worlds;
  for (const std::string& part : Split(text, ',')) {
    const std::string item = TrimBlanks(part);
    const std::size_t x = item.find_first_of("xX");
    if (x == std::string::npos)
      throw EUsage("--world: '" + item + "' is not of the form WxH (such as 64x64)");
    std::int64_t w = 0, h = 0;
    if (!ReadWhole(TrimBlanks(item.substr(0, x)), w) ||
        !ReadWhole(TrimBlanks(item.substr(x + 1)), h))
      throw EUsage("--world: '" + item + "' is not of the form WxH (such as 64x64)");
    TWorldConfig config;
    config.Columns = static_cast<std::int32_t>(std::clamp<std::int64_t>(w, -1, TWorldConfig::kMaxSide + 1));
    config.Rows = static_cast<std::int32_t>(std::clamp<std::int64_t>(h, -1, TWorldConfig::kMaxSide + 1));
    config.Jump = 0;  // jumps are checked with the worlds they go with
    if (const std::string problem = config.Problem(0); !problem.empty())
      throw EUsage("--world: " + item + ": " + problem.substr(problem.find(": ") + 2));
    worlds.push_back({config.Columns, config.Rows});
  }
  if (worlds.size() > kMaxValues) throw EUsage("--world: more than " + std::to_string(kMaxValues) + " worlds");
  return worlds;
}

std::int64_t AgentsAtDensity(double density, std::int64_t cells) {
  // Exact enough: cells < 2^29 and density has 53 bits; nearbyint rounds
  // halves to even in the default rounding mode.
  return static_cast<std::int64_t>(std::nearbyint(density * static_cast<double>(cells) / 100.0));
}

std::uint64_t RunCount(const TBatchOptions& o) {
  std::uint64_t setups = 0, runs = 0, worlds = 0, shaped = 0, populated = 0;
  if (__builtin_mul_overflow(std::uint64_t{o.Worlds.size()}, std::uint64_t{o.Jumps.size()},
                             &worlds) ||
      __builtin_mul_overflow(worlds, std::uint64_t{std::max<std::size_t>(o.Shares.size(), 1)},
                             &shaped) ||
      __builtin_mul_overflow(shaped, std::uint64_t{o.AgentChoices()}, &populated) ||
      __builtin_mul_overflow(populated, std::uint64_t{o.Thresholds.size()}, &setups) ||
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
    if (bool* flag = Flag(name, o)) {
      if (hasValue) throw EUsage(name + " takes no value");
      *flag = true;
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
         "  --agents LIST     number of agents (default 1000; 0 to 100000; above the\n"
         "                    1600 cells agents share cells, as in the window; on a\n"
         "                    --world up to twice its cells)\n"
         "  --threshold LIST  threshold in percent (default 74)\n"
         "  --world LIST      world sizes WxH (default 40x40, the window's world; sides\n"
         "                    11 to 65536, at most 268435456 cells); agents up to twice\n"
         "                    the cells (at most 134217728)\n"
         "  --jump LIST       how far a free agent jumps: offsets -R to R+1 (default 10;\n"
         "                    0 to the shorter side - 1)\n"
         "  --share LIST      percent of agents of colour 1, one real draw per agent\n"
         "                    (default: an even coin toss)\n"
         "  --density LIST    instead of --agents: percent of the cells, agents =\n"
         "                    round(D x cells / 100), halves to even\n"
         "                    --world, --jump and --share run on a world without any of\n"
         "                    the window's objects; each adds its columns only when\n"
         "                    given: width,height / jump / share / density\n"
         "  --steps N         steps per run (default 99, the steps the window plots)\n"
         "  --seed N          seed of the first repeat (default 1)\n"
         "  --repeats N       seeds per setup: seed, seed+1, ... (default 1)\n"
         "  --jobs N          worker threads (default " +
         std::to_string(defaultJobs) +
         ")\n"
         "  --out FILE        write to FILE, replaced only when the sweep completes\n"
         "                    (default standard output); the rows of an unfinished\n"
         "                    sweep are kept in FILE.partial (its options in\n"
         "                    FILE.partial.info)\n"
         "  --resume          continue the unfinished sweep of --out FILE, after\n"
         "                    checking that it is this sweep; without one, start it\n"
         "                    (or do nothing where FILE holds it complete)\n"
         "  --summary         one row per run instead of one per step\n"
         "  --measures        add segregation measures to each row, taken after the\n"
         "                    step's movement pass (with --summary, of the last step):\n"
         "    percent_similar  same-colour / all occupied neighbours of occupied cells x 100\n"
         "    clusters         groups of same-colour occupied cells joined via 8 neighbours\n"
         "    largest_cluster  the cells of the largest such group (the world wraps)\n"
         "  --shard K/N       run only the K-th of N contiguous blocks of the sweep;\n"
         "                    block 1 writes the header, so the N outputs in order are\n"
         "                    the sweep\n"
         "  --balanced        cut the N blocks by estimated cost instead of by the\n"
         "                    number of runs (every block of a sweep must use it)\n"
         "  --plan            print the blocks (runs, estimated cost) and run nothing\n"
         "  --progress        a progress line every 10 s also when standard error is no\n"
         "                    terminal (on a terminal it is always shown)\n"
         "  --quiet           no progress and no notes\n"
         "  --help            this text\n"
         "\n"
         "A LIST is a value (74), a comma list (50,74,90) or a range from:to:step (0:100:10);\n"
         "--share and --density take decimals (62.5), --world a comma list (64x64,128x128).\n"
         "Setups run worlds, then jumps, shares, agents, thresholds, each as given.\n"
         "The rows as a picture: travenel-batch ... | travenel-plot --out sweep.png\n"
         "Rows per step:  " +
         HeaderText(TCsvKind::PerStep, false) +
         "Rows per run:   " + HeaderText(TCsvKind::Summary, false) +
         "With --measures both end in ...," + MeasureName(TCsvKind::PerStep, kMeasureColumns[0]) +
         "," + MeasureName(TCsvKind::PerStep, kMeasureColumns[1]) + "," +
         MeasureName(TCsvKind::PerStep, kMeasureColumns[2]) +
         "\n"
         "(final_... with --summary); percent_similar is empty without neighbours.\n"
         "Exit status: 0 done, 1 failed, 2 bad command line or --out, 130 interrupted\n"
         "(Ctrl-C), 143 terminated (SIGTERM).\n";
}

}  // namespace travenel
