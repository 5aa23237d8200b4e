// TScale: the linear tick layout and its labels.
#include <cmath>

#include "travenel/chart/Scale.h"
#include "travenel/chart/math1.h"

namespace travenel {

namespace {

// A tick may lie this many steps beyond RangeHigh and still be drawn.
constexpr long double kEndTolerance = 0.001L;
// A long tick this small against the span is zero (it is what remains of
// first + i * step where the exact value is 0, e.g. 2.7e-17).
constexpr long double kZeroRatio = 1e-14L;
// Above this span a zero label is written short ("0" or "0.0").
constexpr long double kShortZeroSpan = 100000;
// A minor position this close before RangeLow (in minor steps) is on it: what
// separates them is rounding, as in 5 * (0.1 / 5) against 0.1.
constexpr long double kOnBound = 1e-9L;

}  // namespace

std::string TScale::LinearLabel(long double v, int n) const {
  if (axis_.LabelType == ftNoFigs) return {};
  const int decimals = AutoDecimals(axis_.DecPlaces, axis_.RangeHigh, axis_.RangeLow);
  const long double span = static_cast<long double>(axis_.RangeHigh) - axis_.RangeLow;
  std::string text;
  if (std::fabs(v / span) < kZeroRatio) {
    if (std::fabs(span) > kShortZeroSpan)
      text = decimals == 0 ? "0" : "0.0";
    else
      text = FormatTickNumber(1, decimals, 0);
  } else {
    text = FormatTickNumber(1, decimals, static_cast<double>(v));
  }
  text = CutLabel(std::move(text));
  if (axis_.LabelType == ftUserText) return UserTickItem(axis_.UserTickText, n);
  return ApplyInscript(text, axis_.ScaleInscript);
}

TTickList TScale::LinearTickLayout() const {
  TTickList list;
  list.Ticks.reserve(kTypicalTickCount);
  list.Pass = tpLinear;
  list.EventBeforeLabel = Vertical();
  const TNiceTicks nice = NiceTickStep(axis_.MinTicks, axis_.RangeLow, axis_.RangeHigh);
  // No step, no ticks (on a vertical scale as well: stepping by 0 never ends).
  if (nice.Step == 0 || !std::isfinite(nice.Step)) return list;

  const long double d = Direction();
  const long double lo = axis_.RangeLow;
  const long double hi = axis_.RangeHigh;
  const long double step = nice.Step;
  const long double minor = step / nice.MinorCount;
  // Visits beyond the tick cap: values before RangeLow are visited, not drawn.
  const long kMaxVisits = kMaxTicksPerPass + 2L * nice.MinorCount + 2;

  // Short ticks at every minor position from one major step before the first
  // long tick; those before RangeLow are skipped.
  if (axis_.ShortTicks) {
    const long double start = nice.First - step;
    const long double tolerance = kEndTolerance * std::fabs(minor);
    const long double onBound = kOnBound * std::fabs(minor);
    for (long i = 0; i < kMaxVisits; ++i) {
      const long double v = start + i * minor;
      if (d * v >= d * lo - onBound) {
        TScaleTick t;
        t.Value = t.EventValue = static_cast<double>(v);
        t.Recorded = true;
        if (!AddTick(list, std::move(t))) break;
      }
      if (!(d * (start + (i + 1) * minor - hi) <= tolerance)) break;
      if (i + 1 == kMaxVisits) list.Capped = true;
    }
  }

  // Long ticks with their labels. A vertical scale records them after its
  // short ticks (so a major value shows twice in the list); a horizontal one
  // only when it has no short ticks.
  const long double tolerance = kEndTolerance * std::fabs(step);
  const long double span = hi - lo;
  for (long i = 0; i < kMaxVisits; ++i) {
    const long double v = nice.First + i * step;
    TScaleTick t;
    t.Value = static_cast<double>(v);
    t.Long = true;
    t.Recorded = Vertical() || !axis_.ShortTicks;
    const bool zero = std::fabs(v / span) < kZeroRatio;
    t.EventValue = (zero && !Vertical()) ? 0.0 : t.Value;
    t.Label = LinearLabel(v, static_cast<int>(i + 1));
    if (!AddTick(list, std::move(t))) break;
    if (!(d * (nice.First + (i + 1) * step - hi) <= tolerance)) break;
    if (i + 1 == kMaxVisits) list.Capped = true;
  }
  return list;
}

}  // namespace travenel
