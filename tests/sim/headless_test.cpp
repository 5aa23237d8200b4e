// The headless world against the step rule written out plainly (a list of
// agents, a grid of cells that name their agent, offsets from the
// floating-point formula, unbounded retries with one check after 64), on
// worlds of odd sizes, with jumps and shares; against TWorld on the window's
// world; and its measures against a plain computation.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/Measures.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

class TPlainRule {
 public:
  struct Agent {
    int C = 0, R = 0, Colour = 0;
    bool Attached = false;
  };
  struct Cell {
    bool Occupied = false;
    int State = 0, Index = 0;
  };

  TPlainRule(const TWorldConfig& config, int n, std::uint32_t seed)
      : w_(config.Columns), h_(config.Rows), jump_(config.Jump), agents_(n), cells_(w_ * h_) {
    random_.SetSeed(seed);
    for (Agent& a : agents_) {
      a.C = random_.Below(w_);
      a.R = random_.Below(h_);
      a.Colour = config.Share ? random_.Real() * 100.0 < *config.Share : random_.Below(2);
    }
  }

  const std::vector<Agent>& Agents() const { return agents_; }
  const Cell& At(int c, int r) const { return cells_[r * w_ + c]; }
  std::uint32_t Seed() const { return random_.Seed(); }
  int Attached = 0, Free = 0, BoxedIn = 0;

  bool Move() {
    Attached = Free = 0;
    for (int i = 0; i < static_cast<int>(agents_.size()); ++i) {
      Agent& a = agents_[i];
      if (a.Attached) {
        Mark(a.C, a.R, a.Colour, i);
        ++Attached;
        continue;
      }
      ++Free;
      int nc = 0, nr = 0;
      bool found = false;
      for (int tries = 0;; ++tries) {
        if (tries == 64 && !AnyFree(a.C, a.R)) break;
        nc = Wrap(a.C + Offset(), w_);
        nr = Wrap(a.R + Offset(), h_);
        if (!Cell_(nc, nr).Occupied) {
          found = true;
          break;
        }
      }
      if (!found) {
        ++BoxedIn;
        continue;
      }
      Cell_(a.C, a.R).Occupied = false;
      a.C = nc;
      a.R = nr;
      Mark(nc, nr, a.Colour, i);
    }
    return Free > 0;
  }

  void Attach(int threshold) {
    for (int r = 0; r < h_; ++r)
      for (int c = 0; c < w_; ++c) {
        const Cell& cell = At(c, r);
        if (!cell.Occupied) continue;
        int s = 0, o = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const Cell& n = At(Wrap(c + dx, w_), Wrap(r + dy, h_));
            if (n.Occupied) (n.State == cell.State ? s : o) += 1;
          }
        --s;
        const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
        agents_[cell.Index].Attached = share > threshold;
      }
  }

 private:
  static int Wrap(int v, int side) { return v < 0 ? v + side : v >= side ? v - side : v; }
  Cell& Cell_(int c, int r) { return cells_[r * w_ + c]; }
  void Mark(int c, int r, int colour, int i) { Cell_(c, r) = {true, colour, i}; }
  int Offset() {
    return static_cast<int>(std::nearbyint(random_.Real() * (2 * jump_ + 1) - jump_));
  }
  bool AnyFree(int c, int r) const {
    for (int dy = -jump_; dy <= jump_ + 1; ++dy)
      for (int dx = -jump_; dx <= jump_ + 1; ++dx)
        if (!At(Wrap(c + dx, w_), Wrap(r + dy, h_)).Occupied) return true;
    return false;
  }

  int w_, h_, jump_;
  std::vector<Agent> agents_;
  std::vector<Cell> cells_;
  TRandom random_;
};

