// The drawing surface at a device scale and as vector files.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <climits>
#include <cmath>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/PictureFile.h"

namespace travenel {

namespace {

int D(int x, double r) { return static_cast<int>(std::lround(x * r)); }

TColor DevicePixel(const TBitmap& b, int x, int y) {
  const QImage& img = b.Image();
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return TCanvas::kInvalidPixel;
  return PixelToRgb(reinterpret_cast<const std::uint32_t*>(img.constScanLine(y))[x]);
}

// Rows of the device image holding a pixel other than white.
std::pair<int, int> InkRows(const TBitmap& b) {
  int top = INT_MAX, bottom = -1;
  for (int y = 0; y < b.Image().height(); ++y)
    for (int x = 0; x < b.Image().width(); ++x)
      if (DevicePixel(b, x, y) != clWhite) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return {top, bottom};
}

class DeviceScale : public ::testing::TestWithParam<double> {};

TEST_P(DeviceScale, ShapesLandAtScaledCoordinatesWithEdgesWhole) {
  const double r = GetParam();
  TBitmap b(60, 40);
  b.SetDeviceScale(r);
  EXPECT_EQ(b.Width(), 60);
  EXPECT_EQ(b.Image().width(), static_cast<int>(std::ceil(60 * r)));
  TCanvas& c = b.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clRed;
  c.Rectangle(10, 10, 50, 30);
  const int mid = D(20, r), w = std::max(1, D(1, r));
  // The frame's outer device pixels, its inside, and nothing past the right and bottom edges.
  EXPECT_EQ(DevicePixel(b, D(10, r), mid), clBlack);
  EXPECT_EQ(DevicePixel(b, D(10, r) - 1, mid), clWhite);
  EXPECT_EQ(DevicePixel(b, D(10, r) + w, mid), clRed);
  EXPECT_EQ(DevicePixel(b, D(50, r) - 1, mid), clBlack);
  EXPECT_EQ(DevicePixel(b, D(50, r), mid), clWhite);
  EXPECT_EQ(DevicePixel(b, D(30, r), D(30, r) - 1), clBlack);
  EXPECT_EQ(DevicePixel(b, D(30, r), D(30, r)), clWhite);
  // Logical reads see the logical picture.
  EXPECT_EQ(c.Pixels(10, 20), clBlack);
  EXPECT_EQ(c.Pixels(11, 20), clRed);
  EXPECT_EQ(c.Pixels(50, 20), clWhite);
  EXPECT_EQ(c.Pixels(60, 20), TCanvas::kInvalidPixel);

  // A line along an axis covers its pixels whole, the end pixel left out.
  c.Pen.Color = clBlue;
  c.MoveTo(5, 35);
  c.LineTo(25, 35);
  EXPECT_EQ(c.PenPos().X, 25);
  EXPECT_EQ(DevicePixel(b, D(5, r), D(35, r)), clBlue);
  EXPECT_EQ(DevicePixel(b, D(25, r) - 1, D(35, r)), clBlue);
  EXPECT_EQ(DevicePixel(b, D(25, r), D(35, r)), clWhite);
  EXPECT_EQ(DevicePixel(b, D(5, r) - 1, D(35, r)), clWhite);
}

TEST_P(DeviceScale, TextIsScaledTimesAsHighAndWidthsStayLogical) {
  const double r = GetParam();
  TBitmap one(80, 30), scaled(80, 30);
  scaled.SetDeviceScale(r);
  for (TBitmap* b : {&one, &scaled}) {
    b->Canvas().Font().SetHeight(13);
    b->Canvas().Brush.Style = bsClear;
    b->Canvas().TextOut(4, 4, "Hg 0.5");
  }
  EXPECT_EQ(scaled.Canvas().TextWidth("Hg 0.5"), one.Canvas().TextWidth("Hg 0.5"));
  const auto [t1, b1] = InkRows(one);
  const auto [tr, br] = InkRows(scaled);
  ASSERT_GE(b1, t1);
  const double h1 = b1 - t1 + 1, hr = br - tr + 1;
  EXPECT_NEAR(hr, h1 * r, r + 1.5);
  EXPECT_NEAR(tr, t1 * r, r + 1.5);
}

TEST_P(DeviceScale, XorTwiceRestoresAndFarCoordinatesAreClipped) {
  const double r = GetParam();
  TBitmap b(40, 40);
  b.SetDeviceScale(r);
  TCanvas& c = b.Canvas();
  c.Brush.Color = clYellow;
  c.FillRect(Rect(0, 0, 20, 40));
  const QImage before = b.Image().copy();
  c.Pen.Mode = pmXor;
  c.Pen.Color = clWhite;
  c.Brush.Style = bsClear;
  for (int pass = 0; pass < 2; ++pass) {
    c.Rectangle(5, 5, 30, 30);
    c.MoveTo(2, 3);
    c.LineTo(37, 21);
  }
  EXPECT_TRUE(b.Image() == before);
  c.Pen.Mode = pmCopy;
  c.Pen.Color = clBlack;
  c.MoveTo(INT_MIN, INT_MIN);
  c.LineTo(INT_MAX, INT_MAX);
  c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  c.TextOut(INT_MAX - 5, INT_MIN, "far");
  EXPECT_EQ(c.Pixels(20, 20), clBlack);  // the diagonal crosses the middle
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceScale, ::testing::Values(1.25, 1.5, 2.0, 3.0));

TEST(DeviceCanvas, ScaledBitmapsCopyAndSizeInLogicalPixels) {
  TBitmap scaled(30, 20);
  scaled.SetDeviceScale(2);
  scaled.Canvas().Brush.Color = clRed;
  scaled.Canvas().FillRect(Rect(10, 0, 20, 20));
  // Onto a plain surface: scaled down to its logical size.
  TBitmap plain(40, 20);
  plain.Canvas().Draw(5, 0, scaled);
  EXPECT_EQ(plain.Canvas().Pixels(14, 10), clWhite);
  EXPECT_EQ(plain.Canvas().Pixels(15, 10), clRed);
  EXPECT_EQ(plain.Canvas().Pixels(24, 10), clRed);
  EXPECT_EQ(plain.Canvas().Pixels(25, 10), clWhite);
  // Growing keeps the content at the same logical place.
  scaled.SetSize(50, 20);
  EXPECT_EQ(scaled.Image().width(), 100);
  EXPECT_EQ(scaled.Canvas().Pixels(15, 5), clRed);
  EXPECT_EQ(scaled.Canvas().Pixels(45, 5), clWhite);
  TBitmap copy;
  copy.Assign(scaled);
  EXPECT_EQ(copy.Width(), 50);
  EXPECT_EQ(copy.DeviceScale(), 2);
  EXPECT_EQ(copy.Canvas().Pixels(15, 5), clRed);
}

void DrawSample(TCanvas& c) {
  c.Brush.Color = clWhite;
  c.Pen.Color = clBlack;
  c.Rectangle(0, 0, c.Width(), c.Height());
  c.Brush.Style = bsClear;
  c.Font().SetHeight(12);
  c.TextOut(10, 10, "Zeitschritt 0.25");
  c.MoveTo(10, 40);
  c.LineTo(90, 40);
}

// A part of a picture keeps its drawing inside, in a vector file too (whose
// format may know no clipping).
TEST(PictureFile, PartsKeepTheirDrawingInside) {
  QTemporaryDir dir;
  const std::string svg = dir.filePath("part.svg").toStdString();
  SavePicture(svg, 60, 60, 1, [](TCanvas& c) {
    c.Brush.Color = clWhite;
    c.FillRect(Rect(0, 0, 60, 60));
    const std::unique_ptr<TCanvas> part = c.Part(Rect(20, 20, 40, 40));
    part->Pen.Color = clBlack;
    part->Pen.Width = 3;
    part->MoveTo(-100, 10);
    part->LineTo(100, 10);  // along an axis
    part->MoveTo(-50, -40);
    part->LineTo(70, 80);  // slanted
    const TPoint zigzag[] = {{-30, 5}, {10, 15}, {50, 5}, {10, -30}};
    part->Polyline(zigzag);
    part->Brush.Color = clBlack;
    part->FillRect(Rect(-10, 30, 90, 35));
  });
  QSvgRenderer renderer(QString::fromStdString(svg));
  ASSERT_TRUE(renderer.isValid());
  QImage img(60, 60, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  renderer.render(&p);
  p.end();
  int inside = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool in = x >= 19 && x <= 40 && y >= 19 && y <= 40;  // a pixel of antialiasing
      (in ? inside : outside) += qGray(img.pixel(x, y)) < 200;
    }
  EXPECT_GT(inside, 40);
  EXPECT_EQ(outside, 0);
}

TEST(PictureFile, BadNamesAndUnknownSuffixesLeaveTheOldFile) {
  QTemporaryDir dir;
  const QString old = dir.filePath("old.xyz");
  {
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  for (const std::string& path : {old.toStdString(), std::string(),
                                  dir.filePath("no/such/folder/p.svg").toStdString(),
                                  dir.path().toStdString() + "/"}) {
    EXPECT_THROW(SavePicture(path, 10, 10, 1, DrawSample), EWriteError) << path;
  }
  QFile f(old);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "old");
}

}  // namespace

}  // namespace travenel
