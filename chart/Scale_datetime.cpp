// TScale: the date/time tick layout (label type ftDateTime, values in days).
// The level of the ticks follows the span per interval: hundredths of a
// second, seconds, minutes, hours, days, months or years.
#include <algorithm>
#include <cmath>

#include "travenel/chart/Scale.h"
#include "travenel/chart/math1.h"

namespace travenel {

namespace {

// A pass ends at the first value this far (in days) beyond RangeHigh.
constexpr long double kEndTolerance = 1e-8L;
// On sub-day levels a value is a major one when value / major step is this
// close to a whole number.
constexpr long double kMajorTolerance = 0.1L;
constexpr long double kDaysPerMonth = 30.4375L;
constexpr long double kDaysPerYear = 365.25L;
constexpr int kLastYear = 9999;

// Span per interval (days) at or below which each level is taken.
constexpr long double kBelowOneSecond = 1.0L / 8640000;
constexpr long double kSubSecondUpTo = 1.0L / 86400;
constexpr long double kSecondsUpTo = 1.0L / 1440;
constexpr long double kMinutesUpTo = 0.041667L;
constexpr long double kHoursUpTo = 1;
constexpr long double kDaysUpTo = 30;
constexpr long double kMonthsUpTo = 366;

struct TSubDayRow {
  long double UnitsPerDay;
  int Steps[6];
  int Minors[6];
};

const TSubDayRow& SubDayRow(TSubDayLevel level) {
  static const TSubDayRow kRows[] = {
      {8640000, {1, 2, 5, 10, 20, 50}, {1, 1, 1, 5, 10, 10}},  // hundredths of a second
      {86400, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}},     // seconds
      {1440, {1, 2, 5, 10, 20, 30}, {1, 1, 1, 2, 5, 10}},      // minutes
      {24, {1, 2, 3, 6, 8, 12}, {1, 1, 1, 2, 2, 3}},           // hours
  };
  return kRows[level];
}

// Which entry of a row of ascending steps is the largest <= x (the first if none).
template <std::size_t N>
std::size_t LargestStepIndex(const int (&steps)[N], long double x) {
  std::size_t idx = 0;
  for (std::size_t k = 0; k < N; ++k)
    if (steps[k] <= x) idx = k;
  return idx;
}

}  // namespace

