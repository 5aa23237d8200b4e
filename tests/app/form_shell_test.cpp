// The main window's frame: caption, outer size, colour and font.
#include <gtest/gtest.h>

#include <QTest>

#include "travenel/app/CellForm.h"

namespace travenel {

TEST(FormShell, CaptionSizeColourAndFont) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.windowTitle(), QString("Travenel by Move "));
  EXPECT_EQ(form.frameGeometry().size(), QSize(800, 468));
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(form.font().pixelSize(), 10);
}

}  // namespace travenel
