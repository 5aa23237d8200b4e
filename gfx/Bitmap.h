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

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull(); }

  // The largest image a bitmap takes: 2^28 pixels (1 GiB).
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  // Keeps the top-left content; new pixels are white. Zero or negative sizes
  // give an empty image, on which drawing does nothing; so do sizes above
  // kMaxPixels and sizes whose memory cannot be had (never a crash, no message).
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }

  // Any picture format Qt reads. Throws EInvalidGraphic, leaving the image as
  // it was, when the file is missing or unreadable.
  void LoadFromFile(const std::string& path);

  // Writes the picture in the format the name's suffix names (PNG without
  // one; BMP and whatever else Qt writes by suffix). An existing file is
  // replaced only once the new one is fully written. Throws EWriteError,
  // leaving any old file as it was.
  void SaveToFile(const std::string& path) const;

  // Copies size and pixels of another bitmap.
  void Assign(const TBitmap& other);

  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  TCanvas canvas_{&image_};
};

}  // namespace travenel
