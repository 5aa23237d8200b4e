// The world painted on a surface at a device scale, and painted again whole.
#include <gtest/gtest.h>

#include "travenel/gfx/Bitmap.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

TEST(WorldPicture, CellsLandAtScaledCoordinatesAsAtOne) {
  TBitmap one(404, 404), twice(404, 404);
  twice.SetDeviceScale(2);
  TWorld a(40, 40, &one.Canvas()), b(40, 40, &twice.Canvas());
  ASSERT_EQ(twice.Image().width(), 808);
  // Every logical pixel of the cells (outlines and fills along the axes) is
  // the same at scale 2 as at scale 1.
  int differ = 0;
  for (int y = 0; y < 404; ++y)
    for (int x = 0; x < 404; ++x) differ += one.Canvas().Pixels(x, y) != twice.Canvas().Pixels(x, y);
  EXPECT_EQ(differ, 0);
}

class Redraw : public ::testing::TestWithParam<double> {};

TEST_P(Redraw, PaintsWhatPaintingEachChangeLeft) {
  TBitmap shown(404, 404), again(404, 404);
  shown.SetDeviceScale(GetParam());
  again.SetDeviceScale(GetParam());
  TWorld world(40, 40, &shown.Canvas());
  world.SetFixedSeed(11);
  world.CreateAgents(300);
  world.SetCanvas(&again.Canvas());
  world.Redraw();
  EXPECT_TRUE(shown.Image() == again.Image());
}

INSTANTIATE_TEST_SUITE_P(Scales, Redraw, ::testing::Values(1.0, 2.0));

}  // namespace

}  // namespace travenel
