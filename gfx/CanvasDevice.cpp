// TCanvas on a device: each drawing call forwarded to a QPainter at a scale,
// for pictures of more pixels than the logical surface (a screen at a device
// pixel ratio above 1, print-size files) and for vector files (SVG, PDF).
//
// Logical pixel column x covers the device columns D(x) .. D(x + 1) - 1 with
// D(x) = round((x + origin) * scale), so neighbouring shapes still meet
// without gap or overlap, and lines along an axis are filled as whole device
// pixels: crisp at any scale. Slanted lines, polygons, ellipses and text are
// antialiased.
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/Canvas.h"
#include "travenel/gfx/Glyphs.h"
#include "travenel/gfx/Raster.h"

namespace travenel {

// Device coordinates are kept within this of the surface: far-away points are
// clipped or clamped first, as the painter's fixed-point rasteriser would
// overflow on them.
constexpr double kDeviceReach = 1 << 20;

struct TDeviceSurface {
  QPainter* Painter = nullptr;       // the painter drawn with
  std::unique_ptr<QPainter> Own;     // when the canvas paints its own image
  QImage* Image = nullptr;           // the image painted by Own, if any
  double Scale = 1;
  TPoint Origin;
  QRect Clip;                        // the surface on the device
  QFont ScaledFont;
  std::uint64_t FontGeneration = 0;

  // The painter, begun if needed, clipped to this surface. Several canvases
  // may share one painter (parts of one picture): the clip follows whichever
  // drew last.
  QPainter& Begin() {
    if (!Painter) {
      Own = std::make_unique<QPainter>(Image);
      Painter = Own.get();
      Configured() = nullptr;
    }
    if (Configured() != this || ConfiguredPainter() != Painter) {
      Painter->setClipRect(Clip);
      Configured() = this;
      ConfiguredPainter() = Painter;
    }
    return *Painter;
  }
  void End() {
    if (!Own) return;
    Own->end();
    Own.reset();
    Painter = nullptr;
    if (Configured() == this) Configured() = nullptr;
  }
  ~TDeviceSurface() {
    End();
    if (Configured() == this) Configured() = nullptr;
  }
  static const TDeviceSurface*& Configured() {
    thread_local const TDeviceSurface* last = nullptr;
    return last;
  }
  static const QPainter*& ConfiguredPainter() {
    thread_local const QPainter* last = nullptr;
    return last;
  }

