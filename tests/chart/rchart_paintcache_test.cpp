// The paint cache against the reference: two charts set up and changed alike,
// one painting with what its last paint left and one composing and rendering
// everything at every paint. After every step their window pictures, their
// chart-area images, the state both surfaces are left in, the axes' tick
// lists and the paint counts must be the same. The set-ups cover the standard
// layouts, shadows, captions, logarithmic, time and date axes, grids,
// background pictures, text labels, cross-hairs, fonts, handlers that draw and
// printer surfaces; the steps are seeded random changes between paints.
#include "chart/rchart_paintcache.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "rchart_test_util.h"

namespace {

using TSetUp = std::function<void(TRChart&)>;

std::string Named(const char* prefix, int n) {
  std::string s = prefix;
  s += std::to_string(n);
  return s;
}

// A picture file; `shade` changes what it holds (a chart reads it at every pass).
std::string PictureFile(int shade = 0) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bg.png"));
  QImage img(23, 17, QImage::Format_RGB32);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x)
      img.setPixel(x, y, qRgb(10 * x, 15 * y, (200 - 5 * x + shade) % 256));
  img.save(path);
  return path.toStdString();
}

std::string StateText(const TCanvasState& s) {
  std::ostringstream o;
  o << "pen " << std::hex << s.Pen.Color << std::dec << "/" << int(s.Pen.Style) << "/"
    << s.Pen.Width << "/" << int(s.Pen.Mode) << " brush " << std::hex << s.Brush.Color << std::dec
    << "/" << int(s.Brush.Style) << " font " << s.Font.Name << "/" << s.Font.Height << "/"
    << std::hex << s.Font.Color << std::dec << " at " << s.PenPos.X << "," << s.PenPos.Y
    << " phase " << s.DashPhase;
  return o.str();
}

::testing::AssertionResult SameImage(const QImage& a, const QImage& b, const char* what) {
  if (a == b) return ::testing::AssertionSuccess();
  if (a.size() != b.size()) return ::testing::AssertionFailure() << what << ": sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return ::testing::AssertionFailure()
               << what << ": pixel (" << x << ", " << y << ") " << std::hex << a.pixel(x, y)
               << " cached, " << b.pixel(x, y) << " reference";
  return ::testing::AssertionFailure() << what << ": differ";
}

// A chart pair: [0] paints with its cache, [1] without.
class Pair {
 public:
  explicit Pair(const TSetUp& setUp) {
    for (auto& c : c_) {
      c = LiveChart(297, 233);
      setUp(*c);
    }
    SetPaintCacheEnabled(*c_[1], false);
  }
  template <class F>
  void Both(F&& f) {
    for (auto& c : c_) f(*c);
  }
  TRChart& Cached() { return *c_[0]; }
  ::testing::AssertionResult Same() {
    TRChart& a = *c_[0];
    TRChart& b = *c_[1];
    auto r = SameImage(a.ControlImage().Image(), b.ControlImage().Image(), "window picture");
    if (!r) return r;
    r = SameImage(a.ChartAreaImage().Image(), b.ChartAreaImage().Image(), "chart-area image");
    if (!r) return r;
    if (!(a.ControlImage().Canvas().State() == b.ControlImage().Canvas().State()))
      return ::testing::AssertionFailure()
             << "window surface: " << StateText(a.ControlImage().Canvas().State()) << " vs "
             << StateText(b.ControlImage().Canvas().State());
    if (!(a.ChartAreaImage().Canvas().State() == b.ChartAreaImage().Canvas().State()))
      return ::testing::AssertionFailure()
             << "area surface: " << StateText(a.ChartAreaImage().Canvas().State()) << " vs "
             << StateText(b.ChartAreaImage().Canvas().State());
    if (a.PaintCount() != b.PaintCount()) return ::testing::AssertionFailure() << "paint count";
    for (int layer = 1; layer <= 2; ++layer)
      for (const bool x : {true, false}) {
        const TScale& s = x ? a.ScaleObjectX(layer) : a.ScaleObjectY(layer);
        const TScale& t = x ? b.ScaleObjectX(layer) : b.ScaleObjectY(layer);
        if (s.NumTicks() != t.NumTicks() || s.TickPositions() != t.TickPositions())
          return ::testing::AssertionFailure() << "tick list of an axis of layer " << layer;
      }
    return ::testing::AssertionSuccess();
  }

 private:
  std::unique_ptr<TRChart> c_[2];
};

