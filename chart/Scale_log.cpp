// TScale: the logarithmic tick layout and its labels.
#include <algorithm>
#include <cmath>

#include "travenel/chart/Scale.h"
#include "travenel/chart/math1.h"

namespace travenel {

namespace {

// Decade and mantissa positions are compared with this relative slack, so
// that a bound a hair off a tick still shows the tick.
constexpr long double kSlack = 0.999999999L;
// Decades one pass may visit: doubles span fewer than 650.
constexpr int kMaxDecades = 2000;

}  // namespace

std::string TScale::LogLabel(long double v, bool mantissaOne, int n) const {
  if (axis_.LabelType == ftNoFigs) return {};
  const double hi = std::max(axis_.RangeLow, axis_.RangeHigh);
  const double lo = std::min(axis_.RangeLow, axis_.RangeHigh);
  const int decimals = AutoDecimalsLog(axis_.DecPlaces, hi, lo);
  std::string text;
  if (decimals == -3) {
    // Only the decades are labelled, with their exponent.
    if (mantissaOne)
      text = FormatTickNumber(1, 0, static_cast<double>(Nint(std::log10(v))));
  } else {
    text = FormatTickNumber(1, decimals, static_cast<double>(v));
  }
  text = CutLabel(std::move(text));
  if (axis_.DecPlaces == -2) text = StripTrailingZeros(std::move(text));
  if (axis_.LabelType == ftUserText) return UserTickItem(axis_.UserTickText, n);
  return ApplyInscript(text, axis_.ScaleInscript);
}

TTickList TScale::LogTickLayout() const {
  TTickList list;
  list.Ticks.reserve(kTypicalTickCount);
  list.Pass = tpLog;
  list.EventBeforeLabel = true;
  const long double lo = std::min(axis_.RangeLow, axis_.RangeHigh);
  const long double hi = std::max(axis_.RangeLow, axis_.RangeHigh);
  // A bound <= 0 (only the chart's own scales take one) has no decades; the
  // mapping kept its old coefficients, so nothing would be in its place.
  if (!(lo > 0)) return list;

  const long double decades = std::log10(static_cast<long double>(axis_.RangeHigh) / axis_.RangeLow);
  if (std::fabs(decades) < 1) return LinearTickLayout();  // less than one decade
  const bool dense = axis_.MinTicks > std::fabs(decades) + 0.5L;
  const int firstExponent = static_cast<int>(Floor(std::log10(kSlack * lo)));

  int labelCounter = 0;
  bool full = false;
  auto visit = [&](int mantissa, long double decade, bool labelled) {
    const long double v = mantissa * decade;
    if (!(lo < v / kSlack && hi > kSlack * v)) return;
    TScaleTick t;
    t.Value = t.EventValue = static_cast<double>(v);
    t.Long = labelled;
    t.Recorded = true;
    if (labelled && axis_.LabelType != ftNoFigs) t.Label = LogLabel(v, mantissa == 1, ++labelCounter);
    if (!AddTick(list, std::move(t))) full = true;
  };

  for (int k = 0; k < kMaxDecades && !full; ++k) {
    const long double decade = Pow10(firstExponent + k);
    visit(1, decade, true);
    if (dense) {
      for (int mantissa = 2; mantissa <= 9 && !full; ++mantissa) {
        const bool labelled = mantissa == 2 || mantissa == 5;
        if (labelled || axis_.ShortTicks) visit(mantissa, decade, labelled);
      }
    }
    if (!(hi >= kSlack * Pow10(firstExponent + k + 1))) break;
  }
  return list;
}

}  // namespace travenel
