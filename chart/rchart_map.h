// rchart_map: the chart's arithmetic, with no control and no canvas — the
// geometry of the chart area inside the rims, the mapping of each layer's world
// coordinates to control pixels and back, and the positions of grid lines.
// The chart and its painter call these functions; tests call them directly.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>

#include "travenel/chart/ulxbase.h"
#include "travenel/gfx/Types.h"

namespace travenel {

// The control's size, rims and shadow width. Every derived quantity is worked
// out in 64 bits: rims and sizes are user values, and their sums must not
// overflow whatever they are.
struct TChartGeometry {
  int Width = 0;
  int Height = 0;
  int LRim = 0;
  int RRim = 0;
  int TRim = 0;
  int BRim = 0;
  int ShadowWidth = 0;

  // The chart area; its right and bottom edges are pixels of it.
  std::int64_t AreaLeft() const { return LRim; }
  std::int64_t AreaTop() const { return TRim; }
  std::int64_t AreaRight() const { return std::int64_t{Width} - RRim - ShadowWidth; }
  std::int64_t AreaBottom() const { return std::int64_t{Height} - BRim - ShadowWidth; }
  // The spans the mapping stretches a range over (one less than the pixels).
  std::int64_t MapWidth() const { return AreaRight() - LRim; }
  std::int64_t MapHeight() const { return AreaBottom() - TRim; }
  // Pixels of the chart area (the isometric rule measures these).
  std::int64_t PlotWidth() const { return MapWidth() + 1; }
  std::int64_t PlotHeight() const { return MapHeight() + 1; }

  // Size of the chart-area image: the plot size, one pixel less on a printer,
  // never below 0.
  int AreaImageWidth(bool printer = false) const;
  int AreaImageHeight(bool printer = false) const;

  // Whether a control pixel lies in the chart area (edges included).
  bool InChartArea(std::int64_t x, std::int64_t y) const;

  // The least size the control takes: rims and shadow plus 80 x 20.
  int MinWidth() const;
  int MinHeight() const;

  // The caption's reference point before its offset, by anchor.
  std::int64_t CaptionAnchorX(TCaptionAnchorHoriz anchor) const;
  std::int64_t CaptionAnchorY(TCaptionAnchorVert anchor) const;

  bool operator==(const TChartGeometry&) const = default;
};

// One axis of a layer as the mapping sees it.
struct TAxisRange {
  double Low = 0;
  double High = 1;
  bool Logarithmic = false;
};

// The coefficients of one axis: a world value v maps to K * v + O on a linear
// axis and to K * ln v + O on a logarithmic one. In extended precision, as the
// chart's layers are specified.
struct TAxisMap {
  long double K = 0;
  long double O = 0;
  bool Logarithmic = false;
  // Where a logarithmic axis puts values it cannot take (<= 1e-100): the low
  // end, just outside the chart area (0 or the control's width / height).
  int NonPositivePixel = 0;
  // Logarithmic axes: RangeLow and the pixel it maps to, from which a value is
  // mapped by the logarithm of its ratio to RangeLow (see PixelOf).
  long double Low = 1;
  long double Origin = 0;

