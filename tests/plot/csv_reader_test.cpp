// Reading the runner's CSV: what is taken, and every refusal with the line
// and column it names.
#include <gtest/gtest.h>

#include <cmath>

#include "travenel/plot/CsvReader.h"
#include "plot_test_util.h"

namespace travenel {

namespace {

// Reads the whole text; returns the rows, or throws what the reader throws.
std::vector<std::vector<double>> ReadAll(const std::string& text, TCsvLayout* layout = nullptr) {
  auto f = TextFile(text);
  TCsvReader r(f.get(), "in");
  const TCsvLayout& l = r.ReadHeader();
  if (layout) *layout = l;
  std::vector<std::vector<double>> rows;
  std::vector<double> row;
  while (r.Next(row)) rows.push_back(row);
  return rows;
}

struct BadCase {
  const char* name;
  std::string text;
  const char* message;  // a part of the message
};

class Refusals : public ::testing::TestWithParam<BadCase> {};

TEST_P(Refusals, NameLineAndColumn) {
  try {
    ReadAll(GetParam().text);
    FAIL() << "accepted";
  } catch (const EBadInput& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
}

const std::string kRow = "500,74,1,1,0,500\n";

INSTANTIATE_TEST_SUITE_P(
    CsvReader, Refusals,
    ::testing::Values(
        BadCase{"Empty", "", "in is empty: no header"},
        BadCase{"OnlyBlankLines", "\n  \n\r\n", "in is empty"},
        BadCase{"NoHeader", kRow, "line 1: no header: a header starts 'agents,threshold"},
        BadCase{"WrongBaseColumn", "agents,threshold,seed,stp,attached,free\n",
                "line 1, column 4: unknown column 'stp'"},
        BadCase{"ShortHeader", "agents,threshold,seed,step,attached\n",
                "line 1, column 6: missing"},
        BadCase{"UnknownMeasure", "agents,threshold,seed,step,attached,free,colour\n",
                "line 1, column 7: unknown column 'colour'"},
        BadCase{"MeasureOfARunWithoutItsPrefix",
                "agents,threshold,seed,steps_run,paused_at,final_attached,final_free,clusters\n",
                "line 1, column 8: unknown column 'clusters' (after the base columns come the "
                "measures final_percent_similar, final_clusters, final_largest_cluster)"},
        BadCase{"MeasureTwice",
                "agents,threshold,seed,step,attached,free,clusters,percent_similar,clusters\n",
                "line 1, column 9: column 'clusters' appears twice"},
        BadCase{"HeaderAfterBlankLines", "\n\nagents,x\n", "line 3, column 2: unknown column"},
        BadCase{"TooFewFields", kStepHeader + kRow + "500,74,1,2\n",
                "line 3, column 5 (attached): missing: the row has 4 fields, the header 6"},
        BadCase{"TooManyFields", kStepHeader + "500,74,1,1,0,500,7,8\n",
                "line 2: 8 fields where the header has 6"},
        BadCase{"TrailingComma", kStepHeader + "500,74,1,1,0,500,\n", "line 2: 7 fields"},
        BadCase{"Text", kStepHeader + "500,74,one,1,0,500\n",
                "line 2, column 3 (seed): 'one' is not a number"},
        BadCase{"EmptyCount", kStepHeader + "500,74,1,1,,500\n",
                "line 2, column 5 (attached): '' is not a number"},
        BadCase{"Infinity", kStepHeader + "500,inf,1,1,0,500\n", "column 2 (threshold)"},
        BadCase{"HalfStep", kStepHeader + "500,74,1,1.5,0,500\n",
                "column 4 (step): '1.5' is not a whole number of 0 or more"},
        BadCase{"NegativeStep", kStepHeader + "500,74,1,-1,0,500\n", "column 4 (step)"},
        BadCase{"RepeatedHeader", kStepHeader + kRow + kStepHeader,
                "line 3, column 1 (agents): 'agents' is not a number"},
        BadCase{"BadMeasure",
                "agents,threshold,seed,step,attached,free,clusters\n" +
                    std::string("500,74,1,1,0,500,many\n"),
                "line 2, column 7 (clusters): 'many' is not a number (nor empty)"},
        BadCase{"BadPausedAt", kSummaryHeader + "500,74,1,99,soon,500,0\n",
                "line 2, column 5 (paused_at): 'soon' is not a step (nor empty"},
        BadCase{"EndlessLine", kStepHeader + std::string(TCsvReader::kMaxLine + 10, '1'),
                "line 2: longer than"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReader, TakesWhatEditorsAndOtherToolsWrite) {
  // A byte-order mark, CRLF ends, blanks around fields, blank lines, no
  // final line end, a number written with a fraction or an exponent.
  TCsvLayout layout;
  const auto rows = ReadAll(
      "\xEF\xBB\xBF"
      "agents, threshold ,seed,step,attached,free\r\n"
      "500,74,1,1, 0 ,500\r\n\r\n"
      "500,74.5,1,2,1e2,4e2",
      &layout);
  EXPECT_EQ(layout.Kind, TCsvKind::PerStep);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<double>{500, 74, 1, 1, 0, 500}));
  EXPECT_EQ(rows[1], (std::vector<double>{500, 74.5, 1, 2, 100, 400}));
}

TEST(CsvReader, MeasuresInAnyOrderMayHaveNoValue) {
  TCsvLayout layout;
  const auto rows = ReadAll(
      "agents,threshold,seed,steps_run,paused_at,final_attached,final_free,final_largest_cluster,"
      "final_percent_similar\n"
      "500,74,1,99,,480,20,,nan\n"
      "500,74,2,40,40,500,0,31,87.5\n",
      &layout);
  EXPECT_EQ(layout.Kind, TCsvKind::Summary);
  EXPECT_EQ(layout.Find("final_percent_similar"), 8);
  EXPECT_EQ(layout.Rule(7), TValueRule::Measure);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][4], 0);  // never paused
  EXPECT_TRUE(std::isnan(rows[0][7]) && std::isnan(rows[0][8]));
  EXPECT_EQ(rows[1][8], 87.5);
}

TEST(CsvReader, LinesAcrossTheBufferCountAndReadWhole) {
  // Several buffers' worth, so that lines straddle every refill.
  std::string text = kStepHeader;
  double sum = 0;
  const int kRows = 150000;
  for (int i = 1; i <= kRows; ++i) {
    text += "1000,74," + std::to_string(i % 7) + "," + std::to_string(i) + "," +
            std::to_string(i % 1000) + ",3\n";
    sum += i % 1000;
  }
  auto f = TextFile(text + "\n");
  TCsvReader r(f.get(), "in");
  r.ReadHeader();
  std::vector<double> row;
  double read = 0;
  while (r.Next(row)) read += row[4];
  EXPECT_EQ(r.Rows(), static_cast<std::uint64_t>(kRows));
  EXPECT_EQ(r.Line(), static_cast<std::uint64_t>(kRows + 2));
  EXPECT_EQ(read, sum);
}

}  // namespace

}  // namespace travenel