// The population chart's look: rims, caption above the area's right end,
// captioned axes.
void WindowLook(TRChart& c) {
  c.SetRRim(20);
  c.SetTRim(20);
  c.SetBRim(40);
  c.SetCaption("rot : Angelagerte Agenten  ||  grün : Freie Agenten");
  c.SetCaptionPosY(-16);
  c.Scale1X().SetCaption("timesteps");
  c.Scale1Y().SetCaption("agents");
  c.SetLayerRanges(1, 0, 0, 100, 1000);
}

const std::vector<std::pair<const char*, TSetUp>>& SetUps() {
  static const std::vector<std::pair<const char*, TSetUp>> kSetUps = {
      {"window", WindowLook},
      {"layout 1, flying shadow",
       [](TRChart& c) {
         c.SetStandardLayout(rcl_X1Bottom_Y2Left);
         c.SetShadowWidth(6);
       }},
      {"layout 2, box shadow, centred caption",
       [](TRChart& c) {
         c.SetStandardLayout(rcl_X1Bottom_Y2Both);
         c.SetShadowWidth(4);
         c.SetShadowStyle(ssBox);
         c.SetCaption("Mitte");
       }},
      {"layout 3, caption bottom left",
       [](TRChart& c) {
         c.SetStandardLayout(rcl_X2Bottom_Y2Left);
         c.SetCaption("unten");
         c.SetCaptionAnchorHoriz(cahControlLeft);
         c.SetCaptionAnchorVert(cavChartBottom);
         c.SetCaptionAlignment(taLeftJustify);
       }},
      {"layout 4, logarithmic, dotted grid",
       [](TRChart& c) {
         c.SetStandardLayout(rcl_X2Both_Y2Both);
         c.SetLayerRanges(1, 1, 0.01, 1e5, 100);
         c.Scale1X().SetLogarithmic(true);
         c.Scale1Y().SetLogarithmic(true);
         c.SetGridStyle(gsDotLines);
         c.SetGridDx(-2);
       }},
      {"clock time and dates, grid on ticks",
       [](TRChart& c) {
         c.Scale1X().SetLabelType(ftTime);
         c.SetLayerRanges(1, 0, 45000, 7200, 45030);
         c.Scale1Y().SetLabelType(ftDateTime);
         c.SetGridStyle(gsLines);
       }},
      {"picture background",
       [](TRChart& c) {
         c.BackGroundImg().SetIncludePath(true);
         c.BackGroundImg().SetName(PictureFile());
         c.BackGroundImg().SetFillMode(bfTile);
       }},
      {"stretched picture, text labels, cross-hairs",
       [](TRChart& c) {
         c.BackGroundImg().SetIncludePath(true);
         c.BackGroundImg().SetName(PictureFile());
         c.TextLabel(4).SetMode(tlShadow);
         c.TextLabel(4).SetCaption("eins\nzwei");
         c.TextLabel(4).SetPosX(40);
         c.TextLabel(4).SetPosY(30);
         c.CrossHair(1).SetMode(chBoth);
         c.CrossHair(1).SetPosX(0.3);
         c.CrossHair(1).SetPosY(0.6);
       }},
      {"fonts and colours",
       [](TRChart& c) {
         TFont f;
         f.SetName("DejaVu Sans");
         f.SetHeight(15);
         f.SetStyle({fsBold});
         f.SetColor(clMaroon);
         c.Scale1Y().SetFont(f);
         c.Font().SetHeight(14);
         c.SetWindColor(0x30A0F0);
         c.SetChartColor(0xE0FFE0);
         c.SetChartFrameColor(clRed);
         c.SetCaption("Farben");
       }},
      // Each handler draws where its call count says: a call left out shows.
      {"OnScalesRendered draws",
       [](TRChart& c) {
         c.OnScalesRendered = [n = std::make_shared<int>(0)](TCustomRChart&, TCanvas& s, int, int) {
           s.SetPixels(++*n % 40, 2, clRed);
         };
       }},
      {"OnScaleTickDrawn draws",
       [](TRChart& c) {
         c.OnScaleTickDrawn = [n = std::make_shared<int>(0)](TScale&, TCanvas& s, TScaleType,
                                                             double, int x, int y) {
           s.SetPixels(x + 2, y + ++*n % 5, clRed);
         };
       }},
      {"an axis's own handler draws",
       [](TRChart& c) {
         c.ScaleObjectY(1).OnAfterScaleRendered = [n = std::make_shared<int>(0)](TScale&,
                                                                                 TCanvas& s) {
           s.SetPixels(++*n % 30, 3, clBlue);
         };
       }},
      {"OnDataRendered draws",
       [](TRChart& c) {
         c.OnDataRendered = [n = std::make_shared<int>(0)](TCustomRChart&, TCanvas& s, int top,
                                                           int left) {
           s.Rectangle(60 - left, 60 - top, 70 - left + ++*n % 7, 66 - top);
         };
       }},
      {"printer surfaces",
       [](TRChart& c) {
         c.ControlImage().Canvas().SetPrinter(true, 300);
         c.ChartAreaImage().Canvas().SetPrinter(true, 300);
         c.SetCaption("gedruckt");
         c.Text(0.5, 0.5, "Text", 10);
       }},
  };
  return kSetUps;
}

