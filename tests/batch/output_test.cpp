// Where --out writes: refused destinations before any run, permission bits,
// symbolic links, and a target that changed while the sweep ran.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "travenel/batch/Batch.h"
#include "travenel/batch/OutputFile.h"
#include "travenel/batch/Run.h"
#include "slurp.h"

namespace travenel {

namespace {

struct Result {
  int status = -1;
  int runs = 0;
  std::string err;
};

Result RunTo(const std::string& out) {
  std::atomic<bool> cancel{false};
  Result r;
  std::FILE* err = std::tmpfile();
  r.status = RunBatch(
      {"--out", out, "--agents", "3", "--steps", "2"}, stdout, err,
      [&](const TRunSpec& s, int steps, const std::atomic<bool>& c) {
        ++r.runs;
        return RunSetup(s, steps, c);
      },
      cancel, 1, false);
  r.err = Slurp(err);
  return r;
}

void Write(const std::string& path, const char* text) { std::ofstream(path) << text; }

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st.st_mode;
}

constexpr const char* kRows = "agents,threshold,seed,step,attached,free\n3,74,1,1,0,3\n";

class BatchOut : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  int Entries() const {
    return QDir(dir_.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
        .size();
  }
  QTemporaryDir dir_;
};

TEST_F(BatchOut, RefusesWhatIsNoFileBeforeAnyRun) {
  ASSERT_EQ(::mkdir(Path("folder").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("fifo", Path("to-fifo").c_str()), 0);
  ASSERT_EQ(::symlink("folder", Path("to-folder").c_str()), 0);
  ASSERT_EQ(::symlink("loop", Path("loop").c_str()), 0);
  Write(Path("plain"), "x\n");
  const int entries = Entries();
  struct Case {
    std::string out, message;
  };
  const Case cases[] = {
      {Path("folder"), "is a folder, not a file"},
      {Path("plain") + "/", "names a folder, not a file"},
      {Path("fifo"), "is a FIFO (named pipe), not a file"},
      {Path("to-fifo"),
       "leads to '" + Path("fifo") + "', which is a FIFO (named pipe), not a file"},
      {Path("to-folder"), "which is a folder"},
      {Path("loop"), "Too many levels of symbolic links"},
      {Path("plain") + "/x.csv", "Not a directory"},
      {Path("missing") + "/x.csv", "cannot create a file beside"},
  };
  for (const Case& c : cases) {
    const Result r = RunTo(c.out);
    EXPECT_EQ(r.status, kExitUsage) << c.out;
    EXPECT_EQ(r.runs, 0) << c.out;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Entries(), entries) << "nothing created, nothing removed";
  EXPECT_TRUE(S_ISFIFO(ModeOf(Path("fifo"))));
  if (geteuid() != 0) {  // root may write anywhere
    ASSERT_EQ(::chmod(Path("folder").c_str(), 0555), 0);
    EXPECT_EQ(RunTo(Path("folder") + "/x.csv").status, kExitUsage);
  }
}

TEST_F(BatchOut, DevicesAreRecognisedThroughLinks) {
  // Only looked at: a device must never be opened or replaced.
  EXPECT_EQ(ResolveTarget("/dev/null").Kind, TTargetKind::Device);
  ASSERT_EQ(::symlink("/dev/null", Path("null").c_str()), 0);
  const TTarget t = ResolveTarget(Path("null"));
  EXPECT_EQ(t.Path, "/dev/null");
  EXPECT_EQ(t.Kind, TTargetKind::Device);
  // A character device is written to; a disk never.
  EXPECT_EQ(RunTo("/dev/null").status, kExitOk);
  for (const char* disk : {"/dev/vda", "/dev/sda", "/dev/nvme0n1", "/dev/loop0"})
    if (ResolveTarget(disk).Kind == TTargetKind::BlockDevice) {
      const Result r = RunTo(disk);
      EXPECT_EQ(r.status, kExitUsage);
      EXPECT_EQ(r.runs, 0);
      EXPECT_NE(r.err.find("is a block device"), std::string::npos) << r.err;
    }
}

TEST_F(BatchOut, PermissionBitsOfReplacedFilesStayNewFilesFollowTheUmask) {
  struct Case {
    mode_t umask, existing, expected;  // existing 0: no file yet
  };
  const Case cases[] = {{022, 0, 0644},    {077, 0, 0600},    {0, 0, 0666},
                        {077, 0640, 0640}, {022, 0755, 0755}, {0, 0444, 0444}};
  int i = 0;
  for (const Case& c : cases) {
    const std::string path = Path(("out" + std::to_string(i++) + ".csv").c_str());
    if (c.existing) {
      Write(path, "old rows\n");
      ASSERT_EQ(::chmod(path.c_str(), c.existing), 0);
    }
    const mode_t before = ::umask(c.umask);
    const Result r = RunTo(path);
    ::umask(before);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(ModeOf(path) & 07777, c.expected) << path;
    EXPECT_EQ(Slurp(path).rfind(kRows, 0), 0u);
  }
}

TEST_F(BatchOut, ALinkIsFollowedAndStays) {
  ASSERT_EQ(::mkdir(Path("data").c_str(), 0755), 0);
  Write(Path("data/real.csv"), "old rows\n");
  ASSERT_EQ(::chmod(Path("data/real.csv").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("data/real.csv", Path("relative").c_str()), 0);
  ASSERT_EQ(::symlink(Path("relative").c_str(), Path("chain").c_str()), 0);
  ASSERT_EQ(::symlink("data/new.csv", Path("dangling").c_str()), 0);
  const std::pair<const char*, const char*> links[] = {
      {"relative", "data/real.csv"}, {"chain", "data/real.csv"}, {"dangling", "data/new.csv"}};
  for (const auto& [link, target] : links) {
    Write(Path("data/real.csv"), "old rows\n");
    const Result r = RunTo(Path(link));
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(S_ISLNK(ModeOf(Path(link)))) << link;
    EXPECT_EQ(Slurp(Path(target)).rfind(kRows, 0), 0u) << link;
  }
  EXPECT_EQ(ModeOf(Path("data/real.csv")) & 07777, 0640u);
  EXPECT_EQ(QDir(dir_.filePath("data")).entryList(QDir::Files).size(), 2) << "no temporary left";
}

TEST_F(BatchOut, ATargetThatIsNoLongerAFileIsLeftAloneAndTheRowsKept) {
  const std::string path = Path("counts.csv");
  Write(path, "old rows\n");
  TOutputFile file(path);
  file.Start("record\n");
  ASSERT_EQ(::write(file.Fd(), "new rows\n", 9), 9);
  // While the sweep ran, the name came to stand for something else.
  ASSERT_EQ(std::remove(path.c_str()), 0);
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  EXPECT_THROW(file.Commit(), std::runtime_error);
  EXPECT_TRUE(S_ISFIFO(ModeOf(path)));
  EXPECT_EQ(Slurp(file.PartialPath()), "new rows\n");
}

}  // namespace

}  // namespace travenel
