// One time step: the movement pass, the attachment pass, the counts, and the
// drawing they do.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

// Puts an agent on cell (c, r) and, like a movement pass, marks the cell for it.
TAgent& AddAgent(TWorld& w, std::int32_t c, std::int32_t r, std::int32_t colour,
                 bool attached = false) {
  TAgent a(w.Random());
  a.PositionX = TWorld::CentreOf(c);
  a.PositionY = TWorld::CentreOf(r);
  a.Size = TWorld::kAgentSize;
  a.ColorIndex = colour;
  a.Attached = attached;
  w.Agents().push_back(a);
  TCell& cell = w.Cells(c, r);
  cell.Occupied = true;
  cell.SetState(colour);
  cell.AgentIndex = w.AgentCount() - 1;
  return w.Agents().back();
}

// The eight neighbours of (10, 10).
constexpr std::pair<int, int> kAround[8] = {{9, 9},   {10, 9}, {11, 9},  {9, 10},
                                            {11, 10}, {9, 11}, {10, 11}, {11, 11}};

struct TShareCase {
  int Same, Other, Threshold;
  bool Attached;
};

class Share : public ::testing::TestWithParam<TShareCase> {};

TEST_P(Share, AttachesOnlyAboveTheThreshold) {
  const TShareCase p = GetParam();
  TWorld world(40, 40);
  AddAgent(world, 10, 10, 0);
  for (int i = 0; i < p.Same + p.Other; ++i)
    AddAgent(world, kAround[i].first, kAround[i].second, i < p.Same ? 0 : 1);
  world.UpdateAttachment(p.Threshold);
  EXPECT_EQ(world.Cells(10, 10).SameCount, p.Same);
  EXPECT_EQ(world.Cells(10, 10).OtherCount, p.Other);
  EXPECT_EQ(world.Agents()[0].Attached, p.Attached);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Share,
    ::testing::Values(TShareCase{3, 1, 74, true}, TShareCase{3, 1, 75, false},   // share 75
                      TShareCase{1, 1, 50, false}, TShareCase{1, 1, 49, true},   // share 50
                      TShareCase{0, 0, 0, false}, TShareCase{0, 0, 100, false},  // lonely: share 0
                      TShareCase{0, 0, -1, true},  // below 0 all attach
                      TShareCase{8, 0, 99, true}, TShareCase{8, 0, 100, false},  // nobody beats 100
                      TShareCase{1, 4, 19, true}, TShareCase{1, 4, 20, false},   // share 20
                      TShareCase{2, 1, 66, true}, TShareCase{2, 1, 67, false},   // 66.67
                      TShareCase{0, 8, 0, false}));

TEST(Attachment, IsTestedAnewAtEveryStep) {
  TWorld world(40, 40);
  AddAgent(world, 10, 10, 0);
  for (int i = 0; i < 4; ++i) AddAgent(world, kAround[i].first, kAround[i].second, i < 3 ? 0 : 1);
  world.UpdateAttachment(74);
  ASSERT_TRUE(world.Agents()[0].Attached);
  // Another agent of the other colour moves in: 3 of 5 is 60 percent.
  AddAgent(world, kAround[4].first, kAround[4].second, 1);
  world.UpdateAttachment(74);
  EXPECT_FALSE(world.Agents()[0].Attached);
  // And a lower threshold attaches it again.
  world.UpdateAttachment(59);
  EXPECT_TRUE(world.Agents()[0].Attached);
}

TEST(Attachment, AgentNamedByNoOccupiedCellKeepsItsState) {
  TWorld world(40, 40);
  AddAgent(world, 10, 10, 0, true);
  world.Cells(10, 10).Occupied = false;
  world.UpdateAttachment(100);
  EXPECT_TRUE(world.Agents()[0].Attached);
}

TEST(Attachment, ACellNamingAGoneAgentIsAListError) {
  TWorld world(40, 40);
  AddAgent(world, 10, 10, 0);
  world.ReleaseAgents();
  try {
    world.UpdateAttachment(74);
    FAIL() << "no error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "Listenindex überschreitet das Maximum (0)");
  }
}

