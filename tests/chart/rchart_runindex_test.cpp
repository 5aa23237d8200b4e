// Polylines with x never decreasing are reduced by searching the item list's
// index instead of mapping every point: the pictures must be those of drawing
// every segment, at any zoom and pan, on linear, logarithmic and reversed
// axes, with values the axes cannot take, and while points are appended.
#include <gtest/gtest.h>

#include <bitset>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_render.h"
#include "travenel/chart/rchart_runindex.h"
#include "travenel/gfx/Bitmap.h"
#include "rchart_test_util.h"

namespace travenel {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct SeriesCase {
  const char* Name;
  int Points;
  bool Sorted;  // x never decreases; else x wanders too
  bool LogX, LogY, Reversed;
  double Repeat;   // chance that a point repeats the last x and y (flat stretches, ties)
  bool Specials;   // NaN, infinite and non-positive values among them
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.Name; }

class Series {
 public:
  Series(const SeriesCase& c, std::mt19937& rng) : c_(c), rng_(rng) {}

  // Appends n points (the first a move).
  void Append(TRChartItemList& list, int n) {
    std::exponential_distribution<double> step(1.0);
    std::normal_distribution<double> walk(0, 1);
    std::bernoulli_distribution repeat(c_.Repeat), special(c_.Specials ? 0.002 : 0);
    for (int i = 0; i < n; ++i) {
      TRChartItem item;
      item.Kind = list.Count() == 0 ? ikMoveTo : ikLineTo;
      item.Color = clBlack;
      if (!repeat(rng_)) {
        x_ += c_.Sorted ? step(rng_) : walk(rng_) * 3;
        y_ += walk(rng_);
      }
      // On logarithmic axes the values spread over decades, from below zero.
      item.X1 = c_.LogX ? (x_ > 0 ? std::exp(x_ / 50) : x_) : x_;
      item.Y1 = c_.LogY ? std::exp(y_ / 8) : y_;
      if (special(rng_)) {
        const double odd[] = {std::nan(""), kInf, -kInf, 0, -3};
        item.Y1 = odd[std::uniform_int_distribution<int>(0, 4)(rng_)];
        // A NaN x breaks the run: what follows is a run of its own.
        if (item.Y1 == 0) item.X1 = std::nan("");
      }
      list.Append(item, 1000);
      lo_ = std::min(lo_, x_);
      hi_ = std::max(hi_, x_);
    }
  }

  // A random view: a part of the x values seen (zoomed in up to 1000 times,
  // or out), and a y range about the walk.
  std::pair<TAxisRange, TAxisRange> View() {
    std::uniform_real_distribution<double> u(0, 1);
    const double span = (hi_ - lo_) * std::pow(10, -3 * u(rng_) + 0.3);
    const double at = lo_ + (hi_ - lo_) * (u(rng_) * 1.2 - 0.1);
    TAxisRange x{at - span / 2, at + span / 2, c_.LogX};
    if (c_.LogX) x = {std::exp(std::max(x.Low, 1.0) / 50), std::exp(std::max(x.High, 2.0) / 50), true};
    const double ys = 5 + 40 * u(rng_);
    TAxisRange y{y_ - ys, y_ + ys, c_.LogY};
    if (c_.LogY) y = {std::exp(y.Low / 8), std::exp(y.High / 8), true};
    if (c_.Reversed) std::swap(x.Low, x.High);
    return {x, y};
  }

