#include "travenel/chart/Scale_labels.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "travenel/chart/math1.h"

namespace travenel {

namespace {

constexpr double kExponentFormAbove = 1000000;  // spans from here on: exponent form
constexpr double kExponentFormBelow = 0.0001;   // spans up to here: exponent form
constexpr long double kMsPerDay = 86400000.0L;
// Far beyond any date a date/time axis accepts, but well inside what the
// calendar arithmetic can hold (its years run to +-32767).
constexpr long double kDecodableDays = 10000000.0L;
// Whole seconds of a clock label are read from values that came out of tick
// arithmetic; a value this close below a whole second is that second.
constexpr long double kSecondsSnap = 1e-9L;

// Decimal text of v as std::to_chars writes it: with '.' whatever the C
// library's locale (which Qt sets to the user's), unlike snprintf.
template <class T, class... Format>
std::string DecimalText(T v, Format... format) {
  char buf[64];
  const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v, format...);
  if (r.ec == std::errc()) return std::string(buf, r.ptr);
  // Only huge values in fixed form: long double's largest has under 5000 digits.
  std::string s(5000, '\0');
  const std::to_chars_result big = std::to_chars(s.data(), s.data() + s.size(), v, format...);
  s.resize(big.ec == std::errc() ? static_cast<std::size_t>(big.ptr - s.data()) : 0);
  return s;
}

// Appends v with at least `digits` digits, leading zeros added.
void AppendDigits(std::string& out, long long v, int digits) {
  if (v < 0) {
    out += '-';
    v = v == LLONG_MIN ? LLONG_MAX : -v;
  }
  char buf[24];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v > 0 && n < 20);
  while (n < digits) buf[n++] = '0';
  while (n > 0) out += buf[--n];
}

std::string TwoDigits(long long v) {
  std::string s;
  AppendDigits(s, v, 2);
  return s;
}

// A whole, non-negative number of any size as decimal text with at least two digits.
std::string WholeNumber(long double v) {
  if (v < 1e18L) return TwoDigits(static_cast<long long>(v));
  return DecimalText(v, std::chars_format::fixed, 0);
}

const std::chrono::sys_days kDayZero = std::chrono::sys_days{
    std::chrono::year{1899} / std::chrono::December / std::chrono::day{30}};

}  // namespace

int AutoDecimals(int decPlaces, double rangeHigh, double rangeLow) {
  if (decPlaces != -2 && decPlaces != -3) return decPlaces;
  const long double r = std::fabs(static_cast<long double>(rangeHigh) - rangeLow);
  if (!(r < kExponentFormAbove) || r <= kExponentFormBelow) return -1;  // NaN too
  if (r >= 100) return 0;
  return 2 - static_cast<int>(Nint(std::log(r) / 2.5L));
}

int AutoDecimalsLog(int decPlaces, double hi, double lo) {
  if (decPlaces != -2) return decPlaces;
  const long double span = static_cast<long double>(hi) - lo;
  if (!(span < kExponentFormAbove) || span <= kExponentFormBelow) return -1;  // NaN too
  if (lo >= 1) return 0;
  if (lo == 0) return -1;  // no decade to count decimals from
  return 1 - static_cast<int>(Nint(std::log10(std::fabs(static_cast<long double>(lo)))));
}

