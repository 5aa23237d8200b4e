// Command line of the batch runner: good forms and bad ones.
#include "travenel/batch/Options.h"

#include <gtest/gtest.h>

namespace travenel {

namespace {

TBatchOptions Parse(std::vector<std::string> args) { return ParseOptions(args, 2); }

TEST(BatchOptions, DefaultsAreTheWindowsSetup) {
  const TBatchOptions o = Parse({});
  EXPECT_EQ(o.Agents, std::vector<int>{1000});
  EXPECT_EQ(o.Thresholds, std::vector<int>{74});
  EXPECT_EQ(o.Steps, 99);
  EXPECT_EQ(o.Seed, 1u);
  EXPECT_EQ(o.Repeats, 1);
  EXPECT_EQ(o.Jobs, 2);
  EXPECT_TRUE(o.Out.empty());
  EXPECT_FALSE(o.Summary);
}

struct ListCase {
  const char* text;
  std::vector<int> values;
};

class ValueLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(ValueLists, Expand) { EXPECT_EQ(ParseValueList("--x", GetParam().text), GetParam().values); }

INSTANTIATE_TEST_SUITE_P(
    BatchOptions, ValueLists,
    ::testing::Values(ListCase{"74", {74}}, ListCase{"-1", {-1}}, ListCase{"+5", {5}},
                      ListCase{"50,74,90", {50, 74, 90}},
                      ListCase{"0:100:25", {0, 25, 50, 75, 100}}, ListCase{"0:10:4", {0, 4, 8}},
                      ListCase{"10:0:-5", {10, 5, 0}}, ListCase{"-3:-1:1", {-3, -2, -1}},
                      ListCase{"7:7:1", {7}},
                      // Blanks around numbers, as the window's edit boxes take them.
                      ListCase{" 74\t", {74}}, ListCase{"\t-1", {-1}},
                      ListCase{"50 , 74,\t90 ", {50, 74, 90}},
                      ListCase{" 0 : 100 :50", {0, 50, 100}}));

TEST(BatchOptions, EveryOptionInBothForms) {
  const TBatchOptions o =
      Parse({"--agents", "100,200", "--threshold=-1", "--steps", "5", "--seed=4294967293",
             "--repeats", "3", "--jobs=1", "--out", "x.csv", "--summary"});
  EXPECT_EQ(o.Agents, (std::vector<int>{100, 200}));
  EXPECT_EQ(o.Thresholds, std::vector<int>{-1});
  EXPECT_EQ(o.Steps, 5);
  EXPECT_EQ(o.Seed, 4294967293u) << "its three seeds end at the last one";
  EXPECT_EQ(o.Repeats, 3);
  EXPECT_EQ(o.Jobs, 1);
  EXPECT_EQ(o.Out, "x.csv");
  EXPECT_TRUE(o.Summary);
  EXPECT_EQ(Parse({"--threshold", "-1"}).Thresholds, std::vector<int>{-1})
      << "a negative value is a value, not an option";
  EXPECT_TRUE(Parse({"--help"}).Help);
  const TBatchOptions shard = Parse({"--shard", " 3 / 8 ", "--steps", " 5 "});
  EXPECT_EQ(shard.ShardIndex, 3u);
  EXPECT_EQ(shard.ShardCount, 8u);
  EXPECT_EQ(shard.Steps, 5);
  EXPECT_EQ(Parse({"--shard=4294967295/4294967295"}).ShardIndex, 4294967295u);
}

struct BadCase {
  std::vector<std::string> args;
  const char* message;
};

class BadCommandLines : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadCommandLines, NameTheOptionAndTheProblem) {
  try {
    Parse(GetParam().args);
    FAIL() << "accepted";
  } catch (const EUsage& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    BatchOptions, BadCommandLines,
    ::testing::Values(
        BadCase{{"--agent", "5"}, "unknown option '--agent'"},
        BadCase{{"agents"}, "unexpected argument 'agents'"},
        BadCase{{"--agents", "12x"}, "--agents: '12x' is not a whole number"},
        BadCase{{"--agents", "1.5"}, "--agents: '1.5' is not a whole number"},
        BadCase{{"--agents"}, "--agents: no value given"},
        BadCase{{"--agents", "1,,2"}, "--agents: '1,,2' has an empty item"},
        BadCase{{"--threshold", "10:0:5"}, "--threshold: the range '10:0:5' is empty"},
        BadCase{{"--threshold", "0:10:0"}, "--threshold: the step of '0:10:0' is 0"},
        BadCase{{"--threshold", "0:10"}, "--threshold: '0:10' is not a range from:to:step"},
        BadCase{{"--agents", "100001"}, "--agents: 100001 agents are too many (at most 100000)"},
        BadCase{{"--agents", "0:200000:1000"},
                "--agents: 101000 agents are too many (at most 100000)"},
        BadCase{{"--steps", "0"}, "--steps: 0 is below 1"},
        BadCase{{"--jobs", "0"}, "--jobs: 0 is below 1"},
        BadCase{{"--repeats", "-2"}, "--repeats: -2 is below 1"},
        BadCase{{"--seed", "-1"}, "--seed: -1 is out of range (0 to 4294967295)"},
        BadCase{{"--steps", "99999999999"},
                "--steps: 99999999999 is out of range (1 to 2147483647)"},
        BadCase{{"--seed", "4294967296"}, "--seed: 4294967296 is out of range (0 to 4294967295)"},
        BadCase{
            {"--threshold", "1,-99999999999999999999999"},
            "--threshold: -99999999999999999999999 is out of range (-2147483648 to 2147483647)"},
        BadCase{{"--agents", "5,-1"}, "--agents: -1 is below 0"},
        BadCase{{"--agents", "10:-10:-10"}, "--agents: -10 is below 0"},
        BadCase{{"--measures=1"}, "--measures takes no value"},
        BadCase{{"--progress", "--quiet"}, "--progress and --quiet: choose one"},
        BadCase{{"--resume"},
                "--resume needs --out FILE: the rows of an unfinished sweep are kept beside it"},
        BadCase{{"--agents", "0:99999:1", "--threshold", "0:9999:1", "--balanced"},
                "--balanced: the sweep has 1000000000 setups; at most 100000000 can be costed"},
        BadCase{{"--summary=yes"}, "--summary takes no value"},
        BadCase{{"--out", ""}, "--out: no file name given"},
        BadCase{{"--summary", "--bogus"}, "unknown option '--bogus'"},
        BadCase{{"--agents", " "}, "--agents: no value given"},
        BadCase{{"--agents", "1, ,2"}, "--agents: '1, ,2' has an empty item"},
        BadCase{{"--agents", "1 2"}, "--agents: '1 2' is not a whole number"},
        BadCase{{"--agents", "- 5"}, "--agents: '- 5' is not a whole number"},
        BadCase{{"--agents", "+-5"}, "--agents: '+-5' is not a whole number"},
        BadCase{{"--steps", " 0 "}, "--steps: 0 is below 1"},
        // The seeds of the repeats may end at the last seed, not wrap past it,
        // whichever option comes first.
        BadCase{{"--seed", "4294967295", "--repeats", "3"},
                "--seed: 3 repeats from seed 4294967295 would pass the last seed, 4294967295"},
        BadCase{{"--repeats", "2", "--seed", "4294967295"},
                "--seed: 2 repeats from seed 4294967295 would pass the last seed, 4294967295"},
        BadCase{{"--agents", "0:99999:1", "--threshold", "0:99999:1", "--repeats", "2147483647"},
                "the sweep has more runs than can be counted (more than 18446744073709551615)"},
        BadCase{{"--shard", "2"},
                "--shard: '2' is not of the form K/N (block K of N, such as 2/8)"},
        BadCase{{"--shard", "5/4"}, "--shard: there is no block 5 of 4 (K must be 1 to 4)"},
        BadCase{{"--shard", "0/4"}, "--shard: there is no block 0 of 4 (K must be 1 to 4)"},
        BadCase{{"--shard", "1/0"}, "--shard: the number of blocks in '1/0' is below 1"},
        BadCase{{"--shard", "1/"}, "--shard: '' is not a whole number"},
        BadCase{{"--shard", "1/4294967296"},
                "--shard: 4294967296 blocks are too many (at most 4294967295)"},
        BadCase{{"--shard", "1/x"}, "--shard: 'x' is not a whole number"},
        // The world's parameters: shapes, jumps that must fold back in one go,
        // percents under any locale, agents that must fit the world.
        BadCase{{"--world", "64"}, "--world: '64' is not of the form WxH (such as 64x64)"},
        BadCase{{"--world", "64x 6 4"}, "--world: '64x 6 4' is not of the form WxH (such as 64x64)"},
        BadCase{{"--world", " 64 x 64 ,10x64"}, "--world: 10x64: sides from 11 to 65536"},
        BadCase{{"--world", "10x64"}, "--world: 10x64: sides from 11 to 65536"},
        BadCase{{"--world", "65537x11"}, "--world: 65537x11: sides from 11 to 65536"},
        BadCase{{"--world", "65536x65536"},
                "--world: 65536x65536: more than 268435456 cells"},
        BadCase{{"--world", "64x11", "--jump", "10,11"},
                "--jump: jump 11: from 0 to 10 on a world 64x11"},
        BadCase{{"--jump", "-1"}, "--jump: jump -1: from 0 to 39 on a world 40x40"},
        BadCase{{"--share", "62.5.1"},
                "--share: '62.5.1' is not a number (a percent such as 50 or 62.5)"},
        BadCase{{"--share", "nan"}, "--share: 'nan' is not a number (a percent such as 50 or 62.5)"},
        BadCase{{"--share", "1e1"}, "--share: '1e1' is not a number (a percent such as 50 or 62.5)"},
        BadCase{{"--share", "100.5"}, "--share: 100.5 is out of range (0 to 100 percent)"},
        BadCase{{"--density", "-0.5"}, "--density: -0.5 is out of range (0 to 100 percent)"},
        BadCase{{"--agents", "5", "--density", "50"}, "--agents and --density: choose one"},
        BadCase{{"--world", "11x11", "--agents", "243"},
                "--agents: 243 agents do not fit a world 11x11 (at most 242, twice its cells)"},
        BadCase{{"--world", "11x11", "--agents", "200000"},
                "--agents: 200000 agents do not fit a world 11x11 (at most 242, twice its cells)"},
        BadCase{{"--agents", "134217729", "--world", "16384x16384"},
                "--agents: 134217729 agents are too many (at most 134217728)"}));

}  // namespace

}  // namespace travenel
