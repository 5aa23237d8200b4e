// --resume: a sweep cut short continues to the bytes of an unbroken one, and
// rows that are not this sweep's are refused with nothing changed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "travenel/batch/Batch.h"
#include "travenel/batch/OutputFile.h"
#include "travenel/batch/Resume.h"
#include "travenel/batch/Run.h"
#include "slurp.h"

namespace travenel {

namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

// Runs travenel-batch; with stopAfter > 0 it is interrupted after that many runs.
Result Sweep(std::vector<std::string> args, int stopAfter = 0) {
  std::atomic<bool> cancel{false};
  std::atomic<int> runs{0};
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Result r;
  r.status = RunBatch(
      args, out, err,
      [&](const TRunSpec& s, int steps, const std::atomic<bool>& c) {
        if (stopAfter > 0 && ++runs > stopAfter) cancel = true;
        return RunSetup(s, steps, c);
      },
      cancel, 1, false);
  r.out = Slurp(out);
  r.err = Slurp(err);
  return r;
}

class BatchResume : public ::testing::TestWithParam<std::vector<std::string>> {
 protected:
  std::vector<std::string> Args(bool resume = false) const {
    std::vector<std::string> a = GetParam();
    a.insert(a.end(), {"--out", target_});
    if (resume) a.push_back("--resume");
    return a;
  }
  std::string Unbroken() const { return Sweep(GetParam()).out; }
  QTemporaryDir dir_;
  std::string target_ = dir_.filePath("sweep.csv").toStdString();
  std::string partial_ = target_ + ".partial";
};

TEST_P(BatchResume, CutsAtAnyByteContinueToTheUnbrokenBytes) {
  const std::string want = Unbroken();
  // Interrupted, then the partial file cut at many places (as a crash might
  // leave it: mid-line, mid-run, at a run's end, in the header).
  ASSERT_EQ(Sweep(Args(), 12).status, kExitInterrupted);
  const std::string kept = Slurp(partial_), info = Slurp(partial_ + ".info");
  ASSERT_GT(kept.size(), 100u);
  for (const std::size_t cut : {kept.size(), kept.size() - 1, kept.size() / 2, kept.size() / 3 + 7,
                                std::size_t{30}, std::size_t{0}}) {
    std::ofstream(partial_, std::ios::trunc) << kept.substr(0, cut);
    std::ofstream(partial_ + ".info", std::ios::trunc) << info;
    const Result r = Sweep(Args(true));
    ASSERT_EQ(r.status, kExitOk) << "cut at " << cut << ": " << r.err;
    EXPECT_EQ(Slurp(target_), want) << "cut at " << cut;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(partial_)));
  }
}