  long long D(std::int64_t x, int origin) const {
    const double d = std::round((static_cast<double>(x) + origin) * Scale);
    return static_cast<long long>(std::clamp(d, -kDeviceReach, kDeviceReach));
  }
  long long X(std::int64_t x) const { return D(x, Origin.X); }
  long long Y(std::int64_t y) const { return D(y, Origin.Y); }
  // The centre of a logical pixel on the device.
  QPointF Centre(std::int64_t x, std::int64_t y) const {
    return {(static_cast<double>(X(x)) + static_cast<double>(X(x + 1))) / 2,
            (static_cast<double>(Y(y)) + static_cast<double>(Y(y + 1))) / 2};
  }
  // Pens are as many device pixels wide as the scale makes of their width, at least one.
  int PenWidth(int width) const {
    return std::max(1, static_cast<int>(std::lround(std::max(width, 1) * Scale)));
  }
};

namespace {

QColor QColorOf(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// Copy or XOR (destination ^ colour: drawing twice restores the pixels).
// XOR works on pixels only, so it is drawn without antialiasing.
void SetMode(QPainter& p, bool xorMode) {
  p.setCompositionMode(xorMode ? QPainter::RasterOp_SourceXorDestination
                               : QPainter::CompositionMode_SourceOver);
  p.setRenderHint(QPainter::Antialiasing, !xorMode);
}

// The painter's pen for a canvas pen: the raster rules' dash patterns at the scale.
QPen QPenOf(const TPen& pen, const TDeviceSurface& d, int dashPhase) {
  const int w = d.PenWidth(pen.Width);
  QPen q(QColorOf(pen.Color), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  const raster::LinePen r = raster::MakePen(0, pen.Width, pen.Style);
  if (r.Pattern) {
    QList<qreal> pattern;
    for (int i = 0; i < r.PatternRuns; ++i) pattern.append(r.Pattern[i] * d.Scale / w);
    q.setDashPattern(pattern);
    q.setDashOffset(dashPhase * d.Scale / w);
  }
  return q;
}

// Cuts the segment a-b to the box; false when nothing of it is inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& box) {
  double t0 = 0, t1 = 1;
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                       box.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF from = a;
  a = from + QPointF(dx, dy) * t0;
  b = from + QPointF(dx, dy) * t1;
  return true;
}

// Fills the part of the box within the clip. Cut here rather than left to the
// painter's clip, which a vector file (SVG) may not keep.
void Fill(QPainter& p, const QRect& box, const QRect& clip, const QColor& c) {
  const QRect cut = box & clip;
  if (!cut.isEmpty()) p.fillRect(cut, c);
}

}  // namespace

TCanvas::TCanvas(QImage* image) : image_(image) {}

TCanvas::TCanvas(QPainter& painter, double scale, int width, int height, TPoint origin)
    : image_(nullptr), device_(std::make_unique<TDeviceSurface>()),
      deviceWidth_(std::max(width, 0)), deviceHeight_(std::max(height, 0)) {
  static QImage none;
  image_ = painter.device() && painter.device()->devType() == QInternal::Image
               ? static_cast<QImage*>(painter.device())
               : &none;
  TDeviceSurface& d = *device_;
  d.Painter = &painter;
  d.Scale = scale > 0 ? scale : 1;
  d.Origin = origin;
  d.Clip = DeviceRect(Rect(0, 0, deviceWidth_, deviceHeight_));
}

TCanvas::~TCanvas() = default;

double TCanvas::Scale() const { return device_ ? device_->Scale : 1.0; }

QRect TCanvas::DeviceRect(const TRect& r) const {
  if (!device_) return QRect(QPoint(r.Left, r.Top), QSize(r.Width(), r.Height()));
  const TDeviceSurface& d = *device_;
  const long long l = d.X(r.Left), t = d.Y(r.Top), rr = d.X(r.Right), b = d.Y(r.Bottom);
  return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(rr - l),
               static_cast<int>(b - t));
}

std::unique_ptr<TCanvas> TCanvas::Part(const TRect& r) const {
  if (!device_) return nullptr;
  TDeviceSurface& d = *device_;
  const auto size = [](std::int64_t n) { return static_cast<int>(std::clamp<std::int64_t>(n, 0, INT32_MAX)); };
  auto part = std::make_unique<TCanvas>(d.Begin(), d.Scale, size(r.Width()), size(r.Height()),
                                        TPoint{d.Origin.X + r.Left, d.Origin.Y + r.Top});
  // Within this canvas's own part too.
  part->device_->Clip &= d.Clip;
  return part;
}

void TCanvas::SetDeviceImage(double scale, int width, int height) {
  if (scale == 1) {
    device_.reset();
    return;
  }
  if (!device_) device_ = std::make_unique<TDeviceSurface>();
  device_->End();
  device_->Image = image_;
  device_->Scale = scale;
  deviceWidth_ = std::max(width, 0);
  deviceHeight_ = std::max(height, 0);
  device_->Clip = DeviceRect(Rect(0, 0, deviceWidth_, deviceHeight_));
}

void TCanvas::EndDevicePaint() const {
  if (device_->Image) device_->End();
}

void TCanvas::DevFill(const TRect& r, TColor color, bool xorMode) {
  const QRect box = DeviceRect(Rect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom),
                                    std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)));
  if (box.isEmpty() || (device_->Image && image_->isNull())) return;
  QPainter& p = device_->Begin();
  SetMode(p, xorMode);
  Fill(p, box, device_->Clip, QColorOf(color));
}

