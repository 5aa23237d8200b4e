// Thousands of seeded random operations on charts — property values at the
// ends of their types, items far outside any range, odd layer ranges and
// sizes, mouse traffic anywhere, sharing — each followed now and then by a
// paint. Nothing may crash, hang or (in the sanitizer build) overflow; a few
// invariants are checked along the way. The seeds are fixed, so a failure
// reproduces.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <random>

#include "chart/rchart.h"
#include "rchart_test_util.h"
#include "ui/Application.h"

namespace {

class RandomChart {
 public:
  explicit RandomChart(std::uint64_t seed) : rng_(seed) {}

  int Int() {
    static constexpr int kEdges[] = {INT_MIN, INT_MIN + 1, -100000, -1,          0,
                                     1,       2,           3,       5,           255,
                                     256,     30000,       100000,  INT_MAX - 1, INT_MAX};
    if (Coin(0.4)) return kEdges[Pick(std::size(kEdges))];
    return std::uniform_int_distribution<int>(-500, 500)(rng_);
  }
  double Real() {
    static constexpr double kEdges[] = {0,        -0.0,      1,     -1,     1e-100,  2e-100,
                                        1e-300,   -1e-300,   1e300, -1e300, DBL_MAX, -DBL_MAX,
                                        INFINITY, -INFINITY, NAN,   1e15,   0.5};
    if (Coin(0.3)) return kEdges[Pick(std::size(kEdges))];
    return std::uniform_real_distribution<double>(-1000, 1000)(rng_);
  }
  bool Coin(double p = 0.5) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }
  int Small(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Operate(TRChart& c, TRChart& other) {
    switch (Pick(31)) {
      case 0: c.SetLRim(Int()); break;
      case 1: c.SetRRim(Int()); break;
      case 2: c.SetTRim(Int()); break;
      case 3: c.SetBRim(Int()); break;
      case 4: c.SetShadowWidth(Int()); break;
      case 5: c.SetBounds(Int() % 3000, Int() % 3000, Small(-10, 420), Small(-10, 320)); break;
      case 6: c.SetLayerRanges(Small(0, 3), Real(), Real(), Real(), Real()); break;
      case 7: c.GetScalePropsX(Small(1, 2)).SetRangeLow(Real()); break;
      case 8: c.GetScalePropsY(Small(1, 2)).SetRangeHigh(Real()); break;
      case 9: c.GetScalePropsX(Small(1, 2)).SetLogarithmic(Coin()); break;
      case 10: c.GetScalePropsY(Small(1, 2)).SetMinRange(Real()); break;
      case 11: {
        TScaleProps& p = Coin() ? c.GetScalePropsX(Small(1, 2)) : c.GetScalePropsY(Small(1, 2));
        p.SetLabelType(static_cast<TFigType>(Pick(5)));
        p.SetMinTicks(Int());
        p.SetDecPlaces(Int());
        p.SetScalePos(Int() % 100000);
        p.SetVisible(Coin(0.7));
        p.SetCaption(Coin() ? "" : "Achse");
        break;
      }
      case 12: c.SetGridStyle(static_cast<GridStyleType>(Pick(8))); break;
      case 13:
        c.SetGridDx(Real());
        c.SetGridDy(Coin() ? Real() : -Small(0, 3));
        break;
      case 14: c.SetStandardLayout(static_cast<TrcLayout>(Pick(6))); break;
      case 15: c.SetIsometric(Coin(0.3)); break;
      case 16: {
        TCrossHair& h = c.CrossHair(Small(1, 4));
        h.SetMode(static_cast<TCrossHMode>(Pick(4)));
        h.SetLayer(Int());
        h.SetLineWid(Int());
        h.SetLineType(static_cast<TPenStyle>(Pick(6)));
        h.SetPosX(Real());
        h.SetPosY(Real());
        break;
      }
      case 17: {
        TTextLabel& l = c.TextLabel(Small(1, 20));
        l.SetMode(static_cast<TTxtLblMode>(Pick(5)));
        l.SetAttachToData(Coin());
        l.SetPosX(Real());
        l.SetPosY(Real());
        l.SetShadowDx(Int());
        l.SetCaption(Coin() ? "eins\nzwei\n" : "");
        l.SetAlignment(static_cast<TAlignment>(Pick(3)));
        break;
      }
      case 18:
        c.SetCaption(Coin() ? "Überschrift" : "");
        c.SetCaptionPosX(Int());
        c.SetCaptionPosY(Int());
        break;
      case 19:
        c.SetCaptionAnchorHoriz(static_cast<TCaptionAnchorHoriz>(Pick(5)));
        c.SetCaptionAnchorVert(static_cast<TCaptionAnchorVert>(Pick(5)));
        break;
      case 20:
      case 21:
      case 22: AddItem(c); break;
      case 23: c.ClearItems(); break;
      case 24: c.SetActiveLayer(Small(0, 3)); break;
      case 25: {
        c.SetMouseAction(static_cast<TMouseActMode>(Pick(15)));
        const TShiftState left{ssLeft};
        c.MouseDown(static_cast<TMouseButton>(Pick(3)), left, Int() % 5000, Int() % 5000);
        for (int i = 0; i < 3; ++i) c.MouseMove(Coin() ? left : TShiftState{}, Int() % 5000, Int());
        c.MouseUp(static_cast<TMouseButton>(Pick(3)), {}, Int(), Int() % 5000);
        break;
      }
      case 26: c.SetUseDataOf(Coin() ? &other : nullptr); break;
      case 27: c.ShowItems(); break;
      case 28:
        c.SetShadowStyle(static_cast<TShadowStyle>(Pick(3)));
        c.SetLineWidth(static_cast<std::uint8_t>(Int()));
        break;
      case 29: c.SetAutoRedraw(Coin(0.1)); break;
      default: c.ArmRubberBand(); break;
    }
  }

  void AddItem(TRChart& c) {
    if (c.ItemCount() >= TRChartItemList::kMaxItems) {
      EXPECT_THROW(c.MoveToPoint(0, 0), EUlxError);
      return;
    }
    c.SetDataColor(static_cast<TColor>(rng_()));
    c.SetPenStyle(static_cast<TPenStyle>(Pick(6)));
    c.SetFillColor(static_cast<TColor>(rng_()));
    switch (Pick(13)) {
      case 0: c.MarkAt(Real(), Real(), static_cast<std::uint8_t>(Pick(256)), Int()); break;
      case 1: c.AddLine(Real(), Real(), Real(), Real()); break;
      case 2: c.LineTo(Real(), Real()); break;
      case 3: c.Rectangle(Real(), Real(), Real(), Real(), Coin()); break;
      case 4:
        c.Rect3D(Real(), Real(), Real(), Real(), static_cast<TFrameStyle>(Pick(8)), clBlue, clLime);
        break;
      case 5: c.Bar3D(Real(), Real(), Real(), Real(), Int(), Int()); break;
      case 6: c.Text(Real(), Real(), "Text mit Umlaut ä", Small(-5, 40)); break;
      case 7: c.Ellipse(Real(), Real(), Real(), Real(), Coin()); break;
      case 8: c.MoveToRelPix(Real(), Real()); break;
      case 9: c.LineToRelPix(Real(), Real()); break;
      case 10: c.Arrow(Real(), Real(), Real(), Real(), Int(), Coin()); break;
      default: c.MoveToPoint(Real(), Real()); break;
    }
  }

 private:
  std::mt19937_64 rng_;
};

TEST(ChartRandomOperations, NothingBreaksAtTheEdgesOfTheValues) {
  const TMessageSink previous = SetMessageSink([](TMessageKind, const std::string&) {});
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    RandomChart r(seed);
    auto a = LiveChart(), b = LiveChart();
    // Explicit paints only, mostly: with AutoRedraw every setter would paint.
    a->SetAutoRedraw(false);
    b->SetAutoRedraw(false);
    for (int i = 0; i < 1200; ++i) {
      TRChart& c = r.Coin() ? *a : *b;
      r.Operate(c, &c == a.get() ? *b : *a);
      if (i % 5 == 0) {
        c.Paint();
        const TChartGeometry g = c.Geometry();
        const bool area = g.AreaImageWidth() > 0 && g.AreaImageHeight() > 0;
        ASSERT_EQ(c.ChartAreaImage().Width(), area ? g.AreaImageWidth() : 0) << seed << " " << i;
      }
      // What painting relies on stays true.
      ASSERT_LE(c.ItemCount(), TRChartItemList::kMaxItems);
      ASSERT_GE(c.ShadowWidth(), 0);
      ASSERT_LE(c.ShadowWidth(), TCustomRChart::kMaxShadowWidth);
    }
    // Tearing down a group in either order leaves nothing behind.
    if (seed % 2)
      a.reset();
    else
      b.reset();
  }
  SetMessageSink(previous);
}

}  // namespace
