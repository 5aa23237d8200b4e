// Pictures of tiny CSVs: where a mean, a band, a mark lies on the page
// follows from the chart's own mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plot_test_util.h"
#include "travenel/gfx/Color.h"
#include "travenel/plot/Plot.h"
#include "travenel/plot/StepPicture.h"
#include "travenel/plot/SummaryPicture.h"

namespace travenel {

namespace {

TPicture Draw(const std::string& csv, const TPlotOptions& options = {}) {
  auto f = TextFile(csv);
  std::string warnings;
  return ReadAndDraw(f.get(), "in", options, warnings);
}

// The colour on the page at a world point of chart i, moved by (dx, dy) pixels.
TColor At(TPicture& pic, std::size_t i, double x, double y, int dx = 0, int dy = 0) {
  const TPoint p = pic.Charts[i]->WorldToPixel(1, x, y);
  return PixelToRgb(
      pic.Page->Bitmap().Image().pixel(pic.Origins[i].X + p.X + dx, pic.Origins[i].Y + p.Y + dy));
}

// The lowest and the highest labelled tick of a chart's value axis.
std::pair<double, double> TickEnds(TRChart& c) {
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  for (const TScaleTick& t : c.ScaleObjectY(1).TickLayout().Ticks)
    if (t.Long) lo = std::min(lo, t.Value), hi = std::max(hi, t.Value);
  return {lo, hi};
}

// Two runs of five steps: attached 0 10 20 30 40 and 0 20 40 60 80 of 100.
std::string TwoRuns(int agents = 100, int threshold = 74) {
  std::string s;
  for (int seed = 1; seed <= 2; ++seed)
    for (int step = 1; step <= 5; ++step) {
      const int attached = (step - 1) * 10 * seed;
      s += std::to_string(agents) + "," + std::to_string(threshold) + "," + std::to_string(seed) +
           "," + std::to_string(step) + "," + std::to_string(attached * agents / 100) + "," +
           std::to_string((100 - attached) * agents / 100) + "\n";
    }
  return s;
}

TEST(StepPicture, MeansLieOnTheirPixelsOverTheirBands) {
  TPicture pic = Draw(kStepHeader + TwoRuns());
  ASSERT_EQ(pic.Charts.size(), 1u);
  // Step 3: attached 20 and 40 (mean 30), free 80 and 60 (mean 70).
  EXPECT_EQ(At(pic, 0, 3, 30), kAttachedColor);
  EXPECT_EQ(At(pic, 0, 3, 70), kFreeColor);
  const std::vector<TColor> colors = StepCurveColors({"attached", "free"});
  EXPECT_EQ(At(pic, 0, 3, 37), Lighter(colors[0], 0.8));  // inside 20 .. 40, off the line
  EXPECT_EQ(At(pic, 0, 3, 63), Lighter(colors[1], 0.8));
  EXPECT_EQ(At(pic, 0, 3.4, 47), clWhite);  // between the bands, off the grid
  // The axis from 0 to 100, with a margin that keeps both off the frame.
  EXPECT_EQ(TickEnds(*pic.Charts[0]), std::make_pair(0.0, 100.0));
  EXPECT_LT(pic.Charts[0]->Scale1Y().RangeLow(), 0);
  EXPECT_GT(pic.Charts[0]->Scale1Y().RangeHigh(), 100);
}

TEST(StepPicture, ASweepGridGetsPanelsAgentsDownThresholdsAcross) {
  TPicture pic = Draw(kStepHeader + TwoRuns(100, 60) + TwoRuns(100, 74) + TwoRuns(1000, 60) +
                      TwoRuns(1000, 74));
  ASSERT_EQ(pic.Charts.size(), 4u);
  EXPECT_GT(pic.Origins[1].X, pic.Origins[0].X);
  EXPECT_EQ(pic.Origins[1].Y, pic.Origins[0].Y);
  EXPECT_GT(pic.Origins[2].Y, pic.Origins[0].Y);
  // Each agent count its own value range.
  EXPECT_EQ(TickEnds(*pic.Charts[1]).second, 100);
  EXPECT_EQ(TickEnds(*pic.Charts[3]).second, 1000);
  EXPECT_EQ(At(pic, 3, 3, 300), kAttachedColor);
  EXPECT_EQ(At(pic, 3, 3, 700), kFreeColor);
}

// Runs of two worlds with the same agents, threshold and seed are two setups,
// not a row given twice: a panel each, in world order.
TEST(StepPicture, AWorldSweepGetsAPanelPerWorld) {
  const auto withWorld = [](std::string rows, const std::string& world) {
    std::string s;
    for (std::size_t at = 0, end; (end = rows.find('\n', at)) != std::string::npos; at = end + 1)
      s += rows.substr(at, end - at) + "," + world + "\n";
    return s;
  };
  TPicture pic = Draw("agents,threshold,seed,step,attached,free,width,height\n" +
                      withWorld(TwoRuns(100, 60), "64,64") + withWorld(TwoRuns(100, 60), "20,20"));
  ASSERT_EQ(pic.Charts.size(), 2u);
  EXPECT_EQ(At(pic, 0, 3, 30), kAttachedColor);
  EXPECT_EQ(At(pic, 1, 3, 70), kFreeColor);
}

TEST(StepPicture, AMeasureIsOneCurve) {
  TPlotOptions o;
  o.Y = "percent_similar";
  TPicture pic = Draw(
      "agents,threshold,seed,step,attached,free,percent_similar\n"
      "10,50,1,1,0,10,40\n10,50,1,2,0,10,60\n10,50,1,3,0,10,70\n10,50,1,4,0,10,72\n",
      o);
  EXPECT_EQ(At(pic, 0, 3, 70), StepCurveColors({"percent_similar"})[0]);
  // A measure's axis follows its values, not from 0.
  EXPECT_EQ(TickEnds(*pic.Charts[0]).first, 40);
}

TEST(SummaryPicture, MeansRunsAndRunsThatNeverPaused) {
  // Threshold 10: paused at 5 and 7; 20: at 8 and never; 30: never, twice.
  TPicture pic = Draw(kSummaryHeader +
                      "100,10,1,5,5,100,0\n100,10,2,7,7,100,0\n"
                      "100,20,1,8,8,100,0\n100,20,2,99,,90,10\n"
                      "100,30,1,99,,80,20\n100,30,2,99,0,85,15\n");
  const TColor color = CurveColor(0, 1);
  EXPECT_EQ(At(pic, 0, 10, 6), color);                 // a mean: a filled circle
  EXPECT_EQ(At(pic, 0, 10, 5), Lighter(color, 0.45));  // a single run
  EXPECT_EQ(At(pic, 0, 20, 8, 3, 0), color);           // an open circle's ring
  // The band above the values: no tick of the axis in it, a triangle at 20 and 30.
  const TScalePropsVert& y = pic.Charts[0]->Scale1Y();
  const double step = AxisStep(y.RangeLow(), y.RangeHigh(), 5);
  double top = 0;
  for (const TScaleTick& t : pic.Charts[0]->ScaleObjectY(1).TickLayout().Ticks)
    if (t.Long) top = std::max(top, t.Value);
  EXPECT_GE(top, 8);
  EXPECT_GT(y.RangeHigh() - top, 0.3 * step);
  EXPECT_LT(y.RangeHigh() - top, 0.5 * step);
  const double band = (top + y.RangeHigh()) / 2;
  EXPECT_EQ(At(pic, 0, 20, band), color);
  EXPECT_EQ(At(pic, 0, 30, band), color);
  EXPECT_NE(At(pic, 0, 10, band), color);
}

}  // namespace

namespace {

TEST(NiceSpan, EndsOnTicksOfTheStepTheScaleTakesForIt) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> mag(-3, 6);
  for (int i = 0; i < 2000; ++i) {
    const double a = std::pow(10, mag(rng)) * (rng() % 3 == 0 ? -1 : 1);
    const double b = a + std::pow(10, mag(rng));
    const int minTicks = 2 + static_cast<int>(rng() % 9);
    const TAxisSpan s = NiceSpan(a, b, minTicks);
    ASSERT_LE(s.Low, a);
    ASSERT_GE(s.High, b);
    ASSERT_EQ(AxisStep(s.Low, s.High, minTicks), s.Step) << a << " " << b;
    ASSERT_NEAR(s.Low / s.Step, std::round(s.Low / s.Step), 1e-6);
    ASSERT_NEAR(s.High / s.Step, std::round(s.High / s.Step), 1e-6);
  }
  // One value: from 0 up, or around it.
  EXPECT_EQ(NiceSpan(0, 0, 5).High, 1);
  const TAxisSpan one = NiceSpan(74, 74, 5);
  EXPECT_LT(one.Low, 74);
  EXPECT_GT(one.High, 74);
}

}  // namespace

