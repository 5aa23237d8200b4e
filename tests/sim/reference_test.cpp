// The world's passes against the rule of a step written out plainly: the
// census cell by cell with wrapping, offsets from the floating-point formula,
// one agent after the other, unbounded retries with one check after 64. The
// world takes shortcuts for speed (a compact copy of the grid, integer
// offsets, tries looked at four at a time, a census without branches); a
// seeded run must not differ from the plain rule in a single agent, cell or
// draw at any step.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "travenel/sim/World.h"

namespace travenel {

namespace {

class TPlainWorld {
 public:
  struct Agent {
    int X = 0, Y = 0, Colour = 0, StepX = 0, StepY = 0;
    bool Attached = false;
  };
  struct Cell {
    bool Occupied = false;
    int State = 0, Index = 0, Same = 0, Other = 0;
  };

  TPlainWorld(std::uint32_t seed, int n)
      : agents_(static_cast<std::size_t>(n)), seed_(seed), cells_(40 * 40) {
    Place();
  }

  // Reseeds and places every agent anew; the cells keep their marks.
  void Place() {
    random_.SetSeed(seed_);
    for (Agent& a : agents_) {
      a.X = random_.Below(40) * 10 + 5;
      a.Y = random_.Below(40) * 10 + 5;
      a.Colour = random_.Below(2);
      a.Attached = false;
    }
  }

  std::vector<Agent>& Agents() { return agents_; }
  const Cell& At(int c, int r) const { return cells_[c * 40 + r]; }
  std::uint32_t Seed() const { return random_.Seed(); }
  int Attached = 0, Free = 0, BoxedIn = 0;

  bool Move() {
    Attached = Free = 0;
    for (int i = 0; i < static_cast<int>(agents_.size()); ++i) {
      Agent& a = agents_[i];
      const int c = (a.X - 5) / 10, r = (a.Y - 5) / 10;
      if (a.Attached) {
        Mark(c, r, a.Colour, i);
        ++Attached;
        continue;
      }
      ++Free;
      int nc = 0, nr = 0;
      bool found = false;
      for (int tries = 0;; ++tries) {
        if (tries == 64 && !AnyFree(c, r)) break;
        a.StepX = Offset();
        a.StepY = Offset();
        nc = Wrap(c + a.StepX);
        nr = Wrap(r + a.StepY);
        if (!Cell_(nc, nr).Occupied) {
          found = true;
          break;
        }
      }
      if (!found) {
        ++BoxedIn;
        continue;
      }
      Cell_(c, r).Occupied = false;
      a.X = nc * 10 + 5;
      a.Y = nr * 10 + 5;
      Mark(nc, nr, a.Colour, i);
    }
    return Free > 0;
  }

  void Attach(int threshold) {
    for (int r = 0; r < 40; ++r)
      for (int c = 0; c < 40; ++c) {
        Cell& cell = Cell_(c, r);
        if (!cell.Occupied) continue;
        int s = 0, o = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const Cell& n = At(Wrap(c + dx), Wrap(r + dy));
            if (n.Occupied) (n.State == cell.State ? s : o) += 1;
          }
        --s;
        cell.Same = s;
        cell.Other = o;
        const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
        agents_[cell.Index].Attached = share > threshold;
      }
  }

 private:
  static int Wrap(int v) { return v < 0 ? v + 40 : v > 39 ? v - 40 : v; }
  Cell& Cell_(int c, int r) { return cells_[c * 40 + r]; }
  void Mark(int c, int r, int colour, int i) {
    Cell& cell = Cell_(c, r);
    cell.Occupied = true;
    cell.State = colour;
    cell.Index = i;
  }
  int Offset() { return static_cast<int>(std::nearbyint(random_.Real() * 21.0 - 10.0)); }
  bool AnyFree(int c, int r) const {
    for (int dy = -10; dy <= 11; ++dy)
      for (int dx = -10; dx <= 11; ++dx)
        if (!At(Wrap(c + dx), Wrap(r + dy)).Occupied) return true;
    return false;
  }

  std::vector<Agent> agents_;
  std::uint32_t seed_;
  TRandom random_;
  std::vector<Cell> cells_;
};

// Everything a step changes, compared through a const view of the world (so
// that looking leaves the world's own copy alone). Empty when all agree.
std::string Difference(TWorld& world, TPlainWorld& plain) {
  const TWorld& view = world;
  if (world.Random().Seed() != plain.Seed()) return "seed";
  if (view.AttachedCount() != plain.Attached || view.FreeCount() != plain.Free) return "counts";
  for (int i = 0; i < view.AgentCount(); ++i) {
    const TAgent& a = view.Agents()[i];
    const auto& b = plain.Agents()[i];
    if (a.PositionX != b.X || a.PositionY != b.Y || a.Attached != b.Attached ||
        a.StepX != b.StepX || a.StepY != b.StepY)
      return "agent " + std::to_string(i);
  }
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 40; ++c) {
      const TCell& a = view.Cells(c, r);
      const auto& b = plain.At(c, r);
      if (a.Occupied != b.Occupied || a.State() != b.State || a.AgentIndex != b.Index ||
          a.SameCount != b.Same || a.OtherCount != b.Other)
        return "cell " + std::to_string(c) + "," + std::to_string(r);
    }
  return "";
}

