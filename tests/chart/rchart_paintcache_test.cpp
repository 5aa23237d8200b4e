// The paint cache against the reference: two charts set up and changed alike,
// one painting with what its last paint left, one drawing everything at every
// paint. After every step their window pictures, chart-area images, surface
// states, axis tick lists and paint counts must be equal. The set-ups cover
// layouts, shadows, captions, logarithmic, time and date axes, grids,
// background pictures, labels, cross-hairs, fonts, handlers that draw and
// printer surfaces; the steps are seeded random changes between paints.
#include "travenel/chart/rchart_paintcache.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "rchart_test_util.h"

namespace travenel {

namespace {

using TChange = std::function<void(TRChart&)>;

// A picture file; `shade` changes what it holds (a chart reads it at every pass).
std::string PictureFile(int shade = 0) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bg.png"));
  QImage img(23, 17, QImage::Format_RGB32);
  img.fill(qRgb(shade % 256, 90, 200));
  img.setPixel(3, 4, qRgb(0, 0, 0));
  img.save(path);
  return path.toStdString();
}

// [0] paints with its cache, [1] without.
class Pair {
 public:
  explicit Pair(const TChange& setUp) {
    for (auto& c : c_) setUp(*(c = LiveChart(297, 233)));
    SetPaintCacheEnabled(*c_[1], false);
  }
  void Both(const TChange& f) {
    for (auto& c : c_) f(*c);
  }
  // Reading the chart-area image brings it up to date, so it is read only
  // when `area`: otherwise the next paints start from a window picture that
  // holds the area the image has yet to get.
  ::testing::AssertionResult Same(bool area = true) {
    TRChart &a = *c_[0], &b = *c_[1];
    const auto fail = [](const char* what) { return ::testing::AssertionFailure() << what; };
    if (!(a.ControlImage().Image() == b.ControlImage().Image())) return fail("window picture");
    if (!(a.ControlImage().Canvas().State() == b.ControlImage().Canvas().State()))
      return fail("window surface state");
    if (area && !(a.ChartAreaImage().Image() == b.ChartAreaImage().Image()))
      return fail("area image");
    if (area && !(a.ChartAreaImage().Canvas().State() == b.ChartAreaImage().Canvas().State()))
      return fail("area surface state");
    if (a.PaintCount() != b.PaintCount()) return fail("paint count");
    const auto ticks = [](TScale& s) { return std::make_pair(s.NumTicks(), s.TickPositions()); };
    for (int layer = 1; layer <= 2; ++layer)
      if (ticks(a.ScaleObjectX(layer)) != ticks(b.ScaleObjectX(layer)) ||
          ticks(a.ScaleObjectY(layer)) != ticks(b.ScaleObjectY(layer)))
        return fail("tick list");
    return ::testing::AssertionSuccess();
  }