void TCanvas::DevLine(int x0, int y0, int x1, int y1) {
  const std::int64_t n = std::max(std::abs(std::int64_t{x1} - x0), std::abs(std::int64_t{y1} - y0));
  if (Pen.Style == psClear || n == 0) return;
  TDeviceSurface& d = *device_;
  const raster::LinePen rp = raster::MakePen(0, Pen.Width, Pen.Style);
  const bool xorMode = Pen.Mode == pmXor;
  if (!rp.Pattern && (x0 == x1 || y0 == y1)) {
    // Along an axis: the pixels the raster rules cover, whole on the device.
    const int w = d.PenWidth(Pen.Width);
    const auto band = [&](long long lo, long long hi) {  // a pen's width centred on a pixel
      const auto top = static_cast<long long>(std::floor((lo + hi - w) / 2.0));
      return std::pair{top, top + w};
    };
    QPainter& p = d.Begin();
    SetMode(p, xorMode);
    if (y0 == y1) {
      const std::int64_t first = x1 > x0 ? x0 : std::int64_t{x1} + 1;
      const std::int64_t last = x1 > x0 ? std::int64_t{x1} : std::int64_t{x0} + 1;
      const auto [t, b] = band(d.Y(y0), d.Y(std::int64_t{y0} + 1));
      Fill(p, QRect(QPoint(int(d.X(first)), int(t)), QPoint(int(d.X(last) - 1), int(b - 1))),
           d.Clip, QColorOf(Pen.Color));
    } else {
      const std::int64_t first = y1 > y0 ? y0 : std::int64_t{y1} + 1;
      const std::int64_t last = y1 > y0 ? std::int64_t{y1} : std::int64_t{y0} + 1;
      const auto [l, r] = band(d.X(x0), d.X(std::int64_t{x0} + 1));
      Fill(p, QRect(QPoint(int(l), int(d.Y(first))), QPoint(int(r - 1), int(d.Y(last) - 1))),
           d.Clip, QColorOf(Pen.Color));
    }
  } else {
    // From the start pixel's near edge to the end pixel's near edge: the end
    // pixel is left out, as on the raster.
    const QPointF a = d.Centre(x0, y0), b = d.Centre(x1, y1);
    const QPointF back = (b - a) / static_cast<double>(n) * 0.5;
    QPointF from = a - back, to = b - back;
    const double reach = kDeviceReach / 2;
    if (ClipSegment(from, to, QRectF(d.Clip)) &&
        std::abs(from.x()) < reach && std::abs(from.y()) < reach) {
      QPainter& p = d.Begin();
      SetMode(p, xorMode);
      p.setPen(QPenOf(Pen, d, dashPhase_));
      p.drawLine(from, to);
    }
  }
  if (rp.Pattern) dashPhase_ = static_cast<int>((dashPhase_ + n) % rp.PatternLength);
}

