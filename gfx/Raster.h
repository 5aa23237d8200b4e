// Scan conversion for TCanvas, straight into 32-bit image pixels.
// Everything here clips to the image before touching memory, and works on
// 64-bit (and for products 128-bit) integers so that any pair of 32-bit
// coordinates is handled without overflow.
#pragma once

#include <cstdint>
#include <span>

#include "travenel/gfx/Types.h"

class QImage;

namespace travenel {

namespace raster {

// Where and how pixels are written.
struct Target {
  std::uint32_t* Bits = nullptr;
  std::int64_t Stride = 0;  // in pixels
  std::int64_t W = 0, H = 0;
  bool Xor = false;

  static Target Of(QImage& image, bool xorMode);
  bool Empty() const { return W <= 0 || H <= 0; }
  void Plot(std::int64_t x, std::int64_t y, std::uint32_t px) const;
  // Pixels x0..x1 (both included) of row y; clipped.
  void Span(std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t px) const;
};

// A pen as the rasteriser sees it. Pattern is null for solid pens.
struct LinePen {
  std::uint32_t Pixel = 0;
  int Width = 1;
  const std::uint8_t* Pattern = nullptr;  // alternating on/off run lengths
  int PatternRuns = 0;
  int PatternLength = 0;
};

// The on/off pattern of a pen style (dash, dot, ...); solid and clear give none.
LinePen MakePen(std::uint32_t pixel, int width, int style);

// A line from (x0, y0) towards (x1, y1), the end pixel left out. phase is the
// position in the pen's pattern at the start and is advanced past the line.
void Line(const Target& t, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
          const LinePen& pen, int& phase);

// Rectangle with right and bottom edges excluded, already ordered (x1 <= x2,
// y1 <= y2). Outline and fill may each be absent (null pointer).
void Rectangle(const Target& t, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
               const LinePen* outline, const std::uint32_t* fill);

void Ellipse(const Target& t, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
             const LinePen* outline, const std::uint32_t* fill);

// Even-odd fill of the polygon's interior (pixel centres on or right of an edge
// crossing, half-open in y); the outline is drawn by the caller.
void FillPolygon(const Target& t, std::span<const TPoint> points, std::uint32_t fill);

}  // namespace raster

}  // namespace travenel
