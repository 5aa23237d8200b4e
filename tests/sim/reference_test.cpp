// The world's passes against the rule of a step written out plainly: the
// census cell by cell with wrapping, offsets from the floating-point formula,
// one agent after the other. The world takes shortcuts for speed (integer
// offsets, a byte copy of the grid for the census); a seeded run must not
// differ from the plain rule in a single agent at any step.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/World.h"

namespace {

class TPlainWorld {
 public:
  struct Agent {
    int X, Y, Colour;
    bool Attached;
  };
  struct Cell {
    bool Occupied = false;
    int State = 0, Index = 0;
  };

  TPlainWorld(std::uint32_t seed, int n) : random_(seed), cells_(40 * 40) {
    for (int i = 0; i < n; ++i) {
      Agent a;
      a.X = random_.Below(40) * 10 + 5;
      a.Y = random_.Below(40) * 10 + 5;
      a.Colour = random_.Below(2);
      a.Attached = false;
      agents_.push_back(a);
    }
  }

  const std::vector<Agent>& Agents() const { return agents_; }
  int Attached = 0, Free = 0;

  bool Move() {
    Attached = Free = 0;
    for (int i = 0; i < static_cast<int>(agents_.size()); ++i) {
      Agent& a = agents_[i];
      const int c = (a.X - 5) / 10, r = (a.Y - 5) / 10;
      if (a.Attached) {
        At(c, r) = {true, a.Colour, i};
        ++Attached;
        continue;
      }
      ++Free;
      int nc = 0, nr = 0;
      bool found = false;
      for (int tries = 0;; ++tries) {
        if (tries == 64 && !AnyFree(c, r)) break;
        nc = Wrap(c + Offset());
        nr = Wrap(r + Offset());
        if (!At(nc, nr).Occupied) {
          found = true;
          break;
        }
      }
      if (!found) continue;
      At(c, r).Occupied = false;
      a.X = nc * 10 + 5;
      a.Y = nr * 10 + 5;
      At(nc, nr) = {true, a.Colour, i};
    }
    return Free > 0;
  }

  void Attach(int threshold) {
    for (int r = 0; r < 40; ++r)
      for (int c = 0; c < 40; ++c) {
        if (!At(c, r).Occupied) continue;
        int s = 0, o = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const Cell& n = At(Wrap(c + dx), Wrap(r + dy));
            if (n.Occupied) (n.State == At(c, r).State ? s : o) += 1;
          }
        --s;
        const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
        agents_[At(c, r).Index].Attached = share > threshold;
      }
  }

 private:
  static int Wrap(int v) { return v < 0 ? v + 40 : v > 39 ? v - 40 : v; }
  Cell& At(int c, int r) { return cells_[c * 40 + r]; }
  int Offset() { return static_cast<int>(std::nearbyint(random_.Real() * 21.0 - 10.0)); }
  bool AnyFree(int c, int r) {
    for (int dy = -10; dy <= 11; ++dy)
      for (int dx = -10; dx <= 11; ++dx)
        if (!At(Wrap(c + dx), Wrap(r + dy)).Occupied) return true;
    return false;
  }

  TRandom random_;
  std::vector<Cell> cells_;
  std::vector<Agent> agents_;
};

struct TRunCase {
  std::uint32_t Seed;
  int Agents, Threshold, Steps;
};

class AgainstThePlainRule : public ::testing::TestWithParam<TRunCase> {};

TEST_P(AgainstThePlainRule, EveryAgentAtEveryStep) {
  const TRunCase p = GetParam();
  TWorld world(40, 40);
  world.SetFixedSeed(p.Seed);
  world.CreateAgents(p.Agents);
  TPlainWorld plain(p.Seed, p.Agents);
  for (int s = 1; s <= p.Steps; ++s) {
    ASSERT_EQ(world.MoveAgents(), plain.Move()) << "step " << s;
    world.UpdateAttachment(p.Threshold);
    plain.Attach(p.Threshold);
    ASSERT_EQ(world.AttachedCount(), plain.Attached) << "step " << s;
    ASSERT_EQ(world.FreeCount(), plain.Free) << "step " << s;
    for (int i = 0; i < p.Agents; ++i) {
      const TAgent& a = world.Agents()[i];
      const auto& b = plain.Agents()[i];
      ASSERT_EQ(a.PositionX, b.X) << "step " << s << " agent " << i;
      ASSERT_EQ(a.PositionY, b.Y) << "step " << s << " agent " << i;
      ASSERT_EQ(a.Attached, b.Attached) << "step " << s << " agent " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, AgainstThePlainRule,
    ::testing::Values(TRunCase{20240101u, 1000, 74, 120},  // runs until all attach
                      TRunCase{7u, 1000, 50, 150}, TRunCase{99u, 300, 30, 150},
                      TRunCase{3u, 1550, 60, 60},    // crowded: long retries
                      TRunCase{11u, 1800, 101, 30},  // overfull: boxed-in agents
                      TRunCase{5u, 200, -1, 40}));

}  // namespace
