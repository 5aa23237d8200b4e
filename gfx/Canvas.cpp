#include "travenel/gfx/Canvas.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/Glyphs.h"
#include "travenel/gfx/Raster.h"

namespace travenel {

namespace {

raster::LinePen PenOf(const TPen& pen) {
  return raster::MakePen(ColorToPixel(pen.Color), pen.Width, pen.Style);
}

// Nearest-neighbour stretch of the rectangle sr of src onto dr of dst: each
// destination pixel takes the source pixel whose share of the rectangle holds
// its centre. Only destination pixels on dst whose source pixel lies on src
// are written, so the work is bounded by the visible pixels, whatever the
// rectangles (both of positive size).
void Stretch(QImage& dst, const TRect& dr, const QImage& src, const TRect& sr) {
  // The source index of every visible destination column or row; -1: none.
  auto indices = [](std::int64_t dStart, std::int64_t dLen, std::int64_t dExtent,
                    std::int64_t sStart, std::int64_t sLen, std::int64_t sExtent,
                    std::int64_t& first) {
    first = std::max<std::int64_t>(dStart, 0);
    const std::int64_t last = std::min<std::int64_t>(dStart + dLen, dExtent);
    std::vector<int> out;
    for (std::int64_t d = first; d < last; ++d) {
      const __int128 twice = __int128(2 * (d - dStart) + 1) * sLen;
      const std::int64_t si = sStart + static_cast<std::int64_t>(twice / (2 * dLen));
      out.push_back(si >= 0 && si < sExtent ? static_cast<int>(si) : -1);
    }
    return out;
  };
  std::int64_t x0 = 0, y0 = 0;
  const std::vector<int> cols =
      indices(dr.Left, dr.Width(), dst.width(), sr.Left, sr.Width(), src.width(), x0);
  const std::vector<int> rows =
      indices(dr.Top, dr.Height(), dst.height(), sr.Top, sr.Height(), src.height(), y0);
  if (cols.empty() || rows.empty()) return;
  // Drawing onto itself reads from a copy.
  const QImage from = &src == &dst ? src.copy() : src;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    if (rows[j] < 0) continue;
    const auto* s = reinterpret_cast<const std::uint32_t*>(from.constScanLine(rows[j]));
    auto* d =
        reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(y0) + static_cast<int>(j))) +
        x0;
    for (std::size_t i = 0; i < cols.size(); ++i)
      if (cols[i] >= 0) d[i] = s[cols[i]];
  }
}

// Copies the pixels of sr (clipped to src) to dst with sr's top-left at (x, y):
// a plain blit, no blending, rows copied directly.
void Blit(QImage& dst, std::int64_t x, std::int64_t y, const QImage& src, const TRect& sr) {
  if (src.isNull() || dst.isNull()) return;
  std::int64_t sl = std::max<std::int64_t>(sr.Left, 0), st = std::max<std::int64_t>(sr.Top, 0);
  std::int64_t sRight = std::min<std::int64_t>(sr.Right, src.width());
  std::int64_t sBottom = std::min<std::int64_t>(sr.Bottom, src.height());
  x += sl - sr.Left;
  y += st - sr.Top;
  // Clip against the destination.
  if (x < 0) { sl -= x; x = 0; }
  if (y < 0) { st -= y; y = 0; }
  sRight = std::min<std::int64_t>(sRight, sl + (dst.width() - x));
  sBottom = std::min<std::int64_t>(sBottom, st + (dst.height() - y));
  if (sl >= sRight || st >= sBottom) return;
  // Row addresses worked out here: asking Qt for each row costs more than
  // copying a narrow one.
  const std::int64_t sStride = src.bytesPerLine() / 4, dStride = dst.bytesPerLine() / 4;
  const auto* s = reinterpret_cast<const std::uint32_t*>(src.constBits()) + st * sStride + sl;
  auto* d = reinterpret_cast<std::uint32_t*>(dst.bits()) + y * dStride + x;
  const auto n = static_cast<std::size_t>(sRight - sl) * sizeof(std::uint32_t);
  for (std::int64_t row = st; row < sBottom; ++row, s += sStride, d += dStride) std::memmove(d, s, n);
}

