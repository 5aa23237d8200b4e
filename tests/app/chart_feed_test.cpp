// The population chart in the window: its stored configuration, the ranges at
// creation and at each new setup, the two segments of every plotted step, the
// end of plotting at step 100, and the curves it shows against the counts the
// world reported.
#include <vector>

#include "travenel/chart/rchart.h"
#include "travenel/ui/QtHost.h"
#include "window_fixture.h"

namespace travenel {

namespace {

using ChartFeedTest = WindowTest;

struct TCounts {
  std::int32_t Attached, Free;
};

// Runs n ticks and returns the counts each one plotted.
std::vector<TCounts> Ticks(TForm1& form, int n) {
  std::vector<TCounts> counts;
  for (int i = 0; i < n; ++i) {
    form.Timer1Timer();
    counts.push_back({form.World().AttachedCount(), form.World().FreeCount()});
  }
  return counts;
}

TEST_F(ChartFeedTest, StoredConfigurationAndStartingState) {
  Pause();
  TRChart& c = form->RChart1();
  EXPECT_EQ((std::array{c.Left(), c.Top(), c.Width(), c.Height()}),
            (std::array{416, 112, 369, 320}));
  EXPECT_EQ(c.Caption(), "rot : Angelagerte Agenten  ||  grün : Freie Agenten");
  EXPECT_EQ((std::array{c.LRim(), c.RRim(), c.TRim(), c.BRim()}), (std::array{50, 20, 20, 40}));
  EXPECT_FALSE(c.Scale1X().LoadingFlag());
  EXPECT_EQ(c.Scale1X().RangeHigh(), 100);
  EXPECT_EQ(c.Scale1Y().RangeHigh(), 1000);
  EXPECT_FALSE(c.Scale2X().Visible() || c.Scale2Y().Visible());
  EXPECT_EQ(c.Scale2Y().ColorScale(), clMaroon);
  EXPECT_EQ(c.ScaleObjectY(1).Font().Height(), 11);
  EXPECT_EQ(c.MouseAction(), maNone);
  EXPECT_TRUE(c.MouseCursorFixed());
  // After the reset of creation: one move-to at the origin, on layer 1.
  ASSERT_EQ(c.ItemCount(), 1);
  const TRChartItem& m = c.ItemList().Items()[0];
  EXPECT_EQ(m.Kind, ikMoveTo);
  EXPECT_EQ(m.Layer, 1);
  EXPECT_EQ(m.X1, 0);
  EXPECT_EQ(m.Y1, 0);
  EXPECT_GT(c.PaintCount(), 0);
}

TEST_F(ChartFeedTest, EveryStepAddsItsRedThenItsGreenSegment) {
  Pause();
  TRChart& c = form->RChart1();
  const std::vector<TCounts> counts = Ticks(*form, 5);
  ASSERT_EQ(c.ItemCount(), 1 + 2 * 5);
  const auto items = c.ItemList().Items();
  TCounts prev{0, 0};
  for (int s = 1; s <= 5; ++s) {
    const TRChartItem& red = items[static_cast<std::size_t>(2 * s - 1)];
    const TRChartItem& green = items[static_cast<std::size_t>(2 * s)];
    const TCounts now = counts[static_cast<std::size_t>(s - 1)];
    EXPECT_EQ(red.Kind, ikLine);
    EXPECT_EQ(red.Color, 0x0000FFu);
    EXPECT_EQ(green.Color, 0x008000u);
    EXPECT_EQ(green.Layer, 1);  // layer 3 was refused
    EXPECT_EQ(
        (std::array{red.X1, red.Y1, red.X2, red.Y2}),
        (std::array<double, 4>{s - 1.0, double(prev.Attached), double(s), double(now.Attached)}));
    EXPECT_EQ((std::array{green.X1, green.Y1, green.X2, green.Y2}),
              (std::array<double, 4>{s - 1.0, double(prev.Free), double(s), double(now.Free)}));
    prev = now;
  }
  // Step 1: nobody is attached yet, all 1000 are free.
  EXPECT_EQ(items[1].Y2, 0);
  EXPECT_EQ(items[2].Y2, 1000);
  EXPECT_EQ(c.ActiveLayer(), 1);
}

TEST_F(ChartFeedTest, PlottingEndsAtStepNinetyNine) {
  Pause();
  SetText(form->Edit_thresh(), "100");  // nobody attaches: the run never pauses
  Ticks(*form, 105);
  EXPECT_EQ(form->StepCount(), 105);
  EXPECT_EQ(form->RChart1().ItemCount(), 1 + 2 * 99);
  EXPECT_EQ(form->RChart1().ItemList().Items().back().X2, 99);
  EXPECT_EQ(form->PrevFree(), 1000);
}

TEST_F(ChartFeedTest, NewSetupClearsAndRestartsBothCurves) {
  Pause();
  Ticks(*form, 7);
  SetText(form->Edit_anzAg(), "300");
  Click(form->B_setup());
  Pause();
  TRChart& c = form->RChart1();
  EXPECT_EQ(c.Scale1Y().RangeHigh(), 300);
  EXPECT_EQ(c.Scale1X().RangeHigh(), 100);
  EXPECT_EQ(c.ItemCount(), 1);
  form->Timer1Timer();
  const auto items = c.ItemList().Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ((std::array{items[1].X1, items[1].Y1, items[1].X2, items[1].Y2}),
            (std::array<double, 4>{0, 0, 1, 0}));
  EXPECT_EQ((std::array{items[2].X1, items[2].Y1, items[2].X2, items[2].Y2}),
            (std::array<double, 4>{0, 0, 1, 300}));
  // No agents: the vertical range widens to its least span below 0.
  SetText(form->Edit_anzAg(), "0");
  Click(form->B_setup());
  EXPECT_EQ(c.Scale1Y().RangeHigh(), 0);
  EXPECT_DOUBLE_EQ(c.Scale1Y().RangeLow(), -1e-10);
}

TEST_F(ChartFeedTest, CurvesShowTheCountsTheWorldReported) {
  Pause();
  form->World().SetFixedSeed(7);
  Click(form->B_setup());
  Pause();
  const std::vector<TCounts> counts = Ticks(*form, 41);  // the 41st repaints the first 40 steps
  TRChart& c = form->RChart1();
  // The segments as the feed must have drawn them, on the chart's own mapping.
  TBitmap ref(c.ChartAreaImage().Width(), c.ChartAreaImage().Height());
  TCanvas& r = ref.Canvas();
  r.Brush.Color = clWhite;
  r.FillRect(Rect(0, 0, ref.Width(), ref.Height()));
  const auto segment = [&](TColor color, double x1, double y1, double x2, double y2) {
    const TPoint a = c.WorldToPixel(1, x1, y1), b = c.WorldToPixel(1, x2, y2);
    r.Pen.Color = color;
    if (a == b) return r.SetPixels(a.X - 50, a.Y - 20, color);
    r.MoveTo(a.X - 50, a.Y - 20);
    r.LineTo(b.X - 50, b.Y - 20);
  };
  TCounts prev{0, 0};
  for (int s = 1; s <= 40; ++s) {
    const TCounts now = counts[static_cast<std::size_t>(s - 1)];
    segment(0x0000FF, s - 1, prev.Attached, s, now.Attached);
    segment(0x008000, s - 1, prev.Free, s, now.Free);
    prev = now;
  }
  const TCanvas& shown = c.ControlImage().Canvas();
  int differing = 0, ink = 0;
  for (int y = 1; y < ref.Height() - 1; ++y)
    for (int x = 1; x < ref.Width() - 1; ++x) {
      differing += shown.Pixels(50 + x, 20 + y) != r.Pixels(x, y);
      ink += r.Pixels(x, y) != clWhite;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(ink, 200);
}

TEST_F(ChartFeedTest, ChartClaimsArrowKeysAndTab) {
  EXPECT_EQ(form->RChart1().DialogCode(), DLGC_WANTARROWS | DLGC_WANTTAB);
  EXPECT_EQ(form->RChart1Host()->focusPolicy(), Qt::StrongFocus);
}

}  // namespace

}  // namespace travenel
