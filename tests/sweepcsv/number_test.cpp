// Numbers to text and back for the sweep CSV: as printf and strtod do in the
// "C" locale, and the same under a German one.
#include "travenel/sweepcsv/Number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "sweepcsv/german_locale.h"
#include "travenel/sweepcsv/Writer.h"

namespace travenel {

namespace {

std::string Printf2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// The runner's rows with measures, of many percentages, as one text.
std::string SomeRows(std::mt19937& rng) {
  std::string text;
  for (int i = 0; i < 2000; ++i) {
    AppendStepRow(text, int(rng() % 2000), int(rng() % 101), unsigned(rng()), rng() % 99 + 1,
                  int(rng() % 1000), int(rng() % 1000));
    const TMeasureFields m{100.0 * double(rng() % 7919) / 7919.0, int(rng() % 50),
                           int(rng() % 400)};
    AppendMeasures(text, i % 5 ? &m : nullptr);
    text += '\n';
  }
  return text;
}

TEST(Number, TwoDecimalsRoundAsPrintfInTheCLocale) {
  // Halves that lie just below or above in binary, and values that round up
  // to the next whole number.
  std::mt19937 rng(5);
  std::vector<double> values = {0,      0.005,  0.015,  0.125, 0.375,     1.005, 2.675,
                                99.995, 99.999, 48.755, 100,   66.666666, 1e-9};
  for (int i = 0; i < 20000; ++i) values.push_back(100.0 * double(rng() % 100003) / 100003.0);
  for (double v : values) {
    std::string s;
    AppendFixed(s, v, 2);
    ASSERT_EQ(s, Printf2(v)) << v;
  }
}

TEST(Number, ReadsWhatItWritesAndDecimalCommasOnlyWhereAsked) {
  struct Case {
    const char* text;
    bool comma;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"48.76", false, true, 48.76}, {"48,76", true, true, 48.76},
      {"48,76", false, false, 0},    {"-0,5", true, true, -0.5},
      {"1e3", true, true, 1000},     {"1,2,3", true, false, 0},
      {"1.000,5", true, false, 0},   {"", false, false, 0},
      {"12x", false, false, 0},      {"123456789012345678", false, true, 123456789012345678.0},
      {"-", false, false, 0},
  };
  for (const Case& c : cases) {
    double v = 0;
    EXPECT_EQ(ReadNumber(c.text, v, c.comma), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST(Number, TheSameBytesUnderAGermanLocale) {
  std::mt19937 rng(11);
  const std::string inC = SomeRows(rng);
  std::string why;
  if (!UseGermanLocale(why)) GTEST_SKIP() << why;
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  EXPECT_STREQ(probe, "0,5");  // the locale is in force
  rng.seed(11);
  const std::string inGerman = SomeRows(rng);
  double v = 0;
  const bool read = ReadNumber("48.76", v);
  UseCLocale();
  EXPECT_EQ(inGerman, inC);
  EXPECT_TRUE(read);
  EXPECT_EQ(v, 48.76);
}

}  // namespace

}  // namespace travenel
