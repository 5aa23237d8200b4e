#include "travenel/chart/rchart_map.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "travenel/chart/math1.h"

namespace travenel {

namespace {

// A mapping that puts everything at `middle` (and logarithmically
// unmappable values at `nonPositive`).
TAxisMap Flat(long double low, long double middle, bool log, int nonPositive) {
  TAxisMap m;
  m.Low = std::isfinite(low) ? low : 0;
  m.K = 0;
  m.O = middle;
  m.Origin = middle;
  m.Logarithmic = log;
  m.NonPositivePixel = nonPositive;
  return m;
}

// lo maps to pixel `from`, hi to pixel `to` (from + span on x, from - span on y).
TAxisMap MapAxis(const TAxisRange& r, long double from, long double to, long double span,
                 long double middle, int nonPositive) {
  const long double lo = r.Low, hi = r.High;
  if (span <= 0 || !std::isfinite(lo) || !std::isfinite(hi) || lo == hi)
    return Flat(lo, middle, r.Logarithmic, nonPositive);
  TAxisMap m;
  m.Logarithmic = r.Logarithmic;
  m.NonPositivePixel = nonPositive;
  const bool upwards = to < from;  // the vertical axis grows towards the top
  if (!r.Logarithmic) {
    // The two forms as the layers are specified (they round differently).
    m.K = upwards ? -span / (hi - lo) : span * (1.0L / (hi - lo));
    m.O = (from * hi - to * lo) / (hi - lo);
    m.Low = lo;
    m.Origin = from;
    return m;
  }
  if (lo < kMinLogValue || hi < kMinLogValue) return Flat(lo, middle, true, nonPositive);
  // ln hi - ln lo as the logarithm of the ratio, so that ends a few units in
  // the last place apart keep their digits.
  const long double lnSpan = std::log1p((hi - lo) / lo);
  if (lnSpan == 0 || !std::isfinite(lnSpan)) return Flat(lo, middle, true, nonPositive);
  m.K = (upwards ? -span : span) / lnSpan;
  m.O = from - std::log(lo) * m.K;
  m.Low = lo;
  m.Origin = from;
  return m;
}

long double Pow10L(long double e) { return std::pow(10.0L, e); }

}  // namespace

// --- geometry -------------------------------------------------------------------

int TChartGeometry::AreaImageWidth(bool printer) const {
  return ClampToInt32(std::max<std::int64_t>(0, MapWidth() + (printer ? 0 : 1)));
}

int TChartGeometry::AreaImageHeight(bool printer) const {
  return ClampToInt32(std::max<std::int64_t>(0, MapHeight() + (printer ? 0 : 1)));
}

bool TChartGeometry::InChartArea(std::int64_t x, std::int64_t y) const {
  return AreaLeft() <= x && x <= AreaRight() && AreaTop() <= y && y <= AreaBottom();
}

int TChartGeometry::MinWidth() const {
  return ClampToInt32(std::int64_t{LRim} + RRim + ShadowWidth + 80);
}

int TChartGeometry::MinHeight() const {
  return ClampToInt32(std::int64_t{TRim} + BRim + ShadowWidth + 20);
}

std::int64_t TChartGeometry::CaptionAnchorX(TCaptionAnchorHoriz anchor) const {
  switch (anchor) {
    case cahControlLeft: return 0;
    case cahChartLeft: return LRim;
    case cahChartCenter: return LRim + MapWidth() / 2;  // division truncates toward zero
    case cahChartRight: return AreaRight();
    case cahControlRight: return Width;
  }
  return AreaRight();
}

std::int64_t TChartGeometry::CaptionAnchorY(TCaptionAnchorVert anchor) const {
  switch (anchor) {
    case cavControlTop: return 0;
    case cavChartTop: return TRim;
    case cavChartCenter: return TRim + MapHeight() / 2;
    case cavChartBottom: return std::int64_t{Height} - BRim;  // without the shadow
    case cavControlBottom: return Height;
  }
  return TRim;
}

// --- mapping ----------------------------------------------------------------------

TAxisMap MapHorizontal(const TAxisRange& r, const TChartGeometry& g) {
  // Non-positive values on a logarithmic axis go to its low end, outside the area.
  const int nonPositive = r.High >= r.Low ? 0 : g.Width;
  return MapAxis(r, static_cast<long double>(g.AreaLeft()), static_cast<long double>(g.AreaRight()),
                 static_cast<long double>(g.MapWidth()), g.Width / 2.0L, nonPositive);
}

TAxisMap MapVertical(const TAxisRange& r, const TChartGeometry& g) {
  const int nonPositive = r.High >= r.Low ? g.Height : 0;
  return MapAxis(r, static_cast<long double>(g.AreaBottom()), static_cast<long double>(g.AreaTop()),
                 static_cast<long double>(g.MapHeight()), g.Height / 2.0L, nonPositive);
}

TLayerMap MapLayer(const TAxisRange& x, const TAxisRange& y, const TChartGeometry& g) {
  return TLayerMap{MapHorizontal(x, g), MapVertical(y, g)};
}

int LogPixelOf(const TAxisMap& m, double v) {
  if (!(v > kMinLogValue)) return std::isnan(v) ? 0 : m.NonPositivePixel;
  if (m.K == 0) return PixelFrom(m.O);
  // K * ln v + O, taken as the logarithm of v's ratio to RangeLow so that a
  // narrow range far from 1 keeps its digits.
  const long double lo = m.Low;
  return PixelFrom(m.Origin + m.K * std::log1p((static_cast<long double>(v) - lo) / lo));
}

TItemMapper::TItemMapper(const TLayerMap& m, std::int64_t dx, std::int64_t dy)
    : Map(m), Dx(dx), Dy(dy) {
  // The double form serves linear axes with a finite, non-zero slope.
  const auto prepare = [](const TAxisMap& a, double& k, double& o) {
    k = static_cast<double>(a.K);
    o = static_cast<double>(a.O);
    return !a.Logarithmic && a.K != 0 && std::isfinite(k) && std::isfinite(o);
  };
  FastX = prepare(m.X, Kx, Ox);
  FastY = prepare(m.Y, Ky, Oy);
}

double WorldOf(const TAxisMap& m, long double pixel) {
  if (m.K == 0) return static_cast<double>(m.Low);
  if (!m.Logarithmic) return static_cast<double>((pixel - m.O) / m.K);
  return static_cast<double>(m.Low * std::exp((pixel - m.Origin) / m.K));
}

void PixelToWorld(const TLayerMap& m, long double px, long double py, double& x, double& y) {
  x = WorldOf(m.X, px);
  y = WorldOf(m.Y, py);
}

// --- grid -------------------------------------------------------------------------

namespace {

// Decade and mantissa of a positive value: l = log10 p (snapped to a whole
// number when it is within 1e-14 of one), t = floor(l), m = nint(10^(l - t)).
struct TDecade {
  long double T = 0;
  long double M = 1;
};

TDecade DecadeOf(long double p, bool snap) {
  long double l = std::log(p) / std::log(10.0L);
  if (snap && std::fabs(l - Nint(l)) < 1e-14L) l = Nint(l);
  const long double t = std::floor(l);
  return TDecade{t, Nint(Pow10L(l - t))};
}

// Grid positions on a logarithmic axis are worked out from a positive value.
long double Positive(double v) { return v > kMinLogValue ? v : kMinLogValue; }

}  // namespace

double FirstGridPosition(const TGridAxis& a) {
  if (a.Step == 0) return a.NumTicks > 0 ? a.Ticks[0] : a.Start;
  if (!a.Logarithmic || a.Step > 0) return std::ceil(a.Start / a.Step) * a.Step;
  const long double xs = Positive(a.Start);
  if (a.Step == -1) return static_cast<double>(Pow10L(std::ceil(std::log(xs) / std::log(10.0L))));
  const TDecade d = DecadeOf(xs, false);
  if (a.Step == -2) {
    // The smallest of 2, 5 and 10 not below the mantissa.
    const long double m = d.M <= 2 ? 2 : d.M <= 5 ? 5 : 10;
    return static_cast<double>(m * Pow10L(d.T));
  }
  if (a.Step == -3) return static_cast<double>(d.M * Pow10L(d.T));
  return a.Start;
}

double NextGridPosition(const TGridAxis& a, double p, int k) {
  if (a.Step == 0) {
    if (k <= 0 || k > a.NumTicks) return a.End;  // past the last tick: the run ends
    return a.Ticks[k - 1];
  }
  if (!a.Logarithmic || a.Step > 0) return p + std::fabs(a.Step);
  if (a.Step == -1) return p * 10;
  const TDecade d = DecadeOf(Positive(p), true);
  if (a.Step == -2) {
    // 1, 2, 5, 10, 20, 50, ...
    const long double m = d.M < 2 ? 2 : d.M < 5 ? 5 : d.M < 10 ? 10 : 20;
    return static_cast<double>(m * Pow10L(d.T));
  }
  // 1, 2, ..., 9, 10 per decade.
  return static_cast<double>(Pow10L(d.T) * (d.M + 1));
}

// --- pan and zoom -------------------------------------------------------------------

TRange PanRange(const TAxisRange& start, const TAxisRange& now, std::int64_t moved,
                std::int64_t span, bool vertical) {
  if (span <= 0) return TRange{start.Low, start.High};
  const long double lo0 = start.Low, hi0 = start.High;
  if (!now.Logarithmic) {
    // The world width of one pixel, times the pixels moved; y grows upwards.
    const long double s = (static_cast<long double>(now.High) - now.Low) * moved / span;
    if (vertical) return TRange{static_cast<double>(lo0 + s), static_cast<double>(hi0 + s)};
    return TRange{static_cast<double>(lo0 - s), static_cast<double>(hi0 - s)};
  }
  const long double lnRatio = std::log(static_cast<long double>(now.High) / now.Low);
  const long double r = std::exp(lnRatio * (vertical ? moved : -moved) / span);
  if (!std::isfinite(r)) return TRange{start.Low, start.High};
  return TRange{static_cast<double>(lo0 * r), static_cast<double>(hi0 * r)};
}

// A drag that started outside the control can be longer than the control:
// its factor stops at that of a drag one pixel short of the control's size,
// so a zoom never turns the axis round (a factor of 0 or less would).
long double ZoomDragFactorX(std::int64_t dx, int width) {
  if (width <= 0) return 1;
  return std::max(1 - static_cast<long double>(dx) / width, 1.0L / width);
}

long double ZoomDragFactorY(std::int64_t dy, int height) {
  if (height <= 0) return 1;
  return std::max(static_cast<long double>(dy) / height + 1, 1.0L / height);
}

TRange ZoomAboutCentre(const TRange& start, long double factor) {
  const long double c = (static_cast<long double>(start.High) + start.Low) / 2;
  const long double h = (static_cast<long double>(start.High) - start.Low) * factor / 2;
  return TRange{static_cast<double>(c - h), static_cast<double>(c + h)};
}

TRange ZoomAboutValue(const TAxisRange& r, double at, long double factor) {
  const long double lo = r.Low, hi = r.High, a = at;
  if (!r.Logarithmic)
    return TRange{static_cast<double>(a + (lo - a) * factor),
                  static_cast<double>(a + (hi - a) * factor)};
  if (!(a > 0 && lo > 0 && hi > 0)) return TRange{r.Low, r.High};
  return TRange{static_cast<double>(a * std::pow(lo / a, factor)),
                static_cast<double>(a * std::pow(hi / a, factor))};
}

long double WheelZoomFactor(int delta, double notchFactor) {
  return std::pow(static_cast<long double>(notchFactor), static_cast<long double>(delta) / 120);
}

TRange ZoomWindowRange(double a, double b, bool keepDirection, double low, double high) {
  if (keepDirection && ((b < a && low < high) || (b > a && low > high))) std::swap(a, b);
  return TRange{a, b};
}

std::int64_t SquareWindowY(std::int64_t x, std::int64_t y, std::int64_t x0, std::int64_t y0) {
  return (y - y0) * (x - x0) < 1 ? y0 + x0 - x : y0 + x - x0;
}

// --- choosing what to drag -----------------------------------------------------------

int ChooseCrossHair(std::span<const TCrossHairSpot> hairs, int x, int y) {
  int chosen = 1;
  double best = 1.7e308;
  for (std::size_t i = 0; i < hairs.size(); ++i) {
    const TCrossHairSpot& h = hairs[i];
    const double dx = static_cast<double>(h.Pixel.X) - x, dy = static_cast<double>(h.Pixel.Y) - y;
    if ((h.Mode == chVert || h.Mode == chBoth) && dx * dx < best) {
      chosen = static_cast<int>(i) + 1;
      best = dx * dx;
    }
    if ((h.Mode == chHoriz || h.Mode == chBoth) && dy * dy < best) {
      chosen = static_cast<int>(i) + 1;
      best = dy * dy;
    }
  }
  return chosen;
}

int ChooseTextLabel(std::span<const TTextLabelSpot> labels, int x, int y) {
  int chosen = 1;
  double best = 1.7e308;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i].On) continue;
    const double dx = static_cast<double>(labels[i].Pixel.X) - x;
    const double dy = static_cast<double>(labels[i].Pixel.Y) - y;
    const double d = dx * dx + dy * dy;
    if (d < best) {
      chosen = static_cast<int>(i) + 1;
      best = d;
    }
  }
  return chosen;
}

}  // namespace travenel
