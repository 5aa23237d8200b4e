#include "travenel/plot/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "travenel/sweepcsv/Number.h"

namespace travenel {

namespace {

// Lists up to this long are written out.
constexpr std::size_t kListed = 5;

}  // namespace

std::string NumberText(double v) {
  std::string s;
  if (v == std::floor(v) && std::fabs(v) < 1e15) {
    AppendInt(s, static_cast<long long>(v));  // no "-0"
    return s;
  }
  // Six significant digits, without trailing zeros, as %.6g wrote them in
  // the "C" locale, but with '.' under every locale.
  const double a = std::fabs(v);
  const int exp10 = a > 0 ? static_cast<int>(std::floor(std::log10(a))) : 0;
  if (exp10 < -4 || exp10 >= 6) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 5);
    std::string t(buf, r.ptr);
    const std::size_t e = t.find('e');
    std::string mant = t.substr(0, e), ex = t.substr(e);
    while (mant.back() == '0') mant.pop_back();
    if (mant.back() == '.') mant.pop_back();
    return mant + ex;
  }
  AppendFixed(s, v, std::max(0, 5 - exp10));
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

std::string ValuesText(const std::vector<double>& values) {
  if (values.empty()) return "none";
  std::string s;
  if (values.size() <= kListed) {
    for (double v : values) s += (s.empty() ? "" : ", ") + NumberText(v);
    return s;
  }
  const double step = values[1] - values[0];
  bool even = true;
  for (std::size_t i = 1; i < values.size() && even; ++i)
    even = std::fabs(values[i] - values[i - 1] - step) <= 1e-9 * std::fabs(step);
  s = NumberText(values.front()) + " to " + NumberText(values.back());
  if (even) return s + " by " + NumberText(step);
  return s + ", " + std::to_string(values.size()) + " values";
}

}  // namespace travenel
