// Numbers become the same texts, and the chart the same pixels, whatever the
// C library's locale: Qt switches it to the user's, and a German one writes
// ',' where the labels' rules write '.'.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "rchart_test_util.h"
#include "scale_test_util.h"
#include "travenel/chart/Scale_labels.h"

namespace travenel {

namespace {

// Switches the C library to de_DE.UTF-8 while it lives, generating the locale
// into a folder of its own when the system has none (no root needed).
class GermanLocale {
 public:
  GermanLocale() {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) return;
    // Made once for all tests (it takes a second).
    static QTemporaryDir folder;
    static const bool made = [] {
      const std::string make = "localedef -i de_DE -f UTF-8 '" + folder.path().toStdString() +
                               "/de_DE.UTF-8' >/dev/null 2>&1";
      return folder.isValid() && std::system(make.c_str()) == 0;
    }();
    if (!made) return;
    setenv("LOCPATH", folder.path().toLocal8Bit().constData(), 1);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
  }
  ~GermanLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
  // Whether the C library now writes a decimal comma.
  bool Active() const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    return buf[1] == ',';
  }
};

#define SKIP_WITHOUT_GERMAN(g)                                                                    \
  if (!(g).Active()) GTEST_SKIP() << "de_DE.UTF-8 is not available and localedef could not make " \
                                     "it"

// Under C the texts are printf's (the form the pictures were made with).
TEST(NumberTexts, AreThoseOfPrintfUnderC) {
  std::setlocale(LC_ALL, "C");
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> mantissa(0, 10);
  std::uniform_int_distribution<int> exponent(-8, 12);
  char want[512];
  for (int i = 0; i < 400; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    const int decimals = i % 13;
    std::snprintf(want, sizeof want, "%.*f", decimals, v);
    ASSERT_EQ(FormatTickNumber(0, decimals, v), want) << v;
    std::snprintf(want, sizeof want, " %.1E", v);
    if (v >= 1e-99) {
      ASSERT_EQ(FormatTickNumber(0, -1, v), want) << v;
    }
  }
  // Ties go to the even digit alike.
  for (const double v : {0.125, 2.5, 0.0625}) {
    std::snprintf(want, sizeof want, "%.1f", v);
    EXPECT_EQ(FormatTickNumber(0, 1, v), want) << v;
  }
}

TEST(NumberTexts, TheSameUnderAGermanLocale) {
  GermanLocale german;
  SKIP_WITHOUT_GERMAN(german);
  EXPECT_EQ(FormatTickNumber(0, 1, -0.04), "0.0");  // not "-0,0"
  EXPECT_EQ(FormatTickNumber(6, 2, 1234.5), "1234.50");
  EXPECT_EQ(FormatTickNumber(0, -1, -123456.0), "-1.2E+05");
  EXPECT_EQ(StripTrailingZeros(FormatTickNumber(0, 3, 0.5)), "0.5");  // not "0,500"
  // Whole scales: linear across zero, logarithmic with tidied decimals, the
  // exponent form and clock times.
  const ScaleSetup setups[] = {{-0.05, 0.05, 5, sctXB, ftNum, false, true, 2},
                               {0.001, 10, 3, sctXB, ftNum, true, true, -2},
                               {0, 1e9, 3, sctYL, ftNum, false, true, -2},
                               {0, 1.0 / 24, 4, sctXB, ftTime, false, true, -2}};
  for (const ScaleSetup& setup : setups) {
    std::vector<std::string> c, de;
    {
      TScale s;
      Apply(s, setup);
      de = Labels(s.TickLayout());
      std::setlocale(LC_ALL, "C");
      c = Labels(s.TickLayout());
      std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    EXPECT_EQ(de, c) << setup.low << " .. " << setup.high;
    for (const std::string& label : de) EXPECT_EQ(label.find(','), std::string::npos) << label;
  }
}

// A chart with axes whose labels have decimals, a negative zero and a caption.
QImage ChartPicture() {
  auto c = LiveChart(320, 220);
  c->SetCaption("Anteil");
  c->Scale1X().SetDecPlaces(-2);
  c->Scale1Y().SetDecPlaces(1);
  c->SetLayerRanges(1, -0.05, -0.04, 0.5, 0.06);
  c->MoveToPoint(0, 0);
  c->LineTo(0.4, 0.05);
  c->ShowItems();
  return c->ControlImage().Image().copy();
}

TEST(ChartPictures, TheSameUnderAGermanLocale) {
  const QImage c = ChartPicture();
  GermanLocale german;
  SKIP_WITHOUT_GERMAN(german);
  EXPECT_EQ(ChartPicture(), c);
}

}  // namespace

}  // namespace travenel
