// The plan of a sweep worked out run by run, its blocks for shards, and a
// sweep that stops at once when asked, whatever its size.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "batch/Batch.h"
#include "batch/Run.h"

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
  std::string text;
  std::rewind(out);
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, out)) > 0;) text.append(buf, n);
  std::fclose(out);
  std::fclose(err);
  return text;
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
        return TRunResult{{{0, s.Agents}}, 0};
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
  EXPECT_TRUE(RunSetup({100000, 74, 1}, 99, stopped).Steps.empty());
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
    return TRunResult{{{0, s.Agents}}, 0};
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
