// The window's chart at a device pixel ratio and as vector files: the same
// layout as the picture on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <set>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"
#include "travenel/gfx/PictureFile.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

std::unique_ptr<TRChart> WindowChart() {
  auto c = std::make_unique<TRChart>();
  LoadRChart1(*c);
  c->HandleNeeded();
  c->Scale1X().SetRangeLow(0);
  c->Scale1X().SetRangeHigh(100);
  c->Scale1Y().SetRangeLow(0);
  c->Scale1Y().SetRangeHigh(1000);
  c->MoveToPoint(0, 0);
  for (int s = 1; s < 60; ++s) c->LineTo(s, 1000 * (1 - std::exp(-s / 15.0)));
  c->Paint();
  return c;
}

bool Dark(const QImage& img, int x, int y) {
  return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qGray(img.pixel(x, y)) < 128;
}

// Logical columns (or rows) from lo to hi with ink along logical row (or
// column) `at` of a picture of `r` device pixels per logical one.
std::set<int> Ink(const QImage& img, double r, int at, bool alongRow, int lo, int hi) {
  std::set<int> out;
  const int across = static_cast<int>(std::floor((at + 0.5) * r));
  const int n = alongRow ? img.width() : img.height();
  for (int i = 0; i < n; ++i)
    if (alongRow ? Dark(img, i, across) : Dark(img, across, i))
      out.insert(static_cast<int>(std::floor(i / r)));
  return {out.lower_bound(lo), out.upper_bound(hi)};
}

// Every mark of one set lies within a pixel of one of the other's, both ways.
void ExpectWithinAPixel(const std::set<int>& a, const std::set<int>& b, const char* what) {
  EXPECT_FALSE(a.empty()) << what;
  const auto near = [](const std::set<int>& in, int v) {
    return in.count(v) || in.count(v - 1) || in.count(v + 1);
  };
  for (int v : a) EXPECT_TRUE(near(b, v)) << what << " " << v << " missing";
  for (int v : b) EXPECT_TRUE(near(a, v)) << what << " " << v << " extra";
}

// Frame and ticks of the two axes: a picture of r device pixels per logical
// pixel against the chart's own picture.
void ExpectLayoutOf(TRChart& chart, const QImage& picture, double r) {
  const QImage& one = chart.ControlImage().Image();
  const TChartGeometry g = chart.Geometry();
  const int below = static_cast<int>(g.AreaBottom()) + 2, left = static_cast<int>(g.AreaLeft()) - 3;
  const int middleY = static_cast<int>((g.AreaTop() + g.AreaBottom()) / 2);
  const int middleX = static_cast<int>((g.AreaLeft() + g.AreaRight()) / 2);
  // Along the area only: glyphs come out a little differently in every
  // renderer, frame, axes and ticks must not.
  const int l = static_cast<int>(g.AreaLeft()) - 1, rr = static_cast<int>(g.AreaRight()) + 1;
  const int t = static_cast<int>(g.AreaTop()) - 1, b = static_cast<int>(g.AreaBottom()) + 1;
  const auto same = [&](int at, bool alongRow, const char* what) {
    const int lo = alongRow ? l : t, hi = alongRow ? rr : b;
    ExpectWithinAPixel(Ink(one, 1, at, alongRow, lo, hi), Ink(picture, r, at, alongRow, lo, hi),
                       what);
  };
  same(below, true, "x ticks");
  same(left, false, "y ticks");
  same(middleY, true, "across");
  same(middleX, false, "down");
}

