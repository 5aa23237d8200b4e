#include "travenel/batch/Batch.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "travenel/batch/Cost.h"
#include "travenel/batch/OutputFile.h"
#include "travenel/batch/Progress.h"
#include "travenel/batch/Resume.h"
#include "travenel/batch/RowWriter.h"
#include "travenel/batch/Rows.h"

namespace travenel {

namespace {

// The world's cells; more agents than this share cells.
constexpr int kCells = 1600;
// Beyond this many setups a block's cost is not added up for the time left.
constexpr std::uint64_t kMaxCostedForProgress = 10000000;
// Beyond this many thresholds the time left is not corrected per threshold.
constexpr std::size_t kMaxProgressGroups = 4096;

class EStop : public std::runtime_error {
 public:
  EStop(int status, const std::string& message) : std::runtime_error(message), Status(status) {}
  int Status;
};

std::string Runs(std::uint64_t n) { return Grouped(n) + (n == 1 ? " run" : " runs"); }

// True when the target already holds exactly this block of the sweep, as a
// completed sweep leaves it: a job script run again skips it. The same
// checks as for rows kept by an unfinished sweep, and every run there.
bool TargetComplete(const TOutputFile& file, const TBatchOptions& o, const TSweepPlan& plan,
                    TRunBlock block, const TRunner& runner, const std::atomic<bool>& cancel) {
  std::FILE* f = file.ReadTarget();
  if (!f) return false;
  bool complete = false;
  try {
    const TResumePoint point = FindResumePoint(f, o.Out, o, plan, block, runner, cancel);
    complete = point.Runs == block.Last - block.First && std::fseek(f, 0, SEEK_END) == 0 &&
               static_cast<std::uint64_t>(std::ftell(f)) == point.Bytes;
  } catch (const EResume&) {
    // Another sweep's rows, or none: replaced once this sweep completes.
  }
  std::fclose(f);
  if (cancel) throw EStop(kExitInterrupted, "interrupted: nothing changed");
  return complete;
}

// Takes over the partial file of --out, fresh or continued. Returns where the
// sweep stands; throws EStop when it must not go on (status 0: nothing to do).
TResumePoint Prepare(TOutputFile& file, const TBatchOptions& o, const TSweepPlan& plan,
                     TRunBlock block, const TRunner& runner, const std::atomic<bool>& cancel,
                     std::FILE* err) {
  const std::string record = SweepRecord(o);
  const std::string partial = file.PartialPath();
  if (!o.Resume) {
    // A partial file with rows is work done: never thrown away unasked.
    if (file.PartialBytes() > HeaderLine(o).size())
      throw EStop(kExitUsage, "--out: '" + partial + "' holds the rows of an unfinished sweep; " +
                                  "add --resume to continue it, or remove it to start over");
    file.Start(record);
    return {};
  }
  const std::optional<std::string> kept = file.ReadInfo();
  if (!kept) {
    if (file.PartialBytes() > 0)
      throw EStop(kExitUsage, "--resume: '" + partial + "' has no record of its sweep ('" +
                                  file.InfoPath() + "' is missing); remove it to start over");
    if (TargetComplete(file, o, plan, block, runner, cancel)) {
      // An empty partial file left by a kill at the start goes too.
      file.Discard();
      throw EStop(kExitOk, "'" + o.Out + "' already holds this sweep, complete; nothing to do");
    }
    if (!o.Quiet)
      std::fprintf(err, "travenel-batch: nothing to resume for '%s'; starting the sweep\n",
                   o.Out.c_str());
    file.Start(record);
    return {};
  }
  if (const std::string diff = RecordDifference(*kept, record); !diff.empty())
    throw EStop(kExitUsage, "--resume: the unfinished sweep in '" + partial +
                                "' was started with " + diff +
                                "; give its options, or remove it to start over (nothing changed)");
  TResumePoint point;
  {
    std::FILE* rows = file.ReadPartial();
    try {
      point = FindResumePoint(rows, partial, o, plan, block, runner, cancel);
    } catch (const EResume& e) {
      std::fclose(rows);
      if (cancel) throw EStop(kExitInterrupted, "interrupted: nothing changed");
      throw EStop(kExitUsage, std::string("--resume: ") + e.what() +
                                  "; nothing changed (remove it to start over)");
    }
    std::fclose(rows);
  }
  file.Continue(point.Bytes);
  if (!o.Quiet)
    std::fprintf(err, "travenel-batch: resuming after %s of %s kept in '%s'\n",
                 Runs(point.Runs).c_str(), Grouped(block.Last - block.First).c_str(),
                 partial.c_str());
  return point;
}

// What became of the output when the sweep stopped early: the runs and rows
// counted are those in the file, after a failed write too.
std::string Outcome(const TOutputFile* file, const TBatchOptions& o, std::uint64_t rows,
                    std::uint64_t runsKept, bool failed) {
  if (!file) return Grouped(rows) + " rows already written to standard output";
  if (file->IsDevice()) return Grouped(rows) + " rows already written to " + o.Out;
  std::string text = o.Out + (file->TargetExisted() ? " unchanged" : " not written");
  if (runsKept > 0)
    text += "; the " + Runs(runsKept) + " done" +
            (failed ? " (" + Grouped(rows) + (rows == 1 ? " row)" : " rows)") : std::string()) +
            (runsKept == 1 ? " is" : " are") + " kept in '" + file->PartialPath() +
            "': run the same command with --resume to continue";
  else if (failed)
    text += "; no rows kept";
  return text;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
             const TRunner& runner, const std::atomic<bool>& cancel, int defaultJobs,
             bool errIsTerminal) {
  TBatchOptions o;
  std::unique_ptr<TOutputFile> file;
  try {
    o = ParseOptions(args, defaultJobs);
    if (o.Help) {
      std::fputs(HelpText(defaultJobs).c_str(), out);
      return kExitOk;
    }
    if (o.Plan) {
      WritePlan(out, o);
      return std::fflush(out) == 0 ? kExitOk : kExitFailed;
    }
    if (!o.Out.empty()) file = std::make_unique<TOutputFile>(o.Out);
    if (o.Resume && file->IsDevice())
      throw EUsage("--resume needs --out to be a file, not a device");
    if (file && file->Unlocked() && !o.Quiet)
      std::fprintf(err,
                   "travenel-batch: note: the file system of '%s' has no file locks; going on "
                   "without (let no other travenel-batch write it meanwhile)\n",
                   o.Out.c_str());
  } catch (const std::exception& e) {
    std::fprintf(err, "travenel-batch: %s\n", e.what());
    return kExitUsage;
  }
  if (!o.Quiet) {
    const int most = *std::max_element(o.Agents.begin(), o.Agents.end());
    if (!o.Headless() && o.Densities.empty() && most > kCells)
      std::fprintf(err,
                   "travenel-batch: note: %s agents are more than the world's %s cells; "
                   "agents share cells, as in the window\n",
                   Grouped(static_cast<std::uint64_t>(most)).c_str(), Grouped(kCells).c_str());
    if (o.Headless() && o.Densities.empty())
      for (const TWorldSize& w : o.Worlds)
        if (most > std::int64_t{w.Columns} * w.Rows) {
          std::fprintf(err,
                       "travenel-batch: note: %s agents are more than the %s cells of a world "
                       "%dx%d; agents share cells there\n",
                       Grouped(static_cast<std::uint64_t>(most)).c_str(),
                       Grouped(static_cast<std::uint64_t>(w.Columns) * w.Rows).c_str(), w.Columns,
                       w.Rows);
          break;
        }
  }

  TResumePoint point;
  std::unique_ptr<TRowWriter> writer;
  bool prepared = false;  // the partial file is this process's to keep or remove
  try {
    const TSweepPlan plan(o);
    const TRunBlock block = BlockOf(o);
    if (file && !file->IsDevice()) point = Prepare(*file, o, plan, block, runner, cancel, err);
    prepared = true;
    if (file) {
      writer = std::make_unique<TRowWriter>(
          file->Fd(), nullptr, "'" + (file->IsDevice() ? o.Out : file->PartialPath()) + "'");
    } else {
      // Straight to the descriptor, past the C library's buffer.
      if (std::fflush(out) != 0) throw std::runtime_error("cannot write the output");
      writer = std::make_unique<TRowWriter>(fileno(out), out, "to standard output");
    }
    if (point.Bytes == 0) writer->AddHeader(HeaderLine(o));

    const TRunBlock rest{block.First + point.Runs, block.Last};
    const bool costed =
        (rest.Last - rest.First) / std::uint64_t(std::max(o.Repeats, 1)) < kMaxCostedForProgress;
    const auto cost = [&](TRunBlock b) {
      return costed ? static_cast<double>(EstimatedCost(o, plan, b))
                    : static_cast<double>(b.Last - b.First);
    };
    const auto style = o.Quiet         ? TProgress::TStyle::Off
                       : errIsTerminal ? TProgress::TStyle::Terminal
                       : o.Progress    ? TProgress::TStyle::Log
                                       : TProgress::TStyle::Off;
    const bool shown = style != TProgress::TStyle::Off;
    const std::uint64_t repeats = static_cast<std::uint64_t>(std::max(o.Repeats, 1));
    const std::size_t thresholds = o.Thresholds.size();
    // The time left is corrected per threshold: the estimate's errors change
    // slowly along the agent counts of one threshold, not across thresholds.
    const bool grouped = shown && costed && thresholds <= kMaxProgressGroups;
    const auto groupOf = [&](std::uint64_t index) {
      return grouped ? static_cast<std::size_t>(index / repeats % thresholds) : 0;
    };
    std::vector<double> groupCost;
    if (grouped) {
      groupCost.assign(thresholds, 0.0);
      for (std::uint64_t i = rest.First; i < rest.Last;) {
        const std::uint64_t end = std::min(rest.Last, (i / repeats + 1) * repeats);
        groupCost[groupOf(i)] += cost({i, end});
        i = end;
      }
    }
    TProgress progress(err, style, point.Runs, block.Last - block.First,
                       shown ? cost({block.First, rest.First}) : 0, shown ? cost(block) : 0,
                       std::move(groupCost));
    const auto flushIfDue = [&] {
      if (!writer->Due()) return;
      writer->Flush();
      if (file) file->Written();
    };
    const bool complete = RunRange(
        plan, rest, o.Steps, o.Jobs, runner, cancel,
        [&](std::uint64_t index, const TRunSpec& spec, const TRunResult& result) {
          WriteRunRows(writer->Rows(), spec, result, o.Summary);
          writer->EndRun();
          flushIfDue();
          if (shown)
            progress.RunDone(
                costed ? static_cast<double>(EstimatedRunCost(spec, o.Steps))
                       : 1.0,
                groupOf(index), (index + 1) % repeats == 0 || index + 1 == rest.Last);
        },
        [&] {
          // Rows done before a long run reach the file meanwhile, and a
          // write that fails is seen before it ends.
          flushIfDue();
          progress.Tick();
        });
    if (!complete) throw EStop(kExitInterrupted, "interrupted");
    writer->Flush();
    if (file) file->Commit();
  } catch (const std::exception& e) {
    const auto* stop = dynamic_cast<const EStop*>(&e);
    // A refusal before the sweep began changed nothing and says so itself.
    if (stop && stop->Status == kExitUsage) {
      std::fprintf(err, "travenel-batch: %s\n", e.what());
      return kExitUsage;
    }
    if (stop && stop->Status == kExitOk) {
      if (!o.Quiet) std::fprintf(err, "travenel-batch: %s\n", e.what());
      return kExitOk;
    }
    std::string message = e.what();
    if (writer && !writer->Failed()) {
      // The whole runs done so far reach the file before it is kept.
      try {
        writer->Flush();
      } catch (const EWrite& w) {
        message += std::string("; ") + w.what();
      }
    }
    const bool failed = writer && writer->Failed();
    if (failed) writer->TakeBackCutRun();
    const std::uint64_t runsKept = point.Runs + (writer ? writer->RunsWritten() : 0);
    const std::uint64_t rows = (file ? point.Rows : 0) + (writer ? writer->RowsWritten() : 0);
    if (file && !file->IsDevice() && prepared) {
      try {
        if (runsKept > 0)
          file->Keep();
        else
          file->Discard();
      } catch (const std::exception& k) {
        message += std::string("; ") + k.what();
      }
    }
    // Stopped while the kept rows were checked: the message says nothing changed.
    if (prepared || !stop)
      message += (stop ? ": " : "; ") + Outcome(file.get(), o, rows, runsKept, failed);
    std::fprintf(err, "travenel-batch: %s\n", message.c_str());
    return stop ? stop->Status : kExitFailed;
  }
  return kExitOk;
}

}  // namespace travenel
