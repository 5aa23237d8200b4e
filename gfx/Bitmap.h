// TBitmap: an off-screen image (32-bit RGB) with the canvas that draws on it.
#pragma once

#include <QImage>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "travenel/gfx/Canvas.h"

namespace travenel {

// A picture file that is missing or cannot be read.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A picture that could not be written; the message names the file and why.
class EWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  // The canvas points into this object, so a bitmap stays where it was made.
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Logical pixels: a bitmap at a device scale holds Scale() times as many per side.
  int Width() const { return canvas_.Width(); }
  int Height() const { return canvas_.Height(); }
  bool Empty() const { return image_.isNull(); }

  // The largest image a bitmap takes: 2^28 pixels (1 GiB).
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  // Keeps the top-left content; new pixels are white. Zero or negative sizes
  // give an empty image, on which drawing does nothing; so do sizes above
  // kMaxPixels and sizes whose memory cannot be had (never a crash, no message).
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }

  // Draws at a device scale from now on (1: the raster rules, pixel for
  // pixel): the image gets scale times the pixels per side, and the canvas
  // forwards its drawing to a painter at that scale. The picture starts white.
  void SetDeviceScale(double scale);
  double DeviceScale() const { return canvas_.Scale(); }

  // Any picture format Qt reads. Throws EInvalidGraphic, leaving the image as
  // it was, when the file is missing or unreadable.
  void LoadFromFile(const std::string& path);

  // Writes the picture in the format the name's suffix names (PNG without
  // one; BMP and whatever else Qt writes by suffix). An existing file is
  // replaced only once the new one is fully written. Throws EWriteError,
  // leaving any old file as it was.
  void SaveToFile(const std::string& path) const;

  // Copies size, scale and pixels of another bitmap.
  void Assign(const TBitmap& other);

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  // The device pixels (as many as the logical ones at scale 1).
  QImage& Image() { return canvas_.Image(); }
  const QImage& Image() const { return canvas_.Image(); }

 private:
  void SetImageSize(int width, int height);

  QImage image_;
  TCanvas canvas_{&image_};
};

}  // namespace travenel