// One random change, the same on both charts.
class Changes {
 public:
  explicit Changes(unsigned seed) : rng_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

  std::function<void(TRChart&)> Next() {
    const int a = Int(0, 1000), b = Int(0, 1000), k = Int(0, 7);
    const double x = Real(-0.2, 1.2), y = Real(-0.2, 1.2), u = Real(-0.2, 1.2), v = Real(-0.2, 1.2);
    const auto lo = [](const TScaleProps& p) { return p.RangeLow(); };
    const auto hi = [](const TScaleProps& p) { return p.RangeHigh(); };
    const auto at = [lo, hi](const TScaleProps& p, double f) {
      return lo(p) + f * (hi(p) - lo(p));
    };
    switch (Int(0, 39)) {
      // The items: the window adds two lines per step and repaints.
      case 0:
      case 1:
      case 2:
        return [=](TRChart& c) {
          c.SetDataColor(a % 2 ? clRed : 0x008000);
          c.SetLineWidth(static_cast<std::uint8_t>(k == 7 ? 3 : 1));
          c.SetPenStyle(k == 6 ? psDash : psSolid);
          c.AddLine(at(c.Scale1X(), x), at(c.Scale1Y(), y), at(c.Scale1X(), u), at(c.Scale1Y(), v));
          if (b % 3 == 0) c.AddLine(at(c.Scale1X(), u), at(c.Scale1Y(), v), at(c.Scale1X(), x), 0);
        };
      case 3: return [](TRChart& c) { c.SetActiveLayer(1); };
      case 4: return [](TRChart& c) { c.Paint(); };
      case 5: return [](TRChart& c) { c.ShowItems(); };
      case 6:
        return [=](TRChart& c) {
          switch (k) {
            case 0:
              c.MarkAt(at(c.Scale1X(), x), at(c.Scale1Y(), y), static_cast<std::uint8_t>(a % 60));
              break;
            case 1: c.LineTo(at(c.Scale1X(), x), at(c.Scale1Y(), y)); break;
            case 2:
              c.Rectangle(at(c.Scale1X(), x), at(c.Scale1Y(), y), at(c.Scale1X(), u),
                          at(c.Scale1Y(), v), b % 2);
              break;
            case 3:
              c.Text(at(c.Scale1X(), x), at(c.Scale1Y(), y), Named("Tx", a), 8 + b % 9);
              break;
            case 4: c.Ellipse(at(c.Scale1X(), x), at(c.Scale1Y(), y), 3, 40, b % 2); break;
            case 5: c.MoveToPoint(at(c.Scale1X(), x), at(c.Scale1Y(), y)); break;
            case 6: c.LineToRelPix(a % 30 - 15, b % 30 - 15); break;
            default:
              c.Arrow(at(c.Scale1X(), x), at(c.Scale1Y(), y), at(c.Scale1X(), u),
                      at(c.Scale1Y(), v), 8);
              break;
          }
        };
      case 7: return [](TRChart& c) { c.ClearItems(); };
      case 8:
        return [=](TRChart& c) {
          c.SetLayerRanges(1, at(c.Scale1X(), x - 0.5), at(c.Scale1Y(), y - 0.5),
                           at(c.Scale1X(), u + 0.6), at(c.Scale1Y(), v + 0.6));
        };
      case 9: return [=](TRChart& c) { c.SetBounds(0, 0, 200 + a / 4, 150 + b / 5); };
      case 10: return [=](TRChart& c) { c.SetLRim(10 + a % 70); };
      case 11: return [=](TRChart& c) { c.SetBRim(b % 60); };
      case 12: return [=](TRChart& c) { c.SetShadowWidth(k); };
      case 13: return [=](TRChart& c) { c.Font().SetHeight(8 + k); };
      case 14:
        return [=](TRChart& c) {
          TFont f = c.Scale1X().Font();
          f.SetHeight(9 + k);
          f.SetColor(a % 2 ? clBlue : clWindowText);
          TScaleProps& axis = b % 2 ? static_cast<TScaleProps&>(c.Scale1X()) : c.Scale1Y();
          axis.SetFont(f);
        };
      case 15: return [=](TRChart& c) { c.SetChartColor(a % 2 ? clWhite : 0xF0E0D0); };
      case 16: return [=](TRChart& c) { c.SetWindColor(b % 2 ? clBtnFace : 0xD0F0F0); };
      case 17: return [=](TRChart& c) { c.SetCaption(a % 4 ? Named("Kopf ", b) : ""); };
      case 18:
        return
            [=](TRChart& c) { c.SetCaptionAnchorHoriz(static_cast<TCaptionAnchorHoriz>(k % 5)); };
      case 19: return [=](TRChart& c) { c.SetCaptionAlignment(static_cast<TAlignment>(k % 3)); };
      case 20:
        return [=](TRChart& c) {
          c.Scale1Y().SetDecPlaces(k - 3);
          c.Scale1X().SetMinTicks(2 + k);
        };
      case 21: return [=](TRChart& c) { c.SetStandardLayout(static_cast<TrcLayout>(k % 5)); };
      case 22:
        return [=](TRChart& c) {
          TTextLabel& l = c.TextLabel(1 + k % 3);
          l.SetMode(static_cast<TTxtLblMode>(a % 5));
          l.SetCaption(Named("L", b));
          l.SetPosX(at(c.Scale1X(), x));
          l.SetPosY(at(c.Scale1Y(), y));
        };
      case 23:
        return [=](TRChart& c) {
          TCrossHair& h = c.CrossHair(1 + k % 2);
          h.SetMode(static_cast<TCrossHMode>(a % 4));
          h.SetPosX(at(c.Scale1X(), x));
          h.SetPosY(at(c.Scale1Y(), y));
          h.SetLineWid(1 + b % 3);
        };
      case 24: return [=](TRChart& c) { c.SetClassVisible(0, a % 4 != 0); };
      case 25: return [=](TRChart& c) { c.SetLayerVisible(1 + k % 2, b % 3 != 0); };
      case 26:
        return [=](TRChart& c) {
          c.SetGridStyle(static_cast<GridStyleType>(k));
          c.SetGridDx(a % 3 == 0 ? 0 : (hi(c.Scale1X()) - lo(c.Scale1X())) / (3 + b % 9));
        };
      case 27: return [=](TRChart& c) { c.Scale2Y().SetVisible(a % 2); };
      // Others drawing on the pictures, or on their surfaces' state.
      case 28:
        return [=](TRChart& c) {
          c.ControlImage().Canvas().Ellipse(a % 250, b % 200, a % 250 + 30, b % 200 + 20);
        };
      case 29:
        return [=](TRChart& c) {
          c.ChartAreaImage().Canvas().Rectangle(a % 150, b % 100, a % 150 + 9, b % 100 + 7);
        };
      case 30:
        return [=](TRChart& c) {
          c.ControlImage().Canvas().Font().SetHeight(7 + k);
          c.ChartAreaImage().Canvas().Pen.Width = 1 + k % 2;
          c.ChartAreaImage().Canvas().Font().SetName(a % 2 ? "DejaVu Sans" : "Tahoma");
        };
      case 31: return [](TRChart& c) { c.RenderControlImage(c.ControlImage().Canvas()); };
      case 32:
        return [](TRChart& c) {
          TBitmap other(c.Width(), c.Height());
          c.RenderControlImage(other.Canvas());
        };
      case 33:
        return [=](TRChart& c) {  // a zoom window dragged and left open, or finished
          c.SetMouseAction(maZoomWind);
          c.MouseDown(mbLeft, TShiftState{ssLeft}, 60 + k, 40);
          c.MouseMove(TShiftState{ssLeft}, 60 + k, 40);
          c.MouseMove(TShiftState{ssLeft}, 120 + a % 60, 90 + b % 60);
          if (a % 2) c.MouseUp(mbLeft, {}, 120 + a % 60, 90 + b % 60);
        };
      case 34: return [=](TRChart& c) { c.SetAutoRedraw(a % 5 != 0); };
      case 35: return [=](TRChart&) { PictureFile(a); };  // the background picture's file changes
      case 37: return [](TRChart& c) { c.SetPaintSuppressed(true); };
      case 38: return [](TRChart& c) { c.SetPaintSuppressed(false); };
      case 36:
        return [=](TRChart& c) {  // an axis given the tick list of another range
          TScale& s = c.ScaleObjectX(1);
          TScale other(true);
          other.SetBounds(0, 0, s.Width(), s.Height());
          other.CopyFrom(s);
          other.SetRangeHigh(s.RangeHigh() * 3 + 1);
          other.ComputeTicks();
          other.SetAxis(s.Axis());
          s.CopyFrom(other);
        };
      default:
        return [=](TRChart& c) {
          c.SetPaintSuppressed(true);
          c.Scale1X().SetCaption(Named("s", a));
          c.SetPaintSuppressed(false);
        };
    }
  }

