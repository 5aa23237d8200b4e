// Whole-number conversion of edit texts and the runtime's German messages.
#include <gtest/gtest.h>

#include "travenel/ui/Convert.h"

namespace travenel {

namespace {

struct Good {
  const char* text;
  std::int32_t value;
};

class StrToIntGood : public ::testing::TestWithParam<Good> {};

TEST_P(StrToIntGood, Converts) { EXPECT_EQ(StrToInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Convert, StrToIntGood,
                         ::testing::Values(Good{"74", 74}, Good{"0", 0}, Good{"-5", -5},
                                           Good{"+7", 7}, Good{"  12 ", 12}, Good{"007", 7},
                                           Good{"2147483647", 2147483647},
                                           Good{"-2147483648", INT32_MIN}));

class StrToIntBad : public ::testing::TestWithParam<const char*> {};

TEST_P(StrToIntBad, FailsWithTheTextInTheMessage) {
  const std::string text = GetParam();
  try {
    StrToInt(text);
    FAIL() << "converted '" << text << "'";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'" + text + "' ist kein gültiger Integerwert");
  }
  std::int32_t v = 99;
  EXPECT_FALSE(TryStrToInt(text, v));
  EXPECT_EQ(v, 99) << "a failed conversion leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(Convert, StrToIntBad,
                         ::testing::Values("", " ", "abc", "1.5", "1,5", "12a", "--1", "+", "-",
                                           "2147483648", "-2147483649", "99999999999999999999",
                                           "1 2", "0x10"));

TEST(Convert, ListIndexErrorNamesTheIndex) {
  EXPECT_EQ(ListIndexError(1000).Message(), "Listenindex überschreitet das Maximum (1000)");
  EXPECT_EQ(IntToStr(-42), "-42");
}

}  // namespace

}  // namespace travenel
