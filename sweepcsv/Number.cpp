#include "travenel/sweepcsv/Number.h"

#include <charconv>
#include <system_error>

namespace travenel {

void AppendInt(std::string& out, long long v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendUInt(std::string& out, unsigned long long v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendFixed(std::string& out, double v, int decimals) {
  // A double's fixed form can take over 300 digits before the point.
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec == std::errc()) out.append(buf, r.ptr);
}

std::string ShortestText(double v) {
  char buf[40];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

bool ReadNumber(std::string_view s, double& value, bool decimalComma) {
  const char* p = s.data();
  const char* end = p + s.size();
  if (p == end) return false;
  // Plain whole numbers, nearly every field the runner writes, are read here.
  const bool negative = *p == '-';
  const char* digits = negative ? p + 1 : p;
  if (digits != end && end - digits <= 15) {
    std::int64_t v = 0;
    const char* q = digits;
    for (; q != end && *q >= '0' && *q <= '9'; ++q) v = v * 10 + (*q - '0');
    if (q == end) {
      value = static_cast<double>(negative ? -v : v);
      return true;
    }
  }
  if (decimalComma) {
    const std::size_t comma = s.find(',');
    if (comma != std::string_view::npos) {
      // One ',' and no '.': "1.234,5" is a grouping this reader does not guess at.
      if (s.find(',', comma + 1) != std::string_view::npos ||
          s.find('.') != std::string_view::npos || s.size() > 64)
        return false;
      char buf[64];
      s.copy(buf, s.size());
      buf[comma] = '.';
      const auto [ptr, ec] = std::from_chars(buf, buf + s.size(), value);
      return ec == std::errc() && ptr == buf + s.size();
    }
  }
  const auto [ptr, ec] = std::from_chars(p, end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace travenel
