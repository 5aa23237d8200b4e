// The window started from a command line: the options read, and a seeded
// window plotting the very counts of a headless world run from those seeds.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "travenel/app/CellForm.h"
#include "travenel/app/StartOptions.h"
#include "travenel/chart/rchart.h"
#include "travenel/sim/HeadlessWorld.h"
#include "travenel/ui/Timer.h"

namespace travenel {

namespace {

TEST(StartOptions, ReadsValuesAndRefusesBadOnes) {
  const TStartOptions o =
      ParseStartOptions({"--seed", "4294967295", "--agents=0", "--threshold", "-2147483648"});
  EXPECT_EQ(o.Seed, 4294967295u);
  EXPECT_EQ(o.Agents, 0);
  EXPECT_EQ(o.Threshold, INT32_MIN);
  EXPECT_FALSE(ParseStartOptions({}).Seed.has_value());

  const struct {
    std::vector<std::string> Args;
    const char* Message;
  } bad[] = {
      {{"--seed", "4294967296"}, "--seed: '4294967296' ist keine ganze Zahl von 0 bis 4294967295"},
      {{"--seed", "-1"}, "--seed: '-1' ist keine"},
      {{"--seed=1.5"}, "--seed: '1.5' ist keine"},
      {{"--seed", " 7"}, "--seed: ' 7' ist keine"},
      {{"--seed="}, "--seed: '' ist keine"},
      {{"--agents", "100001"}, "--agents: '100001' ist keine ganze Zahl von 0 bis 100000"},
      {{"--threshold", "2147483648"}, "--threshold: '2147483648' ist keine"},
      {{"--agents"}, "--agents: Wert fehlt"},
      {{"--speed", "3"}, "unbekannte Option '--speed'"},
      {{"7"}, "unbekannte Option '7'"},
  };
  for (const auto& b : bad) {
    try {
      ParseStartOptions(b.Args);
      ADD_FAILURE() << b.Message;
    } catch (const EStartUsage& e) {
      EXPECT_EQ(std::string(e.what()).rfind(b.Message, 0), 0u) << e.what();
    }
  }
}

TEST(StartOptions, TakesOnlyItsOwnFromTheCommandLine) {
  std::vector<std::string> words = {"travenel", "-platform",  "offscreen", "--seed",
                                    "5",        "--agents=3", "-style",    "--threshold"};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(words.size());
  EXPECT_EQ(TakeStartOptions(argc, argv.data()),
            (std::vector<std::string>{"--seed", "5", "--agents=3", "--threshold"}));
  ASSERT_EQ(argc, 4);
  EXPECT_EQ(std::vector<std::string>(argv.begin(), argv.begin() + argc),
            (std::vector<std::string>{"travenel", "-platform", "offscreen", "-style"}));
  EXPECT_EQ(argv[4], nullptr);
}

// Steps the headless world and returns its counts, as the runner records them.
std::vector<std::pair<std::int64_t, std::int64_t>> HeadlessCounts(std::int32_t agents,
                                                                  std::int32_t threshold,
                                                                  std::uint32_t seed, int steps) {
  THeadlessWorld world{TWorldConfig{}};
  world.Setup(agents, seed);
  std::vector<std::pair<std::int64_t, std::int64_t>> counts;
  for (int s = 0; s < steps; ++s) {
    world.MoveAgents();
    counts.emplace_back(world.AttachedCount(), world.FreeCount());
    world.UpdateAttachment(threshold);
  }
  return counts;
}

// What the chart plotted: the end of each step's red and green segment.
std::vector<std::pair<std::int64_t, std::int64_t>> Plotted(TForm1& form) {
  std::vector<std::pair<std::int64_t, std::int64_t>> counts;
  const auto& items = form.RChart1().ItemList().Items();
  for (std::size_t k = 1; k + 1 < items.size(); k += 2)
    counts.emplace_back(static_cast<std::int64_t>(items[k].Y2),
                        static_cast<std::int64_t>(items[k + 1].Y2));
  return counts;
}

TEST(SeededWindow, PlotsTheCountsOfTheHeadlessRunOfEachSetup) {
  TStartOptions start;
  start.Seed = 4294967294u;  // the third setup wraps around to seed 0
  start.Agents = 700;
  start.Threshold = 62;
  TForm1 form(start);
  form.Timer1()->SetEnabled(false);
  EXPECT_EQ(form.Edit_anzAg()->text(), "700");
  EXPECT_EQ(form.Edit_thresh()->text(), "62");
  for (const std::uint32_t seed : {4294967294u, 4294967295u, 0u}) {
    EXPECT_EQ(form.SetupSeed(), seed);
    EXPECT_EQ(form.windowTitle().toStdString(),
              "Travenel by Move  (Startwert " + std::to_string(seed) + ")");
    for (int s = 0; s < 40; ++s) form.Timer1Timer();
    EXPECT_EQ(Plotted(form), HeadlessCounts(700, 62, seed, 40)) << "seed " << seed;
    QTest::mouseClick(form.B_setup(), Qt::LeftButton);
    form.Timer1()->SetEnabled(false);
  }
}

TEST(SeededWindow, WithoutASeedTheTitleIsTheCaption) {
  TForm1 form;
  form.Timer1()->SetEnabled(false);
  EXPECT_FALSE(form.SetupSeed().has_value());
  EXPECT_EQ(form.windowTitle(), "Travenel by Move ");
}

}  // namespace

}  // namespace travenel
