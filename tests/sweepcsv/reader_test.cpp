// Reading the runner's CSV: what is taken, and every refusal with the line
// and column it names.
#include "travenel/sweepcsv/Reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot/plot_test_util.h"

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
        BadCase{"NoHeader", kRow, "line 1: no header: a header names the columns 'agents,thr"},
        BadCase{"WrongBaseColumn", "agents,threshold,seed,stp,attached,free\n",
                "line 1: column 'step' missing"},
        BadCase{"ShortHeader", "agents,threshold,seed,step,attached\n",
                "line 1: column 'free' missing"},
        BadCase{"BaseColumnTwice", "agents,threshold,seed,step,attached,free,seed\n",
                "line 1, column 7: column 'seed' appears twice"},
        BadCase{"MeasureTwice",
                "agents,threshold,seed,step,attached,free,clusters,percent_similar,clusters\n",
                "line 1, column 9: column 'clusters' appears twice"},
        BadCase{"HeaderAfterBlankLines", "\n\nagents,x\n", "line 3: column 'threshold' missing"},
        BadCase{"OpenQuote", "\"agents,threshold,seed,step,attached,free\n", "line 1: a quote"},
        BadCase{"TooFewFields", kStepHeader + kRow + "500,74,1,2\n",
                "line 3, column 5 (attached): missing: the row has 4 fields, the header 6"},
        BadCase{"TooManyFields", kStepHeader + "500,74,1,1,0,500,7,8\n",
                "line 2: 8 fields where the header has 6"},
        BadCase{"DecimalCommaBetweenCommas", kStepHeader + "500,74,1,1,0,5,5\n", "7 fields"},
        BadCase{"GroupedDigits", "agents;threshold;seed;step;attached;free\n500;74;1;1;1.000,5;0\n",
                "column 5 (attached): '1.000,5' is not a number"},
        BadCase{"Huge", kStepHeader + "500,74,1,1,1.7e308,0\n",
                "line 2, column 5 (attached): '1.7e308' is too large to plot"},
        BadCase{"NulInHeader", std::string("ag") + '\0' + "ents,x\n", "not 'ag\\x00ents'"},
        BadCase{"NulShown", kStepHeader + std::string("500,74,1,1,0") + '\0' + "x,500\n",
                "'0\\x00x' is not a number"},
        BadCase{"Text", kStepHeader + "500,74,one,1,0,500\n",
                "line 2, column 3 (seed): 'one' is not a number"},
        BadCase{"EmptyCount", kStepHeader + "500,74,1,1,,500\n",
                "line 2, column 5 (attached): '' is not a number"},
        BadCase{"Infinity", kStepHeader + "500,inf,1,1,0,500\n", "column 2 (threshold)"},
        BadCase{"HalfStep", kStepHeader + "500,74,1,1.5,0,500\n",
                "column 4 (step): '1.5' is not a whole number of 0 or more"},
        BadCase{"NegativeStep", kStepHeader + "500,74,1,-1,0,500\n", "column 4 (step)"},
        BadCase{"OtherHeaderJoined", kStepHeader + kRow + kSummaryHeader,
                "line 3: a header other than the first one"},
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