void TCanvas::DevPolyline(std::span<const TPoint> points, bool closed) {
  TDeviceSurface& d = *device_;
  QPainter& p = d.Begin();
  SetMode(p, Pen.Mode == pmXor);
  QPen pen = QPenOf(Pen, d, 0);
  p.setBrush(Qt::NoBrush);
  if (pen.style() != Qt::SolidLine || Pen.Mode == pmXor || points.size() < 3 ||
      image_->isNull()) {
    // A pattern runs on along the whole line; XOR must not cover a pixel
    // twice; a vector file keeps the line one path.
    QPainterPath path;
    const QRectF clip(d.Clip);
    bool wholly = true;
    for (const TPoint& pt : points) wholly = wholly && clip.contains(d.Centre(pt.X, pt.Y));
    if (wholly) {
      path.moveTo(d.Centre(points[0].X, points[0].Y));
      for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(d.Centre(points[i].X, points[i].Y));
      if (closed) path.closeSubpath();
    } else {
      // Cut at the surface's edge: pieces of their own where the line leaves it.
      const std::size_t n = points.size() + (closed ? 1 : 0);
      for (std::size_t i = 1; i < n; ++i) {
        const TPoint& a0 = points[i - 1];
        const TPoint& b0 = points[i % points.size()];
        QPointF a = d.Centre(a0.X, a0.Y), b = d.Centre(b0.X, b0.Y);
        const QPointF wasA = a;
        if (!ClipSegment(a, b, clip)) continue;
        if (path.isEmpty() || a != wasA || path.currentPosition() != a) path.moveTo(a);
        path.lineTo(b);
      }
    }
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.drawPath(path);
    return;
  }
  // On pixels, solid lines as separate segments with round ends, which join
  // as round joins do: a wide pen's outline of a long zigzag (a data series
  // reduced to each pixel column's extremes) as one path costs ten times more.
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  std::vector<QLineF> segments;
  segments.reserve(points.size());
  const QRectF clip = QRectF(d.Clip).adjusted(-64, -64, 64, 64);
  const std::size_t n = points.size() + (closed ? 1 : 0);
  for (std::size_t i = 1; i < n; ++i) {
    const TPoint& a0 = points[i - 1];
    const TPoint& b0 = points[i % points.size()];
    QPointF a = d.Centre(a0.X, a0.Y), b = d.Centre(b0.X, b0.Y);
    if (ClipSegment(a, b, clip)) segments.emplace_back(a, b);
  }
  p.drawLines(segments.data(), static_cast<int>(segments.size()));
}

void TCanvas::DevPolygon(std::span<const TPoint> points) {
  TDeviceSurface& d = *device_;
  if (points.size() == 1) {
    if (Pen.Style != psClear)
      DevFill(Rect(points[0].X, points[0].Y, points[0].X + 1, points[0].Y + 1), Pen.Color,
              Pen.Mode == pmXor);
    return;
  }
  if (Brush.Style == bsSolid) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(d.Centre(points[0].X, points[0].Y));
    for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(d.Centre(points[i].X, points[i].Y));
    path.closeSubpath();
    QPainter& p = d.Begin();
    SetMode(p, Pen.Mode == pmXor);
    p.fillPath(path, QColorOf(Brush.Color));
  }
  if (Pen.Style != psClear) DevPolyline(points, true);
}

void TCanvas::DevRectangle(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  TDeviceSurface& d = *device_;
  const QRect box = DeviceRect(Rect(x1, y1, x2, y2));
  const bool xorMode = Pen.Mode == pmXor;
  const bool outline = Pen.Style != psClear;
  const int w = std::min({d.PenWidth(Pen.Width), box.width(), box.height()});
  QPainter& p = d.Begin();
  SetMode(p, xorMode);
  const raster::LinePen rp = raster::MakePen(0, Pen.Width, Pen.Style);
  if (!xorMode && outline && !rp.Pattern && Brush.Style == bsSolid) {
    // Copy mode: the box in the pen's colour, the inside over it (the
    // world's cells, by the thousand at each step: two fills, not five).
    Fill(p, box, d.Clip, QColorOf(Pen.Color));
    const QRect inner = box.adjusted(w, w, -w, -w);
    if (!inner.isEmpty() && ColorToRGB(Pen.Color) != ColorToRGB(Brush.Color))
      Fill(p, inner, d.Clip, QColorOf(Brush.Color));
    return;
  }
  if (Brush.Style == bsSolid) {
    const QRect inner = outline ? box.adjusted(w, w, -w, -w) : box;
    if (!inner.isEmpty()) Fill(p, inner, d.Clip, QColorOf(Brush.Color));
  }
  if (!outline) return;
  if (rp.Pattern) {
    p.setPen(QPenOf(Pen, d, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(box).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0));
    return;
  }
  // Four bands inside the box, none drawn twice (XOR).
  const QColor c = QColorOf(Pen.Color);
  Fill(p, QRect(box.left(), box.top(), box.width(), w), d.Clip, c);
  if (box.height() > w) Fill(p, QRect(box.left(), box.bottom() - w + 1, box.width(), w), d.Clip, c);
  const int inside = box.height() - 2 * w;
  if (inside > 0) {
    Fill(p, QRect(box.left(), box.top() + w, w, inside), d.Clip, c);
    if (box.width() > w) Fill(p, QRect(box.right() - w + 1, box.top() + w, w, inside), d.Clip, c);
  }
}