  bool operator==(const TAxisMap&) const = default;
};

struct TLayerMap {
  TAxisMap X;
  TAxisMap Y;
  bool operator==(const TLayerMap&) const = default;
};

// The smallest bound a logarithmic axis takes, and where unmappable values go.
inline constexpr double kMinLogValue = 1e-100;
// Pixels obtained from the mapping are limited to this in either direction.
inline constexpr long double kMaxMappedPixel = 2147483647.0L;
// ... and items to this before they are drawn.
inline constexpr int kMaxItemPixel = 30000;

// The horizontal and vertical coefficients of a layer. An axis without a
// finite mapping — a chart area of no width, equal ends, or a logarithmic axis
// with an end that is not positive — puts every value at the middle of the
// control (W / 2, H / 2).
TAxisMap MapHorizontal(const TAxisRange& range, const TChartGeometry& g);
TAxisMap MapVertical(const TAxisRange& range, const TChartGeometry& g);
TLayerMap MapLayer(const TAxisRange& x, const TAxisRange& y, const TChartGeometry& g);

// The nearest whole number to p, halves to even, for |p| <= 2^62: adding
// 1.5 * 2^63 leaves no bits below the units in the 64-bit mantissa, so the
// sum is rounded there by the default rounding mode. (rintl is a library call
// and the mapping's largest cost per item.)
inline long double PixelNint(long double p) {
  constexpr long double kShift = 0x1.8p63L;
  return (p + kShift) - kShift;
}

// A mapped value limited to +-2147483647 and rounded (NaN gives 0).
inline int PixelFrom(long double p) {
  if (!(p == p)) return 0;
  if (p > kMaxMappedPixel) p = kMaxMappedPixel;
  if (p < -kMaxMappedPixel) p = -kMaxMappedPixel;
  // Through double (exact for a whole number this size): converting a long
  // double to int directly switches the x87 rounding mode twice.
  return static_cast<int>(static_cast<double>(PixelNint(p)));
}

// The logarithmic case of PixelOf.
int LogPixelOf(const TAxisMap& m, double v);

// A world value as a control pixel: limited to +-2147483647, nearest whole
// number with halves to even. NaN has no place and gives 0.
inline int PixelOf(const TAxisMap& m, double v) {
  if (m.Logarithmic) return LogPixelOf(m, v);
  return PixelFrom(m.K * v + m.O);
}
inline TPoint WorldToPixel(const TLayerMap& m, double x, double y) {
  return TPoint{PixelOf(m.X, x), PixelOf(m.Y, y)};
}

// A control pixel as a world value; an axis without a mapping gives its
// RangeLow-side value (the origin's value).
double WorldOf(const TAxisMap& m, long double pixel);
void PixelToWorld(const TLayerMap& m, long double px, long double py, double& x, double& y);

// Limits a mapped item pixel to +-30000 in each coordinate.
inline TPoint ClampPixel(TPoint p) {
  const auto clamp = [](int v) {
    return v < -kMaxItemPixel ? -kMaxItemPixel : v > kMaxItemPixel ? kMaxItemPixel : v;
  };
  return TPoint{clamp(p.X), clamp(p.Y)};
}

// Limits one coordinate of a mapped item pixel to +-30000.
inline int ClampItemPixel(int v) {
  return v < -kMaxItemPixel ? -kMaxItemPixel : v > kMaxItemPixel ? kMaxItemPixel : v;
}

// PixelOf limited to +-30000, worked out in double where that gives the same
// pixel: the value is computed from the coefficients rounded to double, and
// taken when it lies farther from a half than its error bound can reach
// (nearly always); otherwise, and for NaN and infinities, the extended form
// decides. K and O are those of m in double.
inline int ItemPixelOf(const TAxisMap& m, double k, double o, bool fast, double v) {
  if (fast) {
    const double kv = k * v, p = kv + o;
    // Both roundings to double and the extended form's own: far below 2^-50.
    const double err = (std::fabs(kv) + std::fabs(o)) * 0x1p-50;
    if (err < 0.25) {
      if (p > kMaxItemPixel + 1.0) return kMaxItemPixel;
      if (p < -kMaxItemPixel - 1.0) return -kMaxItemPixel;
      // Halves to even, as PixelNint (|p| is far below 2^51 here).
      const double r = (p + 0x1.8p52) - 0x1.8p52;
      if (0.5 - std::fabs(p - r) > err) return ClampItemPixel(static_cast<int>(r));
    }
  }
  return ClampItemPixel(PixelOf(m, v));
}

// World coordinates of a layer to pixels of a surface on which the chart
// area's top-left pixel is (dx, dy): what the render pass draws items at.
struct TItemMapper {
  TLayerMap Map;
  std::int64_t Dx = 0, Dy = 0;  // dx - LRim, dy - TRim
  double Kx = 0, Ox = 0, Ky = 0, Oy = 0;
  bool FastX = false, FastY = false;

