// The sweep: same bytes whatever the threads, the same numbers as the world
// stepped by hand, the summary rows, and files that are replaced only whole.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <fstream>

#include "travenel/batch/Batch.h"
#include "travenel/batch/Run.h"
#include "travenel/sim/Measures.h"
#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/World.h"
#include "slurp.h"

namespace travenel {

namespace {

struct Captured {
  int status = -1;
  std::string out, err;
};

Captured RunCli(std::vector<std::string> args, const TRunner& runner = RunSetup) {
  std::atomic<bool> cancel{false};
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Captured c;
  c.status = RunBatch(args, out, err, runner, cancel, 2, false);
  c.out = Slurp(out);
  c.err = Slurp(err);
  return c;
}

TEST(BatchSweep, SameBytesForOneAndTwoThreads) {
  const std::vector<std::string> sweep = {"--agents",  "50,800", "--threshold", "40:80:40",
                                          "--repeats", "3",      "--steps",     "30"};
  std::vector<std::string> one = sweep, two = sweep;
  one.insert(one.end(), {"--jobs", "1"});
  two.insert(two.end(), {"--jobs", "2"});
  const Captured a = RunCli(one), b = RunCli(two), again = RunCli(two);
  ASSERT_EQ(a.status, kExitOk) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(b.out, again.out);
  // Header plus 2 agent counts x 2 thresholds x 3 seeds x at most 30 steps.
  EXPECT_EQ(a.out.rfind("agents,threshold,seed,step,attached,free\n50,40,1,1,0,50\n", 0), 0u);
}

TEST(BatchSweep, RowsAreTheCountsOfTheWorldSteppedByHand) {
  const Captured c =
      RunCli({"--agents", "1000", "--threshold", "74", "--seed", "12345", "--steps", "40"});
  ASSERT_EQ(c.status, kExitOk) << c.err;
  TWorld world(40, 40);
  world.SetFixedSeed(12345);
  world.CreateAgents(1000);
  std::string expected = "agents,threshold,seed,step,attached,free\n";
  for (int step = 1; step <= 40; ++step) {
    if (!world.MoveAgents()) break;
    expected += "1000,74,12345," + std::to_string(step) + "," +
                std::to_string(world.AttachedCount()) + "," + std::to_string(world.FreeCount()) +
                "\n";
    world.UpdateAttachment(74);
  }
  EXPECT_EQ(c.out, expected);
}

// A sweep over the world's parameters: setups in the order worlds, jumps,
// shares, densities, thresholds, each row the counts of a headless world of
// that shape stepped by hand, the parameters last.
TEST(BatchSweep, WorldSweepRowsAreThoseOfHeadlessWorlds) {
  const Captured c = RunCli({"--world", "11x13,30x20", "--jump", "2,5", "--share", "30",
                             "--density", "50,75", "--threshold", "60", "--steps", "5",
                             "--seed", "9", "--summary"});
  ASSERT_EQ(c.status, kExitOk) << c.err;
  std::string expected =
      "agents,threshold,seed,steps_run,paused_at,final_attached,final_free,width,height,jump,"
      "share,density\n";
  for (auto [w, h] : {std::pair{11, 13}, {30, 20}})
    for (int jump : {2, 5})
      for (double density : {50.0, 75.0}) {
        TWorldConfig config;
        config.Columns = w;
        config.Rows = h;
        config.Jump = jump;
        config.Share = 30;
        // 50% of 143 cells is 71.5: halves go to the even 72.
        const std::int64_t agents = static_cast<std::int64_t>(
            std::nearbyint(density * w * h / 100));
        THeadlessWorld world(config);
        world.Setup(agents, 9);
        int step = 0, paused = 0;
        while (step < 5) {
          ++step;
          if (!world.MoveAgents()) {
            paused = step;
            break;
          }
          world.UpdateAttachment(60);
        }
        expected += std::to_string(agents) + ",60,9," + std::to_string(step) + "," +
                    (paused ? std::to_string(paused) : "") + "," +
                    std::to_string(world.AttachedCount()) + "," +
                    std::to_string(world.FreeCount()) + "," + std::to_string(w) + "," +
                    std::to_string(h) + "," + std::to_string(jump) + ",30," +
                    (density == 50 ? "50" : "75") + "\n";
      }
  EXPECT_EQ(c.out, expected);
  EXPECT_NE(c.out.find("\n72,60,9,"), std::string::npos);
}

TEST(BatchSweep, MeasuresAreThoseOfTheWorldAfterEachMovementPass) {
  const std::vector<std::string> sweep = {"--agents", "900", "--threshold", "60", "--seed", "5",
                                          "--steps",  "40",  "--measures"};
  const Captured c = RunCli(sweep);
  ASSERT_EQ(c.status, kExitOk) << c.err;
  TWorld world(40, 40);
  world.SetFixedSeed(5);
  world.CreateAgents(900);
  std::string expected =
      "agents,threshold,seed,step,attached,free,percent_similar,clusters,"
      "largest_cluster\n";
  std::string last;
  for (int step = 1; step <= 40; ++step) {
    const bool moved = world.MoveAgents();
    const TSegregation m = MeasureSegregation(world);
    char measures[64];
    std::snprintf(measures, sizeof measures, "%.2f,%d,%d", *m.PercentSimilar(), m.Clusters,
                  m.LargestCluster);
    last = measures;
    expected += "900,60,5," + std::to_string(step) + "," + std::to_string(world.AttachedCount()) +
                "," + std::to_string(world.FreeCount()) + "," + last + "\n";
    if (!moved) break;
    world.UpdateAttachment(60);
  }
  EXPECT_EQ(c.out, expected);
  // With --summary: the measures of the run's last step.
  std::vector<std::string> summary = sweep;
  summary.push_back("--summary");
  const std::string row = RunCli(summary).out;
  EXPECT_EQ(row.substr(row.size() - last.size() - 1), last + "\n");
  // No occupied neighbour anywhere: no percent, but the clusters.
  const Captured empty = RunCli({"--agents", "0,1", "--summary", "--measures"});
  EXPECT_NE(empty.out.find("\n0,74,1,1,1,0,0,,0,0\n1,74,1,99,,0,1,,1,1\n"), std::string::npos)
      << empty.out;
}

TEST(BatchSweep, SummaryTellsWhereARunWhoseAgentsAllAttachPaused) {
  // With a negative threshold every agent on a marked cell attaches after the
  // first step, so the second movement pass finds no free agent.
  const Captured c = RunCli({"--agents", "20", "--threshold", "-1", "--summary", "--repeats", "2"});
  ASSERT_EQ(c.status, kExitOk) << c.err;
  EXPECT_EQ(c.out,
            "agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n"
            "20,-1,1,2,2,20,0\n"
            "20,-1,2,2,2,20,0\n");
  const Captured never =
      RunCli({"--agents", "20", "--threshold", "100", "--summary", "--steps", "5"});
  EXPECT_EQ(never.out.substr(never.out.find('\n') + 1), "20,100,1,5,,0,20\n");
  const Captured none = RunCli({"--agents", "0", "--summary"});
  EXPECT_EQ(none.out.substr(none.out.find('\n') + 1), "0,74,1,1,1,0,0\n");
}

TEST(BatchSweep, AFileIsReplacedOnlyWhenTheSweepCompletes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("counts.csv");
  {
    std::ofstream f(path.toStdString());
    f << "old rows\n";
  }
  const std::string target = path.toStdString();

  // Bad input: exit 2, one line naming the option, nothing written anywhere.
  Captured bad = RunCli({"--out", target, "--steps", "0"});
  EXPECT_EQ(bad.status, kExitUsage);
  EXPECT_EQ(bad.err, "travenel-batch: --steps: 0 is below 1\n");
  EXPECT_TRUE(bad.out.empty());
  EXPECT_EQ(Slurp(target), "old rows\n");

  // A run that fails half-way leaves the old file, and the runs done for
  // --resume, which then ends with the bytes of an unbroken sweep.
  const std::vector<std::string> sweep = {"--out", target, "--repeats", "4", "--jobs", "1"};
  int calls = 0;
  Captured failed = RunCli(sweep, [&](const TRunSpec& s, int steps, const std::atomic<bool>& c) {
    if (++calls == 3) throw std::runtime_error("disk on fire");
    return RunSetup(s, steps, c);
  });
  EXPECT_EQ(failed.status, kExitFailed);
  EXPECT_EQ(failed.err, "travenel-batch: disk on fire; " + target +
                            " unchanged; the 2 runs done are kept in '" + target +
                            ".partial': run the same command with --resume to continue\n");
  EXPECT_EQ(Slurp(target), "old rows\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
  EXPECT_EQ(RunCli(sweep).status, kExitUsage) << "not started over unasked";
  std::vector<std::string> resume = sweep;
  resume.push_back("--resume");
  const Captured resumed = RunCli(resume);
  EXPECT_EQ(resumed.status, kExitOk) << resumed.err;
  EXPECT_EQ(Slurp(target), RunCli({"--repeats", "4"}).out);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
  std::ofstream(target) << "old rows\n";

  // A cancelled sweep (as after Ctrl-C) too; with no run done nothing is kept.
  std::atomic<bool> cancel{true};
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunBatch({"--out", target}, stdout, err, RunSetup, cancel, 1, false), kExitInterrupted);
  EXPECT_EQ(Slurp(err), "travenel-batch: interrupted: " + target + " unchanged\n");
  EXPECT_EQ(Slurp(target), "old rows\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

  // A complete sweep replaces it.
  Captured good = RunCli({"--out", target, "--steps", "2", "--agents", "3"});
  EXPECT_EQ(good.status, kExitOk) << good.err;
  EXPECT_TRUE(good.out.empty());
  EXPECT_EQ(Slurp(target).rfind("agents,threshold,seed,step,attached,free\n3,74,1,1,0,3\n", 0), 0u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

  Captured unwritable = RunCli({"--out", "/nonexistent-dir/x.csv"});
  EXPECT_EQ(unwritable.status, kExitUsage);
  EXPECT_NE(unwritable.err.find("--out"), std::string::npos);
}

}  // namespace

}  // namespace travenel
