// Run control: ticks, "start / stop", "new Setup", the pause when every agent
// is attached, the edit boxes, and bad input in them.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ostream>

#include "window_fixture.h"

namespace travenel {

namespace {

using RunTest = WindowTest;

std::int32_t AttachedAgents(TWorld& w) {
  return static_cast<std::int32_t>(std::count_if(w.Agents().begin(), w.Agents().end(),
                                                 [](const TAgent& a) { return a.Attached; }));
}

TEST_F(RunTest, TicksCountStepsInTheLabel) {
  Pause();
  EXPECT_EQ(Steps(), "lbl_Steps");
  form->Timer1Timer();
  EXPECT_EQ(Steps(), "1");
  EXPECT_EQ(form->World().FreeCount(), 1000);  // all free at the first step
  EXPECT_EQ(form->World().AttachedCount(), 0);
  form->Timer1Timer();
  EXPECT_EQ(Steps(), "2");
  EXPECT_EQ(form->StepCount(), 2);
}

TEST_F(RunTest, RunsByItselfOnceTheMessageLoopRuns) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() >= 3; }, 5000));
  EXPECT_EQ(Steps(), std::to_string(form->StepCount()));
}

// The form asks for 1 ms; the run goes at the timer's floor of 10 ms a step,
// so it can be watched (a loaded machine only makes it slower).
TEST_F(RunTest, RunsNoFasterThanAStepEveryTenMilliseconds) {
  SetText(form->Edit_thresh(), "100");  // nobody attaches: no pause of its own
  Click(form->B_setup());
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;  // not QTest::qWait, which sleeps between its rounds
  QTimer::singleShot(300, &loop, &QEventLoop::quit);
  loop.exec();
  const std::int32_t steps = form->StepCount();
  EXPECT_LE(steps, clock.elapsed() / TTimer::kMinTickMs + 1);
  EXPECT_GE(steps, 1);
}

TEST_F(RunTest, StartStopPausesAndResumes) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() >= 1; }, 5000));
  SetText(form->Edit_thresh(), "100");  // nobody attaches: no pause of its own
  Click(form->B_stop());
  EXPECT_FALSE(Running());
  const std::int32_t paused = form->StepCount();
  QTest::qWait(30);
  EXPECT_EQ(form->StepCount(), paused);
  Click(form->B_stop());
  EXPECT_TRUE(Running());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() > paused; }, 5000));
}

TEST_F(RunTest, NewSetupWhilePausedStartsAgainWithNewAgents) {
  Pause();
  for (int i = 0; i < 3; ++i) form->Timer1Timer();
  const TSnapshot before = Snapshot();
  Click(form->B_setup());
  EXPECT_TRUE(Running());
  EXPECT_EQ(form->StepCount(), 0);
  EXPECT_EQ(Steps(), "3");  // until the next tick
  EXPECT_EQ(form->World().AgentCount(), 1000);
  EXPECT_NE(Snapshot().Xs, before.Xs);
  for (bool mark : Snapshot().Marks) ASSERT_FALSE(mark);  // the world was reset
  Pause();
  form->Timer1Timer();
  EXPECT_EQ(Steps(), "1");
  EXPECT_EQ(form->World().FreeCount(), 1000);
}

TEST_F(RunTest, AllAttachedPausesAndEachStartRunsOneMoreStep) {
  SetText(form->Edit_thresh(), "-1");  // every agent a cell names attaches
  SeededSetup(31);
  int ticks = 0;
  form->Timer1()->SetEnabled(true);
  while (Running() && ticks < 500) {
    form->Timer1Timer();
    ++ticks;
  }
  ASSERT_FALSE(Running()) << "the run never paused";
  ASSERT_EQ(form->World().FreeCount(), 0);
  for (int i = 1; i <= 3; ++i) {
    Click(form->B_stop());
    ASSERT_TRUE(Running());
    form->Timer1Timer();
    EXPECT_FALSE(Running());
    EXPECT_EQ(form->StepCount(), ticks + i);
    EXPECT_EQ(Steps(), std::to_string(ticks + i));
  }
}

TEST_F(RunTest, ThresholdChangeTakesEffectAtTheNextStep) {
  SeededSetup(4);
  SetText(form->Edit_thresh(), "100");
  form->Timer1Timer();
  EXPECT_EQ(AttachedAgents(form->World()), 0);
  SetText(form->Edit_thresh(), "-1");
  form->Timer1Timer();
  const std::int32_t attached = AttachedAgents(form->World());
  EXPECT_GT(attached, 0);
  form->Timer1Timer();
  EXPECT_EQ(form->World().AttachedCount(), attached);  // they held their cells
}

