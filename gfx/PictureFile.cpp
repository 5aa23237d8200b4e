#include "travenel/gfx/PictureFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& why) {
  throw EWriteError("Cannot write the picture \"" + path + "\": " + why);
}

QByteArray SuffixOf(const std::string& path) {
  QByteArray s = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
  return s.isEmpty() ? QByteArray("png") : s;
}

// Writes the bytes through a file beside the target that replaces it only when complete.
void Commit(const std::string& path, const QByteArray& bytes) {
  QSaveFile out(QString::fromStdString(path));
  if (!out.open(QIODevice::WriteOnly)) Fail(path, out.errorString().toStdString());
  if (out.write(bytes) != bytes.size()) {
    out.cancelWriting();
    Fail(path, out.errorString().toStdString());
  }
  if (!out.commit()) Fail(path, out.errorString().toStdString());
}

}  // namespace

TPictureFormat PictureFormatOf(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) Fail(path, "no valid file name");
  const QByteArray suffix = SuffixOf(path);
  if (suffix == "svg") return TPictureFormat::Svg;
  if (suffix == "pdf") return TPictureFormat::Pdf;
  if (!QImageWriter::supportedImageFormats().contains(suffix))
    Fail(path, "unknown picture type \"" + suffix.toStdString() + "\"");
  return TPictureFormat::Raster;
}

QImage RenderScaled(int width, int height, double scale, const TDrawRoutine& draw) {
  if (width <= 0 || height <= 0 || !(scale > 0)) return {};
  const double w = std::ceil(width * scale), h = std::ceil(height * scale);
  if (w * h > static_cast<double>(TBitmap::kMaxPixels)) return {};
  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(0xFFFFFFFF);
  {
    QPainter painter(&image);
    TCanvas canvas(painter, scale, width, height);
    draw(canvas);
  }
  image.setDevicePixelRatio(scale);
  return image;
}

void SavePicture(const std::string& path, int width, int height, double scale,
                 const TDrawRoutine& draw) {
  const TPictureFormat format = PictureFormatOf(path);
  if (width <= 0 || height <= 0) Fail(path, "the picture is empty");
  if (!(scale > 0) || scale > 64) Fail(path, "the scale must lie above 0 and at most 64");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == TPictureFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(TCanvas::kScreenPixelsPerInch);
    QPainter painter;
    if (!painter.begin(&svg)) Fail(path, "the SVG generator does not start");
    {
      TCanvas canvas(painter, 1, width, height);
      draw(canvas);
    }
    painter.end();
  } else if (format == TPictureFormat::Pdf) {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(TCanvas::kScreenPixelsPerInch);
    // One page exactly the picture's size: a logical pixel is 1/96 inch.
    const double points = 72.0 / TCanvas::kScreenPixelsPerInch;
    pdf.setPageSize(QPageSize(QSizeF(width * points, height * points), QPageSize::Point,
                              QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator("Travenel");
    QPainter painter;
    if (!painter.begin(&pdf)) Fail(path, "the PDF writer does not start");
    {
      TCanvas canvas(painter, 1, width, height);
      draw(canvas);
    }
    painter.end();
  } else {
    const QImage image = RenderScaled(width, height, scale, draw);
    if (image.isNull()) Fail(path, "the picture is too large at this scale");
    QImageWriter writer(&buffer, SuffixOf(path));
    if (!writer.write(image)) Fail(path, writer.errorString().toStdString());
  }
  buffer.close();
  Commit(path, bytes);
}

}  // namespace travenel
