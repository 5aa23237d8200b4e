#include "travenel/ui/Convert.h"

#include <limits>

namespace travenel {

bool TryStrToInt(const std::string& text, std::int32_t& value) {
  std::size_t i = 0, end = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (i < end && blank(text[i])) ++i;
  while (end > i && blank(text[end - 1])) --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == end) return false;
  std::int64_t v = 0;
  for (; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;  // the same digits under every locale
    v = v * 10 + (text[i] - '0');
    if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

std::int32_t StrToInt(const std::string& text) {
  std::int32_t v = 0;
  if (!TryStrToInt(text, v)) throw EConvertError("'" + text + "' ist kein gültiger Integerwert");
  return v;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

EListError ListIndexError(std::int64_t index) {
  return EListError("Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
}

}  // namespace travenel
