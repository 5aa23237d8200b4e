#include "travenel/batch/Resume.h"

#include <cerrno>
#include <cstdlib>
#include <map>

#include "travenel/batch/Cost.h"
#include "travenel/batch/Rows.h"
#include "travenel/sweepcsv/Number.h"

namespace travenel {

namespace {

// Raise when the rows a run writes change for the same options: a sweep
// kept by an older version is then refused instead of continued.
constexpr const char* kRowsVersion = "1";
constexpr const char* kRecordTitle = "travenel-batch unfinished sweep";

std::string List(const std::vector<int>& values) {
  std::string text;
  for (const int v : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(v);
  }
  return text;
}

// "name value" lines after the title; the name may hold blanks, the value not.
std::map<std::string, std::string> Fields(const std::string& record) {
  std::map<std::string, std::string> fields;
  std::size_t start = record.find('\n') + 1;
  while (start > 0 && start < record.size()) {
    std::size_t end = record.find('\n', start);
    if (end == std::string::npos) end = record.size();
    const std::string line = record.substr(start, end - start);
    const std::size_t space = line.rfind(' ');
    if (space != std::string::npos) fields[line.substr(0, space)] = line.substr(space + 1);
    start = end + 1;
  }
  return fields;
}

// The block's runs, counted from 1 as --plan does: "1165-1325".
std::string BlockText(TRunBlock b) {
  return std::to_string(b.First + 1) + "-" + std::to_string(b.Last);
}

std::string FirstLines(const std::string& record, int n) {
  std::size_t end = 0;
  for (int i = 0; i < n && end != std::string::npos; ++i) end = record.find('\n', end + (i > 0));
  return record.substr(0, end);
}

// "agents 5, threshold 74, seed 2".
std::string RunName(int agents, int threshold, std::uint32_t seed) {
  return "agents " + std::to_string(agents) + ", threshold " + std::to_string(threshold) +
         ", seed " + std::to_string(seed);
}

// Reads "a,t,s" and ",step" at the start of a line; for a summary row
// ",steps_run,paused_at" (-1 for an empty paused_at) instead of the step.
bool ParseKey(const std::string& line, bool summary, long (&v)[5]) {
  const char* p = line.c_str();
  for (int i = 0; i < (summary ? 5 : 4); ++i) {
    char* end = nullptr;
    errno = 0;
    v[i] = std::strtol(p, &end, 10);
    if (i == 4 && end == p)
      v[i] = -1;
    else if (end == p || errno != 0)
      return false;
    if (*end != ',') return false;
    p = end + 1;
  }
  return true;
}

// A run the steps of this sweep could have written: one ends at the last
// step or where it paused by itself. Rows of a sweep of other --steps are
// refused unless every run paused before either limit, and then they are
// this sweep's bytes.
bool StepsFit(const long (&v)[5], bool summary, int steps) {
  if (!summary) return v[3] >= 1 && v[3] <= steps;
  return v[4] < 0 ? v[3] == steps : v[4] == v[3] && v[3] <= steps;
}

// The bytes of run `index` of the plan, worked out anew.
std::string RowsOf(const TBatchOptions& o, const TSweepPlan& plan, std::uint64_t index,
                   const TRunner& runner, const std::atomic<bool>& cancel) {
  const TRunSpec spec = plan.At(index);
  const TRunResult result = runner(spec, o.Steps, cancel);
  if (cancel) throw EResume("interrupted");
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* f = open_memstream(&data, &size);
  if (!f) throw std::bad_alloc();
  WriteRunRows(f, spec, result, o.Summary);
  std::fclose(f);
  std::string bytes(data, size);
  std::free(data);
  return bytes;
}

std::string ReadAt(std::FILE* f, std::uint64_t from, std::uint64_t to) {
  std::string bytes(to - from, '\0');
  if (std::fseek(f, static_cast<long>(from), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
    throw EResume("cannot be read again");
  return bytes;
}

}  // namespace

std::string SweepRecord(const TBatchOptions& o) {
  const auto yes = [](bool b) { return b ? "yes" : "no"; };
  std::string record = std::string(kRecordTitle) + "\nrows version " + kRowsVersion +
                       "\n--agents " + List(o.Agents) + "\n--threshold " + List(o.Thresholds) +
                       "\n--steps " + std::to_string(o.Steps) + "\n--seed " +
                       std::to_string(o.Seed) + "\n--repeats " + std::to_string(o.Repeats) +
                       "\n--summary " + yes(o.Summary) + "\n--measures " + yes(o.Measures) +
                       "\n--shard " + std::to_string(o.ShardIndex) + "/" +
                       std::to_string(o.ShardCount) + "\n--balanced " + yes(o.Balanced) + "\n";
  // The world's options only when given, so that the record of a sweep
  // without them reads as it always did.
  if (o.WorldGiven) {
    std::string worlds;
    for (const TWorldSize& w : o.Worlds) {
      if (!worlds.empty()) worlds += ',';
      worlds += std::to_string(w.Columns);
      worlds += 'x';
      worlds += std::to_string(w.Rows);
    }
    record += "--world " + worlds + "\n";
  }
  if (o.JumpGiven) record += "--jump " + List(o.Jumps) + "\n";
  const auto percents = [](const std::vector<double>& values) {
    std::string text;
    for (double v : values) {
      if (!text.empty()) text += ',';
      text += ShortestText(v);
    }
    return text;
  };
  if (!o.Shares.empty()) record += "--share " + percents(o.Shares) + "\n";
  if (!o.Densities.empty()) record += "--density " + percents(o.Densities) + "\n";
  // The block itself: two builds that cut a sweep differently must never
  // continue each other's blocks, or the blocks would overlap or leave a gap.
  record += "block " + BlockText(BlockOf(o)) + "\n";
  if (o.Balanced) record += "cost model " + std::to_string(kCostModelVersion) + "\n";
  return record;
}

std::string RecordDifference(const std::string& kept, const std::string& wanted) {
  if (FirstLines(kept, 1) != kRecordTitle) return "a record this build cannot read";
  if (FirstLines(kept, 2) != FirstLines(wanted, 2)) return "another version of the rows";
  auto a = Fields(kept);
  const auto b = Fields(wanted);
  // A record from before blocks were recorded: a block cut by count is
  // the same arithmetic in every build, one cut by cost is not known.
  if (!a.count("block") && a["--balanced"] == "no") a["block"] = b.at("block");
  std::string names;
  for (const auto& [name, value] : b) {
    const auto it = a.find(name);
    if (name.rfind("--", 0) == 0 && (it == a.end() || it->second != value)) {
      if (!names.empty()) names += ", ";
      names += name;
    }
  }
  // An option the kept sweep was given and this one is not.
  for (const auto& [name, value] : a)
    if (name.rfind("--", 0) == 0 && !b.count(name)) {
      if (!names.empty()) names += ", ";
      names += name;
    }
  if (!names.empty()) return "other " + names;
  if (a["block"] != b.at("block"))
    return "another block of runs (" + (a["block"].empty() ? "not recorded" : a["block"]) +
           "; this build cuts " + b.at("block") + ")";
  if (b.count("cost model") && a["cost model"] != b.at("cost model"))
    return "another cost model for --balanced";
  return "";
}

TResumePoint FindResumePoint(std::FILE* rows, const std::string& name, const TBatchOptions& o,
                             const TSweepPlan& plan, TRunBlock block, const TRunner& runner,
                             const std::atomic<bool>& cancel) {
  const std::string header = HeaderLine(o);
  const std::uint64_t blockRuns = block.Last - block.First;
  std::uint64_t offset = 0, runs = 0, lastStart = 0, prevStart = 0, lineNo = 0;
  std::uint64_t rowCount = 0, rowsBeforeLast = 0;
  long key[5] = {}, run[5] = {};
  struct TLineBuffer {
    char* data = nullptr;
    std::size_t size = 0;
    ~TLineBuffer() { std::free(data); }
  } buf;
  const auto refuse = [&](const std::string& why) { throw EResume("'" + name + "' " + why); };
  for (ssize_t n; (n = getline(&buf.data, &buf.size, rows)) > 0;) {
    const std::string line(buf.data, static_cast<std::size_t>(n));
    if (line.back() != '\n') break;  // cut off: left out
    ++lineNo;
    if (lineNo == 1 && !header.empty()) {
      if (line != header) refuse("has the header of another sweep");
      offset = lastStart = prevStart = line.size();
      continue;
    }
    if (!ParseKey(line, o.Summary, key))
      refuse("has a line that is no row: line " + std::to_string(lineNo));
    if (!StepsFit(key, o.Summary, o.Steps))
      refuse("is not of this sweep: line " + std::to_string(lineNo) + " has another --steps");
    if (o.Summary || key[3] == 1) {
      if (runs == blockRuns) refuse("has more runs than this sweep");
      const TRunSpec spec = plan.At(block.First + runs);
      if (key[0] != spec.Agents || key[1] != spec.Threshold ||
          key[2] != static_cast<long>(spec.Seed))
        refuse("is not of this sweep: line " + std::to_string(lineNo) + " is of " +
               RunName(static_cast<int>(key[0]), static_cast<int>(key[1]),
                       static_cast<std::uint32_t>(key[2])) +
               " where the sweep has " + RunName(spec.Agents, spec.Threshold, spec.Seed));
      prevStart = lastStart;
      lastStart = offset;
      rowsBeforeLast = rowCount;
      ++runs;
    } else if (runs == 0 || key[0] != run[0] || key[1] != run[1] || key[2] != run[2] ||
               key[3] != run[3] + 1) {
      refuse("is not of this sweep: line " + std::to_string(lineNo) +
             " does not follow the one before");
    }
    std::copy(std::begin(key), std::end(key), std::begin(run));
    offset += line.size();
    ++rowCount;
  }
  if (lineNo == 0) return {};
  if (runs == 0) return {0, offset, 0};

  // Run the last run again: the same bytes prove the same sweep; a beginning
  // of them is a run cut short, left out once the run before it is proved.
  const std::uint64_t last = runs - 1;
  const std::string kept = ReadAt(rows, lastStart, offset);
  const std::string again = RowsOf(o, plan, block.First + last, runner, cancel);
  if (kept == again) return {runs, offset, rowCount};
  const auto differs = [&](std::uint64_t i) {
    const TRunSpec s = plan.At(block.First + i);
    return "is not of this sweep: its run of " + RunName(s.Agents, s.Threshold, s.Seed) +
           " differs from the same run made now";
  };
  if (kept.size() >= again.size() || again.compare(0, kept.size(), kept) != 0)
    refuse(differs(last));
  if (last > 0 &&
      ReadAt(rows, prevStart, lastStart) != RowsOf(o, plan, block.First + last - 1, runner, cancel))
    refuse(differs(last - 1));
  return {last, lastStart, rowsBeforeLast};
}

}  // namespace travenel
