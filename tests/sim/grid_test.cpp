// The wrapping grid: folding positions, the neighbour census and the reset.
#include <gtest/gtest.h>

#include <stdexcept>

#include "travenel/gfx/Bitmap.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

constexpr TColor kCellFill = 0x7D7D7D;
constexpr TColor kCellOutline = 0x808080;

struct TWrapCase {
  std::int32_t C, R, WantC, WantR;
};

class WrapPosition : public ::testing::TestWithParam<TWrapCase> {};

TEST_P(WrapPosition, FoldsOntoTheFortyByFortyGrid) {
  const TWorld world(40, 40);
  auto [c, r, wantC, wantR] = GetParam();
  world.WrapPosition(c, r);
  EXPECT_EQ(c, wantC);
  EXPECT_EQ(r, wantR);
}

INSTANTIATE_TEST_SUITE_P(Cases, WrapPosition,
                         ::testing::Values(TWrapCase{-1, 40, 39, 0}, TWrapCase{40, -11, 0, 29},
                                           TWrapCase{0, 0, 0, 0}, TWrapCase{39, 39, 39, 39},
                                           TWrapCase{-10, 50, 30, 10}, TWrapCase{50, -10, 10, 30},
                                           TWrapCase{-40, 79, 0, 39}));

TEST(World, CellsSitOnTheirTenPixelSquares) {
  const TWorld world(40, 40);
  EXPECT_EQ(world.Columns(), 40);
  EXPECT_EQ(world.Rows(), 40);
  for (std::int32_t c : {0, 7, 39})
    for (std::int32_t r : {0, 12, 39}) {
      const TCell& cell = world.Cells(c, r);
      EXPECT_EQ(cell.PositionX(), c * 10 + 5);
      EXPECT_EQ(cell.PositionY(), r * 10 + 5);
      EXPECT_EQ(cell.Size(), 5);
      EXPECT_FALSE(cell.Occupied);
      EXPECT_EQ(cell.GreyLevel, 125);
    }
}

TEST(World, RefusesSidesTooSmallForAJumpToFoldOnce) {
  EXPECT_THROW(TWorld(10, 40), std::invalid_argument);
  EXPECT_THROW(TWorld(40, 0), std::invalid_argument);
  EXPECT_THROW(TWorld(40, TWorld::kMaxSide + 1), std::invalid_argument);
  EXPECT_NO_THROW(TWorld(11, 11));
}

TEST(World, CellOfRoundsHalvesToEven) {
  EXPECT_EQ(TWorld::CellOf(5), 0);
  EXPECT_EQ(TWorld::CellOf(395), 39);
  EXPECT_EQ(TWorld::CellOf(10), 0);  // 0.5
  EXPECT_EQ(TWorld::CellOf(20), 2);  // 1.5
  EXPECT_EQ(TWorld::CellOf(11), 1);  // 0.6
  EXPECT_EQ(TWorld::CellOf(-5), -1);
}

void Occupy(TWorld& w, std::int32_t c, std::int32_t r, std::int32_t state) {
  TCell& cell = w.Cells(c, r);
  cell.Occupied = true;
  cell.SetState(state);
}

TEST(Census, CornerCellReadsTheEightWrappedNeighbours) {
  TWorld world(40, 40);
  Occupy(world, 0, 0, 1);
  // The eight neighbours across both wrapped edges; three share the colour.
  Occupy(world, 39, 39, 1);
  Occupy(world, 0, 39, 1);
  Occupy(world, 1, 39, 0);
  Occupy(world, 39, 0, 0);
  Occupy(world, 1, 0, 1);
  Occupy(world, 39, 1, 0);
  Occupy(world, 0, 1, 0);
  Occupy(world, 1, 1, 0);
  // Cells one step further away count for nothing.
  for (auto [c, r] : {std::pair{2, 0}, {38, 0}, {0, 2}, {0, 38}, {2, 2}, {38, 38}})
    Occupy(world, c, r, 1);
  world.CountNeighbours(0, 0);
  EXPECT_EQ(world.Cells(0, 0).SameCount, 3);
  EXPECT_EQ(world.Cells(0, 0).OtherCount, 5);
}