std::string FormatTickNumber(int width, int decimals, double v) {
  std::string s;
  if (!std::isfinite(v)) {
    s.assign(8, '*');
  } else if (decimals == -1) {
    // d.de+xx with at least two exponent digits; we always write exactly two,
    // and an exponent that needs three cannot be shown.
    std::string e = DecimalText(std::fabs(v), std::chars_format::scientific, 1);
    std::replace(e.begin(), e.end(), 'e', 'E');
    const std::size_t ePos = e.find('E');
    const int exponent = std::atoi(e.c_str() + ePos + 1);
    s.assign(1, v < 0 ? '-' : ' ');
    s.append(e, 0, ePos + 2);
    if (std::abs(exponent) < 100) {
      s += TwoDigits(std::abs(exponent));
    } else {
      s += e.substr(e.size() - 2);
      s.assign(s.size(), '*');
    }
  } else {
    s = DecimalText(v, std::chars_format::fixed, std::max(decimals, 0));
    // A negative value that rounds to zero reads as zero, not "-0".
    if (s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos) s.erase(0, 1);
  }
  if (width > 0 && s.size() < static_cast<std::size_t>(width))
    s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string UserTickItem(const std::string& text, int n) {
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t bar = text.find('|', begin);
    if (bar == std::string::npos) break;  // past the last item: stay on it
    begin = bar + 1;
  }
  const std::size_t end = text.find('|', begin);
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string ApplyInscript(const std::string& label, const std::string& inscript) {
  if (label.empty()) return label;
  const std::size_t amp = inscript.find('&');
  if (amp == std::string::npos) return inscript + label;
  return inscript.substr(0, amp) + label + inscript.substr(amp + 1);
}

std::string CutLabel(std::string text) {
  if (text.size() > kMaxLabelLength) text.resize(kMaxLabelLength);
  return text;
}

std::string StripTrailingZeros(std::string text) {
  if (text.find('.') == std::string::npos || text.find_first_of("eE") != std::string::npos)
    return text;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string FormatSeconds(bool withMilliseconds, long double v) {
  if (!std::isfinite(v)) return "********";
  long double a = std::fabs(v);
  std::string ms;
  // The sign is that of the value as it is shown, decided before the value
  // is cut to whole seconds (-0.8 s reads -00:00:00.800), but a value that
  // shows as zero takes none (tick arithmetic may leave -1e-19).
  bool shownNonZero = false;
  if (withMilliseconds) {
    // Round to the millisecond shown first, so that it carries into the
    // seconds (1.9996 s reads 00:00:02.000, not 00:00:01.1000).
    const long double total = Nint(a * 1000);
    shownNonZero = total != 0;
    const long double z = std::fmod(total, 1000.0L);
    ms = ".";
    AppendDigits(ms, static_cast<long long>(z), 3);
    a = (total - z) / 1000;
  } else {
    // Tick values a hair below a whole second show that second.
    const long double whole = Nint(a);
    if (std::fabs(a - whole) <= kSecondsSnap * std::max(1.0L, a)) a = whole;
    shownNonZero = a != 0;
  }
  const long double h = std::trunc(a / 3600);
  const long double m = std::clamp(std::trunc((a - 3600 * h) / 60), 0.0L, 59.0L);
  const long double sec = std::clamp(std::trunc(a - 3600 * h - 60 * m), 0.0L, 59.0L);
  std::string text(1, v < 0 && shownNonZero ? '-' : ' ');
  text += WholeNumber(h);
  text += ':';
  text += TwoDigits(static_cast<long long>(m));
  text += ':';
  text += TwoDigits(static_cast<long long>(sec));
  return text + ms;
}

TDateTimeParts DecodeDateTime(long double days) {
  using namespace std::chrono;
  if (!(days > -kDecodableDays)) days = -kDecodableDays;  // NaN lands here too
  if (days > kDecodableDays) days = kDecodableDays;
  const long double total = Nint(days * kMsPerDay);
  const long double day = std::floor(total / kMsPerDay);
  auto msOfDay = static_cast<long long>(total - day * kMsPerDay);
  const year_month_day ymd{kDayZero + std::chrono::days{static_cast<long long>(day)}};
  TDateTimeParts p;
  p.Year = static_cast<int>(ymd.year());
  p.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.MilliSecond = static_cast<int>(msOfDay % 1000);
  msOfDay /= 1000;
  p.Second = static_cast<int>(msOfDay % 60);
  msOfDay /= 60;
  p.Minute = static_cast<int>(msOfDay % 60);
  p.Hour = static_cast<int>(msOfDay / 60);
  return p;
}

long double EncodeDate(int year, int month, int day) {
  using namespace std::chrono;
  const long long m0 = static_cast<long long>(month) - 1;
  const long long y = year + (m0 >= 0 ? m0 / 12 : (m0 - 11) / 12);
  const auto m = static_cast<unsigned>(FloorMod(m0, 12) + 1);
  const sys_days d = sys_days{std::chrono::year{static_cast<int>(y)} / std::chrono::month{m} /
                              std::chrono::day{1}} +
                     std::chrono::days{day - 1};
  return static_cast<long double>((d - kDayZero).count());
}

const char* MonthShortName(int month) {
  static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return (month >= 1 && month <= 12) ? kNames[month - 1] : "";
}

std::string FormatDateTime(const std::string& format, long double days) {
  const TDateTimeParts p = DecodeDateTime(days);
  const bool twelveHour = format.find("am/pm") != std::string::npos;
  auto at = [&](std::size_t i, const char* piece) { return format.compare(i, std::strlen(piece), piece) == 0; };
  std::string out;
  for (std::size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = format.find(c, i + 1);
      const std::size_t end = close == std::string::npos ? format.size() : close;
      out.append(format, i + 1, end - i - 1);
      i = end + 1;
    } else if (at(i, "am/pm")) {
      out += p.Hour < 12 ? "am" : "pm";
      i += 5;
    } else if (at(i, "yyyy")) {
      AppendDigits(out, p.Year, 4);
      i += 4;
    } else if (at(i, "yy")) {
      AppendDigits(out, FloorMod(p.Year, 100), 2);
      i += 2;
    } else if (at(i, "mmm")) {
      out += MonthShortName(p.Month);
      i += 3;
    } else if (at(i, "mm")) {
      AppendDigits(out, p.Month, 2);
      i += 2;
    } else if (at(i, "dd")) {
      AppendDigits(out, p.Day, 2);
      i += 2;
    } else if (at(i, "hh")) {
      AppendDigits(out, p.Hour, 2);
      i += 2;
    } else if (c == 'h') {
      const int h = twelveHour ? (p.Hour % 12 == 0 ? 12 : p.Hour % 12) : p.Hour;
      out += std::to_string(h);
      i += 1;
    } else if (at(i, "nn")) {
      AppendDigits(out, p.Minute, 2);
      i += 2;
    } else if (at(i, "ss")) {
      AppendDigits(out, p.Second, 2);
      i += 2;
    } else if (at(i, "zz")) {
      AppendDigits(out, p.MilliSecond, 3);
      i += 2;
    } else {
      out += c;
      i += 1;
    }
  }
  return out;
}

std::string QuoteFormatChar(char c) {
  // A double quote cannot stand inside double quotes: single ones hold it.
  if (c == '"') return "'\"'";
  return std::string("\"") + c + "\"";
}

std::string DateFormatFor(const TDTLabel& f) {
  const std::string m = f.MonthName() ? "mmm" : "mm";
  const std::string s = QuoteFormatChar(f.DateSeparator());
  const std::string y = f.YearLength() == ylYY ? "yy" : "yyyy";
  if (f.YearLength() == ylNone) return f.DateOrder() == doDDMMYY ? "dd" + s + m : m + s + "dd";
  switch (f.DateOrder()) {
    case doMMDDYY: return m + s + "dd" + s + y;
    case doYYMMDD: return y + s + m + s + "dd";
    default: return "dd" + s + m + s + y;
  }
}

std::string DayLabelFormatFor(const TDTLabel& f) {
  const std::string m = f.MonthName() ? "mmm" : "mm";
  const std::string s = QuoteFormatChar(f.DateSeparator());
  const std::string y = f.YearLength() == ylNone ? "" : f.YearLength() == ylYY ? "yy" : "yyyy";
  switch (f.DateOrder()) {
    case doMMDDYY: return m + s + "dd" + s + y;
    case doYYMMDD: return y + s + m + s + "dd";
    default: return "dd" + s + m + s + y;
  }
}

std::string MonthLabelFormatFor(const TDTLabel& f) {
  const std::string m = f.MonthName() ? "mmm" : "mm";
  const std::string s = QuoteFormatChar(f.DateSeparator());
  const std::string y = f.YearLength() == ylNone ? "" : f.YearLength() == ylYY ? "yy" : "yyyy";
  return f.DateOrder() == doYYMMDD ? y + s + m : m + s + y;
}

std::string YearLabel(int year, TYearLength length) {
  if (length == ylNone) return {};
  if (length == ylYY) return TwoDigits(FloorMod(year, 100));
  return std::to_string(year);  // four digits without the leading zeros
}

std::string TimeFormatFor(TSubDayLevel level, const TDTLabel& f) {
  const std::string t = QuoteFormatChar(f.TimeSeparator());
  switch (f.TimeFormat()) {
    case tfHHhMM:
      switch (level) {
        case sdHours: return "h\"h\"";
        case sdMinutes: return "h\"h\"nn";
        case sdSeconds: return "h\"h\"nn" + t + "ss";
        default: return "h\"h\"nn" + t + "ss.zz";
      }
    case tfAMPM:
      switch (level) {
        case sdHours: return "ham/pm";
        case sdMinutes: return "h" + t + "nnam/pm";
        case sdSeconds: return "h" + t + "nn\".\"ssam/pm";
        default: return "h" + t + "nn\".\"ss.zzam/pm";
      }
    default:
      switch (level) {
        case sdHours:
        case sdMinutes: return "hh" + t + "nn";
        case sdSeconds: return "hh" + t + "nn" + t + "ss";
        default: return "hh" + t + "nn" + t + "ss.zz";
      }
  }
}

}  // namespace travenel