TEST_F(RunTest, AgentCountChangeWaitsForTheNextSetup) {
  Pause();
  SetText(form->Edit_anzAg(), "50");
  form->Timer1Timer();
  EXPECT_EQ(form->World().AgentCount(), 1000);
  EXPECT_EQ(form->World().AttachedCount() + form->World().FreeCount(), 1000);
  Click(form->B_setup());
  EXPECT_EQ(form->World().AgentCount(), 50);
}

TEST_F(RunTest, NoAgentsPauseAtTheFirstTick) {
  for (const char* n : {"0", "-3"}) {
    SetText(form->Edit_anzAg(), n);
    Click(form->B_setup());
    EXPECT_EQ(form->World().AgentCount(), 0) << n;
    form->Timer1Timer();
    EXPECT_FALSE(Running()) << n;
    EXPECT_EQ(Steps(), "1");
  }
  EXPECT_TRUE(messages.empty());
}

struct TBadCount {
  const char* Text;
  const char* Message;
  friend std::ostream& operator<<(std::ostream& os, const TBadCount& c) {
    return os << '"' << c.Text << '"';
  }
};

class BadAgentCount : public WindowTest, public ::testing::WithParamInterface<TBadCount> {};

TEST_P(BadAgentCount, IsReportedAndChangesNothing) {
  for (bool running : {true, false}) {
    if (!running) Pause();
    form->Timer1Timer();
    const TSnapshot before = Snapshot();
    messages.clear();
    SetText(form->Edit_anzAg(), GetParam().Text);
    Click(form->B_setup());
    EXPECT_EQ(messages, std::vector<std::string>{GetParam().Message});
    EXPECT_TRUE(Snapshot() == before) << GetParam().Text;
    // The setup goes on as if nothing had happened.
    form->Timer1Timer();
    EXPECT_EQ(form->World().AttachedCount() + form->World().FreeCount(), 1000);
    EXPECT_EQ(messages.size(), 1u);
    SetText(form->Edit_anzAg(), "1000");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadAgentCount,
    ::testing::Values(TBadCount{"abc", "'abc' ist kein gültiger Integerwert"},
                      TBadCount{"", "'' ist kein gültiger Integerwert"},
                      TBadCount{"12.5", "'12.5' ist kein gültiger Integerwert"},
                      TBadCount{"99999999999", "'99999999999' ist kein gültiger Integerwert"},
                      TBadCount{"100001", "Anzahl Agenten zu groß: höchstens 100000"},
                      TBadCount{"2147483647", "Anzahl Agenten zu groß: höchstens 100000"}));

TEST_F(RunTest, BadThresholdEndsTheStepOnceAndPausesUntilStartStop) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() >= 1; }, 5000));
  SetText(form->Edit_thresh(), "x");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Running(); }, 5000));
  const std::int32_t steps = form->StepCount();
  QTest::qWait(50);
  // One report, the step count untouched by the broken step.
  EXPECT_EQ(messages, std::vector<std::string>{"'x' ist kein gültiger Integerwert"});
  EXPECT_EQ(form->StepCount(), steps);
  EXPECT_EQ(Steps(), std::to_string(steps));
  SetText(form->Edit_thresh(), "100");
  Click(form->B_stop());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() > steps; }, 5000));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(RunTest, BadThresholdStopsAfterTheMovementPass) {
  SeededSetup(9);
  SetText(form->Edit_thresh(), "7 5");
  form->Timer1()->SetEnabled(true);
  EXPECT_FALSE(RunHandler([this] { form->Timer1Timer(); }));
  EXPECT_FALSE(Running());
  EXPECT_EQ(form->World().FreeCount(), 1000);  // the agents did move
  EXPECT_EQ(form->StepCount(), 0);
  EXPECT_EQ(AttachedAgents(form->World()), 0);  // no attachment pass
}

TEST_F(RunTest, TicksWaitWhileAReportIsOpen) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() >= 1; }, 5000));
  SetText(form->Edit_thresh(), "100");
  std::int32_t atOpen = -1, atClose = -1;
  // The report's box runs a message loop of its own while it is open.
  onMessage = [&] {
    atOpen = form->StepCount();
    QTest::qWait(60);
    atClose = form->StepCount();
  };
  SetText(form->Edit_anzAg(), "zwei");
  Click(form->B_setup());
  onMessage = nullptr;
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_GE(atOpen, 1);
  EXPECT_EQ(atClose, atOpen);
  EXPECT_TRUE(Running());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() > atClose; }, 5000));
}

TEST_F(RunTest, ClosingWhileRunningReleasesEverything) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->StepCount() >= 2; }, 5000));
  form.reset();  // FormDestroy while the timer runs; the sanitizer build checks the rest
  QTest::qWait(10);
  EXPECT_TRUE(messages.empty());
}

}  // namespace

}  // namespace travenel
