// The streaming aggregates against a plain computation over all the rows
// kept in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>

#include "travenel/plot/StepAggregate.h"
#include "travenel/plot/SummaryAggregate.h"
#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Reader.h"

namespace travenel {

namespace {

using TRow = std::vector<double>;

// Random runs of a per-step sweep: 3 x 2 setups, a few seeds each, every
// run pausing at a step of its own (at most 40), values at random.
std::vector<TRow> RandomStepRows(std::mt19937& rng) {
  std::vector<TRow> rows;
  for (double agents : {100, 250, 400})
    for (double threshold : {50, 80})
      for (double seed = 1; seed <= 1 + rng() % 5; ++seed) {
        const int steps = 1 + static_cast<int>(rng() % 40);
        for (int s = 1; s <= steps; ++s)
          rows.push_back(
              {agents, threshold, seed, double(s), double(rng() % 100), double(rng() % 1000) / 8});
      }
  return rows;
}

struct TPlain {
  double Mean, Min, Max;
};

// At each step of a setup, every run's value there, or its last one once it
// has ended; per setup and column.
std::map<std::pair<TSetupKey, int>, std::map<int, TPlain>> PlainSteps(const std::vector<TRow>& rows,
                                                                      std::vector<int> columns) {
  std::map<std::pair<TSetupKey, double>, std::vector<const TRow*>> runs;
  std::map<TSetupKey, int> last;
  for (const TRow& r : rows) {
    runs[{{r[0], r[1]}, r[2]}].push_back(&r);
    last[{r[0], r[1]}] = std::max(last[{r[0], r[1]}], int(r[3]));
  }
  std::map<std::pair<TSetupKey, int>, std::map<int, TPlain>> out;
  for (std::size_t c = 0; c < columns.size(); ++c)
    for (const auto& [key, lastStep] : last)
      for (int s = 1; s <= lastStep; ++s) {
        std::vector<double> v;
        for (const auto& [run, runRows] : runs)
          if (run.first == key)
            v.push_back(
                (*runRows[std::min<std::size_t>(s, runRows.size()) - 1])[std::size_t(columns[c])]);
        double sum = 0;
        for (double x : v) sum += x;
        out[{key, int(c)}][s] = {sum / v.size(), *std::min_element(v.begin(), v.end()),
                                 *std::max_element(v.begin(), v.end())};
      }
  return out;
}

TEST(StepAggregate, MeansAndSpreadsMatchAPlainComputation) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::vector<TRow> rows = RandomStepRows(rng);
    const auto plain = PlainSteps(rows, {col::kAttached, col::kFree});
    // The runner's order, sorted by step (as `sort` leaves it), and shuffled.
    if (round % 3 == 1)
      std::stable_sort(rows.begin(), rows.end(),
                       [](const TRow& x, const TRow& y) { return x[3] < y[3]; });
    if (round % 3 == 2) std::shuffle(rows.begin(), rows.end(), rng);
    TStepAggregate a({col::kAttached, col::kFree});
    for (std::size_t i = 0; i < rows.size(); ++i) a.Add(rows[i], i + 2);
    const std::vector<TStepSetup> setups = a.Finish();
    ASSERT_EQ(setups.size(), 6u);
    for (const TStepSetup& s : setups)
      for (int c = 0; c < 2; ++c) {
        const auto& expected = plain.at({s.Key, c});
        ASSERT_EQ(s.Curves[std::size_t(c)].size(), expected.size());
        for (const TStepPoint& p : s.Curves[std::size_t(c)]) {
          const TPlain& e = expected.at(int(p.Step));
          EXPECT_NEAR(p.Mean, e.Mean, 1e-9);
          EXPECT_EQ(p.Min, e.Min);
          EXPECT_EQ(p.Max, e.Max);
        }
      }
  }
}

