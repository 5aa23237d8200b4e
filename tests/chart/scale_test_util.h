// Helpers of the scale tests: a scale set up in one call, and the parts of a
// tick list that the tests compare.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "travenel/chart/Scale.h"

namespace travenel {

struct ScaleSetup {
  double low = 0;
  double high = 100;
  int minTicks = 3;
  TScaleType type = sctXB;
  TFigType labelType = ftNum;
  bool logarithmic = false;
  bool shortTicks = true;
  int decPlaces = -2;
};

// Applies the setup in an order in which no setter rule interferes.
inline void Apply(TScale& s, const ScaleSetup& c) {
  s.SetScaleType(c.type);
  s.SetDecPlaces(c.decPlaces);
  s.SetLabelType(c.labelType);  // ftTime sets DecPlaces 4, as it does for a user
  s.SetMinTicks(c.minTicks);
  s.SetShortTicks(c.shortTicks);
  // Bounds in an order that never makes them equal on the way.
  if (c.low == s.RangeHigh()) {
    s.SetRangeHigh(c.high);
    s.SetRangeLow(c.low);
  } else {
    s.SetRangeLow(c.low);
    s.SetRangeHigh(c.high);
  }
  s.SetLogarithmic(c.logarithmic);  // still Initialising: taken as given
}

inline std::vector<double> Values(const TTickList& l, bool wantLong) {
  std::vector<double> v;
  for (const TScaleTick& t : l.Ticks)
    if (t.Long == wantLong) v.push_back(t.Value);
  return v;
}
inline std::vector<double> LongValues(const TTickList& l) { return Values(l, true); }
inline std::vector<double> ShortValues(const TTickList& l) { return Values(l, false); }

inline std::vector<std::string> Labels(const TTickList& l) {
  std::vector<std::string> v;
  for (const TScaleTick& t : l.Ticks)
    if (t.Long) v.push_back(t.Label);
  return v;
}

inline std::vector<std::string> Dates(const TTickList& l) {
  std::vector<std::string> v;
  for (const TScaleTick& t : l.Ticks)
    if (t.Long) v.push_back(t.DateText);
  return v;
}

inline std::vector<double> Recorded(const TScale& s) {
  std::vector<double> v;
  for (int i = 1; i <= s.NumTicks(); ++i) v.push_back(s.TickPosition(i));
  return v;
}

// Values a, a + step, ..., up to b (within a small slack).
inline std::vector<double> Seq(double a, double b, double step) {
  std::vector<double> v;
  const int n = static_cast<int>((b - a) / step + 1e-9);
  for (int i = 0; i <= n; ++i) v.push_back(a + i * step);
  return v;
}

// Table-driven cases print as their name. (In the unnamed namespace of the
// including file, where the cases live, so that argument lookup finds it.)
namespace {
template <class Case>
  requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}
}  // namespace

}  // namespace travenel