 private:
  std::mt19937 rng_;
};

// Every set-up, painted and then changed step by step.
TEST(PaintCache, PicturesAreThoseOfAFullPaint) {
  for (const auto& [name, setUp] : SetUps()) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
      Pair p(setUp);
      p.Both([](TRChart& c) { c.Paint(); });
      ASSERT_TRUE(p.Same()) << name;
      Changes changes(seed * 7919u + static_cast<unsigned>(std::string(name).size()));
      for (int step = 0; step < 90; ++step) {
        const auto change = changes.Next();
        p.Both(change);
        ASSERT_TRUE(p.Same()) << name << ", seed " << seed << ", step " << step;
        // Often a repaint follows; sometimes the next change comes first.
        const int then = changes.Int(0, 3);
        if (then == 3) continue;
        p.Both([then](TRChart& c) { then == 2 ? c.ShowItems() : c.Paint(); });
        ASSERT_TRUE(p.Same()) << name << ", seed " << seed << ", step " << step << " repainted";
      }
    }
  }
}

// The window's run: the repaint of a step, then its two lines. A handler on
// the tick event sees every paint draw the axes.
TEST(PaintCache, WindowStepsAndTickHandlers) {
  Pair p(WindowLook);
  p.Both([](TRChart& c) {
    c.ClearItems();
    c.MoveToPoint(0, 0);
    c.ShowItems();
  });
  int ticks = 0;
  for (int step = 1; step < 100; ++step) {
    p.Both([&](TRChart& c) {
      c.SetActiveLayer(1);
      c.SetDataColor(clRed);
      c.AddLine(step - 1, 10 * step - 10, step, 10 * step);
      c.SetDataColor(0x008000);
      c.AddLine(step - 1, 1000 - 10 * step, step, 990 - 10 * step);
    });
    ASSERT_TRUE(p.Same()) << "step " << step;
  }
  // With a handler on the tick event every paint draws the axes again.
  p.Cached().OnScaleTickDrawn = [&](TScale&, TCanvas&, TScaleType, double, int, int) { ++ticks; };
  p.Cached().Paint();
  const int perPaint = ticks;
  p.Cached().Paint();
  EXPECT_GT(perPaint, 10);
  EXPECT_EQ(ticks, 2 * perPaint);
}

