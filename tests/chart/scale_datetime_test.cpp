// Date/time scales: the level chosen by the span, where the ticks fall, their
// time and date texts, and the two messages that replace the ticks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "travenel/chart/Scale.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAreArray;
using ::testing::Pointwise;

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = 1.0 / 1440;
constexpr double kSecond = 1.0 / 86400;

Doubles Hours(double day, std::initializer_list<double> hours) {
  Doubles v;
  for (double h : hours) v.push_back(day + h * kHour);
  return v;
}

Doubles Days(std::initializer_list<std::array<int, 3>> dates) {
  Doubles v;
  for (const auto& d : dates) v.push_back(static_cast<double>(EncodeDate(d[0], d[1], d[2])));
  return v;
}

Doubles Years(int from, int to, int step) {
  Doubles v;
  for (int y = from; y <= to; y += step) v.push_back(static_cast<double>(EncodeDate(y, 1, 1)));
  return v;
}

struct DateCase {
  const char* name;
  double low, high;
  int minTicks;
  bool shortTicks;
  std::function<void(TDTLabel&)> format;  // settings beyond the defaults
  Doubles longs;
  Strings labels;
  Strings dates = {};   // checked when not empty
  Doubles shorts = {};  // checked when `checkShorts`
  bool checkShorts = false;
};

void NoChange(TDTLabel&) {}

class DateTimeTicks : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTimeTicks, LaysOutAndLabels) {
  const DateCase& c = GetParam();
  TScale s;
  Apply(s, {.low = c.low, .high = c.high, .minTicks = c.minTicks, .labelType = ftDateTime,
            .shortTicks = c.shortTicks});
  c.format(s.DateFormat());
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(l.Pass, tpDateTime);
  EXPECT_EQ(l.Message, dmNone);
  EXPECT_FALSE(l.EventBeforeLabel);
  EXPECT_THAT(LongValues(l), Pointwise(DoubleNear(1e-9), c.longs));
  EXPECT_THAT(Labels(l), ElementsAreArray(c.labels));
  if (!c.dates.empty()) {
    EXPECT_THAT(Dates(l), ElementsAreArray(c.dates));
  }
  if (c.checkShorts) {
    EXPECT_THAT(ShortValues(l), Pointwise(DoubleNear(1e-9), c.shorts));
  }
  for (const TScaleTick& t : l.Ticks) {
    EXPECT_TRUE(t.Recorded);
    EXPECT_EQ(t.EventValue, t.Value);
    if (!t.Long) {
      EXPECT_EQ(t.Label, "");
    }
  }
}

const Strings kEveryThreeHours = {"00:00", "03:00", "06:00", "09:00", "12:00"};