 private:
  std::unique_ptr<TRChart> c_[2];
};

// The population chart's look.
void WindowLook(TRChart& c) {
  c.SetRRim(20), c.SetTRim(20), c.SetBRim(40), c.Scale1X().SetCaption("timesteps");
  c.SetCaption("rot : Angelagerte Agenten  ||  grün : Freie Agenten");
  c.SetLayerRanges(1, 0, 0, 100, 1000);
}

// Handlers draw where their call count says: a call left out shows.
void SetUpChart(TRChart& c, int n) {
  TFont f;
  const auto mark = [calls = 0](auto&, TCanvas& s, auto&&...) mutable {
    s.SetPixels(++calls % 40, 2, clRed);
  };
  switch (n) {
    case 0: return WindowLook(c);
    case 1: return c.SetStandardLayout(rcl_X1Bottom_Y2Left), c.SetShadowWidth(6);
    case 2:
      c.SetStandardLayout(rcl_X1Bottom_Y2Both), c.SetShadowWidth(4), c.SetShadowStyle(ssBox);
      return c.SetCaption("Mitte"), c.SetCaptionAnchorVert(cavChartBottom);
    case 3:
      c.SetStandardLayout(rcl_X2Both_Y2Both), c.SetLayerRanges(1, 1, 0.01, 1e5, 100);
      c.Scale1X().SetLogarithmic(true), c.Scale1Y().SetLogarithmic(true);
      return c.SetGridStyle(gsDotLines), c.SetGridDx(-2);
    case 4:
      c.Scale1X().SetLabelType(ftTime), c.Scale1Y().SetLabelType(ftDateTime);
      return c.SetLayerRanges(1, 0, 45000, 7200, 45030), c.SetGridStyle(gsLines);
    case 5: return c.BackGroundImg().SetIncludePath(true), c.BackGroundImg().SetName(PictureFile());
    case 6:
      c.TextLabel(4).SetMode(tlShadow), c.TextLabel(4).SetCaption("eins\nzwei");
      return c.CrossHair(1).SetMode(chBoth), c.CrossHair(1).SetPosX(0.3);
    case 7:
      f.SetName("DejaVu Sans"), f.SetHeight(15), f.SetStyle({fsBold}), f.SetColor(clMaroon);
      c.Scale1Y().SetFont(f), c.Font().SetHeight(14), c.SetWindColor(0x30A0F0);
      return c.SetChartColor(0xE0FFE0), c.SetChartFrameColor(clRed), c.SetCaption("Farben");
    case 8: return void(c.OnScalesRendered = mark);
    case 9: return void(c.OnScaleTickDrawn = mark);
    case 10: return void(c.ScaleObjectY(1).OnAfterScaleRendered = mark);
    case 11: return void(c.OnDataRendered = mark);
    default:
      c.ControlImage().Canvas().SetPrinter(true, 300);
      return c.ChartAreaImage().Canvas().SetPrinter(true, 300), c.Text(0.5, 0.5, "Text", 10);
  }
}
constexpr int kSetUps = 13;

// One change; a, b, k and the fractions x .. v of the ranges are drawn once
// per step, so both charts get the same.
void Change(TRChart& c, int op, int a, int b, int k, double fx, double fy, double fu, double fv) {
  const double x0 = c.Scale1X().RangeLow(), dx = c.Scale1X().RangeHigh() - x0;
  const double y0 = c.Scale1Y().RangeLow(), dy = c.Scale1Y().RangeHigh() - y0;
  const double x = x0 + fx * dx, y = y0 + fy * dy, u = x0 + fu * dx, v = y0 + fv * dy;
  TFont f = c.Scale1X().Font();
  TBitmap other(40, 30);
  const TShiftState left{ssLeft};
  switch (op) {
    case 0:  // the window's step: two lines, then (mostly) a repaint
      c.SetDataColor(a % 2 ? clRed : clGreen), c.SetLineWidth(k == 7 ? 3 : 1);
      c.SetPenStyle(k == 6 ? psDash : psSolid);
      return c.AddLine(x, y, u, v), c.AddLine(u, v, x0 + fy * dx, y0 + fx * dy);
    case 1: return c.SetActiveLayer(1);
    case 2: return c.MarkAt(x, y, static_cast<std::uint8_t>(a % 60));
    case 3: return c.LineTo(x, y);
    case 4: return c.Rectangle(x, y, u, v, b % 2), c.Text(u, y, "Tx", 8 + b % 9);
    case 5: return c.Ellipse(x, y, 3, 40, b % 2), c.Arrow(x, y, u, v, 8);
    case 6: return c.MoveToPoint(x, y), c.LineToRelPix(a % 30 - 15, b % 30 - 15);
    case 7: return c.ClearItems();
    case 8: return c.SetLayerRanges(1, x - dx / 2, y - dy / 2, u + dx / 2, v + dy / 2);
    case 9: return c.SetBounds(0, 0, 200 + a / 4, 150 + b / 5);
    case 10: return c.SetLRim(10 + a % 70), c.SetBRim(b % 60), c.SetShadowWidth(k);
    case 11: return c.Font().SetHeight(8 + k);
    case 12:
      f.SetHeight(9 + k), f.SetColor(a % 2 ? clBlue : clWindowText);
      return (b % 2 ? c.GetScalePropsX(1) : c.GetScalePropsY(1)).SetFont(f);
    case 13: return c.SetChartColor(a % 2 ? clWhite : 0xF0E0D0), c.SetWindColor(0xD0F0F0 + b);
    case 14: return c.SetCaption(std::string(a % 4, 'K')), c.SetCaptionAlignment(TAlignment(b % 3));
    case 15: return c.SetCaptionAnchorHoriz(TCaptionAnchorHoriz(k % 5));
    case 16: return c.Scale1Y().SetDecPlaces(k - 3), c.Scale1X().SetMinTicks(2 + k);
    case 17: return c.SetStandardLayout(TrcLayout(k % 5));
    case 18:
      c.TextLabel(1 + k % 3).SetMode(TTxtLblMode(a % 5)), c.TextLabel(1 + k % 3).SetPosX(x);
      return c.TextLabel(1 + k % 3).SetPosY(y), c.TextLabel(1 + k % 3).SetCaption("L");
    case 19:
      c.CrossHair(1 + k % 2).SetMode(TCrossHMode(a % 4)), c.CrossHair(1 + k % 2).SetPosX(x);
      return c.CrossHair(1 + k % 2).SetPosY(y), c.CrossHair(1 + k % 2).SetLineWid(1 + b % 3);
    case 20: return c.SetClassVisible(0, a % 4), c.SetLayerVisible(1 + k % 2, b % 3);
    case 21: return c.SetGridStyle(GridStyleType(k)), c.SetGridDx(a % 3 ? dx / (3 + b % 9) : 0);
    case 22: return c.Scale2Y().SetVisible(a % 2);
    // Others drawing on the pictures or changing their surfaces' state.
    case 23: return c.ControlImage().Canvas().Ellipse(a / 4, b / 5, a / 4 + 30, 99);
    case 24: return c.ChartAreaImage().Canvas().Rectangle(a / 7, b / 9, 77, 55);
    case 25:
      c.ControlImage().Canvas().Font().SetHeight(7 + k), c.ChartAreaImage().Canvas().Pen.Width = 2;
      return c.ChartAreaImage().Canvas().Font().SetName(a % 2 ? "DejaVu Sans" : "Tahoma");
    case 26: return c.RenderControlImage(c.ControlImage().Canvas());
    case 27: return c.RenderControlImage(other.Canvas());
    case 28:  // a zoom window dragged and left open, or finished
      c.SetMouseAction(maZoomWind), c.MouseDown(mbLeft, left, 60, 40), c.MouseMove(left, 60, 40);
      c.MouseMove(left, 120 + a % 60, 90 + b % 60);
      return a % 2 ? c.MouseUp(mbLeft, {}, 120 + a % 60, 90 + b % 60) : void();
    case 29: return c.SetAutoRedraw(a % 5);
    case 30: return c.SetPaintSuppressed(a % 2);
    case 31: return void(PictureFile(a));
    default: {  // an axis given the tick list of another range
      TScale& s = c.ScaleObjectX(1);
      TScale t(true);
      t.SetBounds(0, 0, s.Width(), s.Height()), t.CopyFrom(s), t.SetRangeHigh(s.RangeHigh() + 9);
      return t.ComputeTicks(), t.SetAxis(s.Axis()), s.CopyFrom(t);
    }
  }
}
constexpr int kChanges = 33;

TEST(PaintCache, PicturesAreThoseOfAFullPaint) {
  for (int set = 0; set < kSetUps; ++set) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
      Pair p([set](TRChart& c) { SetUpChart(c, set); });
      std::mt19937 rng(seed * 7919u + static_cast<unsigned>(set));
      const auto n = [&](int hi) { return std::uniform_int_distribution<int>(0, hi)(rng); };
      const auto f = [&] { return std::uniform_real_distribution<double>(-0.2, 1.2)(rng); };
      for (int step = 0; step < 90; ++step) {
        const int op = n(kChanges - 1), a = n(1000), b = n(1000), k = n(7);
        const double x = f(), y = f(), u = f(), v = f();
        p.Both([&](TRChart& c) { Change(c, op, a, b, k, x, y, u, v); });
        ASSERT_TRUE(p.Same(n(3) == 0)) << "set-up " << set << ", seed " << seed << ", step " << step;
        const int then = n(3);  // mostly a repaint follows, sometimes the next change
        if (then < 3) p.Both([then](TRChart& c) { then == 2 ? c.ShowItems() : c.Paint(); });
        ASSERT_TRUE(p.Same(n(3) == 0))
            << "set-up " << set << ", seed " << seed << ", step " << step << "+";
      }
    }
  }
}

