// Keeping the window's run: its counts saved in the runner's per-step rows
// (from the seed it was placed from, the clock's too), the picture of world
// and chart, and files written whole or not at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QTemporaryDir>
#include <stdexcept>

#include "travenel/app/CellForm.h"
#include "travenel/app/KeepRun.h"
#include "travenel/sim/HeadlessWorld.h"
#include "travenel/sim/World.h"
#include "travenel/ui/QtHost.h"
#include "travenel/ui/Timer.h"

namespace travenel {

namespace {

// The rows travenel-batch writes for this run, stepped on a headless world
// (as the window's ticks do, on past a pause).
std::string RunnerRows(std::int32_t agents, std::int32_t threshold, std::uint32_t seed,
                       int steps) {
  THeadlessWorld world{TWorldConfig{}};
  world.Setup(agents, seed);
  std::string rows = "agents,threshold,seed,step,attached,free\n";
  for (int s = 1; s <= steps; ++s) {
    world.MoveAgents();
    rows += std::to_string(agents) + "," + std::to_string(threshold) + "," +
            std::to_string(seed) + "," + std::to_string(s) + "," +
            std::to_string(world.AttachedCount()) + "," + std::to_string(world.FreeCount()) +
            "\n";
    world.UpdateAttachment(threshold);
  }
  return rows;
}

TEST(KeepRun, TheDataAreTheRunnersRowsOfTheSetupsSeed) {
  TForm1 form;  // seeded from the clock
  form.Timer1()->SetEnabled(false);
  for (int s = 0; s < 30; ++s) form.Timer1Timer();
  EXPECT_EQ(form.Record().Csv(), RunnerRows(1000, 74, form.World().SetupSeed(), 30));
  // A new setup starts a new record.
  form.B_setupClick();
  form.Timer1()->SetEnabled(false);
  form.Timer1Timer();
  EXPECT_EQ(form.Record().Csv(), RunnerRows(1000, 74, form.World().SetupSeed(), 1));
}

TEST(KeepRun, WorldAndChartHaveTheMenuAndMakeOnePicture) {
  TForm1 form;
  form.Timer1()->SetEnabled(false);
  EXPECT_EQ(form.ZeichenPanel()->contextMenuPolicy(), Qt::CustomContextMenu);
  EXPECT_EQ(form.RChart1Host()->contextMenuPolicy(), Qt::CustomContextMenu);
  const QImage picture = RunPicture(form.ZeichenPanel(), form.RChart1Host());
  EXPECT_EQ(picture.height(), std::max(form.ZeichenPanel()->height(), form.RChart1Host()->height()));
  EXPECT_GT(picture.width(), form.ZeichenPanel()->width() + form.RChart1Host()->width());
}

TEST(KeepRun, AFileIsWrittenWholeOrNotAtAll) {
  QTemporaryDir dir;
  const QString target = dir.filePath("run.csv");
  WriteWhole(target, "old");
  WriteWhole(target, "new rows\n");
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "new rows\n");
  for (const QString& bad : {dir.path(), dir.filePath("missing/run.csv")}) {
    try {
      WriteWhole(bad, "rows");
      ADD_FAILURE() << "written: " << bad.toStdString();
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("kann nicht geschrieben werden"), std::string::npos);
    }
  }
  // Nothing left beside the target.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"run.csv"});
}

}  // namespace

}  // namespace travenel