TEST(Census, LonelyCellCountsNothing) {
  TWorld world(40, 40);
  Occupy(world, 20, 20, 0);
  Occupy(world, 22, 20, 0);  // two columns away
  world.CountNeighbours(20, 20);
  EXPECT_EQ(world.Cells(20, 20).SameCount, 0);
  EXPECT_EQ(world.Cells(20, 20).OtherCount, 0);
}

TEST(Census, FullNeighbourhoodCountsEight) {
  TWorld world(40, 40);
  for (std::int32_t r = 38; r <= 40; ++r)
    for (std::int32_t c = -1; c <= 1; ++c) {
      std::int32_t cc = c, rr = r;
      world.WrapPosition(cc, rr);
      Occupy(world, cc, rr, (cc + rr) % 2);
    }
  world.CountNeighbours(0, 39);
  const TCell& cell = world.Cells(0, 39);
  EXPECT_EQ(cell.SameCount + cell.OtherCount, 8);
  EXPECT_EQ(cell.SameCount, 4);
}

TEST(Census, ComparesStatesNotAgents) {
  // States other than the two colours still count by equality.
  TWorld world(40, 40);
  Occupy(world, 5, 5, 2);
  Occupy(world, 6, 5, 2);
  Occupy(world, 4, 5, 1);
  world.CountNeighbours(5, 5);
  EXPECT_EQ(world.Cells(5, 5).SameCount, 1);
  EXPECT_EQ(world.Cells(5, 5).OtherCount, 1);
  // And so does the attachment pass, which cannot take its shortcuts here.
  world.CreateAgents(1);
  world.Cells(5, 5).SameCount = 0;
  world.UpdateAttachment(50);
  EXPECT_EQ(world.Cells(5, 5).SameCount, 1);
  EXPECT_EQ(world.Cells(5, 5).OtherCount, 1);
}

TEST(Reset, LeavesEveryCellFreeAndGreyOverDrawnAgents) {
  TBitmap image(404, 404);
  TWorld world(40, 40, &image.Canvas());
  world.SetFixedSeed(3);
  world.CreateAgents(1500);
  for (int s = 0; s < 3; ++s) world.Step(50);
  // Something other than grey fill must be on the picture now.
  bool agentPixel = false;
  for (int y = 0; y < 400 && !agentPixel; ++y)
    for (int x = 0; x < 400 && !agentPixel; ++x) {
      const TColor p = image.Canvas().Pixels(x, y);
      agentPixel = p == clBlack || p == clWhite;
    }
  ASSERT_TRUE(agentPixel);
  // Remembered per cell, and left alone by the reset.
  const std::int32_t index = world.Cells(3, 4).AgentIndex, state = world.Cells(3, 4).State();

  world.ResetWorld();
  for (std::int32_t r = 0; r < 40; ++r)
    for (std::int32_t c = 0; c < 40; ++c) {
      ASSERT_FALSE(world.Cells(c, r).Occupied);
      ASSERT_EQ(world.Cells(c, r).GreyLevel, 125);
    }
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) {
      const bool edge = x % 10 == 0 || x % 10 == 9 || y % 10 == 0 || y % 10 == 9;
      ASSERT_EQ(image.Canvas().Pixels(x, y), edge ? kCellOutline : kCellFill) << x << "," << y;
    }
  EXPECT_EQ(world.Cells(3, 4).AgentIndex, index);
  EXPECT_EQ(world.Cells(3, 4).State(), state);
  // Right of and below the grid the surface stays as it was.
  EXPECT_EQ(image.Canvas().Pixels(401, 5), clWhite);
}

TEST(Reset, CellDrawUsesTheLowByteOfTheGreyLevel) {
  TBitmap image(10, 10);
  TCell cell(5, 5, 5);
  cell.GreyLevel = 0x100 + 0x40;
  cell.Draw(image.Canvas());
  EXPECT_EQ(image.Canvas().Pixels(5, 5), 0x404040u);
  EXPECT_EQ(image.Canvas().Pixels(0, 0), kCellOutline);
  EXPECT_EQ(image.Canvas().Pixels(9, 9), kCellOutline);
}

}  // namespace

}  // namespace travenel
