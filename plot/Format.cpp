#include "travenel/plot/Format.h"

#include <cmath>
#include <cstdio>

namespace travenel {

namespace {

// Lists up to this long are written out.
constexpr std::size_t kListed = 5;

}  // namespace

std::string NumberText(double v) {
  char buf[32];
  if (v == std::floor(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v == 0 ? 0.0 : v);  // no "-0"
  else
    std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
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
