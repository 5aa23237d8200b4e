// The one main() of every test executable: a QApplication on the offscreen
// platform (set here too, so a test binary run by hand needs no environment),
// the application fonts, then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "travenel/ui/Application.h"

using namespace travenel;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterAppFonts();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