TEST(StepAggregate, ARowGivenTwiceIsRefusedWithBothLines) {
  struct Case {
    std::vector<double> steps;  // of one run, on lines 2, 3, ...
    const char* message;
  };
  const Case cases[] = {
      // Two outputs of the same run joined: the first line is known.
      {{1, 2, 3, 1},
       "line 5: agents 10, threshold 50, seed 1, step 1 is given twice (line 2 and "
       "line 5)"},
      {{1, 2, 3, 2}, "(line 3 and line 5)"},
      // Out of order: the aggregate cannot say where the first one was.
      {{3, 1, 2, 1}, "step 1 is given twice (line ? and line 5)"},
      {{5, 5}, "(line 2 and line 3)"},
      {{1e9, 7, 1e9}, "step 1000000000 is given twice"},
  };
  for (const Case& c : cases) {
    TStepAggregate a({col::kAttached});
    a.Add({10, 50, 2, 1, 0, 0}, 1);  // another run with the same steps
    try {
      for (std::size_t i = 0; i < c.steps.size(); ++i) a.Add({10, 50, 1, c.steps[i], 0, 0}, i + 2);
      ADD_FAILURE() << c.message;
    } catch (const EDuplicateRow& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(StepAggregate, LongRunsAreGatheredInWiderBins) {
  // A run of 10,000 steps (value = step) and one that ends at step 100 with
  // value 1: bins of 8 steps, the short run counting on after it ended.
  TStepAggregate a({col::kAttached});
  for (int s = 1; s <= 100; ++s) a.Add({10, 50, 2, double(s), 1, 0}, 0);
  for (int s = 1; s <= 10000; ++s) a.Add({10, 50, 1, double(s), double(s), 0}, 0);
  const auto setups = a.Finish();
  const std::vector<TStepPoint>& c = setups[0].Curves[0];
  ASSERT_EQ(c.size(), 1251u);  // bins 0 .. 1250, the first holding steps 1 .. 7
  EXPECT_EQ(c[0].Step, 4);
  EXPECT_EQ(c[0].Mean, (28 + 7) / 14.0);
  // Bin 20 (steps 160 .. 167): the long run's steps and 8 times the value 1.
  EXPECT_EQ(c[20].Step, 163.5);
  EXPECT_EQ(c[20].Mean, (163.5 * 8 + 8) / 16);
  EXPECT_EQ(c[20].Min, 1);
  EXPECT_EQ(c[20].Max, 167);
  EXPECT_EQ(c.back().Step, 10000);
}

TEST(StepAggregate, MeasuresWithoutValueAreLeftOut) {
  TStepAggregate a({6});
  a.Add({10, 50, 1, 1, 0, 0, NAN}, 0);
  a.Add({10, 50, 1, 2, 0, 0, 4}, 0);
  a.Add({10, 50, 2, 1, 0, 0, 2}, 0);
  a.Add({10, 50, 2, 2, 0, 0, NAN}, 0);
  a.Add({10, 50, 2, 3, 0, 0, NAN}, 0);  // no value yet: the first run's 4 carries on alone
  const auto setups = a.Finish();
  const auto& c = setups[0].Curves[0];
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].Mean, 2);
  EXPECT_EQ(c[1].Mean, 4);
  EXPECT_EQ(c[2].Mean, 4);
}

TEST(SummaryAggregate, MeansOfPausedRunsAndTheNeverPausedApart) {
  std::mt19937 rng(3);
  std::map<TSetupKey, std::vector<double>> plain;
  TSummaryAggregate a(col::kPausedAt, true);
  for (int i = 0; i < 3000; ++i) {
    const TSetupKey key{double(100 * (1 + rng() % 3)), double(10 * (rng() % 4))};
    const double paused = rng() % 4 == 0 ? 0 : double(1 + rng() % 60);
    a.Add({key.Agents, key.Threshold, double(i), 99, paused, 0, 0}, 0);
    plain[key].push_back(paused);
  }
  EXPECT_FALSE(a.MarksDropped());
  // Curves by agent count against the threshold, and the other way round.
  for (const bool xAgents : {false, true}) {
    std::size_t setups = 0;
    double lastKey = -1, lastX = -1;
    for (const TSummaryCurve& curve : a.Finish(xAgents))
      for (const TSummaryPoint& p : curve.Points) {
        ++setups;
        EXPECT_TRUE(curve.Key > lastKey || (curve.Key == lastKey && p.X > lastX));
        lastKey = curve.Key;
        lastX = p.X;
        const std::vector<double>& v =
            plain.at(xAgents ? TSetupKey{p.X, curve.Key} : TSetupKey{curve.Key, p.X});
        std::set<double> distinct;
        double sum = 0;
        std::size_t never = 0;
        for (double x : v)
          if (x == 0)
            ++never;
          else
            sum += x, distinct.insert(x);
        EXPECT_EQ(p.Runs, v.size());
        EXPECT_EQ(p.Never, never);
        EXPECT_NEAR(p.Values.Mean(), sum / double(v.size() - never), 1e-9);
        EXPECT_EQ(p.Marks, std::vector<double>(distinct.begin(), distinct.end()));
      }
    EXPECT_EQ(setups, plain.size());
  }
  EXPECT_EQ(a.AgentCounts(), 3u);
  EXPECT_EQ(a.Thresholds(), 4u);
}

TEST(SummaryAggregate, DistinctValuesBeyondTheLimitGetNoMarkButCount) {
  TSummaryAggregate a(7, false);  // a measure: 0 is a value
  const std::size_t n = TSummaryAggregate::kMaxMarksPerSetup + 10;
  for (std::size_t i = 0; i < n; ++i) a.Add({10, 50, 1, 99, 0, 0, 0, double(i)}, 0);
  const auto curves = a.Finish();
  const TSummaryPoint& p = curves[0].Points[0];
  EXPECT_TRUE(a.MarksDropped());
  EXPECT_EQ(p.Marks.size(), TSummaryAggregate::kMaxMarksPerSetup);
  EXPECT_EQ(p.Values.N, n);
  EXPECT_EQ(p.Values.Max, double(n - 1));
}

}  // namespace

}  // namespace travenel