// Whether the w x h pixels from p (rows `stride` apart) all have p's colour.
bool OneColour(const std::uint32_t* p, std::int64_t stride, int w, int h) {
  const std::uint32_t c = p[0];
  for (int row = 0; row < h; ++row, p += stride) {
    std::uint32_t differ = 0;  // no early exit: the loop is vectorised
    for (int i = 0; i < w; ++i) differ |= p[i] ^ c;
    if (differ) return false;
  }
  return true;
}

// Text of a font too large for coverage masks, drawn by the painter glyph by
// glyph: only glyphs near the visible part of the text's box are drawn, so
// every position handed to the painter lies within a glyph's size of the
// surface.
void PaintLargeText(QImage& image, glyphs::FontGlyphs& g, const QRect& clip, std::int64_t x,
                    std::int64_t y, const std::string& text, const QColor& color) {
  QPainter p(&image);
  p.setClipRect(clip);
  p.setFont(g.Font());
  p.setPen(color);
  const std::int64_t reach = g.Height();  // room for overhangs
  std::int64_t penX = x;
  glyphs::ForEachCodePoint(text, [&](char32_t c) {
    const std::int64_t advance = g.Get(c).Advance;
    if (penX + advance + reach > clip.left() && penX - reach <= clip.right())
      p.drawText(QPointF(static_cast<double>(penX), static_cast<double>(y + g.Ascent())),
                 QString::fromUcs4(&c, 1));
    penX += advance;
  });
}

}  // namespace


void TCanvas::SetPrinter(bool printer, int pixelsPerInch) {
  printer_ = printer;
  printerPixelsPerInch_ = std::max(pixelsPerInch, 1);
}

void TCanvas::SetState(const TCanvasState& s) {
  Pen = s.Pen;
  Brush = s.Brush;
  if (!(font_.Values() == s.Font)) font_.SetValues(s.Font);
  penPos_ = s.PenPos;
  dashPhase_ = s.DashPhase;
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
  dashPhase_ = 0;
}

void TCanvas::LineTo(int x, int y) {
  if (device_) [[unlikely]] {
    DevLine(penPos_.X, penPos_.Y, x, y);
  } else if (Pen.Style != psClear) {
    raster::Line(raster::Target::Of(*image_, Pen.Mode == pmXor), penPos_.X, penPos_.Y, x, y,
                 PenOf(Pen), dashPhase_);
  }
  penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || Pen.Style == psClear) return;
  if (device_) [[unlikely]] return DevPolyline(points, false);
  const raster::Target t = raster::Target::Of(*image_, Pen.Mode == pmXor);
  const raster::LinePen pen = PenOf(Pen);
  int phase = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    raster::Line(t, points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, pen, phase);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  if (device_) [[unlikely]] return DevPolygon(points);
  if (Brush.Style == bsSolid)
    raster::FillPolygon(raster::Target::Of(*image_, Pen.Mode == pmXor), points,
                        ColorToPixel(Brush.Color));
  if (Pen.Style == psClear) return;
  if (points.size() == 1) {
    // A single point: one pixel, as a closed path of length zero would draw nothing.
    raster::Target::Of(*image_, Pen.Mode == pmXor).Plot(points[0].X, points[0].Y, ColorToPixel(Pen.Color));
    return;
  }
  std::vector<TPoint> closed(points.begin(), points.end());
  closed.push_back(points.front());
  Polyline(closed);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (device_) [[unlikely]] return DevRectangle(x1, y1, x2, y2);
  const raster::Target t = raster::Target::Of(*image_, Pen.Mode == pmXor);
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  const std::uint32_t* fillPtr = Brush.Style == bsSolid ? &fill : nullptr;
  const raster::LinePen pen = PenOf(Pen);
  if (Pen.Style == psClear || !pen.Pattern) {
    raster::Rectangle(t, x1, y1, x2, y2, Pen.Style == psClear ? nullptr : &pen, fillPtr);
    return;
  }
  // An empty box has no border to follow either.
  if (x2 == x1 || y2 == y1) return;
  // A patterned outline follows the border as one path so the dashes run round it.
  const std::int64_t r = std::int64_t{x2} - 1, b = std::int64_t{y2} - 1;
  raster::Rectangle(t, std::int64_t{x1} + 1, std::int64_t{y1} + 1, r, b, nullptr, fillPtr);
  if (r == x1 || b == y1) {
    raster::Rectangle(t, x1, y1, x2, y2, nullptr, &pen.Pixel);
    return;
  }
  int phase = 0;
  raster::Line(t, x1, y1, r, y1, pen, phase);
  raster::Line(t, r, y1, r, b, pen, phase);
  raster::Line(t, r, b, x1, b, pen, phase);
  raster::Line(t, x1, b, x1, y1, pen, phase);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (device_) [[unlikely]] return DevEllipse(x1, y1, x2, y2);
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  // Ellipse outlines are drawn solid whatever the pen style (except clear).
  const raster::LinePen pen = raster::MakePen(ColorToPixel(Pen.Color), Pen.Width, psSolid);
  raster::Ellipse(raster::Target::Of(*image_, Pen.Mode == pmXor), x1, y1, x2, y2,
                  Pen.Style == psClear ? nullptr : &pen, Brush.Style == bsSolid ? &fill : nullptr);
}

