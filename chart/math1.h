// math1: the numeric helpers of the chart library — the 1-2-5 tick step search
// behind every linear axis, floors and modulos that round toward minus infinity,
// rounding to whole numbers, and swapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

namespace travenel {

// Result of NiceTickStep: the first major tick, the signed major step and the
// number of minor intervals per major step.
struct TNiceTicks {
  long double First = 0;
  long double Step = 0;
  int MinorCount = 1;
};

// Picks the largest step of 1, 2 or 5 times a power of ten that divides
// low .. high into at least n intervals, and the first multiple of it that is
// not before low by more than a thousandth of a step. The step has the sign of
// high - low; equal (or non-finite) bounds give step 0.
TNiceTicks NiceTickStep(int n, long double low, long double high);

// 10^e for a whole e, exact wherever the power of ten is representable.
long double Pow10(int e);

// Rounding toward minus infinity, also for negative values.
inline long double Floor(long double x) { return std::floor(x); }

// Modulo whose result has the sign of the divisor, so that a sequence of
// values keeps its period across zero (-1 mod 7 = 6).
inline std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
  const std::int64_t r = a % b;
  return (r != 0 && ((r < 0) != (b < 0))) ? r + b : r;
}

// Nearest whole number, halves to the even neighbour. rint rounds exactly as
// nearbyint does (in the default mode, which the program never changes) but
// does not save and restore the floating-point environment, which made
// nearbyint the largest single cost of a date/time tick pass.
inline long double Nint(long double x) { return std::rint(x); }
// Nearest whole number, halves away from zero.
inline long double RoundHalfAway(long double x) { return std::round(x); }

template <class T>
inline void Swap(T& a, T& b) {
  std::swap(a, b);
}

}  // namespace travenel
