// The library's messages reach the program through its logging category,
// where the program can turn them off, instead of the standard error.
#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QString>
#include <string>
#include <vector>

#include "travenel/ui/Application.h"

namespace travenel {

namespace {

std::vector<std::string> gLogged;

void Record(QtMsgType, const QMessageLogContext& context, const QString& text) {
  gLogged.push_back(std::string(context.category ? context.category : "") + ": " +
                    text.toStdString());
}

TEST(LibraryLog, AMissingFontIsReportedThroughTheCategoryAndCanBeFiltered) {
  gLogged.clear();
  const QtMessageHandler previous = qInstallMessageHandler(&Record);
  const std::string family = RegisterAppFontsFrom({"/nonexistent/fonts/"});
  QLoggingCategory::setFilterRules("travenel.chart.warning=false");
  RegisterAppFontsFrom({"/nonexistent/fonts/"});
  QLoggingCategory::setFilterRules("");
  qInstallMessageHandler(previous);
  EXPECT_NE(family, "Tahoma");
  ASSERT_EQ(gLogged.size(), 1u);
  EXPECT_EQ(gLogged[0].rfind("travenel.chart: Tahoma not found", 0), 0u) << gLogged[0];
}

}  // namespace

}  // namespace travenel
