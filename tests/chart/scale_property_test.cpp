// Properties that every tick pass keeps, over thousands of random ranges
// (fixed seeds, so a failure is reproducible): it ends with a bounded list,
// its long ticks lie inside the range within the layout's tolerance, numeric
// labels stay within 14 characters, pixels stay on the axis, and the tick
// list holds the first recorded ticks in drawing order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <cmath>
#include <random>
#include <sstream>

#include "travenel/chart/Scale.h"
#include "travenel/chart/math1.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

constexpr int kRangesPerKind = 2500;
constexpr std::size_t kMaxTicks = 1000;

class RandomScale {
 public:
  explicit RandomScale(std::uint64_t seed) : rng_(seed) {}

  double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
  int Int(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
  bool Coin(double p = 0.5) { return Uniform(0, 1) < p; }
  double Pow10(double a, double b) { return std::pow(10.0, Uniform(a, b)); }

  // One of a few controls of different sizes (resizing a control rebuilds its
  // window image, which would take most of the time), with a random
  // orientation, margins and the settings that do not decide the layout.
  TScale& Pick(std::vector<std::unique_ptr<TScale>>& scales) {
    static constexpr int kSizes[][2] = {{30, 30}, {60, 45}, {400, 400}, {1200, 90}, {90, 1200}, {257, 731}};
    if (scales.empty()) {
      for (const auto& size : kSizes) {
        scales.push_back(std::make_unique<TScale>());
        scales.back()->SetBounds(0, 0, size[0], size[1]);
      }
    }
    TScale& s = *scales[static_cast<std::size_t>(Int(0, static_cast<int>(scales.size()) - 1))];
    Shape(s);
    return s;
  }

  void Shape(TScale& s) {
    s.SetScaleType(static_cast<TScaleType>(Int(0, 3)));
    s.SetMarginLeft(Int(0, 40));
    s.SetMarginRight(Int(0, 40));
    s.SetMarginTop(Int(0, 40));
    s.SetMarginBottom(Int(0, 40));
    s.SetMinTicks(Int(2, 10));
    s.SetShortTicks(Coin());
  }

  // Bounds from everywhere: around zero, near 1e308, spans down to a few units
  // in the last place, reversed.
  std::pair<double, double> LinearRange() {
    double low;
    switch (Int(0, 4)) {
      case 0: low = 0; break;
      case 1: low = (Coin() ? 1 : -1) * Pow10(-20, 20); break;
      case 2: low = (Coin() ? 1 : -1) * Pow10(250, 308.2); break;
      default: low = Uniform(-1000, 1000); break;
    }
    const double magnitude = std::max(std::fabs(low), 1e-300);
    double span = Coin(0.2) ? magnitude * Pow10(-15.5, -10) : Pow10(-12, 12) * std::max(1.0, magnitude);
    if (Coin(0.1)) span = Pow10(-310, 300);
    double high = low + (Coin(0.3) ? -span : span);
    if (!std::isfinite(high)) high = (high > 0 ? 1 : -1) * std::numeric_limits<double>::max();
    return {low, high};
  }

 private:
  std::mt19937_64 rng_;
};

void SetRange(TScale& s, double low, double high) {
  if (low == s.RangeHigh()) {
    s.SetRangeHigh(high);
    s.SetRangeLow(low);
  } else {
    s.SetRangeLow(low);
    s.SetRangeHigh(high);
  }
}

std::string Describe(const TScale& s) {
  std::ostringstream os;
  os.precision(17);
  os << "range " << s.RangeLow() << " .. " << s.RangeHigh() << ", MinTicks " << s.MinTicks()
     << ", ShortTicks " << s.ShortTicks() << ", type " << int(s.ScaleType()) << ", label type "
     << int(s.LabelType()) << ", log " << s.Logarithmic() << ", DecPlaces " << s.DecPlaces()
     << ", size " << s.Width() << "x" << s.Height();
  return os.str();
}

// The ends of the usable length in pixels, low end first.
std::pair<long, long> AxisPixels(const TScale& s) {
  if (s.Vertical()) return {s.MarginTop(), s.Height() - s.MarginBottom() - 1};
  return {s.MarginLeft(), s.Width() - s.MarginRight() - 1};
}

// What every pass keeps, whatever its layout. `slack`: how far beyond the
// bounds the layout may put a tick.
void CheckCommon(TScale& s, const TTickList& l, long double slack) {
  SCOPED_TRACE(Describe(s));
  ASSERT_FALSE(l.Capped);
  ASSERT_LE(l.Ticks.size(), kMaxTicks);
  // The tick list holds the first recorded ticks in drawing order.
  std::vector<double> recorded;
  for (const TScaleTick& t : l.Ticks)
    if (t.Recorded && recorded.size() < TScale::kTickListCapacity) recorded.push_back(t.Value);
  ASSERT_EQ(s.NumTicks(), static_cast<int>(recorded.size()));
  for (int i = 1; i <= s.NumTicks(); ++i) EXPECT_EQ(s.TickPosition(i), recorded[i - 1]);
  // Pixels on the axis, beyond it by no more than the slack's pixels.
  const auto [a, b] = AxisPixels(s);
  const long double lo = std::min(s.RangeLow(), s.RangeHigh());
  const long double hi = std::max(s.RangeLow(), s.RangeHigh());
  const long double overhang = std::fabs(s.ScaleFactor()) * slack;
  // On a logarithmic axis narrower than a few parts in 1e12 the mapping's
  // logarithms cancel each other's digits; such an axis has no pixels to spare.
  const bool resolvable = !s.Logarithmic() || (hi - lo) > 1e-10L * hi;
  if (b > a && resolvable) {
    for (const TScaleTick& t : l.Ticks) {
      const long p = s.ValueToPixel(t.Value);
      EXPECT_GE(p, a - 1 - overhang) << t.Value;
      EXPECT_LE(p, b + 1 + overhang) << t.Value;
    }
  }
}

void CheckLabelLengths(const TTickList& l) {
  for (const TScaleTick& t : l.Ticks) {
    EXPECT_LE(t.Label.size(), kMaxLabelLength) << t.Label;
    EXPECT_LE(t.DateText.size(), kMaxLabelLength) << t.DateText;
  }
}

// Linear passes: ticks within a thousandth of a step beyond the bounds; at
// least MinTicks long ticks where the span is resolvable.
void CheckLinear(TScale& s, const TTickList& l) {
  SCOPED_TRACE(Describe(s));
  const TNiceTicks nice = NiceTickStep(s.MinTicks(), s.RangeLow(), s.RangeHigh());
  const long double lo = std::min(s.RangeLow(), s.RangeHigh());
  const long double hi = std::max(s.RangeLow(), s.RangeHigh());
  const long double slack = 0.0011L * std::fabs(nice.Step) + 1e-15L * std::max(std::fabs(lo), std::fabs(hi));
  std::size_t longs = 0;
  for (const TScaleTick& t : l.Ticks) {
    EXPECT_GE(t.Value, lo - slack);
    EXPECT_LE(t.Value, hi + slack);
    longs += t.Long;
  }
  if ((hi - lo) > 1e-9L * std::max(std::fabs(lo), std::fabs(hi))) {
    EXPECT_GE(longs, static_cast<std::size_t>(s.MinTicks()));
  }
}

TEST(ScaleProperties, LinearPasses) {
  RandomScale r(20240611);
  std::vector<std::unique_ptr<TScale>> scales;
  for (int k = 0; k < kRangesPerKind; ++k) {
    TScale& s = r.Pick(scales);
    const auto [low, high] = r.LinearRange();
    SetRange(s, low, high);
    s.SetDecPlaces(r.Int(-3, 12));
    const TTickList l = s.ComputeTicks();
    ASSERT_EQ(l.Pass, tpLinear);
    CheckCommon(s, l, 0);
    CheckLinear(s, l);
    CheckLabelLengths(l);
    if (HasFatalFailure() || HasFailure()) return;
  }
}

TEST(ScaleProperties, LogarithmicPasses) {
  RandomScale r(77);
  std::vector<std::unique_ptr<TScale>> scales;
  for (int k = 0; k < kRangesPerKind; ++k) {
    TScale& s = r.Pick(scales);
    const double lo = r.Pow10(-100, 100);
    double hi = lo * r.Pow10(-40, 40);
    if (!std::isfinite(hi) || hi < 1e-100) hi = lo * 10;
    SetRange(s, r.Coin() ? lo : hi, r.Coin() ? hi : lo);
    if (s.RangeLow() == s.RangeHigh()) continue;
    s.SetDecPlaces(r.Int(-3, 12));
    s.SetLogarithmic(true);
    const TTickList l = s.ComputeTicks();
    CheckCommon(s, l, 0);
    CheckLabelLengths(l);
    if (l.Pass == tpLinear) {
      CheckLinear(s, l);
    } else {
      SCOPED_TRACE(Describe(s));
      const long double a = std::min(s.RangeLow(), s.RangeHigh());
      const long double b = std::max(s.RangeLow(), s.RangeHigh());
      std::size_t longs = 0;
      for (const TScaleTick& t : l.Ticks) {
        EXPECT_GT(t.Value, a * 0.999999998L);
        EXPECT_LT(t.Value, b / 0.999999998L);
        longs += t.Long;
      }
      // Every whole decade inside the range has its tick.
      EXPECT_GE(longs, static_cast<std::size_t>(std::floor(std::log10(b / a) - 1e-6L)));
    }
    if (HasFailure()) return;
  }
}

TEST(ScaleProperties, TimePasses) {
  RandomScale r(4711);
  std::vector<std::unique_ptr<TScale>> scales;
  for (int k = 0; k < kRangesPerKind; ++k) {
    TScale& s = r.Pick(scales);
    s.SetLabelType(ftTime);
    const double low = r.Coin(0.2) ? std::round(r.Uniform(-50, 50)) * 600 : r.Uniform(-1e6, 1e6);
    const double span = r.Pow10(-3.5, 6.5) * (r.Coin(0.3) ? -1 : 1);
    SetRange(s, low, low + span);
    const TTickList l = s.ComputeTicks();
    CheckCommon(s, l, 0);
    if (l.Pass != tpTime) continue;
    SCOPED_TRACE(Describe(s));
    const long double a = std::min(s.RangeLow(), s.RangeHigh());
    const long double b = std::max(s.RangeLow(), s.RangeHigh());
    const long double slack = 1.1e-9L * std::max(std::fabs(a), std::fabs(b)) + 1e-12L;
    std::size_t longs = 0;
    for (const TScaleTick& t : l.Ticks) {
      EXPECT_GE(t.Value, a - slack);
      EXPECT_LE(t.Value, b + slack);
      longs += t.Long;
    }
    // The step is at most a MinTicks-th of the span, and no multiple of it is missed.
    EXPECT_GE(longs, static_cast<std::size_t>(s.MinTicks()));
    CheckLabelLengths(l);  // hours below 1000: " 277:46:40.000" at most
    if (HasFailure()) return;
  }
}

TEST(ScaleProperties, DateTimePasses) {
  RandomScale r(1899);
  std::vector<std::unique_ptr<TScale>> scales;
  for (int k = 0; k < kRangesPerKind; ++k) {
    TScale& s = r.Pick(scales);
    s.SetLabelType(ftDateTime);
    TDTLabel& f = s.DateFormat();
    f.SetTimeFormat(static_cast<TTimeFormat>(r.Int(0, 2)));
    f.SetYearLength(static_cast<TYearLength>(r.Int(0, 2)));
    f.SetDateOrder(static_cast<TDateOrder>(r.Int(0, 2)));
    f.SetDateForTime(static_cast<TDateForTime>(r.Int(0, 3)));
    f.SetMonthName(r.Coin());
    const double low = r.Uniform(-700000, 3010000);
    const double span = r.Pow10(-8, 6.7) * (r.Coin(0.1) ? -1 : 1);
    SetRange(s, low, low + span);
    const TTickList l = s.ComputeTicks();
    CheckCommon(s, l, 1e-8L);  // a pass ends 1e-8 days beyond RangeHigh
    CheckLabelLengths(l);
    SCOPED_TRACE(Describe(s));
    const double lo = s.RangeLow();
    const double hi = s.RangeHigh();
    const bool valid = hi >= lo && lo >= kMinDateTime && hi <= kMaxDateTime;
    if (!valid || (hi - lo) / s.MinTicks() <= 1.0 / 8640000) {
      EXPECT_NE(l.Message, dmNone);
      EXPECT_TRUE(l.Ticks.empty());
      continue;
    }
    EXPECT_EQ(l.Message, dmNone);
    std::size_t longs = 0;
    for (const TScaleTick& t : l.Ticks) {
      EXPECT_GE(t.Value, lo);
      EXPECT_LT(t.Value - hi, 1e-8);
      longs += t.Long;
    }
    // The years end with 9999; beyond it only shorter levels have ticks.
    if (hi <= EncodeDate(9999, 12, 31)) {
      EXPECT_GE(longs, 1u);
    }
    if (HasFailure()) return;
  }
}

}  // namespace

}  // namespace travenel
