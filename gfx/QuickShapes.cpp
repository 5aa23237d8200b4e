#include "travenel/gfx/QuickShapes.h"

#include <algorithm>
#include <cstdint>

#include "travenel/gfx/Canvas.h"

namespace travenel {

namespace {

// The image pixel of a colour; plain colours need no table.
std::uint32_t PixelOf(TColor c) { return IsSystemColor(c) ? ColorToPixel(c) : RgbToPixel(c); }

bool WhollyOn(const QImage& image, int x1, int y1, int x2, int y2) {
  return x1 >= 0 && y1 >= 0 && x2 <= image.width() && y2 <= image.height();
}

// Rows of the image from row y, column x.
struct TRows {
  std::uint32_t* At;
  std::ptrdiff_t Stride;  // in pixels

  TRows(QImage& image, int x, int y)
      : At(reinterpret_cast<std::uint32_t*>(image.bits())), Stride(image.bytesPerLine() / 4) {
    At += y * Stride + x;
  }
};

// A box of w x h pixels (both at least 2): a one-pixel outline around the fill.
inline void Framed(const TRows& rows, int w, int h, std::uint32_t outline, std::uint32_t fill) {
  std::fill_n(rows.At, w, outline);
  for (int y = 1; y < h - 1; ++y) {
    std::uint32_t* row = rows.At + y * rows.Stride;
    row[0] = outline;
    std::fill_n(row + 1, w - 2, fill);
    row[w - 1] = outline;
  }
  std::fill_n(rows.At + (h - 1) * rows.Stride, w, outline);
}

// Pixels Left .. Left + Count - 1 of a row; with known numbers, straight stores.
template <int Left, int Count>
inline void Run(std::uint32_t* row, std::uint32_t px) {
  for (int x = Left; x < Left + Count; ++x) row[x] = px;
}

}  // namespace

void QuickRectangle(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  // A canvas at a device scale draws its own way.
  if (canvas.IsDevice()) [[unlikely]] {
    canvas.Rectangle(x1, y1, x2, y2);
    return;
  }
  QImage& image = canvas.Image();
  const TPen& pen = canvas.Pen;
  // A box narrower than two pixels has no interior; it goes the general way.
  if (pen.Style != psSolid || pen.Width > 1 || pen.Mode != pmCopy ||
      canvas.Brush.Style != bsSolid || !WhollyOn(image, x1, y1, x2, y2) || x2 - x1 < 2 ||
      y2 - y1 < 2) {
    canvas.Rectangle(x1, y1, x2, y2);
    return;
  }
  const std::uint32_t outline = PixelOf(pen.Color), fill = PixelOf(canvas.Brush.Color);
  const TRows rows(image, x1, y1);
  const int w = x2 - x1, h = y2 - y1;
  // The world's cells have this size; known widths make straight stores.
  if (w == 10 && h == 10)
    Framed(rows, 10, 10, outline, fill);
  else
    Framed(rows, w, h, outline, fill);
}

void QuickEllipse(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  // A canvas at a device scale draws its own way.
  if (canvas.IsDevice()) [[unlikely]] {
    canvas.Ellipse(x1, y1, x2, y2);
    return;
  }
  QImage& image = canvas.Image();
  const TPen& pen = canvas.Pen;
  // An outline of the fill's colour, whatever its width, leaves the plain disc.
  if (pen.Style == psClear || pen.Mode != pmCopy || canvas.Brush.Style != bsSolid ||
      !WhollyOn(image, x1, y1, x2, y2) || x2 - x1 != 8 || y2 - y1 != 8 ||
      PixelOf(pen.Color) != PixelOf(canvas.Brush.Color)) {
    canvas.Ellipse(x1, y1, x2, y2);
    return;
  }
  const std::uint32_t px = PixelOf(canvas.Brush.Color);
  const TRows rows(image, x1, y1);
  // The disc the general route draws in an 8 x 8 box:
  //   ..####..
  //   .######.
  //   ########  (four rows)
  //   .######.
  //   ..####..
  std::uint32_t* row = rows.At;
  Run<2, 4>(row, px);
  Run<1, 6>(row += rows.Stride, px);
  for (int y = 2; y < 6; ++y) Run<0, 8>(row += rows.Stride, px);
  Run<1, 6>(row += rows.Stride, px);
  Run<2, 4>(row + rows.Stride, px);
}

}  // namespace travenel
