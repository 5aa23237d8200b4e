#include "gfx/Canvas.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Raster.h"

namespace {

raster::LinePen PenOf(const TPen& pen) {
  return raster::MakePen(ColorToPixel(pen.Color), pen.Width, pen.Style);
}

// Qt's painter works in fixed point internally; rectangles further out than
// this are cut down first (they are off the image anyway).
constexpr std::int64_t kQtSafe = 1 << 22;

QRect SafeRect(const TRect& r) {
  auto c = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -kQtSafe, kQtSafe)); };
  return QRect(QPoint(c(r.Left), c(r.Top)), QPoint(c(std::int64_t{r.Right} - 1), c(std::int64_t{r.Bottom} - 1)));
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
  for (std::int64_t row = st; row < sBottom; ++row) {
    const auto* s = reinterpret_cast<const std::uint32_t*>(src.constScanLine(static_cast<int>(row))) + sl;
    auto* d = reinterpret_cast<std::uint32_t*>(dst.scanLine(static_cast<int>(y + row - st))) + x;
    std::copy(s, s + (sRight - sl), d);
  }
}

}  // namespace

TCanvas::TCanvas(QImage* image) : image_(image) {}

void TCanvas::SetPrinter(bool printer, int pixelsPerInch) {
  printer_ = printer;
  printerPixelsPerInch_ = std::max(pixelsPerInch, 1);
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
  dashPhase_ = 0;
}

void TCanvas::LineTo(int x, int y) {
  if (Pen.Style != psClear) {
    raster::Line(raster::Target::Of(*image_, Pen.Mode == pmXor), penPos_.X, penPos_.Y, x, y,
                 PenOf(Pen), dashPhase_);
  }
  penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || Pen.Style == psClear) return;
  const raster::Target t = raster::Target::Of(*image_, Pen.Mode == pmXor);
  const raster::LinePen pen = PenOf(Pen);
  int phase = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    raster::Line(t, points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, pen, phase);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
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
  const raster::Target t = raster::Target::Of(*image_, Pen.Mode == pmXor);
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  const std::uint32_t* fillPtr = Brush.Style == bsSolid ? &fill : nullptr;
  const raster::LinePen pen = PenOf(Pen);
  if (Pen.Style == psClear || !pen.Pattern) {
    raster::Rectangle(t, x1, y1, x2, y2, Pen.Style == psClear ? nullptr : &pen, fillPtr);
    return;
  }
  // A patterned outline follows the border as one path so the dashes run round it.
  raster::Rectangle(t, x1 + 1, y1 + 1, x2 - 1, y2 - 1, nullptr, fillPtr);
  const std::int64_t r = std::int64_t{x2} - 1, b = std::int64_t{y2} - 1;
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
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  // Ellipse outlines are drawn solid whatever the pen style (except clear).
  const raster::LinePen pen = raster::MakePen(ColorToPixel(Pen.Color), Pen.Width, psSolid);
  raster::Ellipse(raster::Target::Of(*image_, Pen.Mode == pmXor), x1, y1, x2, y2,
                  Pen.Style == psClear ? nullptr : &pen, Brush.Style == bsSolid ? &fill : nullptr);
}

void TCanvas::FillRect(const TRect& r) {
  if (Brush.Style != bsSolid) return;
  const std::uint32_t fill = ColorToPixel(Brush.Color);
  raster::Rectangle(raster::Target::Of(*image_, false), std::min(r.Left, r.Right),
                    std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom),
                    nullptr, &fill);
}

TColor TCanvas::Pixels(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return kInvalidPixel;
  return PixelToRgb(reinterpret_cast<const std::uint32_t*>(image_->constScanLine(y))[x]);
}

void TCanvas::SetPixels(int x, int y, TColor c) {
  raster::Target::Of(*image_, false).Plot(x, y, ColorToPixel(c));
}

const QFontMetrics& TCanvas::Metrics() const {
  if (!metrics_ || metricsGeneration_ != font_.Generation()) {
    metrics_ = std::make_unique<QFontMetrics>(font_.QtFont());
    metricsGeneration_ = font_.Generation();
  }
  return *metrics_;
}

int TCanvas::TextWidth(const std::string& text) const {
  return Metrics().horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TCanvas::TextHeight(const std::string&) const { return Metrics().height(); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetrics& fm = Metrics();
  const int w = fm.horizontalAdvance(s), h = fm.height();
  penPos_ = {static_cast<int>(std::clamp<std::int64_t>(std::int64_t{x} + w, INT32_MIN, INT32_MAX)), y};
  if (image_->isNull() || s.isEmpty()) return;
  // Nothing of the text can show: skip it before Qt sees far-away coordinates.
  if (x >= image_->width() || y >= image_->height() || std::int64_t{x} + w <= 0 ||
      std::int64_t{y} + h <= 0)
    return;
  if (Brush.Style == bsSolid) FillRect(Bounds(x, y, w, h));
  QPainter p(image_);
  // The text's box is its whole extent: a glyph's overhang past the advance
  // would otherwise touch pixels that TextWidth does not account for.
  p.setClipRect(x, y, w, h);
  p.setFont(font_.QtFont());
  p.setPen(QColor::fromRgb(ColorToPixel(font_.Color())));
  p.drawText(x, y + fm.ascent(), s);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  Blit(*image_, x, y, bitmap.Image(), Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  CopyRect(dest, bitmap.Canvas(), Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  const QImage& src = source.Image();
  if (src.isNull() || image_->isNull() || dest.Width() <= 0 || dest.Height() <= 0 ||
      sourceRect.Width() <= 0 || sourceRect.Height() <= 0)
    return;
  if (dest.Width() == sourceRect.Width() && dest.Height() == sourceRect.Height() && &source != this) {
    Blit(*image_, dest.Left, dest.Top, src, sourceRect);
    return;
  }
  const QImage part = src.copy(SafeRect(sourceRect));  // a copy also makes copying onto itself safe
  QPainter p(image_);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(SafeRect(dest), part);
}