TEST_P(BatchResume, RowsOfAnotherSweepAreRefusedAndNothingChanges) {
  std::ofstream(target_) << "old rows\n";
  ASSERT_EQ(Sweep(Args(), 12).status, kExitInterrupted);
  const std::string kept = Slurp(partial_), info = Slurp(partial_ + ".info");
  const auto refused = [&](std::vector<std::string> args, const std::string& message) {
    const Result r = Sweep(args);
    EXPECT_EQ(r.status, kExitUsage) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(target_), "old rows\n");
    EXPECT_EQ(Slurp(partial_ + ".info"), info);
  };
  // Without --resume the work done is not thrown away.
  refused(Args(), "holds the rows of an unfinished sweep; add --resume");
  EXPECT_TRUE(Slurp(partial_) == kept);
  // Other options.
  std::vector<std::string> other = Args(true);
  other.insert(other.end(), {"--steps", "7", "--seed", "3"});
  refused(other, "was started with other --seed, --steps");
  EXPECT_TRUE(Slurp(partial_) == kept);
  // A changed count in the last run, or a row moved: the rows are not this sweep's.
  std::string changed = kept;
  const std::size_t lastComma = changed.rfind(',', changed.size() - 2);
  changed[lastComma + 1] = changed[lastComma + 1] == '9' ? '8' : '9';
  for (const std::string& rows :
       {changed,
        kept.substr(0, kept.find('\n') + 1) + kept.substr(kept.rfind('\n', kept.size() - 2) + 1)}) {
    std::ofstream(partial_, std::ios::trunc) << rows;
    refused(Args(true), "is not of this sweep");
    EXPECT_TRUE(Slurp(partial_) == rows);
  }
  // Interrupted while the kept rows are checked: they stay as they were.
  std::ofstream(partial_, std::ios::trunc) << kept;
  std::atomic<bool> cancel{false};
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunBatch(
                Args(true), stdout, err,
                [&](const TRunSpec& s, int steps, const std::atomic<bool>& c) {
                  cancel = true;
                  return RunSetup(s, steps, c);
                },
                cancel, 1, false),
            kExitInterrupted);
  EXPECT_EQ(Slurp(err), "travenel-batch: interrupted: nothing changed\n");
  EXPECT_TRUE(Slurp(partial_) == kept);
  EXPECT_EQ(Slurp(partial_ + ".info"), info);
  // No record of the sweep beside the rows.
  std::remove((partial_ + ".info").c_str());
  const Result r = Sweep(Args(true));
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_NE(r.err.find("has no record of its sweep"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, BatchResume,
    ::testing::Values(std::vector<std::string>{"--agents", "300,900", "--threshold", "60,80",
                                               "--repeats", "6", "--steps", "30", "--jobs", "1"},
                      std::vector<std::string>{"--agents", "300,900,1000,1100", "--threshold",
                                               "70,80", "--repeats", "10", "--summary",
                                               "--measures", "--shard", "2/2", "--balanced",
                                               "--jobs", "1"}));

TEST(BatchResumeTarget, OneWriterATargetAtATimeAndNothingToResumeStarts) {
  QTemporaryDir dir;
  const std::string target = dir.filePath("s.csv").toStdString();
  {
    TOutputFile writing(target);
    const Result r = Sweep({"--out", target, "--steps", "2"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_NE(r.err.find("another travenel-batch is writing"), std::string::npos) << r.err;
  }
  const Result r = Sweep({"--out", target, "--steps", "2", "--resume"});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_NE(r.err.find("nothing to resume"), std::string::npos);
  EXPECT_EQ(Slurp(target), Sweep({"--steps", "2"}).out);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(BatchResumeRecord, PinsTheBlockAndTheCostModel) {
  TBatchOptions o = ParseOptions({"--agents", "100:1500:100", "--shard", "2/3", "--balanced"}, 1);
  const std::string record = SweepRecord(o);
  const auto edited = [&](const std::string& from, const std::string& to) {
    std::string r = record;
    const std::size_t at = r.find(from);
    return at == std::string::npos ? r : r.replace(at, from.size(), to);
  };
  const std::string block = record.substr(record.find("block "));
  struct TCase {
    std::string kept, want;
  };
  for (const TCase& c : {
           TCase{record, ""},
           TCase{edited("block ", "block 1"), "another block of runs"},
           TCase{edited(block, ""), "another block of runs (not recorded"},
           TCase{edited("cost model ", "cost model 9"), "another cost model"},
           TCase{edited("--repeats 1", "--repeats 2"), "other --repeats"},
       })
    EXPECT_EQ(RecordDifference(c.kept, record).rfind(c.want, 0), 0u)
        << RecordDifference(c.kept, record);
  // Cut by count, the same in every build: an older record without its
  // block still continues.
  o.Balanced = false;
  const std::string counted = SweepRecord(o);
  EXPECT_EQ(RecordDifference(counted.substr(0, counted.find("block ")), counted), "");
}

// A world's option given to one sweep and not the other, or with other
// values, is another sweep: whichever of the two records carries it.
TEST(BatchResumeRecord, TheWorldsOptionsMustMatch) {
  const auto record = [](std::vector<std::string> args) {
    return SweepRecord(ParseOptions(args, 1));
  };
  const std::string plain = record({"--agents", "50"});
  const std::string worlds = record({"--agents", "50", "--world", "40x40,64x64"});
  struct TCase {
    std::string kept, wanted, want;
  };
  for (const TCase& c : {
           TCase{worlds, worlds, ""},
           TCase{worlds, record({"--agents", "50", "--world", "40x40,64x65"}), "other --world"},
           TCase{worlds, plain, "other --world"},
           TCase{plain, worlds, "other --world"},
           TCase{record({"--share", "50"}), record({"--share", "50.5"}), "other --share"},
           TCase{record({"--density", "10"}), record({"--agents", "160"}), "other --agents, --density"},
           TCase{record({"--jump", "3"}), record({"--jump", "3", "--share", "0"}),
                 "other --share"},
       })
    EXPECT_EQ(RecordDifference(c.kept, c.wanted), c.want);
}

TEST(BatchEnds, SayWhatBecameOfTheRows) {
  const Result toStdout = Sweep({"--repeats", "9", "--steps", "5", "--jobs", "1"}, 3);
  EXPECT_EQ(toStdout.status, kExitInterrupted);
  const auto rows = std::count(toStdout.out.begin(), toStdout.out.end(), '\n') - 1;
  EXPECT_EQ(toStdout.err, "travenel-batch: interrupted: " + std::to_string(rows) +
                              " rows already written to standard output\n");
  // A character device is written to; nothing is created beside it.
  const Result device = Sweep({"--out", "/dev/null", "--steps", "3"});
  EXPECT_EQ(device.status, kExitOk) << device.err;
  EXPECT_EQ(Sweep({"--out", "/dev/null", "--resume"}).status, kExitUsage);
  // More agents than cells: said once.
  const Result crowded = Sweep({"--agents", "1601,1700", "--steps", "1", "--out", "/dev/null"});
  EXPECT_EQ(crowded.err,
            "travenel-batch: note: 1,700 agents are more than the world's 1,600 cells; agents "
            "share cells, as in the window\n");
  EXPECT_TRUE(Sweep({"--agents", "1700", "--steps", "1", "--quiet"}).err.empty());
}

}  // namespace

}  // namespace travenel