void TCanvas::FillRect(const TRect& r) {
  if (Brush.Style != bsSolid) return;
  if (device_) [[unlikely]] return DevFill(r, Brush.Color, false);
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  raster::Rectangle(raster::Target::Of(*image_, false), std::min(r.Left, r.Right),
                    std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom),
                    nullptr, &fill);
}

TColor TCanvas::Pixels(int x, int y) const {
  if (device_) [[unlikely]] {
    // The device pixel at the logical pixel's centre.
    const QRect d = DeviceRect(Rect(x, y, x + 1, y + 1));
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || image_->isNull()) return kInvalidPixel;
    const int dx = std::min(d.left() + d.width() / 2, image_->width() - 1);
    const int dy = std::min(d.top() + d.height() / 2, image_->height() - 1);
    return PixelToRgb(reinterpret_cast<const std::uint32_t*>(image_->constScanLine(dy))[dx]);
  }
  if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return kInvalidPixel;
  return PixelToRgb(reinterpret_cast<const std::uint32_t*>(image_->constScanLine(y))[x]);
}

void TCanvas::SetPixels(int x, int y, TColor c) {
  if (device_) [[unlikely]] return DevFill(Rect(x, y, x + 1, y + 1), c, false);
  raster::Target::Of(*image_, false).Plot(x, y, ColorToPixel(c));
}

glyphs::FontGlyphs& TCanvas::Glyphs() const {
  if (!glyphs_ || glyphsGeneration_ != font_.Generation()) {
    glyphs_ = &glyphs::For(font_.QtFont());
    glyphsGeneration_ = font_.Generation();
  }
  return *glyphs_;
}

// Widths are sums of whole-pixel glyph advances (fonts are fully hinted and
// kerning is off), so TextWidth and TextOut always agree.
int TCanvas::TextWidth(const std::string& text) const {
  glyphs::FontGlyphs& g = Glyphs();
  int w = 0;
  glyphs::ForEachCodePoint(text, [&](char32_t c) { w += g.Get(c).Advance; });
  return w;
}

