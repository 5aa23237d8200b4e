// travenel-plot as a whole: statuses and messages for bad command lines and
// bad input, the picture written only when all went well.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "plot_test_util.h"
#include "sweepcsv/german_locale.h"
#include "travenel/plot/Plot.h"

namespace travenel {

namespace {

struct TResult {
  int Status;
  std::string Err, Out;
};

std::string ReadBack(std::FILE* f) {
  std::rewind(f);
  std::string s;
  for (int ch; (ch = std::fgetc(f)) != EOF;) s += static_cast<char>(ch);
  return s;
}

TResult RunWith(const std::vector<std::string>& args, const std::string& input = "") {
  auto in = TextFile(input);
  auto out = TextFile(""), err = TextFile("");
  const int status = RunPlot(args, in.get(), out.get(), err.get());
  return {status, ReadBack(err.get()), ReadBack(out.get())};
}

std::string Rows(int setups) {
  std::string s = kStepHeader;
  for (int a = 1; a <= setups; ++a)
    for (int step = 1; step <= 3; ++step)
      s += std::to_string(10 * a) + ",50,1," + std::to_string(step) + ",1,9\n";
  return s;
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;  // "OUT" is the picture in a fresh folder, "DIR" the folder
  std::string input;
  const char* message;
};

class Refused : public ::testing::TestWithParam<UsageCase> {};

TEST_P(Refused, WithStatus2AndNoPicture) {
  QTemporaryDir dir;
  const std::string out = dir.filePath("p.png").toStdString();
  std::vector<std::string> args = GetParam().args;
  for (std::string& a : args) {
    if (a == "OUT") a = out;
    if (a.rfind("DIR", 0) == 0) a = dir.path().toStdString() + a.substr(3);
  }
  const TResult r = RunWith(args, GetParam().input);
  EXPECT_EQ(r.Status, kPlotUsage);
  EXPECT_EQ(r.Err.rfind("travenel-plot: ", 0), 0u) << r.Err;
  EXPECT_NE(r.Err.find(GetParam().message), std::string::npos) << r.Err;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

INSTANTIATE_TEST_SUITE_P(
    Plot, Refused,
    ::testing::Values(
        UsageCase{"NoOut", {}, Rows(1), "no --out FILE given"},
        UsageCase{"OutWithoutValue", {"--out"}, "", "--out: no value given"},
        UsageCase{"UnknownOption", {"--colour", "red", "--out", "OUT"}, "", "unknown option"},
        UsageCase{"TwoInputs", {"a.csv", "b.csv", "--out", "OUT"}, "", "more than one input"},
        UsageCase{"SizeWithoutX", {"--size", "900", "--out", "OUT"}, "", "not WIDTHxHEIGHT"},
        UsageCase{"SizeTooSmall", {"--size", "900x100", "--out", "OUT"}, "", "100 is out of range"},
        UsageCase{"OutIsAFolder", {"--out", "DIR"}, Rows(1), "is a folder"},
        UsageCase{"OutNotAPicture", {"--out", "DIR/p.jpg"}, Rows(1), "name it *.png"},
        UsageCase{"ScaleZero", {"--scale", "0", "--out", "OUT"}, Rows(1), "from 1 to 8"},
        UsageCase{"ScaleNotWhole", {"--scale=1.5", "--out", "OUT"}, Rows(1), "from 1 to 8"},
        UsageCase{"ScaleOfAVector", {"--scale", "2", "--out", "DIR/p.svg"}, Rows(1), "drop --scale"},
        UsageCase{"MissingInput", {"DIR/none.csv", "--out", "OUT"}, "", "cannot open"},
        UsageCase{"InputIsAFolder", {"DIR", "--out", "OUT"}, "", "is a folder, not a CSV"},
        UsageCase{"BadRow",
                  {"--out", "OUT"},
                  kStepHeader + "1,2,x,1,0,1\n",
                  "standard input: line 2, column 3 (seed): 'x' is not a number"},
        UsageCase{"EmptyInput", {"--out", "OUT"}, "", "standard input is empty"},
        UsageCase{"HeaderOnly", {"--out", "OUT"}, kStepHeader, "has a header but no rows"},
        UsageCase{"UnknownY",
                  {"--y", "colour", "--out", "OUT"},
                  Rows(1),
                  "--y colour: the input has no such column (its values: attached, free)"},
        UsageCase{"YOfAColumnLeftOut",
                  {"--y", "percent_simlar", "--out", "OUT"},
                  "agents,threshold,seed,step,attached,free,percent_simlar\n1,2,3,4,5,6,7\n",
                  "--y percent_simlar: not a column of travenel-batch"},
        UsageCase{"KeyAsY", {"--y", "seed", "--out", "OUT"}, Rows(1), "tells the runs apart"},
        UsageCase{"XOfRowsPerStep",
                  {"--x", "agents", "--out", "OUT"},
                  Rows(2),
                  "--x is for rows per run"},
        UsageCase{"ByOfRowsPerRun",
                  {"--by", "agents", "--out", "OUT"},
                  kSummaryHeader + "1,2,3,4,,5,6\n",
                  "--by is for rows per step"},
        UsageCase{"XNeitherParameter", {"--x", "seed", "--out", "OUT"}, "", "is none of agents, threshold, world"},
        UsageCase{"XAcrossAColumnTheRowsLack",
                  {"--x", "world", "--out", "OUT"},
                  kSummaryHeader + "1,2,3,4,,5,6\n",
                  "--x world: the input has no column 'width'"},
        UsageCase{"WorldsAreNoPanelsByAgents",
                  {"--by", "agents", "--out", "OUT"},
                  "agents,threshold,seed,step,attached,free,jump\n10,50,1,1,0,1,3\n10,50,1,1,0,1,4\n",
                  "--by: setups of several worlds are drawn a panel each"},
        UsageCase{"RowTwiceFoundBack",
                  {"--out", "OUT"},
                  kStepHeader + "10,50,1,2,0,1\n10,50,1,1,0,1\n10,50,2,1,0,1\n10,50,1,2,5,5\n",
                  "line 5: agents 10, threshold 50, seed 1, step 2 is given twice (line 2 and "
                  "line 5)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Plot, WritesThePictureAtTheGivenSizeFromAFile) {
  QTemporaryDir dir;
  const QString csv = dir.filePath("sweep.csv"), png = dir.filePath("sweep.png");
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray::fromStdString(Rows(3)));
  f.close();
  const TResult r = RunWith(
      {csv.toStdString(), "--out=" + png.toStdString(), "--size", "700x500", "--title", ""});
  EXPECT_EQ(r.Status, kPlotOk) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(QImage(png).size(), QSize(700, 500));
}

// Rows (or columns) of a picture that are mostly dark: the charts' frames and axes.
std::vector<int> LongLines(const QImage& image, bool rows) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  const int n = rows ? img.height() : img.width(), m = rows ? img.width() : img.height();
  std::vector<int> out;
  for (int i = 0; i < n; ++i) {
    int dark = 0;
    for (int j = 0; j < m; ++j) dark += qGray(rows ? img.pixel(j, i) : img.pixel(i, j)) < 170;
    if (dark * 3 > m) out.push_back(i);
  }
  return out;
}

// Every long line of one picture lies within a pixel of one of the other's, both ways.
void ExpectSameLayout(const QImage& a, const QImage& b) {
  ASSERT_EQ(a.size(), b.size());
  for (bool rows : {true, false}) {
    const std::vector<int> la = LongLines(a, rows), lb = LongLines(b, rows);
    EXPECT_FALSE(la.empty());
    const auto near = [](const std::vector<int>& in, int v) {
      return std::any_of(in.begin(), in.end(), [v](int w) { return std::abs(v - w) <= 1; });
    };
    for (int v : la) EXPECT_TRUE(near(lb, v)) << (rows ? "row " : "column ") << v;
    for (int v : lb) EXPECT_TRUE(near(la, v)) << (rows ? "row " : "column ") << v;
  }
}

TEST(Plot, VectorsAndScaledPicturesKeepThePngLayout) {
  QTemporaryDir dir;
  const auto write = [&](const std::string& name, std::vector<std::string> extra = {}) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    extra.insert(extra.end(), {"--out", path, "--size", "700x500"});
    const TResult r = RunWith(extra, Rows(2));
    EXPECT_EQ(r.Status, kPlotOk) << r.Err;
    return QString::fromStdString(path);
  };
  const QImage png(write("p.png"));
  const QImage twice(write("p2.png", {"--scale", "2"}));
  EXPECT_EQ(twice.size(), QSize(1400, 1000));
  ExpectSameLayout(png, twice.scaled(png.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

  const QString svg = write("p.svg");
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  QImage drawn(png.size(), QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  renderer.render(&painter);
  painter.end();
  ExpectSameLayout(png, drawn);
  QFile text(svg);
  ASSERT_TRUE(text.open(QIODevice::ReadOnly));
  EXPECT_TRUE(text.readAll().contains(">attached, free</text>"));

  const QString pdf = write("p.pdf");
  QProcess toPng, toText;
  toPng.start("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, dir.filePath("fromPdf")});
  toText.start("pdftotext", {pdf, "-"});
  if (!toPng.waitForFinished(20000) || toPng.exitCode() != 0 || !toText.waitForFinished(20000))
    GTEST_SKIP() << "poppler-utils are not available";
  ExpectSameLayout(png, QImage(dir.filePath("fromPdf.png")));
  EXPECT_TRUE(toText.readAllStandardOutput().contains("attached, free"));
}

TEST(Plot, BadInputLeavesAnOldPictureAsItWas) {
  QTemporaryDir dir;
  const QString png = dir.filePath("old.png");
  QFile f(png);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old");
  f.close();
  EXPECT_EQ(RunWith({"--out", png.toStdString()}, kStepHeader + "1,2,3\n").Status, kPlotUsage);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("old"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left
}

TEST(Plot, DoesNotWaitForRowsTypedAtATerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master) | unlockpt(master), 0);
  std::FILE* terminal = std::fopen(ptsname(master), "r");
  ASSERT_NE(terminal, nullptr);
  auto out = TextFile(""), err = TextFile("");
  EXPECT_EQ(RunPlot({"--out", "never.png"}, terminal, out.get(), err.get()), kPlotUsage);
  EXPECT_NE(ReadBack(err.get()).find("no input"), std::string::npos);
  std::fclose(terminal);
  close(master);
}

TEST(Plot, HelpNeedsNoOut) {
  const TResult r = RunWith({"--help"});
  EXPECT_EQ(r.Status, kPlotOk);
  EXPECT_NE(r.Out.find("Usage: travenel-plot"), std::string::npos);
}

std::string SaveText(const QTemporaryDir& dir, const char* name, const std::string& text) {
  const QString path = dir.filePath(name);
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(QByteArray::fromStdString(text));
  return path.toStdString();
}

QByteArray Picture(const QTemporaryDir& dir, std::vector<std::string> args) {
  const std::string png = dir.filePath("p.png").toStdString();
  args.insert(args.end(), {"--out", png});
  const TResult r = RunWith(args);
  EXPECT_EQ(r.Status, kPlotOk) << r.Err;
  QFile f(QString::fromStdString(png));
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

// Fractions on the axes, in the captions and in the input.
TEST(Plot, TheSamePictureUnderAGermanLocale) {
  QTemporaryDir dir;
  std::string steps = "agents,threshold,seed,step,attached,free,percent_similar\n";
  for (int step = 1; step <= 30; ++step)
    steps +=
        "500,74.5,1," + std::to_string(step) + ",1,2," + std::to_string(40 + step / 7.0) + "\n";
  const std::string stepFile = SaveText(dir, "s.csv", steps);
  const std::string runFile = SaveText(
      dir, "r.csv", kSummaryHeader + "100,0.25,1,9,8,1,2\n100,0.75,1,9,,1,2\n200,0.5,2,9,3,1,2\n");
  const std::vector<std::vector<std::string>> pictures = {
      {stepFile}, {stepFile, "--y", "percent_similar", "--size", "400x300"}, {runFile}};
  std::vector<QByteArray> inC;
  for (const auto& args : pictures) inC.push_back(Picture(dir, args));
  std::string why;
  if (!UseGermanLocale(why)) GTEST_SKIP() << why;
  for (std::size_t i = 0; i < pictures.size(); ++i)
    EXPECT_TRUE(Picture(dir, pictures[i]) == inC[i]) << "picture " << i;
  UseCLocale();
}

TEST(Plot, RowsInAnyOrderAndSpreadsheetResavesDrawTheSamePicture) {
  // The runner's order of a 9 x 2 sweep (more agent counts than a grid of
  // panels holds), then sorted by step, a spreadsheet's re-save with
  // semicolons, and two halves joined with their headers.
  std::vector<std::string> rows;
  for (int agents = 100; agents <= 900; agents += 100)
    for (int threshold : {50, 80})
      for (int seed = 1; seed <= 2; ++seed)
        for (int step = 1; step <= 5 + seed + agents / 300; ++step)
          rows.push_back(std::to_string(agents) + "," + std::to_string(threshold) + "," +
                         std::to_string(seed) + "," + std::to_string(step) + "," +
                         std::to_string((step * agents / 7) % agents) + "," +
                         std::to_string(agents - (step * agents / 7) % agents));
  const auto join = [](const std::vector<std::string>& lines, char sep) {
    std::string s = kStepHeader;
    for (const std::string& l : lines) s += l + "\n";
    if (sep != ',')
      for (char& ch : s)
        if (ch == ',') ch = sep;
    return s;
  };
  std::vector<std::string> byStep = rows;
  std::stable_sort(byStep.begin(), byStep.end(), [](const std::string& a, const std::string& b) {
    const auto step = [](const std::string& r) {
      std::size_t p = 0;
      for (int i = 0; i < 3; ++i) p = r.find(',', p) + 1;
      return std::stoi(r.substr(p));
    };
    return step(a) < step(b);
  });
  const std::size_t half = rows.size() / 2;
  QTemporaryDir dir;
  const QByteArray want = Picture(dir, {SaveText(dir, "a.csv", join(rows, ','))});
  EXPECT_FALSE(want.isEmpty());
  for (const std::string& text : {join(byStep, ','), join(rows, ';'),
                                  join({rows.begin(), rows.begin() + half}, ',') +
                                      join({rows.begin() + half, rows.end()}, ',')})
    EXPECT_TRUE(Picture(dir, {SaveText(dir, "b.csv", text)}) == want);
}

TEST(Plot, NamesTheColumnsItLeavesOut) {
  QTemporaryDir dir;
  const TResult r = RunWith({"--out", dir.filePath("p.png").toStdString()},
                            "agents,threshold,seed,step,attached,free,colour,,note\n"
                            "1,2,3,4,5,6,red,,fine\n");
  EXPECT_EQ(r.Status, kPlotOk);
  EXPECT_NE(r.Err.find("not plotted: the columns 'colour', 'note', unknown here"),
            std::string::npos)
      << r.Err;
}

}  // namespace

}  // namespace travenel
