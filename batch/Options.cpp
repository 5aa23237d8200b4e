#include "batch/Options.h"

#include <charconv>
#include <limits>

namespace {

// Sweeps larger than this are surely a typo (a range with a tiny step).
constexpr std::size_t kMaxValues = 100000;

std::int64_t ParseWhole(const std::string& option, const std::string& text,
                        std::int64_t lo = std::numeric_limits<std::int32_t>::min(),
                        std::int64_t hi = std::numeric_limits<std::int32_t>::max()) {
  std::int64_t v = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (!text.empty() && text[0] == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, v);
  if (text.empty() || first == last || ec != std::errc() || end != last ||
      v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max())
    throw EUsage(option + ": '" + text + "' is not a whole number");
  if (v < lo || v > hi)
    throw EUsage(option + ": " + text + " is out of range (" + std::to_string(lo) + " to " +
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
    throw EUsage(option + ": " + text + " is below " + std::to_string(minimum));
  return static_cast<int>(v);
}

}  // namespace

std::vector<int> ParseValueList(const std::string& option, const std::string& text) {
  if (text.empty()) throw EUsage(option + ": no value given");
  std::vector<int> values;
  if (text.find(':') != std::string::npos) {
    const std::vector<std::string> parts = Split(text, ':');
    if (parts.size() != 3)
      throw EUsage(option + ": '" + text + "' is not a range from:to:step");
    const std::int64_t from = ParseWhole(option, parts[0]);
    const std::int64_t to = ParseWhole(option, parts[1]);
    const std::int64_t step = ParseWhole(option, parts[2]);
    if (step == 0) throw EUsage(option + ": the step of '" + text + "' is 0");
    if ((step > 0 && from > to) || (step < 0 && from < to))
      throw EUsage(option + ": the range '" + text + "' is empty");
    for (std::int64_t v = from; step > 0 ? v <= to : v >= to; v += step) {
      if (values.size() == kMaxValues)
        throw EUsage(option + ": the range '" + text + "' has more than " +
                     std::to_string(kMaxValues) + " values");
      values.push_back(static_cast<int>(v));
    }
    return values;
  }
  for (const std::string& part : Split(text, ',')) {
    if (part.empty()) throw EUsage(option + ": '" + text + "' has an empty item");
    values.push_back(static_cast<int>(ParseWhole(option, part)));
  }
  return values;
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
    // Every other option takes the next argument as its value, even when it
    // starts with '-': "--threshold -1" sweeps a negative threshold.
    if (!hasValue) {
      if (i + 1 >= args.size()) throw EUsage(name + ": no value given");
      value = args[++i];
    }
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
      o.Seed = static_cast<std::uint32_t>(
          ParseWhole(name, value, 0, std::numeric_limits<std::uint32_t>::max()));
    } else if (name == "--repeats") {
      o.Repeats = ParseAtLeast(name, value, 1);
    } else if (name == "--jobs") {
      o.Jobs = ParseAtLeast(name, value, 1);
    } else if (name == "--out") {
      if (value.empty()) throw EUsage("--out: no file name given");
      o.Out = value;
    } else {
      throw EUsage("unknown option '" + name + "'");
    }
  }
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
         "  --jobs N          worker threads (default " + std::to_string(defaultJobs) + ")\n"
         "  --out FILE        write to FILE, replaced only when the sweep completes\n"
         "                    (default standard output)\n"
         "  --summary         one row per run instead of one per step\n"
         "  --help            this text\n"
         "\n"
         "A LIST is a value (74), a comma list (50,74,90) or a range from:to:step (0:100:10).\n"
         "Rows per step:  agents,threshold,seed,step,attached,free\n"
         "Rows per run:   agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n";
}
