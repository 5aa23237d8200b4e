// Thousands of seeded random operations on charts — property values at the
// ends of their types, items far outside any range, odd layer ranges and
// sizes, mouse traffic anywhere, sharing — each followed now and then by a
// paint. Nothing may crash, hang or (in the sanitizer build) overflow; a few
// invariants are checked along the way. Then mouse sequences in every mode,
// checked after each event, and sharing groups that render handlers change
// while charts of them are destroyed in any order. The seeds are fixed, so a
// failure reproduces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <string>

#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"
#include "travenel/ui/Application.h"

namespace travenel {

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

// --- mouse sequences in every mode ----------------------------------------------------

// What a mouse event must keep of an axis: finite ends, its direction (unless
// the zoom window turns it round, as that mode may), and positive ends on a
// logarithmic axis.
struct TAxisState {
  bool Finite = false, Positive = false;
  int Direction = 0;
};

TAxisState StateOf(const TScaleProps& p) {
  const double lo = p.RangeLow(), hi = p.RangeHigh();
  return {std::isfinite(lo) && std::isfinite(hi),
          lo >= TScaleProps::kMinLogBound && hi >= TScaleProps::kMinLogBound,
          (hi > lo) - (hi < lo)};
}

// Ranges a user may set: linear ones of any span, either way round, and
// positive logarithmic ones.
void NewStart(RandomChart& r, TRChart& c) {
  for (int layer = 1; layer <= 2; ++layer) {
    double ends[4];
    for (int axis = 0; axis < 2; ++axis) {
      TScaleProps& p = axis == 0 ? c.GetScalePropsX(layer) : c.GetScalePropsY(layer);
      const bool log = r.Coin(0.3);
      const double span = std::pow(10.0, r.Small(-9, 12));
      double lo = log ? std::pow(10.0, r.Small(-99, 200)) : r.Small(-1000, 1000) * span;
      double hi = log ? lo * std::pow(10.0, r.Small(1, 30) / 10.0) : lo + span;
      if (r.Coin(0.2)) std::swap(lo, hi);
      ends[axis] = lo;
      ends[axis + 2] = hi;
      p.SetLogarithmic(false);
      p.SetMinRange(r.Coin() ? 1e-10 : span / r.Small(1, 1000));
    }
    c.SetLayerRanges(layer, ends[0], ends[1], ends[2], ends[3]);
    if (ends[0] > 0 && ends[2] > 0) c.GetScalePropsX(layer).SetLogarithmic(r.Coin(0.5));
    if (ends[1] > 0 && ends[3] > 0) c.GetScalePropsY(layer).SetLogarithmic(r.Coin(0.5));
    c.SetMouseLayerEnabled(layer, r.Coin(0.7));
  }
  try {
    c.JointLayers().SetL02xControlledBy(r.Coin(0.3) ? 1 : 2);
    c.JointLayers().SetL01yControlledBy(r.Coin(0.2) ? 2 : 1);
  } catch (const EUlxRChartError&) {
  }
  c.SetIsometric(r.Coin(0.15));
}

TEST(ChartRandomOperations, MouseInEveryModeKeepsAxesFiniteOrderedAndPositive) {
  for (std::uint64_t seed : {11u, 12u, 13u}) {
    RandomChart r(seed);
    auto c = LiveChart(r.Small(130, 500), r.Small(90, 400));
    const auto coord = [&](int extent) {
      if (r.Coin(0.1)) return r.Int();
      return r.Coin(0.8) ? r.Small(-20, extent + 20) : r.Small(-4 * extent, 5 * extent);
    };
    for (int i = 0; i < 800; ++i) {
      if (i % 10 == 0) NewStart(r, *c);
      const auto mode = static_cast<TMouseActMode>(r.Pick(15));
      c->SetMouseAction(mode);
      // One event, then what it kept of each axis (a joined one may turn
      // with the axis it follows).
      const auto axis = [&](int a) -> TScaleProps& {
        return a % 2 ? c->GetScalePropsY(a / 2 + 1) : c->GetScalePropsX(a / 2 + 1);
      };
      const auto event = [&](const char* what, auto&& run) {
        std::array<TAxisState, 4> before;
        for (int a = 0; a < 4; ++a) before[a] = StateOf(axis(a));
        run();
        const TJointLayers& j = c->JointLayers();
        for (int a = 0; a < 4; ++a) {
          const TAxisState now = StateOf(axis(a));
          const int layer = a / 2 + 1;
          const bool joined = (a % 2 ? j.ControlledByY(layer) : j.ControlledByX(layer)) != layer;
          ASSERT_TRUE((now.Finite || !before[a].Finite) &&
                      (now.Positive || !before[a].Positive || !axis(a).Logarithmic()) &&
                      (now.Direction == before[a].Direction || joined || mode == maZoomWind))
              << what << ", seed " << seed << " step " << i << " mode " << int{mode} << " axis "
              << a;
        }
      };
      const TMouseButton button = r.Coin(0.8) ? mbLeft : static_cast<TMouseButton>(r.Pick(3));
      event("down", [&] { c->MouseDown(button, {ssLeft}, coord(c->Width()), coord(c->Height())); });
      for (int m = r.Small(1, 6); m > 0; --m) {
        const TShiftState shift = r.Coin(0.85) ? TShiftState{ssLeft} : TShiftState{};
        event("move", [&] { c->MouseMove(shift, coord(c->Width()), coord(c->Height())); });
      }
      event("up", [&] { c->MouseUp(button, {}, coord(c->Width()), coord(c->Height())); });
    }
  }
}

// --- sharing groups ---------------------------------------------------------------------

constexpr std::size_t kSharingCharts = 6;
using TChartSlots = std::array<std::unique_ptr<TRChart>, kSharingCharts>;

// Every reference of a group names a chart that exists and refers back.
void ExpectConsistentGroups(const TChartSlots& charts, const std::string& where) {
  std::set<const TCustomRChart*> live;
  for (const auto& c : charts)
    if (c) live.insert(c.get());
  for (const auto& c : charts) {
    if (!c) continue;
    if (const TCustomRChart* owner = c->UseDataOf()) {
      ASSERT_TRUE(live.count(owner)) << where;
      EXPECT_EQ(owner->UseDataOf(), nullptr) << where;
      EXPECT_EQ(std::count(owner->DataUsers().begin(), owner->DataUsers().end(), c.get()), 1)
          << where;
      EXPECT_EQ(&owner->ItemList(), &c->ItemList()) << where;
    }
    ASSERT_LE(c->DataUsers().size(), std::size_t{TCustomRChart::kMaxDataUsers}) << where;
    for (const TCustomRChart* user : c->DataUsers()) {
      ASSERT_TRUE(live.count(user)) << where;
      EXPECT_EQ(user->UseDataOf(), c.get()) << where;
    }
  }
}

TEST(ChartRandomOperations, SharingGroupsChangedByHandlersAndDestroyedInAnyOrder) {
  const TMessageSink previous = SetMessageSink([](TMessageKind, const std::string&) {});
  for (std::uint64_t seed : {21u, 22u, 23u}) {
    RandomChart r(seed);
    TChartSlots charts;
    int depth = 0;  // handlers change the group only a few calls deep
    const auto any = [&]() -> TRChart* { return charts[r.Pick(kSharingCharts)].get(); };
    const auto make = [&](std::size_t i) {
      charts[i] = LiveChart(r.Small(100, 300), r.Small(60, 200));
      charts[i]->SetAutoRedraw(r.Coin(0.8));
      charts[i]->OnDataRendered = [&](auto&&...) {
        if (depth >= 3 || !r.Coin(0.4)) return;
        ++depth;
        if (TRChart* c = any()) c->SetUseDataOf(r.Coin(0.7) ? any() : nullptr);
        --depth;
      };
    };
    for (std::size_t i = 0; i < kSharingCharts; ++i) make(i);
    for (int i = 0; i < 500; ++i) {
      const std::size_t slot = r.Pick(kSharingCharts);
      TRChart* c = charts[slot].get();
      if (!c) {
        make(slot);
      } else {
        switch (r.Pick(6)) {
          case 0: c->SetUseDataOf(r.Coin(0.8) ? any() : nullptr); break;
          case 1:
            if (c->ItemCount() < TRChartItemList::kMaxItems) c->AddLine(r.Real(), 1, 2, r.Real());
            break;
          case 2: c->ShowItems(); break;
          case 3: c->Paint(); break;
          case 4: c->ClearItems(); break;
          default: charts[slot].reset(); break;
        }
      }
      ExpectConsistentGroups(charts, "seed " + std::to_string(seed) + " step " + std::to_string(i));
    }
    // The rest go in a random order.
    std::array<std::size_t, kSharingCharts> order{0, 1, 2, 3, 4, 5};
    std::shuffle(order.begin(), order.end(), std::mt19937_64(seed));
    for (std::size_t slot : order) {
      charts[slot].reset();
      ExpectConsistentGroups(charts, "teardown, seed " + std::to_string(seed));
    }
  }
  SetMessageSink(previous);
}

}  // namespace

}  // namespace travenel