namespace {

TEST(SummaryPicture, NoTickFallsIntoTheNeverPausedBand) {
  std::mt19937 rng(5);
  for (int i = 0; i < 40; ++i) {
    const double scale = std::pow(10, rng() % 6);
    double most = 0;
    std::string csv = kSummaryHeader + "10,1,1,99,,10,0\n";
    for (int t = 1; t <= 3; ++t) {
      const double paused = 1 + std::floor(scale * (rng() % 1000) / 100);
      most = std::max(most, paused);
      csv += "10," + std::to_string(t) + ",2,99," + std::to_string(paused) + ",10,0\n";
    }
    TPicture pic = Draw(csv);
    const TScalePropsVert& y = pic.Charts[0]->Scale1Y();
    double top = -1;
    for (const TScaleTick& t : pic.Charts[0]->ScaleObjectY(1).TickLayout().Ticks)
      if (t.Long) top = std::max(top, t.Value);
    const double step = AxisStep(y.RangeLow(), y.RangeHigh(), 5);
    EXPECT_GE(top, most) << csv;
    EXPECT_LT(y.RangeHigh() - top, 0.5 * step) << csv;
  }
}

// Any sweep shape at any accepted size: every panel whole on the page, none
// over another, grid rows of one agent count, panels left out only with a
// note, and the grouping the options ask for.
TEST(StepPicture, AnySweepShapeFitsAnySize) {
  struct Case {
    int agents, thresholds;
    int width, height;  // 0: as the picture needs
    const char* by;
    int panels;  // expected; -1: fewer than one per setup, as many as fit
  };
  const Case cases[] = {
      {2, 2, 0, 0, "", 4},          {9, 2, 0, 0, "", 9},          {3, 9, 0, 0, "", 3},
      {21, 11, 0, 0, "", 21},       {21, 11, 1920, 1080, "", 21}, {21, 11, 900, 600, "", 11},
      {21, 11, 400, 300, "", -1},   {2, 2, 400, 300, "", -1},     {1, 1, 400, 300, "", 1},
      {3, 5, 0, 0, "threshold", 5}, {1, 7, 0, 0, "", 7},          {30, 3, 0, 0, "agents", 30},
      {21, 11, 240, 240, "", 1},    {2, 2, 300, 240, "", 1},      {1, 1, 240, 240, "", 1},
      {21, 11, 5000, 240, "", 21},
  };
  for (const Case& c : cases) {
    std::vector<TStepSetup> setups;
    for (int a = 0; a < c.agents; ++a)
      for (int t = 0; t < c.thresholds; ++t) {
        TStepSetup s{{100.0 * (a + 1), 10.0 * t}, 2, {{}, {}}};
        for (int step = 1; step <= 20; ++step) {
          s.Curves[0].push_back({double(step), 5.0 * a, 0, 10.0 * a});
          s.Curves[1].push_back({double(step), 2.0 * a, 0, 4.0 * a});
        }
        setups.push_back(std::move(s));
      }
    TStepPlotSpec spec;
    spec.Width = c.width;
    spec.Height = c.height;
    spec.Title = "title";
    spec.By = c.by;
    spec.Columns = {"attached", "free"};
    const std::string name = std::to_string(c.agents) + "x" + std::to_string(c.thresholds) +
                             " at " + std::to_string(c.width) + "x" + std::to_string(c.height);
    TPicture pic;
    ASSERT_NO_THROW(pic = StepPicture(setups, spec)) << name;
    const int n = static_cast<int>(pic.Charts.size());
    if (c.panels >= 0)
      EXPECT_EQ(n, c.panels) << name;
    else
      EXPECT_LT(n, c.agents * c.thresholds) << name;
    if (c.width) {
      EXPECT_EQ(pic.Page->Bitmap().Width(), c.width);
      EXPECT_EQ(pic.Page->Bitmap().Height(), c.height);
    }
    std::vector<TRect> boxes;
    for (int i = 0; i < n; ++i) {
      const TBitmap& b = ChartPicture(*pic.Charts[std::size_t(i)]);
      const TRect r = Bounds(pic.Origins[std::size_t(i)].X, pic.Origins[std::size_t(i)].Y,
                             b.Width(), b.Height());
      EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= pic.Page->Bitmap().Width() &&
                  r.Bottom <= pic.Page->Bitmap().Height())
          << name << " panel " << i;
      for (const TRect& o : boxes)
        EXPECT_TRUE(r.Left >= o.Right || o.Left >= r.Right || r.Top >= o.Bottom ||
                    o.Top >= r.Bottom)
            << name << " panel " << i;
      boxes.push_back(r);
    }
    // One panel per setup: a grid row holds one agent count (setups come by
    // agent count, then threshold).
    if (n == c.agents * c.thresholds && c.agents > 1)
      for (int i = 1; i < n; ++i)
        if (pic.Origins[std::size_t(i)].Y == pic.Origins[std::size_t(i - 1)].Y) {
          EXPECT_EQ(setups[std::size_t(i)].Key.Agents, setups[std::size_t(i - 1)].Key.Agents)
              << name << " panel " << i;
        }
  }
}

