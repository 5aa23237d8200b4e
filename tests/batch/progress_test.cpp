// The progress line: numbers and durations as people read them, the time
// left weighed by cost, and where the line goes.
#include "travenel/batch/Progress.h"
#include "slurp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace travenel {

namespace {

TEST(BatchProgress, TextForPeople) {
  EXPECT_EQ(Grouped(0), "0");
  EXPECT_EQ(Grouped(999), "999");
  EXPECT_EQ(Grouped(4956), "4,956");
  EXPECT_EQ(Grouped(18446744073709551615u), "18,446,744,073,709,551,615");
  EXPECT_EQ(Duration(-1), "0 s");
  EXPECT_EQ(Duration(59.4), "59 s");
  EXPECT_EQ(Duration(59.6), "1 min 00 s");
  EXPECT_EQ(Duration(3599), "59 min 59 s");
  EXPECT_EQ(Duration(3600 * 50 + 7 * 60 + 30), "50 h 07 min");
  EXPECT_EQ(ProgressText(1234, 10000, 412.4, 3, 21),
            "1,234/10,000 runs, 412 runs/s, 3 s elapsed, about 21 s left");
  EXPECT_EQ(ProgressText(3, 10, 0.25, 12, -1),
            "3/10 runs, 0.2 runs/s, 12 s elapsed, time left unknown");
  EXPECT_EQ(ProgressText(10, 10, 5, 2, 0), "10/10 runs, 5.0 runs/s, 2 s elapsed");
}

TEST(BatchProgress, ALogEndsWithTheLastStateQuietAndShortSweepsSayNothing) {
  std::FILE* err = std::tmpfile();
  {
    TProgress p(err, TProgress::TStyle::Log, 0, 10, 0, 100);
    for (int i = 0; i < 5; ++i) p.RunDone(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const std::string line = Slurp(err);
  EXPECT_EQ(line.rfind("travenel-batch: 5/10 runs, ", 0), 0u) << line;
  EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);

  std::FILE* quiet = std::tmpfile();
  {
    TProgress p(quiet, TProgress::TStyle::Off, 0, 10, 0, 10);
    p.RunDone(1);
  }
  std::FILE* terminal = std::tmpfile();
  {
    TProgress p(terminal, TProgress::TStyle::Terminal, 0, 10, 0, 10);
    p.RunDone(1);  // before a second has passed: a short sweep says nothing
  }
  EXPECT_EQ(Slurp(quiet), "");
  EXPECT_EQ(Slurp(terminal), "");
}

TEST(BatchProgress, TimeLeftGoesAtEachThresholdsMeasuredPace) {
  // Setups of 4 runs, the thresholds (groups 0 and 1) taking turns; every
  // run is estimated at 1, but group 1's really take 3 s and group 0's 1 s.
  // Until group 1 is seen the sweep's pace so far stands in for it.
  struct TCase {
    int setupsDone, runsIntoNext;
    double want;
  };
  for (const TCase c : {TCase{1, 0, (16 - 4) * (4.0 / 4) + 16 * (4.0 / 4)},
                        TCase{1, 2, 12 * 1.0 + 14 * 3.0}, TCase{2, 0, 12 * 1.0 + 12 * 3.0},
                        TCase{5, 3, 4 * 1.0 + 5 * 3.0}, TCase{7, 0, 0 + 4 * 3.0}}) {
    TTimeLeft left({16, 16});
    double now = 0;
    for (int i = 0; i < c.setupsDone * 4 + c.runsIntoNext; ++i) {
      const std::size_t group = static_cast<std::size_t>(i / 4 % 2);
      now += group == 0 ? 1 : 3;
      left.Add(1, group);
      if (i % 4 == 3) left.EndSetup(now);
    }
    EXPECT_NEAR(left.Left(now), c.want, 1e-9) << c.setupsDone << " setups, " << c.runsIntoNext;
  }
  EXPECT_LT(TTimeLeft({5}).Left(1), 0) << "nothing done: unknown";
}

}  // namespace

}  // namespace travenel
