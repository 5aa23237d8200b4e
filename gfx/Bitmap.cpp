#include "travenel/gfx/Bitmap.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <cmath>

namespace travenel {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

void TBitmap::SetSize(int width, int height) {
  if (!canvas_.IsDevice()) return SetImageSize(width, height);
  const double scale = canvas_.Scale();
  canvas_.EndDevicePaint();
  const auto device = [scale](int n) {
    return n <= 0 ? 0 : static_cast<int>(std::min(std::ceil(n * scale), 2147483647.0));
  };
  SetImageSize(device(width), device(height));
  canvas_.SetDeviceImage(scale, image_.isNull() ? 0 : width, image_.isNull() ? 0 : height);
}

void TBitmap::SetDeviceScale(double scale) {
  if (!(scale > 0) || scale == canvas_.Scale()) return;
  const int w = Width(), h = Height();
  if (canvas_.IsDevice()) canvas_.EndDevicePaint();
  image_ = QImage();
  canvas_.SetDeviceImage(scale, w, h);
  SetSize(w, h);
}

void TBitmap::SetImageSize(int width, int height) {
  if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels) {
    image_ = QImage();
    return;
  }
  if (width == image_.width() && height == image_.height()) return;
  QImage next(width, height, QImage::Format_RGB32);
  if (next.isNull()) {  // the memory could not be had
    image_ = QImage();
    return;
  }
  next.fill(0xFFFFFFFF);
  if (!image_.isNull()) {
    // Keep the top-left content: copy the rows that fit.
    const int w = std::min(width, image_.width()), h = std::min(height, image_.height());
    for (int y = 0; y < h; ++y)
      std::copy_n(reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y)), w,
                  reinterpret_cast<std::uint32_t*>(next.scanLine(y)));
  }
  image_ = std::move(next);
}

void TBitmap::LoadFromFile(const std::string& path) {
  // No file name holds a NUL byte; Qt would warn about such a name on the console.
  if (path.find('\0') != std::string::npos)
    throw EInvalidGraphic("Die Bilddatei \"" + path.substr(0, path.find('\0')) +
                          "...\" kann nicht gelesen werden: der Name enthält ein NUL-Zeichen");
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile())
    throw EInvalidGraphic("Die Bilddatei \"" + path + "\" wurde nicht gefunden");
  QImageReader reader(file);
  QImage loaded = reader.read();
  if (loaded.isNull())
    throw EInvalidGraphic("Die Bilddatei \"" + path + "\" kann nicht gelesen werden: " +
                          reader.errorString().toStdString());
  // A picture from a file has the pixels it has: no scale.
  if (canvas_.IsDevice()) canvas_.EndDevicePaint();
  canvas_.SetDeviceImage(1, 0, 0);
  image_ = loaded.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) return;
  if (canvas_.IsDevice()) canvas_.EndDevicePaint();
  image_ = other.Image().copy();
  canvas_.SetDeviceImage(other.DeviceScale(), other.Width(), other.Height());
}

void TBitmap::SaveToFile(const std::string& path) const {
  const QString file = QString::fromStdString(path);
  const auto fail = [&](const std::string& why) {
    throw EWriteError("Cannot write the picture \"" + path + "\": " + why);
  };
  if (path.empty() || path.find('\0') != std::string::npos) fail("no valid file name");
  const QImage& image = Image();
  if (image.isNull()) fail("the picture is empty");
  QByteArray format = QFileInfo(file).suffix().toLower().toLatin1();
  if (format.isEmpty()) format = "png";
  if (!QImageWriter::supportedImageFormats().contains(format))
    fail("unknown picture type \"" + format.toStdString() + "\"");
  // The picture goes to a temporary file beside the target, renamed over it
  // once complete, so a failure never leaves half a picture or loses the old one.
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) fail(out.errorString().toStdString());
  QImageWriter writer(&out, format);
  if (!writer.write(image)) {
    out.cancelWriting();
    fail(writer.errorString().toStdString());
  }
  if (!out.commit()) fail(out.errorString().toStdString());
}

}  // namespace travenel