// However small the page, the chart keeps its room on it.
TEST(SummaryPicture, TheChartKeepsItsRoomOnSmallPages) {
  std::string rows = kSummaryHeader;
  for (int t = 0; t <= 100; t += 5)
    for (int a : {500, 1000, 1500})
      rows += std::to_string(a) + "," + std::to_string(t) + ",1,99," +
              (t > 60 ? "" : std::to_string(t / 2 + 3)) + ",1,2\n";
  for (const auto& [w, h] : {std::pair{240, 240}, {400, 300}, {640, 480}}) {
    TPlotOptions o;
    o.Width = w;
    o.Height = h;
    TPicture pic = Draw(rows, o);
    const TBitmap& chart = ChartPicture(*pic.Charts[0]);
    EXPECT_GE(chart.Height(), 140) << w << "x" << h;
    EXPECT_LE(pic.Origins[0].Y + chart.Height(), h) << w << "x" << h;
  }
}

// The parameter that varies goes across; both varying: the threshold.
TEST(SummaryPicture, TheParameterThatVariesGoesAcross) {
  struct Case {
    std::string rows;
    const char* x;
    const char* axis;
  };
  const std::string h = kSummaryHeader;
  const Case cases[] = {
      {h + "100,60,1,9,5,1,2\n200,60,1,9,6,1,2\n300,60,1,9,7,1,2\n", "", "agents"},
      {h + "100,50,1,9,5,1,2\n100,60,1,9,6,1,2\n", "", "threshold"},
      {h + "100,50,1,9,5,1,2\n200,60,1,9,6,1,2\n", "", "threshold"},
      {h + "100,50,1,9,5,1,2\n200,60,1,9,6,1,2\n", "agents", "agents"},
  };
  for (const Case& c : cases) {
    TPlotOptions o;
    o.X = c.x;
    TPicture pic = Draw(c.rows, o);
    ASSERT_EQ(pic.Charts.size(), 1u);
    EXPECT_EQ(pic.Charts[0]->Scale1X().Caption(), c.axis) << c.rows;
  }
  // Across the world's cells, one curve per threshold; the agent counts
  // follow the density and split no curve.
  const std::string worlds =
      "agents,threshold,seed,steps_run,paused_at,final_attached,final_free,width,height,"
      "density\n"
      "41,50,1,9,5,1,2,64,64,1\n41,50,2,9,7,1,2,64,64,1\n164,50,1,9,20,1,2,128,128,1\n"
      "41,70,1,9,30,1,2,64,64,1\n164,70,1,9,40,1,2,128,128,1\n";
  TPlotOptions across;
  across.X = "world";
  TPicture w = Draw(worlds, across);
  ASSERT_EQ(w.Charts.size(), 1u);
  EXPECT_EQ(w.Charts[0]->Scale1X().Caption(), "cells");
  EXPECT_EQ(At(w, 0, 4096, 6), CurveColor(0, 2));
  EXPECT_EQ(At(w, 0, 16384, 40), CurveColor(1, 2));
  across.X = "jump";
  EXPECT_THROW(Draw(worlds, across), EPlotUsage);

  // Across the agent counts, the mean of each lies on its curve.
  TPlotOptions o;
  o.X = "agents";
  TPicture pic = Draw(h + "100,60,1,9,20,1,2\n100,60,2,9,40,1,2\n200,60,1,9,50,1,2\n", o);
  EXPECT_EQ(At(pic, 0, 100, 30), CurveColor(0, 1));
}

}  // namespace

}  // namespace travenel