// The runner's file as spreadsheets, R, editors and `cat` hand it back: each
// reads as the same rows.
TEST(CsvReader, VariantsReadAsTheRunnersFile) {
  const std::string plain =
      "agents,threshold,seed,step,attached,free,percent_similar\n"
      "500,74,1,1,3,497,48.76\n500,74,1,2,7,493,\n";
  const std::vector<std::pair<const char*, std::string>> variants = {
      {"R write.csv",
       "\"\",\"agents\",\"threshold\",\"seed\",\"step\",\"attached\",\"free\",\"percent_similar\"\n"
       "\"1\",500,74,1,1,3,497,48.76\n\"2\",500,74,1,2,7,493,NA\n"},
      {"columns reordered",
       "free,percent_similar,step,seed,threshold,agents,attached\n"
       "497,48.76,1,1,74,500,3\n493,,2,1,74,500,7\n"},
      {"German spreadsheet",
       "agents;threshold;seed;step;attached;free;percent_similar;;\r\n"
       "500;74;1;1;3;497;48,76;;\r\n500;74;1;2;7;493;;;\r\n;;;;;;;;\r\n;;;;;;;;\r\n"},
      {"Excel's separator line",
       "sep=;\nagents;threshold;seed;step;attached;free;percent_similar\n"
       "500;74;1;1;3;497;48,76\n500;74;1;2;7;493;\n"},
      {"tabs",
       "agents\tthreshold\tseed\tstep\tattached\tfree\tpercent_similar\n"
       "500\t74\t1\t1\t3\t497\t48.76\n500\t74\t1\t2\t7\t493\t\n"},
      {"joined, the second header quoted",
       "agents,threshold,seed,step,attached,free,percent_similar\n500,74,1,1,3,497,48.76\n"
       "\"agents\",\"threshold\",\"seed\",\"step\",\"attached\",\"free\",\"percent_similar\"\n"
       "500,74,1,2,7,493,\n"},
      {"joined by cat, BOMs and no last line end",
       "\xEF\xBB\xBF"
       "agents,threshold,seed,step,attached,free,percent_similar\r\n"
       "500,74,1,1,3,497,48.76\r\n"
       "\xEF\xBB\xBF"
       "agents,threshold,seed,step,attached,free,percent_similar\r\n"
       "500,74,1,2,7,493,"},
  };
  TCsvLayout want;
  const auto expected = ReadAll(plain, &want);
  ASSERT_EQ(expected.size(), 2u);
  for (const auto& [name, text] : variants) {
    TCsvLayout layout;
    const auto rows = ReadAll(text, &layout);
    EXPECT_EQ(layout.Names, want.Names) << name;
    ASSERT_EQ(rows.size(), 2u) << name;
    for (std::size_t i = 0; i < 2; ++i)
      for (std::size_t c = 0; c < 7; ++c)
        EXPECT_TRUE(rows[i][c] == expected[i][c] ||
                    (std::isnan(rows[i][c]) && std::isnan(expected[i][c])))
            << name << " row " << i << " column " << c;
  }
}

TEST(CsvReader, UnknownColumnsAreSetAsideByName) {
  TCsvLayout layout;
  const auto rows = ReadAll(
      "agents,threshold,seed,steps_run,paused_at,final_attached,final_free,clusters,colour\n"
      "500,74,1,99,,480,20,anything,red\n",
      &layout);
  EXPECT_EQ(layout.Ignored, (std::vector<std::string>{"clusters", "colour"}));
  EXPECT_EQ(layout.Count(), 7);
  EXPECT_EQ(rows.size(), 1u);
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

// The world's columns, as the runner writes them after the measures or as a
// spreadsheet moves them: setup keys (not values to plot), a share with
// decimals, read whole; a world column twice is refused.
TEST(CsvReader, TheWorldsColumnsAreKeys) {
  TCsvLayout layout;
  const auto rows = ReadAll(
      "density,agents,threshold,seed,step,attached,free,clusters,width,height,jump,share\n"
      "40,1638,74,1,1,0,1638,12,64,64,3,62.5\n",
      &layout);
  ASSERT_EQ(rows.size(), 1u);
  for (const char* name : {"width", "height", "jump", "share", "density"}) {
    const int i = layout.Find(name);
    ASSERT_GE(i, 0) << name;
    EXPECT_TRUE(layout.IsKey(i)) << name;
    EXPECT_EQ(layout.Rule(i), TValueRule::Number) << name;
  }
  EXPECT_FALSE(layout.IsKey(layout.Find("clusters")));
  EXPECT_TRUE(layout.IsWhole(layout.Find("jump")));
  EXPECT_FALSE(layout.IsWhole(layout.Find("share")));
  EXPECT_EQ(rows[0][static_cast<std::size_t>(layout.Find("share"))], 62.5);
  EXPECT_EQ(rows[0][static_cast<std::size_t>(layout.Find("density"))], 40);
  EXPECT_THROW(ReadAll(std::string("agents,threshold,seed,step,attached,free,jump,jump\n")),
               EBadInput);
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