// Orders of events the random steps seldom meet: with painting held,
// cross-hairs change, then only the area is redrawn.
TEST(PaintCache, AreaRedrawAfterChangesWhilePaintingIsHeld) {
  const TChange changes[] = {
      [](TRChart& c) { c.CrossHair(1).SetMode(chOff); },
      [](TRChart& c) { c.CrossHair(1).SetPosX(70); },
      [](TRChart& c) { c.CrossHair(2).SetLayer(1), c.CrossHair(2).SetMode(chVert); },
      [](TRChart& c) { c.SetChartColor(clYellow); },
  };
  for (const TChange& change : changes) {
    Pair p(WindowLook);
    p.Both([](TRChart& c) {
      c.CrossHair(1).SetMode(chBoth), c.CrossHair(1).SetPosX(40), c.CrossHair(1).SetPosY(500);
      c.AddLine(0, 0, 50, 500), c.Paint(), c.Paint(), c.SetPaintSuppressed(true);
    });
    p.Both(change);
    p.Both([](TRChart& c) { c.AddLine(50, 500, 90, 200), c.ShowItems(); });
    ASSERT_TRUE(p.Same());
    p.Both([](TRChart& c) { c.SetPaintSuppressed(false); });
    ASSERT_TRUE(p.Same());
  }
}

}  // namespace

}  // namespace travenel