void TCanvas::DevEllipse(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  TDeviceSurface& d = *device_;
  const QRect box = DeviceRect(Rect(x1, y1, x2, y2));
  if (!box.intersects(d.Clip.adjusted(-1, -1, 1, 1))) return;
  QPainter& p = d.Begin();
  SetMode(p, Pen.Mode == pmXor);
  if (Brush.Style == bsSolid && Pen.Mode == pmCopy &&
      (Pen.Style == psClear || ColorToRGB(Pen.Color) == ColorToRGB(Brush.Color))) {
    // An outline of the fill's colour leaves the plain disc (the world's
    // agents, by the thousand at each step): filled only, without a stroke.
    p.setPen(Qt::NoPen);
    p.setBrush(QColorOf(Brush.Color));
    p.drawEllipse(QRectF(box));
    return;
  }
  const double w = Pen.Style == psClear ? 0 : d.PenWidth(Pen.Width);
  if (Pen.Style == psClear) {
    p.setPen(Qt::NoPen);
  } else {
    // Ellipse outlines are solid whatever the pen style, as on the raster.
    p.setPen(QPen(QColorOf(Pen.Color), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  }
  p.setBrush(Brush.Style == bsSolid ? QBrush(QColorOf(Brush.Color)) : QBrush(Qt::NoBrush));
  p.drawEllipse(QRectF(box).adjusted(w / 2, w / 2, -w / 2, -w / 2));
}

void TCanvas::DevText(int x, int y, int w, const std::string& text) {
  TDeviceSurface& d = *device_;
  if (text.empty() || (d.Image && image_->isNull())) return;
  glyphs::FontGlyphs& g = Glyphs();
  if (Brush.Style == bsSolid) DevFill(Bounds(x, y, w, g.Height()), Brush.Color, false);
  if (d.FontGeneration != font_.Generation() || d.ScaledFont.pixelSize() <= 0) {
    d.ScaledFont = font_.QtFont();
    d.ScaledFont.setPixelSize(
        std::max(1, static_cast<int>(std::lround(font_.Height() * d.Scale))));
    d.FontGeneration = font_.Generation();
    // In a vector file the glyphs are outlines at any size: no hinting to a pixel grid.
    if (image_->isNull()) d.ScaledFont.setHintingPreference(QFont::PreferNoHinting);
  }
  const QPointF baseline(static_cast<double>(d.X(x)),
                         static_cast<double>(d.Y(y)) + std::round(g.Ascent() * d.Scale));
  if (std::abs(baseline.x()) >= kDeviceReach || std::abs(baseline.y()) >= kDeviceReach) return;
  QPainter& p = d.Begin();
  SetMode(p, false);
  p.setFont(d.ScaledFont);
  p.setPen(QColorOf(font_.Color()));
  p.drawText(baseline, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TCanvas::DevImage(const TRect& dest, const QImage& source, const QRect& sourceRect) {
  if (source.isNull() || dest.Width() <= 0 || dest.Height() <= 0) return;
  const QRect to = DeviceRect(dest);
  // A picture drawn onto itself is read from a copy.
  const bool self = &source == image_;
  const QImage from = self ? source.copy() : QImage();
  const QImage& src = self ? from : source;
  const auto draw = [&](QPainter& p) {
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(to), src, QRectF(sourceRect));
  };
  if (device_) return draw(device_->Begin());
  // A scaled picture onto a raster surface.
  if (image_->isNull()) return;
  QPainter p(image_);
  draw(p);
}

}  // namespace travenel