// Runs both for `steps` steps, comparing after each pass; `touch` is called
// on the world before every step.
template <class Touch>
void ExpectSameRun(TWorld& world, TPlainWorld& plain, int threshold, int steps, Touch touch) {
  for (int s = 1; s <= steps; ++s) {
    touch(world);
    ASSERT_EQ(world.MoveAgents(), plain.Move()) << "step " << s;
    ASSERT_EQ(Difference(world, plain), "") << "after the movement pass of step " << s;
    world.UpdateAttachment(threshold);
    plain.Attach(threshold);
    ASSERT_EQ(Difference(world, plain), "") << "after the attachment pass of step " << s;
  }
}

void Untouched(TWorld&) {}

// Agent counts from none to a full grid, by thresholds from "all attach" to
// "none can attach".
class PlainRuleSweep : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(PlainRuleSweep, EveryAgentCellAndDrawAtEveryStep) {
  const auto [agents, threshold] = GetParam();
  const std::uint32_t seed = 7919u * static_cast<std::uint32_t>(agents) + 31u * (threshold + 1);
  TWorld world(40, 40);
  world.SetFixedSeed(seed);
  world.CreateAgents(agents);
  TPlainWorld plain(seed, agents);
  ExpectSameRun(world, plain, threshold, 250, Untouched);
  // A full grid boxes agents in: the bounded retry is part of every such run.
  if (agents == 1600) {
    EXPECT_GT(plain.BoxedIn, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, PlainRuleSweep,
                         ::testing::Combine(::testing::Values(0, 1, 7, 300, 1000, 1550, 1600),
                                            ::testing::Values(-1, 0, 33, 50, 74, 100)));

struct TRunCase {
  std::uint32_t Seed;
  int Agents, Threshold, Steps;
  bool BoxedIn;  // the run must reach agents boxed in on every side
};

class AgainstThePlainRule : public ::testing::TestWithParam<TRunCase> {};

TEST_P(AgainstThePlainRule, EveryAgentCellAndDrawAtEveryStep) {
  const TRunCase p = GetParam();
  TWorld world(40, 40);
  world.SetFixedSeed(p.Seed);
  world.CreateAgents(p.Agents);
  TPlainWorld plain(p.Seed, p.Agents);
  ExpectSameRun(world, plain, p.Threshold, p.Steps, Untouched);
  EXPECT_EQ(plain.BoxedIn > 0, p.BoxedIn) << plain.BoxedIn;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, AgainstThePlainRule,
    ::testing::Values(TRunCase{20240101u, 1000, 74, 120, false},  // runs until all attach
                      TRunCase{7u, 1000, 50, 300, false}, TRunCase{99u, 300, 30, 150, false},
                      TRunCase{3u, 1550, 60, 60, false},   // crowded: long retries
                      TRunCase{11u, 1600, -1, 200, true},  // full: boxed-in agents
                      // Overfull, but nobody attaches: leaving agents keep freeing cells.
                      TRunCase{11u, 1800, 101, 30, false}, TRunCase{5u, 200, -1, 40, false}));

// Reading and writing the cells and agents between steps makes the world take
// them over anew before each pass; the run must stay the same.
TEST(AgainstThePlainRule, ObjectsTouchedBetweenStepsChangeNothing) {
  TWorld world(40, 40);
  world.SetFixedSeed(4242);
  world.CreateAgents(1200);
  TPlainWorld plain(4242, 1200);
  ExpectSameRun(world, plain, 60, 120, [](TWorld& w) {
    w.Agents()[5].Size = TWorld::kAgentSize;
    w.Cells(3, 4).GreyLevel = TWorld::kResetGreyLevel;
  });
}

// Placing again without a reset leaves marks behind that name agents now
// elsewhere, so two marked cells may name one agent: the later cell in grid
// order decides.
TEST(AgainstThePlainRule, PlacingAgainOverOldMarks) {
  TWorld world(40, 40);
  world.SetFixedSeed(31337);
  world.CreateAgents(1100);
  TPlainWorld plain(31337, 1100);
  for (int round = 0; round < 3; ++round) {
    ExpectSameRun(world, plain, 62, 40, Untouched);
    world.CreateAgents(0);
    plain.Place();
  }
}

// What the compact copy cannot hold sends the passes the general way: a
// colour other than 0 and 1 for as long as the agent exists, offsets too
// large for it until the agent draws new ones.
TEST(AgainstThePlainRule, TheGeneralWayStepsTheSame) {
  for (const bool colour : {true, false}) {
    TWorld world(40, 40);
    world.SetFixedSeed(77);
    world.CreateAgents(900);
    TPlainWorld plain(77, 900);
    if (colour) {
      world.Agents()[10].ColorIndex = 2;
      plain.Agents()[10].Colour = 2;
    } else {
      world.Agents()[10].StepX = 1000;
      plain.Agents()[10].StepX = 1000;
    }
    ExpectSameRun(world, plain, 50, 100, Untouched);
  }
}

}  // namespace

}  // namespace travenel