std::string Difference(const THeadlessWorld& world, const TPlainRule& plain) {
  if (world.Random().Seed() != plain.Seed()) return "seed";
  if (world.AttachedCount() != plain.Attached || world.FreeCount() != plain.Free) return "counts";
  for (std::size_t i = 0; i < plain.Agents().size(); ++i) {
    const auto& a = plain.Agents()[i];
    const auto k = static_cast<std::int64_t>(i);
    if (world.AgentColumn(k) != a.C || world.AgentRow(k) != a.R ||
        world.AgentColour(k) != a.Colour || world.AgentAttached(k) != a.Attached)
      return "agent " + std::to_string(i);
  }
  std::vector<int> on(plain.Agents().size() +
                      static_cast<std::size_t>(world.Columns() * world.Rows()));
  for (const auto& a : plain.Agents()) ++on[static_cast<std::size_t>(a.R * world.Columns() + a.C)];
  for (int r = 0; r < world.Rows(); ++r)
    for (int c = 0; c < world.Columns(); ++c) {
      const auto& cell = plain.At(c, r);
      if (world.Occupied(c, r) != cell.Occupied ||
          (cell.Occupied && world.State(c, r) != cell.State) ||
          world.AgentsOn(c, r) != on[static_cast<std::size_t>(r * world.Columns() + c)])
        return "cell " + std::to_string(c) + "," + std::to_string(r);
    }
  return "";
}

struct TCase {
  int Columns, Rows, Jump;
  double Share;  // below 0: none
  int Agents, Threshold, Steps;
  std::uint32_t Seed;
};

class HeadlessAgainstPlainRule : public ::testing::TestWithParam<TCase> {};

