// TScale: the clock-time tick layout (label type ftTime, values in seconds).
#include <algorithm>
#include <cmath>

#include "travenel/chart/Scale.h"
#include "travenel/chart/math1.h"

namespace travenel {

namespace {

struct TTimeStep {
  long double Seconds;
  int MinorCount;
};

// Candidate steps, finest first. The last one (a day) is never taken: a range
// that wide, like one finer than a millisecond, falls back to numeric labels.
constexpr TTimeStep kTimeSteps[] = {
    {0.001L, 5}, {0.002L, 4}, {0.005L, 5}, {0.01L, 5}, {0.02L, 4},  {0.05L, 5},  {0.1L, 5},
    {0.2L, 4},   {0.5L, 5},   {1, 5},      {2, 4},     {5, 5},      {10, 5},     {20, 4},
    {30, 6},     {60, 6},     {120, 6},    {180, 6},   {300, 5},    {600, 5},    {1200, 6},
    {1800, 6},   {3600, 6},   {7200, 4},   {14400, 4}, {21600, 6},  {43200, 6},  {86400, 6}};
constexpr int kStepCount = static_cast<int>(std::size(kTimeSteps));
// Steps up to this (1-based) index are below a second: labels show milliseconds.
constexpr int kLastSubSecondStep = 9;
// Relative slack of the window that decides which values are inside the range...
constexpr long double kSlack = 0.999999999L;
// ... but never more than this many minor steps: relative to the values, the
// slack would reach whole steps beyond the range on a millisecond axis at a
// million seconds.
constexpr long double kMaxSlack = 0.001L;
// A value is a major one when value / step is this close to a whole number.
constexpr long double kMajorTolerance = 0.01L;

// A little below x, and a little above x, by at most `cap`.
long double BelowLimit(long double x, long double cap) {
  return std::max(x >= 0 ? x * kSlack : x / kSlack, x - cap);
}
long double AboveLimit(long double x, long double cap) {
  return std::min(x > 0 ? x / kSlack : x * kSlack, x + cap);
}

}  // namespace

std::optional<TTickList> TScale::TimeTickLayout() const {
  const long double lo = axis_.RangeLow;
  const long double hi = axis_.RangeHigh;
  const long double perInterval = std::fabs(hi - lo) / axis_.MinTicks;
  int j = 0;  // 1-based index of the step, 0 for none
  for (int idx = kStepCount; idx >= 1; --idx) {
    if (kTimeSteps[idx - 1].Seconds <= perInterval) {
      j = idx;
      break;
    }
  }
  if (j == kStepCount || j == 0) return std::nullopt;

  TTickList list;
  list.Ticks.reserve(kTypicalTickCount);
  list.Pass = tpTime;
  list.EventBeforeLabel = false;
  list.WithMilliseconds = j <= kLastSubSecondStep;
  const long double d = Direction();
  const long double step = d * kTimeSteps[j - 1].Seconds;
  const long double minor = step / kTimeSteps[j - 1].MinorCount;

  // The window of values that are inside the range, widened a little at both
  // ends. A reversed range gets the mirror image of a rising one's window (its
  // far end is the lower value), so both of its ends are inside too.
  const long double cap = kMaxSlack * std::fabs(minor);
  const long double windowLow = d > 0 ? BelowLimit(lo, cap) : BelowLimit(hi, cap);
  const long double windowHigh = d > 0 ? AboveLimit(hi, cap) : AboveLimit(lo, cap);
  auto inside = [&](long double v) { return windowLow <= v && v <= windowHigh; };
  auto beyondEnd = [&](long double v) { return d > 0 ? v > windowHigh : v < windowLow; };

  // Every multiple of the minor step inside the window is drawn: the values
  // k * minor run from a whole step before the window until they leave it.
  // (Starting from RangeLow with a count taken from the span misses ticks
  // inside the range: the last ones when a negative RangeLow lies on a whole
  // step, the first ones at large values.) Whole multiples keep 0 exact.
  const int minorCount = kTimeSteps[j - 1].MinorCount;
  const long double nearEnd = d > 0 ? windowLow : windowHigh;
  const long double firstIndex = Floor(nearEnd / minor) - minorCount;
  const long kMaxVisits = kMaxTicksPerPass + 4L * minorCount;

  if (axis_.ShortTicks) {
    for (long i = 0; i < kMaxVisits; ++i) {
      const long double v = (firstIndex + i) * minor;
      if (beyondEnd(v)) break;
      if (!inside(v)) continue;
      TScaleTick t;
      t.Value = t.EventValue = static_cast<double>(v);
      t.Recorded = true;
      if (!AddTick(list, std::move(t))) break;
    }
  }
  for (long i = 0; i < kMaxVisits; ++i) {
    const long double v = (firstIndex + i) * minor;
    if (beyondEnd(v)) break;
    const long double q = v / step;
    if (!inside(v) || !(std::fabs(q - RoundHalfAway(q)) < kMajorTolerance)) continue;
    TScaleTick t;
    t.Value = t.EventValue = static_cast<double>(v);
    t.Long = true;
    t.Recorded = Vertical() || !axis_.ShortTicks;
    t.Label = FormatSeconds(list.WithMilliseconds, v);
    if (!AddTick(list, std::move(t))) break;
  }
  return list;
}

}  // namespace travenel
