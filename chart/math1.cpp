#include "travenel/chart/math1.h"

#include <algorithm>

namespace travenel {

namespace {

constexpr long double kLog10Of2 = 0.301029995663981195213738894724493027L;
constexpr long double kLog10Of5 = 0.698970004336018804786261105275506973L;
constexpr long double kLn10 = 2.302585092994045684017991454684364208L;
// Fractions of a decade this close to a whole number are taken as a power of ten.
constexpr long double kSnap = 1e-10L;
// The first tick may lie this many steps before low.
constexpr long double kFirstTolerance = 0.001L;
// The first tick is found within a few steps of its start; the bound only
// guards against steps too small to move the value.
constexpr int kMaxFirstSearch = 64;
// Powers of ten up to this one are exact in extended precision.
constexpr int kExactPow10 = 27;

}  // namespace

long double Pow10(int e) {
  if (e >= -kExactPow10 && e <= kExactPow10) {
    long double p = 1;
    for (int i = 0; i < (e < 0 ? -e : e); ++i) p *= 10;
    return e < 0 ? 1 / p : p;
  }
  return std::pow(10.0L, static_cast<long double>(e));
}

TNiceTicks NiceTickStep(int n, long double low, long double high) {
  TNiceTicks t;
  t.First = low;
  if (high == low || !std::isfinite(low) || !std::isfinite(high)) return t;
  n = std::max(n, 1);
  const long double s = low < high ? 1 : -1;

  long double r = std::log(std::fabs(high - low) / n) / kLn10;
  long double f = r - std::trunc(r);
  if (std::fabs(f) < kSnap || std::fabs(f) > 1 - kSnap) {
    f = 0;
    r = Nint(r);
  }
  if (r < 0 && f != 0) r -= 1;
  if (f < 0) f += 1;
  // Now trunc(r) is floor(log10) and f the fraction of the decade.

  long double mantissa = 5;
  t.MinorCount = 5;
  if (f < kLog10Of2 + kSnap) {
    mantissa = 1;
  } else if (f < kLog10Of5 + kSnap) {
    mantissa = 2;
    t.MinorCount = 4;
  }
  // 10^(int(r) + log10 mantissa), formed as mantissa times an exact power of
  // ten (or divided by one) so that round steps such as 20 or 0.2 carry no
  // error into the tick values built from them.
  const int e = static_cast<int>(std::trunc(r));
  const long double magnitude =
      (e < 0 && e >= -kExactPow10) ? mantissa / Pow10(-e) : mantissa * Pow10(e);
  t.Step = s * magnitude;

  const long double tolerance = kFirstTolerance * std::fabs(t.Step);
  const long double start = (std::trunc(low / t.Step) - 1) * t.Step;
  t.First = start;
  for (int i = 1; i <= kMaxFirstSearch && s * (low - t.First) > tolerance; ++i) {
    const long double next = start + i * t.Step;
    if (next == t.First) break;  // the step is below the resolution of the value
    t.First = next;
  }
  return t;
}

}  // namespace travenel