TEST(Placement, DrawsColumnRowAndColourPerAgentInOrder) {
  TWorld world(40, 40);
  world.SetFixedSeed(555);
  world.CreateAgents(50);
  TRandom replay(555);
  for (const TAgent& a : world.Agents()) {
    EXPECT_EQ(a.PositionX, replay.Below(40) * 10 + 5);
    EXPECT_EQ(a.PositionY, replay.Below(40) * 10 + 5);
    EXPECT_EQ(a.ColorIndex, replay.Below(2));
    EXPECT_EQ(a.Size, 4);
    EXPECT_FALSE(a.Attached);
  }
  // Placing marks no cell.
  for (std::int32_t r = 0; r < 40; ++r)
    for (std::int32_t c = 0; c < 40; ++c) ASSERT_FALSE(world.Cells(c, r).Occupied);
}

TEST(Placement, ReseedsFromTheClockWithoutAFixedSeed) {
  TWorld a(40, 40), b(40, 40);
  a.CreateAgents(200);
  b.CreateAgents(200);
  int same = 0;
  for (int i = 0; i < 200; ++i)
    same += a.Agents()[i].PositionX == b.Agents()[i].PositionX &&
            a.Agents()[i].PositionY == b.Agents()[i].PositionY;
  EXPECT_LT(same, 20);
}

TEST(Placement, RefusesMoreThanTheLimitAndKeepsTheAgents) {
  TWorld world(40, 40);
  world.SetFixedSeed(1);
  world.CreateAgents(10);
  const std::int32_t x = world.Agents()[3].PositionX;
  try {
    world.CreateAgents(TWorld::kMaxAgents);
    FAIL() << "no error";
  } catch (const std::length_error& e) {
    EXPECT_EQ(std::string(e.what()), "Anzahl Agenten zu groß: höchstens 100000");
  }
  EXPECT_EQ(world.AgentCount(), 10);
  EXPECT_EQ(world.Agents()[3].PositionX, x);
  world.ReleaseAgents();
  EXPECT_NO_THROW(world.CreateAgents(TWorld::kMaxAgents));
  EXPECT_EQ(world.AgentCount(), TWorld::kMaxAgents);
}

TEST(Movement, FirstStepCountsEveryAgentFree) {
  TWorld world(40, 40);
  world.SetFixedSeed(8);
  world.CreateAgents(1000);
  EXPECT_TRUE(world.MoveAgents());
  EXPECT_EQ(world.AttachedCount(), 0);
  EXPECT_EQ(world.FreeCount(), 1000);
}

TEST(Movement, FirstAgentJumpsByItsFirstTwoDraws) {
  TWorld world(40, 40);
  world.SetFixedSeed(21);
  world.CreateAgents(30);
  const TAgent before = world.Agents()[0];
  TRandom replay(world.Random().Seed());
  TAgent probe(replay);
  const std::int32_t dx = probe.RandomOffset(-10, 10), dy = probe.RandomOffset(-10, 10);
  world.MoveAgents();
  // Nothing is marked at the first step, so the first try is taken.
  std::int32_t c = TWorld::CellOf(before.PositionX) + dx, r = TWorld::CellOf(before.PositionY) + dy;
  world.WrapPosition(c, r);
  const TAgent& after = world.Agents()[0];
  EXPECT_EQ(after.StepX, dx);
  EXPECT_EQ(after.StepY, dy);
  EXPECT_EQ(after.PositionX, c * 10 + 5);
  EXPECT_EQ(after.PositionY, r * 10 + 5);
  EXPECT_TRUE(world.Cells(c, r).Occupied);
  EXPECT_EQ(world.Cells(c, r).AgentIndex, 0);
  EXPECT_EQ(world.Cells(c, r).State(), before.ColorIndex);
}

TEST(Movement, NoAgentsPausesTheRun) {
  TWorld world(40, 40);
  world.CreateAgents(0);
  EXPECT_FALSE(world.MoveAgents());
  EXPECT_EQ(world.FreeCount(), 0);
  world.CreateAgents(-5);
  EXPECT_EQ(world.AgentCount(), 0);
  EXPECT_FALSE(world.Step(74));
}

TEST(Movement, AllAttachedPausesTheRunAndAttachedAgentsHoldTheirCells) {
  TWorld world(40, 40);
  AddAgent(world, 3, 3, 0, true);
  AddAgent(world, 30, 30, 1, true);
  world.Cells(3, 3).Occupied = false;  // an attached agent marks its cell again
  EXPECT_FALSE(world.MoveAgents());
  EXPECT_EQ(world.AttachedCount(), 2);
  EXPECT_TRUE(world.Cells(3, 3).Occupied);
  EXPECT_EQ(world.Agents()[0].PositionX, 35);
}