  TItemMapper() = default;
  TItemMapper(const TLayerMap& m, std::int64_t dx, std::int64_t dy);
  int X(double x) const { return ClampToInt32(ItemPixelOf(Map.X, Kx, Ox, FastX, x) + Dx); }
  int Y(double y) const { return ClampToInt32(ItemPixelOf(Map.Y, Ky, Oy, FastY, y) + Dy); }
  TPoint operator()(double x, double y) const { return TPoint{X(x), Y(y)}; }
};

// --- grid -------------------------------------------------------------------

// How a run of grid positions along one axis is made.
struct TGridAxis {
  double Start = 0;  // the smaller range end
  double End = 1;    // the larger range end
  bool Logarithmic = false;
  double Step = 0;  // GridDx / GridDy
  // The axis's tick positions of its last drawing pass (used for Step 0).
  const double* Ticks = nullptr;
  int NumTicks = 0;
};

// The first grid position, and the k-th (k = 2, 3, ...) after p.
double FirstGridPosition(const TGridAxis& a);
double NextGridPosition(const TGridAxis& a, double p, int k);

// No run of grid lines is longer than this, and no grid has more points.
inline constexpr int kMaxGridLines = 1000;
inline constexpr int kMaxGridPoints = 1000;

// --- pan and zoom ---------------------------------------------------------------

struct TRange {
  double Low = 0;
  double High = 1;
};

// The range of an axis dragged `moved` pixels (x - x0, or y - y0 on the
// vertical axis) from the start of a pan: start is the range at the start,
// now the current one (whose span or ratio sets the pixels' worth), span the
// chart area's mapping width or height. Every move is worked out from the
// start, so the content follows the mouse without drift. An area of no size
// pans nothing.
TRange PanRange(const TAxisRange& start, const TAxisRange& now, std::int64_t moved,
                std::int64_t span, bool vertical);

// Zoom by dragging: the factor of the span for a drag by dx (or dy) on a
// control of the given width (height) — right or up zooms in, left or down
// zooms out — and the start range scaled by it about its centre. The factor
// is at least 1 / width (1 / height): a zoom never turns an axis round.
long double ZoomDragFactorX(std::int64_t dx, int width);
long double ZoomDragFactorY(std::int64_t dy, int height);
TRange ZoomAboutCentre(const TRange& start, long double factor);

// The range of an axis zoomed by `factor` (of its span; of the logarithm of
// its ratio on a logarithmic axis) about the world value `at`, which keeps its
// place. A logarithmic axis with a value or end that is not positive stays.
TRange ZoomAboutValue(const TAxisRange& range, double at, long double factor);
// The factor of `delta` wheel units (120 a notch; away from the user zooms in).
long double WheelZoomFactor(int delta, double notchFactor);

// The range a zoom window gives an axis from its two corners' world values
// a (start) and b: as they are, or — keepDirection — ordered so that the axis
// keeps the direction its range low .. high had.
TRange ZoomWindowRange(double a, double b, bool keepDirection, double low, double high);

// The y of a zoom window's moving corner that makes the window square.
std::int64_t SquareWindowY(std::int64_t x, std::int64_t y, std::int64_t x0, std::int64_t y0);

// --- choosing what to drag -------------------------------------------------------

struct TCrossHairSpot {
  TPoint Pixel;
  TCrossHMode Mode = chOff;
};
// The number (1-based) of the cross-hair whose vertical or horizontal line is
// nearest to (x, y); cross-hairs that are off are never chosen, 1 when none is
// on; ties keep the lower number.
int ChooseCrossHair(std::span<const TCrossHairSpot> hairs, int x, int y);

struct TTextLabelSpot {
  TPoint Pixel;
  bool On = false;  // Mode is not tlOff
};
// The number (1-based) of the shown text label nearest to (x, y); 1 when none is shown.
int ChooseTextLabel(std::span<const TTextLabelSpot> labels, int x, int y);

}  // namespace travenel
