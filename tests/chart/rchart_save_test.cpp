// Saving a chart's or a scale's picture, and item lists allowed to hold more
// than the standard thousand items.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "travenel/chart/Scale.h"
#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"

namespace travenel {

namespace {

const TShiftState kLeft{ssLeft};

std::string In(const QTemporaryDir& dir, const char* name) {
  return dir.filePath(name).toStdString();
}

QByteArray Bytes(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ChartSave, FileDecodesToTheWindowPictureWithoutTheDraggedOutline) {
  QTemporaryDir dir;
  auto c = LiveChart(270, 200);
  c->SetCaption("Speichern");
  c->AddLine(0, 0, 10, 10);
  c->ShowItems();
  const QImage shown = c->ControlImage().Image().copy();
  c->SetMouseAction(maZoomWind);
  c->MouseDown(mbLeft, kLeft, 70, 40);
  c->MouseMove(kLeft, 150, 120);
  ASSERT_NE(c->ControlImage().Image(), shown);  // the outline is on the window
  for (const char* name : {"chart.png", "chart.bmp", "chart"}) {
    c->SaveToFile(In(dir, name));
    QImage saved(QString::fromStdString(In(dir, name)),
                 name == std::string("chart") ? "png" : nullptr);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown) << name;
  }
  EXPECT_NE(c->ControlImage().Image(), shown);  // and stays there
}

TEST(ChartSave, ScaleSavesItsPicture) {
  QTemporaryDir dir;
  TScale s;
  s.SetBounds(0, 0, 200, 40);
  s.SaveToFile(In(dir, "scale.png"));
  EXPECT_EQ(
      QImage(QString::fromStdString(In(dir, "scale.png"))).convertToFormat(QImage::Format_RGB32),
      s.WindowImage().Image());
}

TEST(ChartSave, UnwritablePlacesThrowAndKeepTheOldFile) {
  QTemporaryDir dir;
  auto c = LiveChart();
  const std::string old = In(dir, "old.png");
  {
    QFile f(QString::fromStdString(old));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old bytes");
  }
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  const std::string cases[] = {
      In(dir, "missing/chart.png"),  // no such folder
      In(dir, "sub"),                // a folder
      In(dir, "chart.xyz"),          // a type nobody writes
      std::string("a\0b.png", 7),    // no valid name
      "",
  };
  for (const std::string& path : cases) EXPECT_THROW(c->SaveToFile(path), EWriteError) << path;
  // A folder that cannot be written to: the old file there stays whole.
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0500), 0);
    EXPECT_THROW(c->SaveToFile(old), EWriteError);
    chmod(dir.path().toLocal8Bit().constData(), 0700);
  }
  EXPECT_EQ(Bytes(old), QByteArray("old bytes"));
  try {
    c->SaveToFile(In(dir, "missing/chart.png"));
  } catch (const EWriteError& e) {
    EXPECT_NE(e.Message().find("missing/chart.png"), std::string::npos) << e.Message();
  }
  c->SaveToFile(old);  // a good write replaces it
  EXPECT_TRUE(QImage(QString::fromStdString(old)).size() == QSize(280, 200));
}

// --- more than a thousand items --------------------------------------------------------------

TEST(ChartMaxItems, LimitIsClampedRefusesAtItAndIsTheGroupsOwn) {
  TRChart c;
  for (auto [set, want] : std::initializer_list<std::pair<int, int>>{
           {0, 1}, {-7, 1}, {20000000, 10000000}, {1500, 1500}}) {
    c.SetMaxItems(set);
    EXPECT_EQ(c.MaxItems(), want) << set;
  }
  for (int i = 0; i < 1500; ++i) c.AddLine(i, 0, i, 1);
  EXPECT_THROW(c.AddLine(0, 0, 1, 1), EUlxError);
  EXPECT_EQ(c.ItemCount(), 1500);
  // Below the count: the items stay, nothing more goes in.
  c.SetMaxItems(10);
  EXPECT_EQ(c.ItemCount(), 1500);
  EXPECT_THROW(c.MoveToPoint(0, 0), EUlxError);
  c.ClearItems();
  EXPECT_EQ(c.MaxItems(), 10);
  // A chart showing another's items adds to that list, under that limit; on
  // leaving it keeps the items and the limit.
  TRChart user;
  user.SetUseDataOf(&c);
  EXPECT_EQ(user.MaxItems(), 10);
  for (int i = 0; i < 10; ++i) user.AddLine(i, 0, i, 1);
  EXPECT_THROW(c.AddLine(0, 0, 1, 1), EUlxError);
  user.SetUseDataOf(nullptr);
  EXPECT_EQ(user.MaxItems(), 10);
  EXPECT_EQ(user.ItemCount(), 10);
}

TEST(ChartMaxItems, AMillionItemsWithTheSmallestGrowthStep) {
  TRChart c;
  c.SetMaxItems(1000000);
  c.SetAllocSize(1);  // the counted capacity grows one by one; the storage does not
  for (int i = 0; i < 1000000; ++i) c.LineTo(i, i % 7);
  EXPECT_EQ(c.ItemCount(), 1000000);
  EXPECT_EQ(c.ItemList().Capacity(), 1000000);
  EXPECT_EQ(c.ItemList().KindCount(ikLineTo), 1000000);
  EXPECT_EQ(c.ItemList().Items()[999999].X1, 999999);
}

}  // namespace

}  // namespace travenel
