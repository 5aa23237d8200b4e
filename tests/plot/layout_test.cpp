// The picture's texts and where things go: value lists, the grid of panels,
// the legend's place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "travenel/plot/Format.h"
#include "travenel/plot/Page.h"
#include "travenel/plot/Picture.h"
#include "travenel/plot/PlotChart.h"

namespace travenel {

namespace {

TEST(Format, NumbersAndValueLists) {
  EXPECT_EQ(NumberText(74), "74");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(0.25), "0.25");
  EXPECT_EQ(NumberText(1e20), "1e+20");
  EXPECT_EQ(ValuesText({500, 1000}), "500, 1000");
  EXPECT_EQ(ValuesText({0, 5, 10, 15, 20, 25}), "0 to 25 by 5");
  EXPECT_EQ(ValuesText({0.1, 0.2, 0.3, 0.4, 0.5, 0.6}), "0.1 to 0.6 by 0.1");
  EXPECT_EQ(ValuesText({1, 2, 3, 5, 8, 13}), "1 to 13, 6 values");
}

TEST(Format, NumbersAsPrintfWritesThemInTheCLocale) {
  std::mt19937 rng(2);
  std::vector<double> values = {0.1, -2.5, 1e-5, 123456.7, 1234567.8, 0.000123456, 1e300, -7e-300};
  for (int i = 0; i < 5000; ++i)
    values.push_back(std::ldexp(double(rng() % 1000003) - 500000.0, int(rng() % 80) - 40));
  for (double v : values) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) continue;  // whole: digits only
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    ASSERT_EQ(NumberText(v), buf) << v;
  }
}

TEST(Page, LongTextsWrapAtTheirSeparatorsAndAreCutOnlyWhereOnePieceIsTooWide) {
  const TFont font = PlotFont(12);
  const std::string dot = " \xC2\xB7 ";
  const std::string caption = "agents 0 to 2000 by 100" + dot + "threshold 0 to 100 by 10" + dot +
                              "3 runs per setup (seeds 1 to 3)" + dot + "steps 1 to 99";
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = font;
  for (int width : {2000, 400, 200, 60}) {
    const std::vector<std::string> lines = TPage::Wrap(caption, dot, font, width);
    std::string joined;
    for (const std::string& l : lines) {
      EXPECT_LE(scratch.Canvas().TextWidth(l), width) << l;
      joined += (joined.empty() ? "" : dot) + l;
    }
    if (width >= 200) {
      EXPECT_EQ(joined, caption) << width;  // nothing lost
    }
    EXPECT_EQ(lines.size() == 1, width == 2000) << width;
    EXPECT_EQ(lines[0].find("...") != std::string::npos, width == 60) << width;
  }
}

TEST(ChooseGrid, PanelsAsLargeAsTheAreaAllows) {
  EXPECT_EQ(ChooseGrid(1, 900, 600), (TPoint{1, 1}));
  EXPECT_EQ(ChooseGrid(4, 900, 600), (TPoint{2, 2}));
  EXPECT_EQ(ChooseGrid(3, 1800, 300), (TPoint{3, 1}));
  EXPECT_EQ(ChooseGrid(3, 300, 900), (TPoint{1, 3}));
  EXPECT_EQ(ChooseGrid(5, 900, 600), (TPoint{3, 2}));
}

TEST(Legend, GoesWhereItCoversLeastOfTheData) {
  TChartSpec spec;
  spec.X = {0, 10, 2};
  spec.Y = {0, 10, 2};
  const std::vector<TLegendEntry> entries = {{"a curve", clBlack}, {"another", clBlack}};
  // A line along the top: the legend goes to the bottom, on the right.
  auto c = MakeChart(spec);
  const TRect box = AddLegend(*c, entries, {{{0, 9.5}, {10, 9.5}}});
  const TChartGeometry g = c->Geometry();
  EXPECT_GT(box.Top, (g.AreaTop() + g.AreaBottom()) / 2);
  EXPECT_GT(box.Left, (g.AreaLeft() + g.AreaRight()) / 2);
  EXPECT_LE(box.Bottom, g.AreaBottom());
  // Lines along the right and the bottom: top left.
  auto d = MakeChart(spec);
  const TRect other = AddLegend(*d, entries, {{{9.5, 0}, {9.5, 10}}, {{0, 0.5}, {10, 0.5}}});
  EXPECT_LT(other.Right, (g.AreaLeft() + g.AreaRight()) / 2);
  EXPECT_LT(other.Bottom, (g.AreaTop() + g.AreaBottom()) / 2);
  // It belongs inside only where some place covers nothing, and it fits.
  EXPECT_TRUE(LegendFitsClear(*d, entries, {{{9.5, 0}, {9.5, 10}}}));
  std::vector<TWorldLine> everywhere;
  for (double y = 0; y <= 10; y += 0.5) everywhere.push_back({{0, y}, {10, y}});
  EXPECT_FALSE(LegendFitsClear(*d, entries, everywhere));
  spec.Width = 200;
  spec.Height = 120;
  auto small = MakeChart(spec);
  EXPECT_FALSE(LegendFitsClear(*small, std::vector<TLegendEntry>(6, entries[0]), {}));
  // Its texts are the chart's text labels, at pixels.
  EXPECT_EQ(d->TextLabel(2).Caption(), "another");
  EXPECT_FALSE(d->TextLabel(2).AttachToData());
}

}  // namespace

}  // namespace travenel