TTickList TScale::DateTimeTickLayout() const {
  TTickList list;
  list.Ticks.reserve(kTypicalTickCount);
  list.Pass = tpDateTime;
  list.EventBeforeLabel = false;
  const long double lo = axis_.RangeLow;
  const long double hi = axis_.RangeHigh;
  if (hi < lo || lo < kMinDateTime || hi > kMaxDateTime) {
    list.Message = dmInvalidScale;
    return list;
  }
  const long double p = (hi - lo) / axis_.MinTicks;
  if (p <= kBelowOneSecond) {
    list.Message = dmBelowOneSecond;
    return list;
  }
  // Visits beyond the tick cap (a value before RangeLow is visited, not drawn).
  const long kMaxVisits = kMaxTicksPerPass + 64;
  const TDTLabel& fmt = *dateFormat_;
  auto add = [&](long double v, bool isLong, std::string label) {
    TScaleTick t;
    t.Value = t.EventValue = static_cast<double>(v);
    t.Long = isLong;
    t.Recorded = true;
    t.Label = std::move(label);
    return AddTick(list, std::move(t));
  };

  if (p <= kHoursUpTo) {
    // --- sub-day levels: time-of-day labels, with dates beside some of them
    const TSubDayLevel level = p <= kSubSecondUpTo ? sdSubSecond
                               : p <= kSecondsUpTo ? sdSeconds
                               : p <= kMinutesUpTo ? sdMinutes
                                                   : sdHours;
    const TSubDayRow& row = SubDayRow(level);
    const long double b = row.UnitsPerDay;
    const std::size_t idx = LargestStepIndex(row.Steps, p * b);
    const int step = row.Steps[idx];
    const long double major = step / b;
    const long double minor = row.Minors[idx] / b;

    // The first multiple of the step (counted from midnight) at or after RangeLow.
    const long double day = Floor(lo);
    long double e = std::ceil(b * (lo - day));
    const long double rest = std::fmod(e, static_cast<long double>(step));
    if (rest != 0) e += step - rest;
    long double first = day + e / b;
    if (axis_.ShortTicks) {
      // Back by minor steps to the last one at or before RangeLow.
      const long double firstMajor = first;
      for (int k = 1; first > lo && k <= 64; ++k) first = firstMajor - k * minor;
    }
    const long double advance = axis_.ShortTicks ? minor : major;
    const std::string timeFormat = TimeFormatFor(level, fmt);
    const std::string dateFormat = DateFormatFor(fmt);
    bool firstLabel = true;
    int lastDateDay = 0;
    for (long i = 0; i < kMaxVisits; ++i) {
      const long double v = first + i * advance;
      if (v - hi >= kEndTolerance) break;
      if (v < lo) continue;
      const long double q = v / major;
      const bool isLong = !axis_.ShortTicks || std::fabs(q - Nint(q)) <= kMajorTolerance;
      if (!isLong) {
        if (!add(v, false, {})) break;
        continue;
      }
      const int dayOfMonth = DecodeDateTime(v).Day;
      bool withDate = false;
      switch (fmt.DateForTime()) {
        case dtNone: break;
        case dtOnePerChart: withDate = firstLabel; break;
        case dtOnePerDay: withDate = firstLabel || dayOfMonth != lastDateDay; break;
        case dtAllTicks: withDate = true; break;
      }
      firstLabel = false;
      if (!add(v, true, FormatDateTime(timeFormat, v))) break;
      if (withDate) {
        list.Ticks.back().DateText = FormatDateTime(dateFormat, v);
        lastDateDay = dayOfMonth;
      }
    }
  } else if (p <= kDaysUpTo) {
    // --- days: steps of whole days counted from 1 January of RangeLow's year
    static constexpr int kSteps[] = {1, 2, 3, 7, 14, 28};
    const int step = kSteps[LargestStepIndex(kSteps, p)];
    const int minor = step >= 14 ? 7 : 1;
    const long double jan1 = EncodeDate(DecodeDateTime(lo).Year, 1, 1);
    const long double first = jan1 + step * std::trunc((lo - jan1) / step);
    const long double advance = axis_.ShortTicks ? minor : step;
    // A floored modulo keeps the long ticks evenly spaced across day 0.
    const std::int64_t phase = FloorMod(static_cast<std::int64_t>(Nint(first)), step);
    const std::string format = DayLabelFormatFor(fmt);
    for (long i = 0; i < kMaxVisits; ++i) {
      const long double v = first + i * advance;
      if (v - hi >= kEndTolerance) break;
      if (v < lo) continue;
      const bool isLong =
          !axis_.ShortTicks || FloorMod(static_cast<std::int64_t>(Nint(v)), step) == phase;
      if (!add(v, isLong, isLong ? FormatDateTime(format, v) : std::string())) break;
    }
  } else if (p <= kMonthsUpTo) {
    // --- months: first days of months
    static constexpr int kSteps[] = {1, 2, 3, 4, 6};
    const long double perInterval = (hi - lo) / kDaysPerMonth / axis_.MinTicks;
    const int step = kSteps[LargestStepIndex(kSteps, perInterval)];
    const TDateTimeParts start = DecodeDateTime(lo);
    long months = start.Year * 12L + (start.Month - 1);  // months since year 0
    if (step > 1 && !axis_.ShortTicks) {
      // On to the next month that starts a step (at least one month on).
      do ++months;
      while ((FloorMod(months, 12) + 1) % step != 1);
    }
    const int advance = axis_.ShortTicks ? 1 : step;
    const std::string format = MonthLabelFormatFor(fmt);
    for (long i = 0; i < kMaxVisits; ++i) {
      const long m = months + i * advance;
      const int year = static_cast<int>(Floor(m / 12.0L));
      const int month = static_cast<int>(FloorMod(m, 12)) + 1;
      const long double v = EncodeDate(year, month, 1);
      if (v - hi >= kEndTolerance) break;
      if (v < lo) continue;
      const bool isLong = !(axis_.ShortTicks && step != 1 && month % step != 1);
      if (!add(v, isLong, isLong ? FormatDateTime(format, v) : std::string())) break;
    }
  } else {
    // --- years: 1-2-5 steps of years
    const long double perInterval = std::max(1.0L, (hi - lo) / kDaysPerYear / axis_.MinTicks);
    const long double t = std::log10(perInterval);
    const long double whole = std::trunc(t);
    const long double mantissa = std::pow(10.0L, t - whole);
    const int g = mantissa < 2 ? 1 : mantissa < 5 ? 2 : 5;
    const int step = static_cast<int>(Nint(Pow10(static_cast<int>(whole)) * g));
    int minor = step;
    if (axis_.ShortTicks && step > 1) minor = static_cast<int>(Nint(step / (g == 5 ? 5.0L : 2.0L)));
    minor = std::max(minor, 1);
    const TDateTimeParts start = DecodeDateTime(lo);
    // The first multiple of the minor step at or after RangeLow's year; if that
    // is RangeLow's own year and RangeLow lies after its 1 January, the next.
    int firstYear = start.Year + static_cast<int>(FloorMod(-start.Year, minor));
    if (firstYear == start.Year && lo > EncodeDate(start.Year, 1, 1)) firstYear += minor;
    for (long i = 0; i < kMaxVisits; ++i) {
      const long year = firstYear + i * minor;
      if (year > kLastYear) break;
      const long double v = EncodeDate(static_cast<int>(year), 1, 1);
      if (v - hi >= kEndTolerance) break;
      const bool isLong = !(axis_.ShortTicks && year % step != 0);
      const std::string label = isLong ? YearLabel(static_cast<int>(year), fmt.YearLength()) : "";
      if (!add(v, isLong, label)) break;
    }
  }
  return list;
}

}  // namespace travenel