 private:
  SeriesCase c_;
  std::mt19937& rng_;
  double x_ = -5, y_ = 0, lo_ = 0, hi_ = 1;
};

const TChartGeometry kGeometry{320, 220, 12, 6, 9, 11, 0};

// The chart area drawn from the items: by searching the index and keeping
// the reduced runs in `cache`, or (no cache) drawing every segment.
QImage Draw(const TRChartItemList& list, const TLayerMap& map, TItemPixelCache* cache) {
  std::bitset<256> visible;
  visible.set();
  TRenderSettings s;
  s.Geometry = kGeometry;
  s.Maps = {map, map};
  s.ClassVisible = &visible;
  s.ReducePolylines = cache != nullptr;
  s.SortedRuns = cache ? &list.SortedRuns() : nullptr;
  TBitmap b(kGeometry.AreaImageWidth(), kGeometry.AreaImageHeight());
  b.Canvas().Brush.Color = clWhite;
  b.Canvas().FillRect(Rect(0, 0, b.Width(), b.Height()));
  TItemPixelCache plain;
  TItemPixelCache& c = cache ? *cache : plain;
  TItemRenderer r(b.Canvas(), 0, 0, false, s);
  r.Begin();
  r.DrawItems(list.Items(), c.Update(list.Items(), list.Version(), s, 0, 0), &c.Runs());
  return b.Image().copy();
}

class SortedRuns : public ::testing::TestWithParam<SeriesCase> {};

// Points appended in three portions; after each, the last view again (the
// kept runs go on with the new points) and two new views.
TEST_P(SortedRuns, SearchedRunsDrawEverySegmentsPixels) {
  const SeriesCase& c = GetParam();
  std::mt19937 rng(static_cast<unsigned>(c.Points) + c.LogX * 7 + c.Sorted * 13);
  Series series(c, rng);
  TRChartItemList list;
  list.SetMaxItems(TRChartItemList::kMaxItemsCeiling);
  TItemPixelCache cache;
  TLayerMap map = MapLayer({0, 1}, {0, 1}, kGeometry);
  for (int portion = 0; portion < 3; ++portion) {
    series.Append(list, c.Points / 3);
    for (int view = 0; view < 3; ++view) {
      if (view > 0) {
        const auto [x, y] = series.View();
        map = MapLayer(x, y, kGeometry);
      }
      ASSERT_EQ(Draw(list, map, &cache), Draw(list, map, nullptr))
          << c.Name << " portion " << portion << " view " << view;
    }
  }
  // The index, with its compact copy of the points, takes less than half of
  // what the items take.
  EXPECT_LT(list.SortedRuns().HeapBytes(), list.Count() * sizeof(TRChartItem) / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SortedRuns,
    ::testing::Values(SeriesCase{"sorted1k", 1000, true, false, false, false, 0, false},
                      SeriesCase{"sorted100kTies", 100000, true, false, false, false, 0.3, false},
                      SeriesCase{"sorted1M", 1000000, true, false, false, false, 0.05, false},
                      SeriesCase{"reversedSpecials", 30000, true, false, false, true, 0.1, true},
                      SeriesCase{"logLogSpecials", 30000, true, true, true, false, 0.1, true},
                      SeriesCase{"logReversed", 30000, true, true, false, true, 0.6, false},
                      SeriesCase{"unsortedWalk", 30000, false, false, false, false, 0.1, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// The double form of the mapping gives the extended form's pixel also for
// values a few units in the last place from a half pixel, for far offsets
// and for values beyond the surface.
// A live chart panned by the mouse while a time series grows, through the
// paint cache: every frame shows what drawing every segment shows.
TEST(SortedRuns, PanningWhilePointsAreAppended) {
  auto c = LiveChart(300, 220);
  c->SetMaxItems(200000);
  c->SetLayerRanges(1, 0, -40, 20000, 40);
  c->SetMouseAction(maPan);
  std::mt19937 rng(5);
  std::normal_distribution<double> step(0, 1);
  double y = 0;
  int n = 0;
  const TShiftState left{ssLeft};
  c->MouseDown(mbLeft, left, 150, 110);
  for (int frame = 0; frame < 12; ++frame) {
    for (int i = 0; i < 5000; ++i, ++n) c->LineTo(n, y += step(rng));
    c->MouseMove(left, 150 - 9 * frame, 110 + (frame % 3) * 7);
    c->Paint();
    std::bitset<256> visible;
    visible.set();
    TRenderSettings s;
    s.Geometry = c->Geometry();
    s.Maps = {c->LayerMap(1), c->LayerMap(2)};
    s.ClassVisible = &visible;
    s.ReducePolylines = false;
    TBitmap b(s.Geometry.AreaImageWidth(), s.Geometry.AreaImageHeight());
    b.Canvas().Pen.Color = c->ChartFrameColor();
    b.Canvas().Brush.Color = c->ChartColor();
    b.Canvas().Rectangle(0, 0, b.Width(), b.Height());
    TItemPixelCache cache;
    const auto items = c->ItemList().Items();
    TItemRenderer r(b.Canvas(), 0, 0, false, s);
    r.Begin();
    r.DrawItems(items, cache.Update(items, c->ItemList().Version(), s, 0, 0));
    r.DrawFrame(c->ChartFrameColor());
    ASSERT_EQ(c->ChartAreaImage().Image(), b.Image()) << "frame " << frame;
  }
  c->MouseUp(mbLeft, left, 50, 110);
}

// Both the single values' and the blocks' form (fed to a reducer on a surface
// wide enough to keep every point).
TEST(ItemPixel, DoubleFormKeepsTheExtendedFormsPixelNearHalves) {
  const struct {
    double Low, High;
    int Width;
  } axes[] = {{0, 1, 301}, {-7.3, 1e6, 641}, {1e12, 1e12 + 3, 1001}, {5, -5, 99},
                 {-1e9, 1e9, 30}, {1e5, 1e5 + 1, 1001}};
  for (const auto& a : axes) {
    TChartGeometry g{a.Width, 100, 0, 0, 0, 0, 0};
    const TAxisMap m = MapHorizontal({a.Low, a.High, false}, g);
    // Shifted so that every pixel, down to -30000, has a column of its own.
    constexpr int kShift = 40000;
    const TItemMapper map(TLayerMap{m, m}, kShift, kShift);
    ASSERT_TRUE(map.FastX);
    std::vector<double> values;
    for (int px = -40; px < a.Width + 40; px += 7) {
      double v = WorldOf(m, px + 0.5L);
      for (int k = 0; k < 8; ++k) v = std::nextafter(v, -kInf);
      // Each between two far points, so that the reducer keeps every one.
      for (int k = 0; k < 16; ++k, v = std::nextafter(v, kInf)) values.insert(values.end(), {v, -1e300});
    }
    for (double v : {1e300, -1e300, kInf, -kInf, std::nan(""), -0.0}) values.push_back(v);
    TSortedRunIndex index;
    TPolylineReducer fed, plain;
    fed.Start({0, 0}, INT32_MAX);
    plain.Start({0, 0}, INT32_MAX);
    for (double v : values) {
      const int px = ClampItemPixel(PixelOf(m, v)) + kShift;
      ASSERT_EQ(map.X(v), px) << a.Low << " " << v;
      TRChartItem item;
      item.Kind = ikLineTo;
      item.X1 = item.Y1 = v;
      index.Append(item);
      plain.Add({px, px});
    }
    FeedMapped(fed, index, 0, values.size(), map);
    EXPECT_EQ(fed.Finished(), plain.Finished()) << a.Low;
  }
}

}  // namespace

}  // namespace travenel
