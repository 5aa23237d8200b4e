// The plan of a sweep worked out run by run, its blocks for shards, and a
// sweep that stops at once when asked, whatever its size.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "travenel/batch/Batch.h"
#include "travenel/batch/Cost.h"
#include "travenel/batch/Run.h"
#include "slurp.h"

namespace travenel {

namespace {

std::string Output(std::vector<std::string> args, const TRunner& runner = RunSetup,
                   int* status = nullptr) {
  std::atomic<bool> cancel{false};
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int s = RunBatch(args, out, err, runner, cancel, 2, false);
  if (status)
    *status = s;
  else
    EXPECT_EQ(s, kExitOk);
  std::fclose(err);
  return Slurp(out);
}

TEST(BatchPlan, ShardBlocksCoverEveryRunOnceInOrder) {
  const std::uint64_t kMax = ~std::uint64_t{0};
  for (const std::uint64_t count :
       {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{12}, std::uint64_t{10000000000}, kMax})
    for (const std::uint32_t blocks : {1u, 2u, 5u, 12u, 13u, 1000u, 4294967295u}) {
      // Every block; of four billion blocks the ends and the middle.
      std::vector<std::uint32_t> ks;
      if (blocks <= 1000)
        for (std::uint32_t k = 1; k <= blocks; ++k) ks.push_back(k);
      else
        ks = {1, 2, blocks / 2, blocks / 2 + 1, blocks - 1, blocks};
      const std::uint64_t even = count / blocks;
      for (const std::uint32_t k : ks) {
        const TRunBlock b = ShardBlock(count, k, blocks);
        ASSERT_LE(b.First, b.Last);
        EXPECT_TRUE(b.Last - b.First == even || b.Last - b.First == even + 1)
            << count << " runs, block " << k << " of " << blocks;
        if (k > 1) {
          EXPECT_EQ(b.First, ShardBlock(count, k - 1, blocks).Last);
        }
      }
      EXPECT_EQ(ShardBlock(count, 1, blocks).First, 0u);
      EXPECT_EQ(ShardBlock(count, blocks, blocks).Last, count);
    }
}

struct ShardCase {
  const char* name;
  std::vector<std::string> sweep;
};

class ShardedSweeps : public ::testing::TestWithParam<ShardCase> {};

// Shard outputs concatenated in order are the whole sweep, byte for byte,
// also when there are more shards than runs (some shards get none).
TEST_P(ShardedSweeps, ConcatenateToTheWholeSweep) {
  const std::string whole = Output(GetParam().sweep);
  for (const int n : {1, 2, 5, 12, 13, 40}) {
    std::string joined;
    for (int k = 1; k <= n; ++k) {
      std::vector<std::string> args = GetParam().sweep;
      args.insert(args.end(), {"--shard", std::to_string(k) + "/" + std::to_string(n), "--jobs",
                               k % 2 ? "1" : "2"});
      if (n % 2) args.push_back("--balanced");  // cut by cost
      joined += Output(args);
    }
    EXPECT_EQ(joined, whole) << n << " shards";
  }
}

INSTANTIATE_TEST_SUITE_P(BatchPlan, ShardedSweeps,
                         ::testing::Values(ShardCase{"PerStep",
                                                     {"--agents", "20,300", "--threshold",
                                                      "50,80,-1", "--repeats", "2", "--steps",
                                                      "8"}},
                                           ShardCase{"Summary",
                                                     {"--agents", "20,300", "--threshold",
                                                      "50,80,-1", "--repeats", "2", "--summary"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BatchPlan, ASweepOfTenBillionRunsStartsAtOnceAndStopsWhenAsked) {
  // 100,000 agent counts x 100,000 thresholds: a plan made up front would
  // need well over 100 GB. The runner asks to stop after three runs.
  std::atomic<bool> cancel{false};
  int calls = 0;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = RunBatch(
      {"--agents", "0:99999:1", "--threshold", "0:99999:1", "--summary", "--jobs", "1"}, out, err,
      [&](const TRunSpec& s, int, const std::atomic<bool>&) {
        if (++calls == 3) cancel = true;
        return TRunResult{{{0, s.Agents}}, 0, {}};
      },
      cancel, 1, false);
  EXPECT_EQ(status, kExitInterrupted);
  std::fclose(out);
  std::fclose(err);
  EXPECT_EQ(calls, 3);
}

TEST(BatchPlan, ACancelEndsTheRunsInProgressAndWritesNothingOfThem) {
  // Runs of 100,000 agents take seconds: the sweep must not wait for them.
  std::atomic<bool> cancel{false};
  std::FILE* out = std::tmpfile();
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    cancel = true;
  });
  TBatchOptions o;
  o.Agents = {100000};
  o.Repeats = 4;
  o.Jobs = 2;
  const bool complete = RunSweep(o, out, RunSetup, cancel);
  stopper.join();
  EXPECT_FALSE(complete);
  EXPECT_EQ(std::ftell(out), long{sizeof "agents,threshold,seed,step,attached,free\n" - 1})
      << "the header only";
  std::fclose(out);

  std::atomic<bool> stopped{true};
  TRunSpec crowded;
  crowded.Agents = 100000;
  crowded.Threshold = 74;
  crowded.Seed = 1;
  EXPECT_TRUE(RunSetup(crowded, 99, stopped).Steps.empty());
}

TEST(BatchPlan, WorkersStayAFewRunsAheadOfASlowRun) {
  // The first run blocks; without a bound the other worker would finish all
  // 10,000 runs behind it and keep their rows waiting in memory.
  std::atomic<int> started{0};
  const TRunner runner = [&](const TRunSpec& s, int, const std::atomic<bool>&) {
    ++started;
    if (s.Agents == 0)
      for (int i = 0; i < 300 && started < 1000; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return TRunResult{{{0, s.Agents}}, 0, {}};
  };
  int status = -1;
  Output(
      {"--agents", "0:9999:1", "--summary", "--jobs", "2"},
      [&](const TRunSpec& s, int steps, const std::atomic<bool>& c) {
        const TRunResult r = runner(s, steps, c);
        if (s.Agents == 0) {
          EXPECT_LT(started, 100) << "runs started while the first was busy";
        }
        return r;
      },
      &status);
  EXPECT_EQ(status, kExitOk);
  EXPECT_EQ(started, 10000);
}

}  // namespace

namespace {

TEST(BatchCost, EstimatesArePositiveAndGrowWithWhatCosts) {
  // More agents cost more where runs never pause: thresholds of 75 or more,
  // or more agents than cells. (Few agents settle slowly, so not below.)
  for (const int t : {-1, 0, 40, 60, 70, 74, 75, 100, 1000})
    for (int a = t >= 75 ? 0 : 1600, before = 0; a <= 3000; a += 50) {
      const auto c = EstimatedRunCost(a, t, 99);
      EXPECT_GE(c, 1u);
      EXPECT_GE(c, static_cast<std::uint64_t>(before)) << a << " agents, threshold " << t;
      before = static_cast<int>(c);
      EXPECT_LE(c, EstimatedRunCost(a, t, 500));
    }
  // A run that never settles costs more than one that does; extremes stay finite.
  EXPECT_GT(EstimatedRunCost(1000, 100, 99), 3 * EstimatedRunCost(1000, 40, 99));
  EXPECT_LT(EstimatedRunCost(100000, 2147483647, 2147483647), std::uint64_t{1} << 50);
  EXPECT_GE(EstimatedRunCost(-5, -2147483647 - 1, 1), 1u);
}

// On a world of any size a run costs per agent about what it costs on the
// window's world at the same density: the estimate follows agents and steps,
// not the cells, and the window's own world estimates as the window's.
TEST(BatchCost, WorldsOfAnySizeCostByTheirAgents) {
  const auto cost = [](int side, int agents, int threshold, int steps) {
    TRunSpec s;
    s.Headless = true;
    s.World.Columns = s.World.Rows = side;
    s.Agents = agents;
    s.Threshold = threshold;
    return EstimatedRunCost(s, steps);
  };
  for (const int t : {30, 60, 80})
    EXPECT_NEAR(static_cast<double>(cost(40, 1000, t, 99)),
                static_cast<double>(EstimatedRunCost(1000, t, 99)), 2.0);
  // Never settling (threshold 80): the same density costs per agent alike.
  const double small = static_cast<double>(cost(64, 64 * 64 * 7 / 10, 80, 99)) / (64 * 64);
  const double large = static_cast<double>(cost(1024, 1024 * 1024 * 7 / 10, 80, 99)) / (1024 * 1024);
  EXPECT_NEAR(large / small, 1.0, 0.05);
  for (int agents = 0, before = 0; agents <= 2 * 512 * 512; agents += 512 * 512 / 8) {
    const auto c = cost(512, agents, 80, 99);
    EXPECT_GE(c, static_cast<std::uint64_t>(before)) << agents;
    EXPECT_LE(c, cost(512, agents, 80, 500));
    before = static_cast<int>(c);
  }
  EXPECT_LT(cost(16384, 134217728, 80, 2147483647), std::uint64_t{1} << 50);
  EXPECT_GE(cost(11, 0, 0, 1), 1u);
}

TEST(BatchCost, BalancedBlocksAreContiguousAndNearAnEqualShare) {
  TBatchOptions o;
  o.Agents = ParseValueList("--agents", "100:2000:100");
  o.Thresholds = ParseValueList("--threshold", "0:100:5");
  o.Repeats = 4;
  const auto total = static_cast<double>(EstimatedCost(o, {0, RunCount(o)}));
  const double biggest = static_cast<double>(EstimatedRunCost(2000, 80, 99));
  for (const std::uint32_t n : {1u, 2u, 16u, 1000u, 5000u}) {
    std::uint64_t first = 0;
    for (std::uint32_t k = 1; k <= n; ++k) {
      const TRunBlock b = BalancedBlock(o, k, n);
      ASSERT_EQ(b.First, first) << k << " of " << n;
      ASSERT_LE(b.First, b.Last);
      first = b.Last;
      // Each boundary is the nearest to its share, so a block is off by at
      // most a run at either end.
      EXPECT_NEAR(static_cast<double>(EstimatedCost(o, b)), total / n, biggest) << k << "/" << n;
    }
    EXPECT_EQ(first, RunCount(o));
  }
}

TEST(BatchCost, ThePlanListsTheBlocksThatRun) {
  for (const bool balanced : {false, true}) {
    std::vector<std::string> args = {"--agents", "100:1900:600", "--threshold",
                                     "0:100:50", "--repeats",    "3",
                                     "--shard",  "1/7",          "--plan"};
    if (balanced) args.push_back("--balanced");
    std::istringstream plan(Output(args));
    std::string line;
    std::getline(plan, line);
    EXPECT_EQ(line, "block,first_run,last_run,runs,estimated_seconds,share");
    TBatchOptions o = ParseOptions(args, 1);
    for (std::uint32_t k = 1; k <= 7; ++k) {
      o.ShardIndex = k;
      const TRunBlock b = BlockOf(o);
      ASSERT_TRUE(std::getline(plan, line));
      EXPECT_EQ(
          line.rfind(std::to_string(k) + "/7," + std::to_string(b.First + 1) + "," +
                         std::to_string(b.Last) + "," + std::to_string(b.Last - b.First) + ",",
                     0),
          0u)
          << line;
    }
  }
}

}  // namespace

}  // namespace travenel