// Orders of events the random steps seldom meet: cross-hairs and outlines
// changing while painting is held, then only the area redrawn.
TEST(PaintCache, AreaRedrawAfterChangesWhilePaintingIsHeld) {
  const std::vector<std::function<void(TRChart&)>> changes = {
      [](TRChart& c) { c.CrossHair(1).SetMode(chOff); },
      [](TRChart& c) { c.CrossHair(1).SetPosX(70); },
      [](TRChart& c) {
        c.CrossHair(2).SetLayer(1);
        c.CrossHair(2).SetMode(chVert);
      },
      [](TRChart& c) { c.SetChartColor(clYellow); },
  };
  for (const auto& change : changes) {
    Pair p(WindowLook);
    p.Both([](TRChart& c) {
      c.CrossHair(1).SetMode(chBoth);  // on layer 1, as the area is
      c.CrossHair(1).SetPosX(40);
      c.CrossHair(1).SetPosY(500);
      c.AddLine(0, 0, 50, 500);
      c.Paint();
      c.Paint();  // the surfaces' states settle after the first
      c.SetPaintSuppressed(true);
    });
    p.Both(change);
    p.Both([](TRChart& c) {
      c.AddLine(50, 500, 90, 200);
      c.ShowItems();
    });
    ASSERT_TRUE(p.Same());
    p.Both([](TRChart& c) { c.SetPaintSuppressed(false); });
    ASSERT_TRUE(p.Same());
  }
}

}  // namespace