// Rows holding ink above the chart area (the caption): its height.
int CaptionHeight(TRChart& chart, const QImage& img, double r) {
  const TChartGeometry g = chart.Geometry();
  int top = INT_MAX, bottom = -1;
  for (int y = 0; y < static_cast<int>((g.AreaTop() - 2) * r); ++y)
    for (int x = static_cast<int>((g.AreaLeft() + 40) * r); x < img.width(); ++x)
      if (Dark(img, x, y)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return bottom - top + 1;
}

class ScaledChart : public ::testing::TestWithParam<double> {};

TEST_P(ScaledChart, FrameTicksAndTextLandAtScaledPlaces) {
  const double r = GetParam();
  auto chart = WindowChart();
  bool drawn = false;
  const QImage device = RenderScaled(chart->Width(), chart->Height(), r,
                                     [&](TCanvas& c) { drawn = chart->RenderOn(c, true); });
  ASSERT_TRUE(drawn);
  EXPECT_EQ(device.width(), static_cast<int>(std::ceil(chart->Width() * r)));
  ExpectLayoutOf(*chart, device, r);
  const double h1 = CaptionHeight(*chart, chart->ControlImage().Image(), 1);
  EXPECT_NEAR(CaptionHeight(*chart, device, r) / h1, r, 0.25 * r);
}

INSTANTIATE_TEST_SUITE_P(Ratios, ScaledChart, ::testing::Values(1.5, 2.0));

TEST(VectorChart, SvgAndPdfKeepTheLayoutAndTheLabelsAsText) {
  auto chart = WindowChart();
  QTemporaryDir dir;
  const QString svg = dir.filePath("chart.svg"), pdf = dir.filePath("chart.pdf");
  chart->SaveToFile(svg.toStdString());
  chart->SaveToFile(pdf.toStdString(), 1);
  const QSize size(chart->Width(), chart->Height());

  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  QImage drawn(size, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  renderer.render(&painter);
  painter.end();
  ExpectLayoutOf(*chart, drawn, 1);
  QFile text(svg);
  ASSERT_TRUE(text.open(QIODevice::ReadOnly));
  const QByteArray svgText = text.readAll();
  for (const char* label : {">1000</text>", ">100</text>", "Angelagerte Agenten"})
    EXPECT_TRUE(svgText.contains(label)) << label;

  QProcess toPng, toText;
  toPng.start("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, dir.filePath("fromPdf")});
  toText.start("pdftotext", {pdf, "-"});
  if (!toPng.waitForFinished(20000) || toPng.exitCode() != 0 || !toText.waitForFinished(20000))
    GTEST_SKIP() << "poppler-utils are not available";
  // The page is whole points: a part of a pixel more may come out.
  const QImage fromPdf = QImage(dir.filePath("fromPdf.png")).copy(QRect(QPoint(0, 0), size));
  ExpectLayoutOf(*chart, fromPdf, 1);
  const QByteArray words = toText.readAllStandardOutput();
  for (const char* label : {"1000", "Angelagerte"}) EXPECT_TRUE(words.contains(label)) << label;
}

TEST(VectorChart, ScaledPngAndRefusedNamesLeaveOldFiles) {
  auto chart = WindowChart();
  QTemporaryDir dir;
  const QString png = dir.filePath("chart.png");
  chart->SaveToFile(png.toStdString(), 3);
  EXPECT_EQ(QImage(png).size(), QSize(3 * chart->Width(), 3 * chart->Height()));
  for (const QString& bad : {dir.filePath("chart.xyz"), dir.filePath("none/chart.svg")}) {
    QFile old(dir.filePath("chart.xyz"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_THROW(chart->SaveToFile(bad.toStdString()), EWriteError);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
  }
}

// Run with QT_SCALE_FACTOR=2 (its own test entry): the host on a scaled
// screen shows the chart at the device's pixels, and mouse positions stay
// logical pixels.
TEST(ScaledHost, ShowsDevicePixelsAndPansByLogicalPixels) {
  if (qApp->devicePixelRatio() != 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  auto chart = WindowChart(), twin = WindowChart();
  chart->SetMouseAction(maPan);
  twin->SetMouseAction(maPan);
  QtHost host(*chart);
  host.show();
  const QImage shown = host.grab().toImage();
  ASSERT_EQ(shown.width(), 2 * chart->Width());
  ExpectLayoutOf(*chart, shown, 2);

  const TChartGeometry g = chart->Geometry();
  const QPoint from(static_cast<int>(g.AreaLeft() + 50), static_cast<int>(g.AreaTop() + 50));
  QTest::mousePress(&host, Qt::LeftButton, Qt::NoModifier, from);
  for (int dx = 1; dx <= 10; ++dx) {
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(dx, 0)),
                     QPointF(host.mapToGlobal(from + QPoint(dx, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&host, &move);
  }
  QTest::mouseRelease(&host, Qt::LeftButton, Qt::NoModifier, from + QPoint(10, 0));
  twin->MouseDown(mbLeft, TShiftState{ssLeft}, from.x(), from.y());
  for (int dx = 1; dx <= 10; ++dx) twin->MouseMove(TShiftState{ssLeft}, from.x() + dx, from.y());
  twin->MouseUp(mbLeft, TShiftState{}, from.x() + 10, from.y());
  EXPECT_NE(chart->Scale1X().RangeLow(), 0.0);
  EXPECT_DOUBLE_EQ(chart->Scale1X().RangeLow(), twin->Scale1X().RangeLow());
  EXPECT_DOUBLE_EQ(chart->Scale1X().RangeHigh(), twin->Scale1X().RangeHigh());
}

}  // namespace

}  // namespace travenel