TEST_P(HeadlessAgainstPlainRule, EveryAgentAndCellAtEveryStep) {
  const TCase p = GetParam();
  TWorldConfig config{p.Columns, p.Rows, p.Jump, {}};
  if (p.Share >= 0) config.Share = p.Share;
  THeadlessWorld world(config);
  world.Setup(p.Agents, p.Seed);
  TPlainRule plain(config, p.Agents, p.Seed);
  ASSERT_EQ(Difference(world, plain), "") << "placed";
  for (int s = 1; s <= p.Steps; ++s) {
    ASSERT_EQ(world.MoveAgents(), plain.Move()) << "step " << s;
    ASSERT_EQ(Difference(world, plain), "") << "after moving, step " << s;
    world.UpdateAttachment(p.Threshold);
    plain.Attach(p.Threshold);
    ASSERT_EQ(Difference(world, plain), "") << "after attaching, step " << s;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Worlds, HeadlessAgainstPlainRule,
    ::testing::Values(
        // Jumps wider than the world: candidates wrap onto each other.
        TCase{11, 13, 10, -1, 70, 50, 120, 3u}, TCase{17, 40, 3, -1, 400, 74, 150, 5u},
        TCase{17, 40, 0, 30, 300, 60, 100, 8u},    // the shortest jump: offsets 0 and 1
        TCase{23, 11, 10, 80, 200, 40, 100, 9u},   // the widest jump on this world
        TCase{13, 13, 5, 0, 169, 30, 120, 4u},     // one colour, a full world: boxed in
        TCase{12, 19, 4, 100, 300, 101, 60, 6u},   // more agents than cells, never attached
        TCase{31, 29, 7, 55.5, 1798, -1, 60, 2u},  // two agents a cell
        TCase{64, 11, 10, -1, 500, 62, 150, 1u},
        // Sparse: the census where agents are rather than of every cell.
        TCase{97, 41, 6, 45, 400, 50, 150, 12u}, TCase{40, 40, 10, -1, 150, 0, 100, 13u}));

// At the window's size and jump, without a share, the headless world runs as
// TWorld from the same seed: the runner's counts do not change.
TEST(HeadlessWorld, RunsAsTheWindowsWorld) {
  for (const auto& [agents, threshold, seed] :
       {std::tuple{1000, 74, 20240101u}, std::tuple{1600, 40, 11u}, std::tuple{1900, 101, 5u}}) {
    THeadlessWorld headless(TWorldConfig{});
    headless.Setup(agents, seed);
    TWorld world(40, 40);
    world.SetFixedSeed(seed);
    world.CreateAgents(agents);
    for (int s = 1; s <= 200; ++s) {
      ASSERT_EQ(headless.MoveAgents(), world.MoveAgents());
      ASSERT_EQ(headless.AttachedCount(), world.AttachedCount()) << "step " << s;
      ASSERT_EQ(headless.FreeCount(), world.FreeCount());
      ASSERT_EQ(MeasureSegregation(headless), MeasureSegregation(world)) << "step " << s;
      headless.UpdateAttachment(threshold);
      world.UpdateAttachment(threshold);
    }
    EXPECT_EQ(headless.Random().Seed(), world.Random().Seed());
  }
}

TEST(WorldConfig, RefusesWhatCannotBeBuilt) {
  const struct {
    TWorldConfig Config;
    std::int64_t Agents;
    const char* Problem;  // start of the message; empty: fine
  } cases[] = {
      {{11, 65536, 10, {}}, 0, ""},
      {{10, 40, 10, {}}, 0, "world 10x40: sides from 11"},
      {{40, 65537, 10, {}}, 0, "world 40x65537: sides"},
      {{16384, 16385, 10, {}}, 0, "world 16384x16385: more than 268435456 cells"},
      {{40, 12, 11, {}}, 0, ""},
      {{40, 12, 12, {}}, 0, "jump 12: from 0 to 11"},
      {{40, 40, -1, {}}, 0, "jump -1"},
      {{40, 40, 10, 100.5}, 0, "share 100.5: a percent"},
      {{40, 40, 10, std::nan("")}, 0, "share nan"},
      {{40, 40, 10, {}}, 3200, ""},
      {{40, 40, 10, {}}, 3201, "3201 agents: from 0 to 3200"},
      {{16384, 16384, 10, {}}, (std::int64_t{1} << 27) + 1, "134217729 agents"},
  };
  for (const auto& c : cases) {
    const std::string problem = c.Config.Problem(c.Agents);
    EXPECT_EQ(problem.substr(0, std::string(c.Problem).size()), c.Problem) << problem;
    EXPECT_EQ(problem.empty(), *c.Problem == '\0') << problem;
  }
  EXPECT_THROW(THeadlessWorld(TWorldConfig{10, 40, 10, {}}), std::invalid_argument);
  THeadlessWorld world(TWorldConfig{});
  EXPECT_THROW(world.Setup(-1, 1), std::invalid_argument);
}

// Measures by breadth-first search over the cells.
TSegregation PlainMeasures(const THeadlessWorld& w) {
  const int cols = w.Columns(), rows = w.Rows();
  const auto wrap = [](int v, int side) { return (v + side) % side; };
  TSegregation m;
  std::vector<bool> seen(static_cast<std::size_t>(cols * rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      if (!w.Occupied(c, r)) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nc = wrap(c + dx, cols), nr = wrap(r + dy, rows);
          if ((dx || dy) && w.Occupied(nc, nr)) {
            ++m.OccupiedNeighbours;
            m.SameNeighbours += w.State(nc, nr) == w.State(c, r);
          }
        }
      if (seen[r * cols + c]) continue;
      ++m.Clusters;
      int size = 0;
      std::deque<std::pair<int, int>> queue{{c, r}};
      seen[r * cols + c] = true;
      while (!queue.empty()) {
        const auto [qc, qr] = queue.front();
        queue.pop_front();
        ++size;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nc = wrap(qc + dx, cols), nr = wrap(qr + dy, rows);
            if (!w.Occupied(nc, nr) || w.State(nc, nr) != w.State(c, r) || seen[nr * cols + nc])
              continue;
            seen[nr * cols + nc] = true;
            queue.push_back({nc, nr});
          }
      }
      m.LargestCluster = std::max(m.LargestCluster, size);
    }
  return m;
}

TEST(HeadlessMeasures, AgreeWithAPlainSearch) {
  // Sparse to full, one colour (clusters around the wrap) to mixed, at
  // several moments of each run.
  for (const auto& [cols, rows, agents, share] :
       {std::tuple{11, 13, 20, -1.0}, std::tuple{17, 40, 600, -1.0}, std::tuple{64, 11, 700, 100.0},
        std::tuple{29, 31, 899, 30.0}, std::tuple{11, 11, 242, 0.0}}) {
    TWorldConfig config{cols, rows, 10, {}};
    if (share >= 0) config.Share = share;
    THeadlessWorld world(config);
    world.Setup(agents, 77);
    for (int s = 0; s < 40; ++s) {
      world.MoveAgents();
      if (s % 7 == 0 || s == 39) {
        ASSERT_EQ(MeasureSegregation(world), PlainMeasures(world))
            << cols << "x" << rows << " step " << s;
      }
      world.UpdateAttachment(60);
    }
  }
}

}  // namespace

}  // namespace travenel