TEST(Movement, TwoAgentsOnOneCellLeaveItUnmarkedWhenOneGoes) {
  TBitmap image(404, 404);
  TWorld world(40, 40, &image.Canvas());
  world.SetFixedSeed(5);
  AddAgent(world, 10, 10, 0, true);   // agent 0 holds the cell
  AddAgent(world, 10, 10, 1, false);  // agent 1 shares it and is free
  world.Cells(10, 10).AgentIndex = 0;
  world.Agents()[0].Draw(image.Canvas());
  world.MoveAgents();
  // The cell is marked by agent 0, so agent 1 had to leave, clearing the mark.
  EXPECT_NE(world.Agents()[1].PositionX, 105);
  EXPECT_FALSE(world.Cells(10, 10).Occupied);
  // It was repainted after agent 0 was drawn: no disc until the next pass.
  EXPECT_EQ(image.Canvas().Pixels(105, 105), 0x7D7D7Du);
  world.MoveAgents();
  EXPECT_EQ(image.Canvas().Pixels(105, 105), clBlack);
}

TEST(Movement, FullWorldNeverHangs) {
  for (std::int32_t n : {1600, 2000, 5000}) {
    TWorld world(40, 40);
    world.SetFixedSeed(static_cast<std::uint32_t>(n));
    world.CreateAgents(n);
    for (int s = 0; s < 20; ++s) {
      world.Step(50);
      ASSERT_EQ(world.AttachedCount() + world.FreeCount(), n);
    }
  }
}

TEST(Movement, BoxedInAgentStaysAfterItsTriesAndIsDrawnAgain) {
  TBitmap image(404, 404);
  TWorld world(40, 40, &image.Canvas());
  world.SetFixedSeed(2);
  for (std::int32_t r = 0; r < 40; ++r)
    for (std::int32_t c = 0; c < 40; ++c) AddAgent(world, c, r, 0, true);
  AddAgent(world, 7, 7, 1, false);  // on top of an attached black agent
  world.Cells(7, 7).AgentIndex = 7 * 40 + 7;
  world.Cells(7, 7).SetState(0);
  const std::uint32_t seedBefore = world.Random().Seed();

  EXPECT_TRUE(world.MoveAgents());  // a free agent was there: no pause
  const TAgent& stuck = world.Agents().back();
  EXPECT_EQ(stuck.PositionX, 75);
  EXPECT_EQ(stuck.PositionY, 75);
  EXPECT_EQ(world.FreeCount(), 1);
  EXPECT_EQ(world.AttachedCount(), 1600);
  // Its cell is left as the attached agent marked it.
  EXPECT_TRUE(world.Cells(7, 7).Occupied);
  EXPECT_EQ(world.Cells(7, 7).AgentIndex, 7 * 40 + 7);
  EXPECT_EQ(world.Cells(7, 7).State(), 0);
  // Drawn after the black agent beneath it.
  EXPECT_EQ(image.Canvas().Pixels(75, 75), clWhite);
  // Exactly the bounded number of tries was drawn, two draws each.
  TRandom replay(seedBefore);
  for (int i = 0; i < 2 * TWorld::kTriesBeforeCheck; ++i) replay.Next();
  EXPECT_EQ(world.Random().Seed(), replay.Seed());
}

TEST(Movement, KeepsTryingWhileOneCandidateIsFree) {
  TWorld world(40, 40);
  world.SetFixedSeed(77);
  for (std::int32_t r = 0; r < 40; ++r)
    for (std::int32_t c = 0; c < 40; ++c)
      if (!(c == 17 && r == 12)) AddAgent(world, c, r, 0, true);
  AddAgent(world, 10, 10, 1, false);  // (17, 12) is 7 and 2 away: a candidate
  world.Cells(10, 10).AgentIndex = 10 * 40 + 10;
  world.MoveAgents();
  EXPECT_EQ(world.Agents().back().PositionX, 175);
  EXPECT_EQ(world.Agents().back().PositionY, 125);
  EXPECT_FALSE(world.Cells(10, 10).Occupied);  // left, so its mark went
}