INSTANTIATE_TEST_SUITE_P(
    SubDay, DateTimeTicks,
    ::testing::Values(
        // Half a day in 3 intervals: 4 hours each, so 3-hour steps.
        DateCase{"Hours", 45000, 45000.5, 3, true, NoChange, Hours(45000, {0, 3, 6, 9, 12}),
                 kEveryThreeHours, Strings{"15-Mar-2023", "", "", "", ""},
                 Hours(45000, {1, 2, 4, 5, 7, 8, 10, 11}), true},
        DateCase{"HoursNoShortTicks", 45000, 45000.5, 3, false, NoChange,
                 Hours(45000, {0, 3, 6, 9, 12}), kEveryThreeHours, {}, {}, true},
        // The first major tick after a RangeLow of 02:24; short ticks from there.
        DateCase{"HoursFromMidHour", 45000.1, 45000.6, 3, true, NoChange,
                 Hours(45000, {3, 6, 9, 12}), {"03:00", "06:00", "09:00", "12:00"}, {},
                 Hours(45000, {4, 5, 7, 8, 10, 11, 13, 14}), true},
        DateCase{"HoursAmPm", 45000, 45000.5, 3, true,
                 [](TDTLabel& f) { f.SetTimeFormat(tfAMPM); }, Hours(45000, {0, 3, 6, 9, 12}),
                 {"12am", "3am", "6am", "9am", "12pm"}},
        DateCase{"HoursWithH", 45000, 45000.5, 3, true,
                 [](TDTLabel& f) { f.SetTimeFormat(tfHHhMM); }, Hours(45000, {0, 3, 6, 9, 12}),
                 {"0h", "3h", "6h", "9h", "12h"}},
        // 61 minutes: an hour would be 19.99999999 minutes per interval in
        // day counts near 45000, and 10-minute steps.
        DateCase{"Minutes", 45000, 45000 + 61 * kMinute, 3, true, NoChange,
                 Hours(45000, {0, 1.0 / 3, 2.0 / 3, 1}), {"00:00", "00:20", "00:40", "01:00"}},
        DateCase{"MinutesAmPm", 45000.5, 45000.5 + 61 * kMinute, 3, true,
                 [](TDTLabel& f) {
                   f.SetTimeFormat(tfAMPM);
                   f.SetTimeSeparator('.');
                 },
                 Hours(45000, {12, 12 + 1.0 / 3, 12 + 2.0 / 3, 13}),
                 {"12.00pm", "12.20pm", "12.40pm", "1.00pm"}},
        DateCase{"Seconds", 45000, 45000 + 90 * kSecond, 3, true,
                 [](TDTLabel& f) { f.SetTimeFormat(tfHHhMM); },
                 {45000, 45000 + 30 * kSecond, 45000 + 60 * kSecond, 45000 + 90 * kSecond},
                 {"0h00:00", "0h00:30", "0h01:00", "0h01:30"}},
        DateCase{"SubSecond", 45000, 45000 + 0.3 * kSecond, 3, true, NoChange,
                 {45000, 45000 + 0.1 * kSecond, 45000 + 0.2 * kSecond, 45000 + 0.3 * kSecond},
                 {"00:00:00.000", "00:00:00.100", "00:00:00.200", "00:00:00.300"},
                 Strings{"15-Mar-2023", "", "", ""}},
        // Across midnight: 8-hour steps; a date wherever the day changes.
        DateCase{"DatePerDay", 45000.5, 45001.5, 3, true, NoChange, Hours(45000, {16, 24, 32}),
                 {"16:00", "00:00", "08:00"}, Strings{"15-Mar-2023", "16-Mar-2023", ""}},
        DateCase{"DateOnAllTicks", 45000.5, 45001.5, 3, true,
                 [](TDTLabel& f) { f.SetDateForTime(dtAllTicks); }, Hours(45000, {16, 24, 32}),
                 {"16:00", "00:00", "08:00"},
                 Strings{"15-Mar-2023", "16-Mar-2023", "16-Mar-2023"}},
        DateCase{"DateOncePerChart", 45000.5, 45001.5, 3, true,
                 [](TDTLabel& f) { f.SetDateForTime(dtOnePerChart); },
                 Hours(45000, {16, 24, 32}), {"16:00", "00:00", "08:00"},
                 Strings{"15-Mar-2023", "", ""}},
        DateCase{"DateShortWithoutYear", 45000.5, 45001.5, 3, true,
                 [](TDTLabel& f) {
                   f.SetDateForTime(dtAllTicks);
                   f.SetYearLength(ylNone);
                   f.SetDateOrder(doYYMMDD);
                 },
                 Hours(45000, {16, 24, 32}), {"16:00", "00:00", "08:00"},
                 Strings{"Mar-15", "Mar-16", "Mar-16"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Calendar, DateTimeTicks,
    ::testing::Values(
        DateCase{"Days", 45000, 45014, 3, true, NoChange, Doubles{45002, 45005, 45008, 45011, 45014},
                 {"17-Mar-2023", "20-Mar-2023", "23-Mar-2023", "26-Mar-2023", "29-Mar-2023"}, {},
                 Doubles{45000, 45001, 45003, 45004, 45006, 45007, 45009, 45010, 45012, 45013},
                 true},
        // Two-week steps across day 0 stay 14 days apart (a floored modulo).
        DateCase{"DaysAcrossDayZero", -40, 40, 3, true, NoChange, Doubles{-27, -13, 1, 15, 29},
                 {"03-Dec-1899", "17-Dec-1899", "31-Dec-1899", "14-Jan-1900", "28-Jan-1900"}, {},
                 Doubles{-34, -20, -6, 8, 22, 36}, true},
        DateCase{"DaysWithoutYear", 45000, 45014, 3, false,
                 [](TDTLabel& f) { f.SetYearLength(ylNone); },
                 Doubles{45002, 45005, 45008, 45011, 45014},
                 {"17-Mar-", "20-Mar-", "23-Mar-", "26-Mar-", "29-Mar-"}},
        DateCase{"Months", 45000, 45365, 3, true, NoChange,
                 Days({{2023, 4, 1}, {2023, 7, 1}, {2023, 10, 1}, {2024, 1, 1}}),
                 {"Apr-2023", "Jul-2023", "Oct-2023", "Jan-2024"}, {},
                 Days({{2023, 5, 1},
                       {2023, 6, 1},
                       {2023, 8, 1},
                       {2023, 9, 1},
                       {2023, 11, 1},
                       {2023, 12, 1},
                       {2024, 2, 1},
                       {2024, 3, 1}}),
                 true},
        DateCase{"MonthsNoShortTicks", 45000, 45365, 3, false,
                 [](TDTLabel& f) { f.SetDateOrder(doYYMMDD); },
                 Days({{2023, 4, 1}, {2023, 7, 1}, {2023, 10, 1}, {2024, 1, 1}}),
                 {"2023-Apr", "2023-Jul", "2023-Oct", "2024-Jan"}, {}, {}, true},
        DateCase{"EveryMonth", 45000, 45200, 6, true, NoChange,
                 Days({{2023, 4, 1},
                       {2023, 5, 1},
                       {2023, 6, 1},
                       {2023, 7, 1},
                       {2023, 8, 1},
                       {2023, 9, 1},
                       {2023, 10, 1}}),
                 {"Apr-2023", "May-2023", "Jun-2023", "Jul-2023", "Aug-2023", "Sep-2023",
                  "Oct-2023"},
                 {}, {}, true},
        // A century in 3 intervals: 20-year steps, 10-year short ticks.
        DateCase{"Years", 0, 36525, 3, true, NoChange, Years(1900, 1980, 20),
                 {"1900", "1920", "1940", "1960", "1980"}, {}, Years(1910, 1990, 20), true},
        DateCase{"YearsTwoDigits", 0, 36525, 3, false,
                 [](TDTLabel& f) { f.SetYearLength(ylYY); }, Years(1900, 1980, 20),
                 {"00", "20", "40", "60", "80"}, {}, {}, true},
        DateCase{"YearsWithoutLeadingZeros", static_cast<double>(EncodeDate(400, 1, 1)),
                 static_cast<double>(EncodeDate(710, 1, 1)), 3, true, NoChange,
                 Years(400, 700, 100), {"400", "500", "600", "700"}, {}, Years(450, 650, 100),
                 true},
        // The years end with 9999.
        DateCase{"LastYears", 2900000, 3000000, 3, false, NoChange, Years(9850, 9950, 50),
                 {"9850", "9900", "9950"}, {}, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateTimeTicks, FirstYearTickNotBeforeRangeLow) {
  TScale s;
  const double jan1 = static_cast<double>(EncodeDate(1900, 1, 1));
  Apply(s, {.low = jan1, .high = jan1 + 36525, .labelType = ftDateTime});
  EXPECT_EQ(s.ComputeTicks().Ticks.front().Value, jan1);  // on 1 January: that year
  s.SetRangeLow(jan1 + 0.5);
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(l.Ticks.front().Value, static_cast<double>(EncodeDate(1910, 1, 1)));
  EXPECT_FALSE(l.Ticks.front().Long);
}

struct MessageCase {
  const char* name;
  double low, high;
  TDateTimeMessage message;
};

class DateTimeMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(DateTimeMessages, ReplaceTheTicks) {
  const MessageCase& c = GetParam();
  TScale s;
  s.SetMinTicks(10);
  s.ComputeTicks();  // something in the tick list from before
  Apply(s, {.low = c.low, .high = c.high, .minTicks = 3, .labelType = ftDateTime});
  const TTickList l = s.ComputeTicks();
  EXPECT_EQ(l.Message, c.message);
  EXPECT_TRUE(l.Ticks.empty());
  EXPECT_EQ(s.NumTicks(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, DateTimeMessages,
    ::testing::Values(MessageCase{"Reversed", 45000.5, 45000, dmInvalidScale},
                      MessageCase{"BeforeYearOne", -693594, 0, dmInvalidScale},
                      MessageCase{"TooLate", 0, 3000001, dmInvalidScale},
                      MessageCase{"HundredthPerInterval", 0, 0.03 * kSecond, dmBelowOneSecond},
                      MessageCase{"BelowAHundredth", 45000, 45000 + 0.029 * kSecond,
                                  dmBelowOneSecond},
                      MessageCase{"Tiny", 45000, 45000 + 1e-9, dmBelowOneSecond}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateTimeMessages, Texts) {
  EXPECT_EQ(DateTimeMessageText(dmInvalidScale), "invalid DateTime scale");
  EXPECT_EQ(DateTimeMessageText(dmBelowOneSecond), "DateTime range is below 1 second");
  EXPECT_EQ(DateTimeMessageLines(dmInvalidScale), (Strings{"invalid", "DateTime", "scale"}));
  EXPECT_EQ(DateTimeMessageLines(dmBelowOneSecond),
            (Strings{"DateTime", "range is", "below 1", "second"}));
  EXPECT_TRUE(DateTimeMessageLines(dmNone).empty());
}

TEST(DateTimeTicks, UserTextAndInscriptAreNotUsed) {
  TScale s;
  Apply(s, {.low = 45000, .high = 45000.5, .labelType = ftDateTime});
  s.SetScaleInscript("x");
  s.SetUserTickText("a|b");
  EXPECT_THAT(Labels(s.ComputeTicks()), ElementsAreArray(kEveryThreeHours));
}

TEST(DateTimeTicks, RecordsTheFirstFiftyInDrawingOrder) {
  TScale s;
  // 10 days in 10 intervals of a day: hourly short ticks, 241 of them.
  Apply(s, {.low = 45000, .high = 45010, .minTicks = 10, .labelType = ftDateTime});
  const TTickList l = s.ComputeTicks();
  ASSERT_GT(l.Ticks.size(), 50u);
  EXPECT_EQ(s.NumTicks(), 50);
  for (int i = 1; i <= 50; ++i) EXPECT_EQ(s.TickPosition(i), l.Ticks[i - 1].Value);
}

}  // namespace

}  // namespace travenel
