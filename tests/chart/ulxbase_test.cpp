// Date/time label settings and the library's exceptions.
#include <gtest/gtest.h>

#include <functional>

#include "travenel/chart/ulxbase.h"
#include "scale_test_util.h"

namespace travenel {

namespace {

TEST(TDTLabel, StartsWithTheValuesOfANewScale) {
  TDTLabel f;
  EXPECT_EQ(f.TimeFormat(), tfHHMMSS);
  EXPECT_EQ(f.DateSeparator(), '-');
  EXPECT_EQ(f.TimeSeparator(), ':');
  EXPECT_EQ(f.YearLength(), ylYYYY);
  EXPECT_TRUE(f.MonthName());
  EXPECT_EQ(f.DateOrder(), doDDMMYY);
  EXPECT_EQ(f.DateForTime(), dtOnePerDay);
}

struct ChangeCase {
  const char* name;
  std::function<void(TDTLabel&)> sameValue;  // assigns what the property holds already
  std::function<void(TDTLabel&)> newValue;
  bool firesOnSameValue;
  std::function<bool(const TDTLabel&)> stored;
};

class TDTLabelChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(TDTLabelChange, StoresAndNotifies) {
  const ChangeCase& c = GetParam();
  TDTLabel f;
  int fired = 0;
  f.OnChange = [&](TDTLabel& sender) {
    EXPECT_EQ(&sender, &f);
    ++fired;
  };
  c.sameValue(f);
  EXPECT_EQ(fired, c.firesOnSameValue ? 1 : 0);
  fired = 0;
  c.newValue(f);
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(c.stored(f));
}

INSTANTIATE_TEST_SUITE_P(
    Properties, TDTLabelChange,
    ::testing::Values(
        // TimeFormat and DateOrder notify on every assignment, the others on a change.
        ChangeCase{"TimeFormat", [](TDTLabel& f) { f.SetTimeFormat(tfHHMMSS); },
                   [](TDTLabel& f) { f.SetTimeFormat(tfAMPM); }, true,
                   [](const TDTLabel& f) { return f.TimeFormat() == tfAMPM; }},
        ChangeCase{"DateOrder", [](TDTLabel& f) { f.SetDateOrder(doDDMMYY); },
                   [](TDTLabel& f) { f.SetDateOrder(doYYMMDD); }, true,
                   [](const TDTLabel& f) { return f.DateOrder() == doYYMMDD; }},
        ChangeCase{"DateSeparator", [](TDTLabel& f) { f.SetDateSeparator('-'); },
                   [](TDTLabel& f) { f.SetDateSeparator('/'); }, false,
                   [](const TDTLabel& f) { return f.DateSeparator() == '/'; }},
        ChangeCase{"TimeSeparator", [](TDTLabel& f) { f.SetTimeSeparator(':'); },
                   [](TDTLabel& f) { f.SetTimeSeparator('.'); }, false,
                   [](const TDTLabel& f) { return f.TimeSeparator() == '.'; }},
        ChangeCase{"YearLength", [](TDTLabel& f) { f.SetYearLength(ylYYYY); },
                   [](TDTLabel& f) { f.SetYearLength(ylYY); }, false,
                   [](const TDTLabel& f) { return f.YearLength() == ylYY; }},
        ChangeCase{"MonthName", [](TDTLabel& f) { f.SetMonthName(true); },
                   [](TDTLabel& f) { f.SetMonthName(false); }, false,
                   [](const TDTLabel& f) { return !f.MonthName(); }},
        ChangeCase{"DateForTime", [](TDTLabel& f) { f.SetDateForTime(dtOnePerDay); },
                   [](TDTLabel& f) { f.SetDateForTime(dtAllTicks); }, false,
                   [](const TDTLabel& f) { return f.DateForTime() == dtAllTicks; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TDTLabel, AssignTakesAllSevenValuesAndNotifiesOnce) {
  TDTLabel a, b;
  a.SetTimeFormat(tfHHhMM);
  a.SetDateSeparator('.');
  a.SetTimeSeparator('h');
  a.SetYearLength(ylNone);
  a.SetMonthName(false);
  a.SetDateOrder(doMMDDYY);
  a.SetDateForTime(dtNone);
  int fired = 0;
  b.OnChange = [&](TDTLabel&) { ++fired; };
  b.Assign(a);
  EXPECT_TRUE(b.SameValues(a));
  EXPECT_EQ(fired, 1);
}

TEST(UlxBase, ChartErrorIsALibraryErrorWithItsMessage) {
  try {
    throw EUlxRChartError("Destination layer 3 is out of range");
  } catch (const EUlxError& e) {
    EXPECT_EQ(e.Message(), "Destination layer 3 is out of range");
    return;
  }
  FAIL() << "not caught as EUlxError";
}

}  // namespace

}  // namespace travenel
