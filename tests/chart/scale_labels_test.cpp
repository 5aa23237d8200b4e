// Texts of tick labels: decimals, number forms, user items, inscripts, clock
// times, calendar arithmetic and date/time formats.
#include <gtest/gtest.h>

#include <cmath>

#include "travenel/chart/Scale_labels.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

struct DecimalsCase {
  const char* name;
  bool logarithmic;
  int decPlaces;
  double a, b;  // high and low (linear) or hi and lo (logarithmic)
  int decimals;
};

class AutoDecimalsTest : public ::testing::TestWithParam<DecimalsCase> {};

TEST_P(AutoDecimalsTest, ChoosesDecimals) {
  const DecimalsCase& c = GetParam();
  const int d = c.logarithmic ? AutoDecimalsLog(c.decPlaces, c.a, c.b)
                              : AutoDecimals(c.decPlaces, c.a, c.b);
  EXPECT_EQ(d, c.decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, AutoDecimalsTest,
    ::testing::Values(
        DecimalsCase{"Hundred", false, -2, 100, 0, 0},
        DecimalsCase{"Unit", false, -2, 1, 0, 2},
        DecimalsCase{"Ten", false, -2, 10, 0, 1},
        DecimalsCase{"Tenth", false, -2, 0.1, 0, 3},
        DecimalsCase{"Twenty", false, -2, 20, 0, 1},
        DecimalsCase{"Fifty", false, -2, 50, 0, 0},
        DecimalsCase{"Reversed", false, -2, 0, 10, 1},
        DecimalsCase{"Million", false, -2, 1e6, 0, -1},
        DecimalsCase{"JustBelowMillion", false, -2, 999999, 0, 0},
        DecimalsCase{"TenThousandth", false, -2, 0.0001, 0, -1},
        DecimalsCase{"MinusThreeIsAutomaticToo", false, -3, 1, 0, 2},
        DecimalsCase{"Fixed", false, 5, 1e9, 0, 5},
        DecimalsCase{"Exponent", false, -1, 100, 0, -1},
        DecimalsCase{"FullRange", false, -2, 1.7e308, -1.7e308, -1},
        DecimalsCase{"LogAboveOne", true, -2, 1000, 1, 0},
        DecimalsCase{"LogHundredth", true, -2, 100, 0.01, 3},
        DecimalsCase{"LogHalf", true, -2, 100, 0.5, 1},
        DecimalsCase{"LogWide", true, -2, 1e7, 1, -1},
        DecimalsCase{"LogMinusThreePasses", true, -3, 100, 0.01, -3},
        DecimalsCase{"LogFixedPasses", true, 4, 100, 0.01, 4},
        DecimalsCase{"LogZeroLow", true, -2, 1, 0, -1},
        DecimalsCase{"NotANumber", false, -2, std::nan(""), 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
  const char* name;
  int decimals;
  double v;
  const char* text;
};

class FormatTickNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatTickNumberTest, Writes) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(FormatTickNumber(1, c.decimals, c.v), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatTickNumberTest,
    ::testing::Values(
        NumberCase{"Fixed", 2, 12.5, "12.50"}, NumberCase{"NegativeWhole", 0, -3, "-3"},
        NumberCase{"HalfToEven", 1, 0.25, "0.2"}, NumberCase{"Zero", 2, 0, "0.00"},
        // A negative value that rounds to zero has no sign.
        NumberCase{"NegativeRoundsToZero", 0, -0.2, "0"},
        NumberCase{"NegativeZero", 1, -0.0, "0.0"},
        NumberCase{"Million", -1, 1.5e6, " 1.5E+06"},
        NumberCase{"SmallNegative", -1, -0.002, "-2.0E-03"},
        NumberCase{"RoundsUpAcrossADecade", -1, 9.96, " 1.0E+01"},
        NumberCase{"ExponentZero", -1, 0, " 0.0E+00"},
        NumberCase{"ThreeDigitExponent", -1, 1.5e123, "********"},
        NumberCase{"ThreeDigitNegativeExponent", -1, -2e-200, "********"},
        NumberCase{"Subnormal", -1, 5e-324, "********"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatTickNumber, HugeFixedTextsAreCutByTheCaller) {
  const std::string s = FormatTickNumber(1, 2, 1e300);
  EXPECT_EQ(s.size(), 304u);
  EXPECT_EQ(CutLabel(s), "10000000000000");
  EXPECT_EQ(FormatTickNumber(6, 0, 42), "    42");
}

struct UserItemCase {
  const char* name;
  const char* text;
  int n;
  const char* item;
};

class UserTickItemTest : public ::testing::TestWithParam<UserItemCase> {};

TEST_P(UserTickItemTest, PicksTheItem) {
  const UserItemCase& c = GetParam();
  EXPECT_EQ(UserTickItem(c.text, c.n), c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Items, UserTickItemTest,
    ::testing::Values(UserItemCase{"First", "a|b|c", 1, "a"},
                      UserItemCase{"Last", "a|b|c", 3, "c"},
                      UserItemCase{"BeyondTheLast", "a|b|c", 5, "c"},
                      UserItemCase{"EmptyBetweenBars", "a||c", 2, ""},
                      UserItemCase{"TrailingBar", "a|b|", 3, ""},
                      UserItemCase{"EmptyText", "", 2, ""},
                      UserItemCase{"NoBars", "only", 4, "only"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplyInscript, PlacesTheLabel) {
  EXPECT_EQ(ApplyInscript("12", "$&"), "$12");
  EXPECT_EQ(ApplyInscript("20", "&%"), "20%");
  EXPECT_EQ(ApplyInscript("20", "x"), "x20");
  EXPECT_EQ(ApplyInscript("5", "&m & more"), "5m & more");
  EXPECT_EQ(ApplyInscript("", "x"), "");
  EXPECT_EQ(ApplyInscript("7", ""), "7");
}

TEST(StripTrailingZeros, OnlyFixedPointTexts) {
  EXPECT_EQ(StripTrailingZeros("0.010"), "0.01");
  EXPECT_EQ(StripTrailingZeros("100.000"), "100");
  EXPECT_EQ(StripTrailingZeros("100"), "100");
  EXPECT_EQ(StripTrailingZeros(" 1.0E+00"), " 1.0E+00");
}

struct SecondsCase {
  const char* name;
  bool ms;
  long double v;
  const char* text;
};

class FormatSecondsTest : public ::testing::TestWithParam<SecondsCase> {};

TEST_P(FormatSecondsTest, Writes) {
  const SecondsCase& c = GetParam();
  EXPECT_EQ(FormatSeconds(c.ms, c.v), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Clock, FormatSecondsTest,
    ::testing::Values(
        SecondsCase{"HourAndAHalf", false, 5400, " 01:30:00"},
        SecondsCase{"MinusNinety", false, -90, "-00:01:30"},
        SecondsCase{"Milliseconds", true, 1.25L, " 00:00:01.250"},
        SecondsCase{"NoWrapAt24", false, 100 * 3600.0L + 61, " 100:01:01"},
        SecondsCase{"SecondsTruncated", false, 59.7L, " 00:00:59"},
        // Rounded to the millisecond shown, carrying into the seconds.
        SecondsCase{"MillisecondCarry", true, 1.9996L, " 00:00:02.000"},
        // Tick arithmetic leaves values a hair below whole seconds.
        SecondsCase{"HairBelowASecond", false, 0.99999999999999999989L, " 00:00:01"},
        SecondsCase{"HairBelowMinusOne", false, -0.99999999999999999989L, "-00:00:01"},
        SecondsCase{"MinusAFraction", true, -0.8L, "-00:00:00.800"},
        SecondsCase{"MinusAFractionWholeSeconds", false, -0.5L, "-00:00:00"},
        SecondsCase{"MinusRoundsToZeroMs", true, -0.0004L, " 00:00:00.000"},
        SecondsCase{"HairBelowZero", false, -2e-19L, " 00:00:00"},
        SecondsCase{"HairBelowZeroMs", true, -2e-19L, " 00:00:00.000"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- calendar ---------------------------------------------------------------

struct DecodeCase {
  const char* name;
  long double days;
  int y, mo, d, h, mi, s, ms;
};

class DecodeDateTimeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeDateTimeTest, Splits) {
  const DecodeCase& c = GetParam();
  const TDateTimeParts p = DecodeDateTime(c.days);
  EXPECT_EQ(p.Year, c.y);
  EXPECT_EQ(p.Month, c.mo);
  EXPECT_EQ(p.Day, c.d);
  EXPECT_EQ(p.Hour, c.h);
  EXPECT_EQ(p.Minute, c.mi);
  EXPECT_EQ(p.Second, c.s);
  EXPECT_EQ(p.MilliSecond, c.ms);
}

INSTANTIATE_TEST_SUITE_P(
    Days, DecodeDateTimeTest,
    ::testing::Values(DecodeCase{"DayZero", 0, 1899, 12, 30, 0, 0, 0, 0},
                      DecodeCase{"BeforeDayZero", -1.25L, 1899, 12, 28, 18, 0, 0, 0},
                      DecodeCase{"Example", 45000.5L, 2023, 3, 15, 12, 0, 0, 0},
                      DecodeCase{"FirstValid", -693593, 1, 1, 1, 0, 0, 0, 0},
                      DecodeCase{"LeapDay", 36585, 2000, 2, 29, 0, 0, 0, 0},
                      DecodeCase{"Milliseconds", 1 + 1.5L / 86400, 1899, 12, 31, 0, 0, 1, 500},
                      // Rounded to whole milliseconds, carrying into the next day.
                      DecodeCase{"RoundsIntoNextDay", 2 - 1e-10L, 1900, 1, 1, 0, 0, 0, 0},
                      DecodeCase{"LastValid", 3000000, 10113, 9, 19, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Calendar, EncodeIsTheInverseAndCarriesMonths) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2023, 3, 15), 45000);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(2023, 13, 1), EncodeDate(2024, 1, 1));
  EXPECT_EQ(EncodeDate(2023, 0, 1), EncodeDate(2022, 12, 1));
  EXPECT_EQ(EncodeDate(2024, 3, 0), EncodeDate(2024, 2, 29));
  EXPECT_STREQ(MonthShortName(3), "Mar");
  EXPECT_STREQ(MonthShortName(13), "");
}

struct FormatCase {
  const char* name;
  const char* format;
  long double days;
  const char* text;
};

class FormatDateTimeTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeTest, Writes) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatDateTime(c.format, c.days), c.text);
}

constexpr long double kAfternoon = 45000 + (14 * 3600 + 5 * 60 + 30.25L) / 86400;  // 14:05:30.250

INSTANTIATE_TEST_SUITE_P(
    Pieces, FormatDateTimeTest,
    ::testing::Values(
        FormatCase{"Clock", "hh:nn:ss.zz", kAfternoon, "14:05:30.250"},
        FormatCase{"TwelveHour", "h:nn\".\"ssam/pm", kAfternoon, "2:05.30pm"},
        FormatCase{"Midnight", "ham/pm", 45000, "12am"},
        FormatCase{"Noon", "ham/pm", 45000.5L, "12pm"},
        FormatCase{"HourWithoutZero", "h\"h\"nn", kAfternoon - 0.5L, "2h05"},
        FormatCase{"Date", "dd-mmm-yyyy", 45000, "15-Mar-2023"},
        FormatCase{"NumericDate", "mm/dd/yy", 45000, "03/15/23"},
        FormatCase{"Quoted", "\"dd\"dd'mm'", 45000, "dd15mm"},
        FormatCase{"OtherCharactersCopied", "[x]", 45000, "[x]"},
        FormatCase{"EarlyYear", "yyyy", -693593, "0001"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DateFormatCase {
  const char* name;
  TDateOrder order;
  TYearLength year;
  bool monthName;
  char separator;
  const char* date;       // beside a time label
  const char* dayLabel;   // days level
  const char* monthLabel;  // months level
};

class DateFormats : public ::testing::TestWithParam<DateFormatCase> {};

TEST_P(DateFormats, FollowTheSettings) {
  const DateFormatCase& c = GetParam();
  TDTLabel f;
  f.SetDateOrder(c.order);
  f.SetYearLength(c.year);
  f.SetMonthName(c.monthName);
  f.SetDateSeparator(c.separator);
  const long double day = EncodeDate(2024, 3, 5);
  EXPECT_EQ(FormatDateTime(DateFormatFor(f), day), c.date);
  EXPECT_EQ(FormatDateTime(DayLabelFormatFor(f), day), c.dayLabel);
  EXPECT_EQ(FormatDateTime(MonthLabelFormatFor(f), day), c.monthLabel);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DateFormats,
    ::testing::Values(
        DateFormatCase{"MMDDYY", doMMDDYY, ylYYYY, true, '-', "Mar-05-2024", "Mar-05-2024",
                       "Mar-2024"},
        DateFormatCase{"DDMMYY", doDDMMYY, ylYYYY, true, '-', "05-Mar-2024", "05-Mar-2024",
                       "Mar-2024"},
        DateFormatCase{"YYMMDD", doYYMMDD, ylYYYY, true, '-', "2024-Mar-05", "2024-Mar-05",
                       "2024-Mar"},
        // Without a year the day labels keep the year's separator.
        DateFormatCase{"MMDDNoYear", doMMDDYY, ylNone, true, '-', "Mar-05", "Mar-05-", "Mar-"},
        DateFormatCase{"DDMMNoYear", doDDMMYY, ylNone, true, '-', "05-Mar", "05-Mar-", "Mar-"},
        DateFormatCase{"YYMMDDNoYear", doYYMMDD, ylNone, true, '-', "Mar-05", "-Mar-05", "-Mar"},
        DateFormatCase{"TwoDigitNumeric", doMMDDYY, ylYY, false, '/', "03/05/24", "03/05/24",
                       "03/24"},
        // Any separator is written as it is, a quote or a format letter too.
        DateFormatCase{"QuoteSeparator", doDDMMYY, ylYYYY, true, '"', "05\"Mar\"2024",
                       "05\"Mar\"2024", "Mar\"2024"},
        DateFormatCase{"LetterSeparator", doDDMMYY, ylYY, false, 'd', "05d03d24", "05d03d24",
                       "03d24"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(YearLabel, ByLength) {
  EXPECT_EQ(YearLabel(500, ylYYYY), "500");
  EXPECT_EQ(YearLabel(2024, ylYYYY), "2024");
  EXPECT_EQ(YearLabel(2005, ylYY), "05");
  EXPECT_EQ(YearLabel(2024, ylNone), "");
}

}  // namespace

}  // namespace travenel