TEST(Movement, RepaintsOnlyTheCellsAgentsLeave) {
  TBitmap image(404, 404);
  TWorld world(40, 40, &image.Canvas());
  world.SetFixedSeed(12);
  world.CreateAgents(300);
  std::set<std::pair<int, int>> left;
  std::vector<std::pair<int, int>> from;
  for (const TAgent& a : world.Agents()) {
    from.push_back({TWorld::CellOf(a.PositionX), TWorld::CellOf(a.PositionY)});
    left.insert(from.back());
  }
  // A mark in every cell's top-left outline pixel, which no disc covers.
  constexpr TColor kMark = 0xFF00FF;
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 40; ++c) image.Canvas().SetPixels(c * 10, r * 10, kMark);
  world.MoveAgents();  // first step: every agent finds a cell and leaves its own
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 40; ++c)
      EXPECT_EQ(image.Canvas().Pixels(c * 10, r * 10) == kMark, left.count({c, r}) == 0)
          << c << "," << r;
  // Every agent is drawn where it now is, unless an agent later in the pass
  // left that same cell (placing may put two agents on one cell) and so
  // repainted it.
  const auto& agents = world.Agents();
  for (std::size_t i = 0; i < agents.size(); ++i) {
    const std::pair<int, int> at{TWorld::CellOf(agents[i].PositionX),
                                 TWorld::CellOf(agents[i].PositionY)};
    bool erased = false;
    for (std::size_t j = i + 1; j < agents.size(); ++j) erased |= from[j] == at;
    if (erased) continue;
    EXPECT_EQ(image.Canvas().Pixels(agents[i].PositionX, agents[i].PositionY),
              agents[i].ColorIndex ? clWhite : clBlack)
        << i;
  }
}

TEST(Step, CountsAddUpAndASeededRunRepeatsStepByStep) {
  TWorld a(40, 40), b(40, 40);
  a.SetFixedSeed(424242);
  b.SetFixedSeed(424242);
  a.CreateAgents(1000);
  b.CreateAgents(1000);
  for (int s = 0; s < 300; ++s) {
    const bool ma = a.Step(74), mb = b.Step(74);
    ASSERT_EQ(ma, mb);
    ASSERT_EQ(a.AttachedCount() + a.FreeCount(), 1000);
    ASSERT_EQ(a.AttachedCount(), b.AttachedCount());
    for (int i = 0; i < 1000; ++i) {
      ASSERT_EQ(a.Agents()[i].PositionX, b.Agents()[i].PositionX);
      ASSERT_EQ(a.Agents()[i].PositionY, b.Agents()[i].PositionY);
      ASSERT_EQ(a.Agents()[i].Attached, b.Agents()[i].Attached);
    }
  }
  // A new setup of a seeded world starts the same run again.
  a.ReleaseAgents();
  a.ResetWorld();
  a.CreateAgents(1000);
  EXPECT_EQ(a.Agents()[0].PositionX, TRandom(424242).Below(40) * 10 + 5);
}

// Values no pass of the program produces, written into an attached agent:
// steps in which it holds its cell must leave them as they are.
struct TOddAgentCase {
  const char* What;
  void (*Change)(TAgent&);
  bool (*Kept)(const TAgent&);
};

class OddAgent : public ::testing::TestWithParam<TOddAgentCase> {};

TEST_P(OddAgent, KeepsItsValuesWhileItHoldsItsCell) {
  TWorld world(40, 40);
  AddAgent(world, 1, 1, 1, true);
  GetParam().Change(world.Agents()[0]);
  for (int s = 0; s < 3; ++s) {
    world.Step(-1);  // a lonely agent stays attached below 0
    ASSERT_TRUE(GetParam().Kept(world.Agents()[0])) << GetParam().What << ", step " << s;
    ASSERT_TRUE(world.Agents()[0].Attached);
    ASSERT_TRUE(world.Cells(1, 1).Occupied);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OddAgent,
    ::testing::Values(TOddAgentCase{"a large column offset", [](TAgent& a) { a.StepX = 1000; },
                                    [](const TAgent& a) { return a.StepX == 1000; }},
                      TOddAgentCase{"a large row offset", [](TAgent& a) { a.StepY = -129; },
                                    [](const TAgent& a) { return a.StepY == -129; }},
                      // Still column and row 1, rounded to the nearest centre.
                      TOddAgentCase{
                          "off the centre", [](TAgent& a) { a.PositionX = 11, a.PositionY = 19; },
                          [](const TAgent& a) { return a.PositionX == 11 && a.PositionY == 19; }},
                      TOddAgentCase{"a third colour", [](TAgent& a) { a.ColorIndex = 2; },
                                    [](const TAgent& a) { return a.ColorIndex == 2; }}));

TEST(Step, AgentOffTheGridIsRefused) {
  TWorld world(40, 40);
  AddAgent(world, 3, 3, 0);
  world.Agents()[0].PositionX = 405;
  EXPECT_THROW(world.MoveAgents(), std::logic_error);
}

}  // namespace

}  // namespace travenel