int TCanvas::TextHeight(const std::string&) const { return Glyphs().Height(); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
  glyphs::FontGlyphs& g = Glyphs();
  const int w = TextWidth(text), h = g.Height();
  penPos_ = {static_cast<int>(std::clamp<std::int64_t>(std::int64_t{x} + w, INT32_MIN, INT32_MAX)), y};
  if (device_) [[unlikely]] return DevText(x, y, w, text);
  if (image_->isNull() || text.empty()) return;
  if (Brush.Style == bsSolid) FillRect(Bounds(x, y, w, h));
  // The text's box is its whole extent: a glyph's overhang past the advance
  // would otherwise touch pixels that TextWidth does not account for.
  const std::int64_t clipL = std::max<std::int64_t>(x, 0);
  const std::int64_t clipT = std::max<std::int64_t>(y, 0);
  const std::int64_t clipR = std::min<std::int64_t>(std::int64_t{x} + w, image_->width());
  const std::int64_t clipB = std::min<std::int64_t>(std::int64_t{y} + h, image_->height());
  if (clipL >= clipR || clipT >= clipB) return;
  const TColor rgb = ColorToRGB(font_.Color());
  const unsigned fr = GetRValue(rgb), fg = GetGValue(rgb), fb = GetBValue(rgb);
  if (!g.Masked()) {
    PaintLargeText(*image_, g,
                   QRect(QPoint(static_cast<int>(clipL), static_cast<int>(clipT)),
                         QPoint(static_cast<int>(clipR - 1), static_cast<int>(clipB - 1))),
                   x, y, text, QColor(static_cast<int>(fr), static_cast<int>(fg), static_cast<int>(fb)));
    return;
  }
  const std::uint32_t ink = RgbToPixel(rgb);
  const std::uint32_t inkRB = ink & 0x00FF00FFu;
  auto* bits = reinterpret_cast<std::uint32_t*>(image_->bits());
  const std::int64_t stride = image_->bytesPerLine() / 4;
  // A whole box of one colour: the text as it came out there before, if it did.
  std::uint32_t* box = bits + clipT * stride + clipL;
  const bool plain = clipL == x && clipT == y && clipR == std::int64_t{x} + w &&
                     clipB == std::int64_t{y} + h &&
                     std::int64_t{w} * h <= std::int64_t{glyphs::FontGlyphs::kMaxSpritePixels} &&
                     OneColour(box, stride, w, h);
  if (plain) {
    if (const glyphs::TextSprite* s = g.FindSprite(text, ink, box[0])) {
      for (int row = 0; row < h; ++row)
        std::memcpy(box + row * stride, s->Pixels.data() + std::size_t(row) * w,
                    std::size_t(w) * sizeof(std::uint32_t));
      return;
    }
  }
  const std::uint32_t background = box[0];
  std::int64_t penX = x;
  glyphs::ForEachCodePoint(text, [&](char32_t c) {
    const glyphs::Glyph& gl = g.Get(c);
    const std::int64_t gx = penX + gl.Left, gy = std::int64_t{y} + gl.Top;
    penX += gl.Advance;
    const std::int64_t x0 = std::max(gx, clipL), x1 = std::min(gx + gl.W, clipR);
    const std::int64_t y0 = std::max(gy, clipT), y1 = std::min(gy + gl.H, clipB);
    for (std::int64_t py = y0; py < y1; ++py) {
      const std::uint8_t* cov = gl.Coverage.data() + (py - gy) * gl.W - gx;
      std::uint32_t* row = bits + py * stride;
      for (std::int64_t px = x0; px < x1; ++px) {
        const unsigned a = cov[px];
        if (a == 0) continue;
        if (a == 255) {  // the inside of a glyph: the font colour as it is
          row[px] = ink;
          continue;
        }
        // Each channel (d * (255 - a) + ink * a + 127) / 255, red and blue
        // side by side in the 16-bit halves of one word (no sum passes 2^16).
        // x / 255 = (x + 1 + x / 256) / 256 for every x below 65280.
        const std::uint32_t d = row[px];
        const unsigned na = 255 - a;
        std::uint32_t rb = (d & 0x00FF00FFu) * na + inkRB * a + 0x007F007Fu;
        std::uint32_t gg = ((d >> 8) & 0xFFu) * na + fg * a + 127;
        rb = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        gg = (gg + 1 + (gg >> 8)) >> 8;
        row[px] = 0xFF000000u | rb | (gg << 8);
      }
    }
  });
  if (!plain) return;
  glyphs::TextSprite sprite{w, h, std::vector<std::uint32_t>(std::size_t(w) * h)};
  for (int row = 0; row < h; ++row)
    std::memcpy(sprite.Pixels.data() + std::size_t(row) * w, box + row * stride,
                std::size_t(w) * sizeof(std::uint32_t));
  g.KeepSprite(text, ink, background, std::move(sprite));
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (device_ || bitmap.Canvas().IsDevice()) [[unlikely]] {
    const QRect from = bitmap.Canvas().DeviceRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
    return DevImage(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap.Image(), from);
  }
  Blit(*image_, x, y, bitmap.Image(), Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  CopyRect(dest, bitmap.Canvas(), Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  const QImage& src = source.Image();
  if (src.isNull() || (!device_ && image_->isNull()) || dest.Width() <= 0 || dest.Height() <= 0 ||
      sourceRect.Width() <= 0 || sourceRect.Height() <= 0)
    return;
  if (device_ || source.IsDevice()) [[unlikely]]
    return DevImage(dest, src, source.DeviceRect(sourceRect));
  if (dest.Width() == sourceRect.Width() && dest.Height() == sourceRect.Height() && &source != this) {
    Blit(*image_, dest.Left, dest.Top, src, sourceRect);
    return;
  }
  Stretch(*image_, dest, src, sourceRect);
}

}  // namespace travenel
