// Values far outside what a chart is made for, as random operations produce
// them: the chart draws what it can, quietly, and never runs away in memory.
#include <gtest/gtest.h>

#include <QString>
#include <climits>

#include "qt_messages.h"
#include "rchart_test_util.h"

namespace travenel {

namespace {

TEST(ChartClamps, AbsurdFontSizesDrawQuietly) {
  for (const int size : {INT_MAX, INT_MIN, 1 << 20, 100000, -100000, 600}) {
    auto c = LiveChart();
    c->SetLayerRanges(1, 0, 0, 10, 10);
    QtMessages messages;
    for (const TTextBkg bk : {tbClear, tbSolid}) {
      c->SetTextBkStyle(bk);
      c->Text(5, 5, "Anteil", size);
      c->Text(-1e9, 1e9, "W\xc3\xa4rme", size);
    }
    c->MarkAt(2, 2, 5, size);
    c->ShowItems();
    EXPECT_TRUE(messages.Texts().empty()) << size << ": " << messages.Texts().front();
  }
}

// A bar's depth far beyond the surface draws as one at the end of the range.
TEST(ChartClamps, BarDepthsAtTheEndsOfTheIntegers) {
  const auto picture = [](int depth, int angle) {
    auto c = LiveChart();
    c->SetLayerRanges(1, -1, -1, 1, 1);
    c->Bar3D(-0.13, 100.0, -693593.0, 0.0153, depth, angle);
    c->Bar3D(-0.5, -0.5, 0.5, 0.5, depth, angle);
    c->ShowItems();
    return c->ChartAreaImage().Image().copy();
  };
  for (const int angle : {180, 45, -90, 0})
    EXPECT_EQ(picture(INT_MIN, angle), picture(INT_MIN + 1, angle)) << angle;
  EXPECT_EQ(picture(INT_MAX, 90), picture(INT_MAX - 1, 90));
}

// The rims and the size the chart raises itself to: its pictures stay
// allocatable, and of a size that is quickly drawn.
TEST(ChartClamps, RimsAndSizeStayWithinTheirBounds) {
  struct Case {
    int rim, width, height;
    int wantWidth, wantHeight;
  };
  const int maxRim = TCustomRChart::kMaxRim;
  const Case cases[] = {
      {10001, 1736, 347, 2 * maxRim + 80, 2 * maxRim + 20},  // raised to the least size
      {INT_MAX, 100, INT_MIN, 2 * maxRim + 80, 2 * maxRim + 20},
      {30, 300, 200, 300, 200},
      {-5, INT_MIN, -1, 80, 20},
  };
  for (const Case& k : cases) {
    auto c = LiveChart();
    c->SetLRim(k.rim), c->SetRRim(k.rim), c->SetTRim(k.rim), c->SetBRim(k.rim);
    c->SetBounds(0, -228, k.width, k.height);
    EXPECT_EQ(c->Width(), k.wantWidth) << k.rim << " " << k.width;
    EXPECT_EQ(c->Height(), k.wantHeight) << k.rim << " " << k.height;
    EXPECT_EQ(c->ControlImage().Width(), c->Width());
    EXPECT_LE(c->ChartAreaImage().Width(), c->Width() + 1);  // with the frame's far edge
  }
}

}  // namespace

}  // namespace travenel
