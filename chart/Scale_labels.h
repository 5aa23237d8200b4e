// Texts of axis labels: numbers with fixed or automatic decimals and in
// exponent form, user texts and inscripts, clock times of seconds, and the
// calendar arithmetic and date/time formats of date/time axes.
//
// Date/time values count days on a continuous axis: 0 is 1899-12-30 00:00,
// the fraction is the time of day, also before day 0 (-1.25 is 1899-12-28 18:00).
#pragma once

#include <string>

#include "travenel/chart/ulxbase.h"

namespace travenel {

// Longest numeric label; longer texts are cut.
constexpr std::size_t kMaxLabelLength = 14;
// The range of date/time values a date/time axis accepts: 0001-01-01 .. (about) 10113.
constexpr double kMinDateTime = -693593;
constexpr double kMaxDateTime = 3000000;

// --- numbers ---------------------------------------------------------------

// Decimals for a linear axis: DecPlaces itself unless it asks for automatic
// decimals (-2 or -3); then -1 (exponent form) for very wide or very narrow
// ranges, 0 from a span of 100, else 2 - nint(ln(span) / 2.5).
int AutoDecimals(int decPlaces, double rangeHigh, double rangeLow);
// Decimals for a logarithmic axis: only -2 is replaced.
int AutoDecimalsLog(int decPlaces, double hi, double lo);

// decimals -1: a sign position (blank or '-'), two significant digits and a
// two-digit exponent (" 1.5E+06"); an exponent of 100 or more cannot be shown
// and gives eight '*'. decimals >= 0: fixed-point text. The text is at least
// `width` characters wide (blank-padded on the left).
std::string FormatTickNumber(int width, int decimals, double v);

// Item n (1-based) of a '|'-separated list; n past the last item gives the last.
std::string UserTickItem(const std::string& text, int n);
// "&" in the inscript stands for the label ("$&" gives $12, "&%" gives 12%);
// without it the inscript goes in front. An empty label stays empty.
std::string ApplyInscript(const std::string& label, const std::string& inscript);
// The first kMaxLabelLength characters.
std::string CutLabel(std::string text);
// Removes trailing '0's and then a trailing '.' from a fixed-point text
// ("0.010" gives "0.01", "100.000" gives "100"); texts in exponent form stay.
std::string StripTrailingZeros(std::string text);

// Seconds as a signed clock time: " 01:30:00", "-00:01:30", " 00:00:01.250".
// Hours do not wrap at 24.
std::string FormatSeconds(bool withMilliseconds, long double v);

// --- calendar --------------------------------------------------------------

struct TDateTimeParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, MilliSecond = 0;
};

// Splits a day count, rounded to whole milliseconds, into its parts.
TDateTimeParts DecodeDateTime(long double days);
// The day count of a calendar date; months outside 1..12 carry into the year.
long double EncodeDate(int year, int month, int day);
// Fixed English short names, "Jan" .. "Dec".
const char* MonthShortName(int month);

// Writes a date/time value by a format of pieces: hh h nn ss zz am/pm dd mm
// mmm yy yyyy; text in double (or single) quotes is copied without the quotes,
// every other character as it is.
std::string FormatDateTime(const std::string& format, long double days);

// A separator character as a quoted literal of a format.
std::string QuoteFormatChar(char c);

// The format of a date beside a time label (day, month and year by the
// settings; without a year only day and month).
std::string DateFormatFor(const TDTLabel& f);
// The format of a days-level label: as above, but without a year its separator
// stays ("Mar-05-", "05-Mar-", "-Mar-05").
std::string DayLabelFormatFor(const TDTLabel& f);
// The format of a months-level label: "Mar-2024" or "2024-Mar".
std::string MonthLabelFormatFor(const TDTLabel& f);
// A years-level label: empty, two digits, or the year without leading zeros.
std::string YearLabel(int year, TYearLength length);

// Sub-day levels of a date/time axis, finest first.
enum TSubDayLevel : std::uint8_t { sdSubSecond = 0, sdSeconds = 1, sdMinutes = 2, sdHours = 3 };
// The time-of-day format of a level in the given clock style.
std::string TimeFormatFor(TSubDayLevel level, const TDTLabel& f);

}  // namespace travenel
