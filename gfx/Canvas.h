// TCanvas: a drawing surface with the classic raster rules, drawing into the
// pixels of a QImage owned by a TBitmap.
//
// Geometry is rasterised here, not by QPainter, because the pictures are
// specified pixel for pixel: lines leave out their end pixel, rectangles and
// ellipses leave out their right and bottom edges, XOR drawing twice restores
// the picture, and coordinates anywhere in the 32-bit range are clipped before
// rasterising. Text goes through QPainter on the same image.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "travenel/gfx/Color.h"
#include "travenel/gfx/Font.h"
#include "travenel/gfx/Types.h"

class QPainter;

namespace travenel {

class TBitmap;
struct TDeviceSurface;
namespace glyphs {
class FontGlyphs;
}

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TPenMode : std::uint8_t { pmCopy, pmXor };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

struct TPen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;  // 0 and 1 both draw one pixel wide
  TPenMode Mode = pmCopy;
  bool operator==(const TPen&) const = default;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// All that drawing on a surface reads besides its pixels, and so all that one
// pass of drawing leaves for the next: pen, brush, font, pen position and the
// place in the pen's dash pattern.
struct TCanvasState {
  TPen Pen;
  TBrush Brush;
  TFontValues Font;
  TPoint PenPos;
  int DashPhase = 0;
  bool operator==(const TCanvasState&) const = default;
};

class TCanvas {
 public:
  static constexpr int kScreenPixelsPerInch = 96;
  static constexpr int kAspect = 36;  // the screen's pixel aspect, x and y alike

  // A canvas draws on the image it is given; the image must outlive it.
  explicit TCanvas(QImage* image);
  // A device canvas: every drawing call goes to a painter that someone else
  // opened (on an image of `scale` times the pixels, an SVG generator, a PDF
  // writer), in the logical coordinates of a width x height surface whose
  // top-left lies at `origin` (logical pixels) on the painter's device; the
  // drawing is clipped to that part. Coordinates, fonts and pen widths are
  // scaled; the raster rules hold only approximately (to within a logical
  // pixel), as a scaled picture cannot keep them.
  TCanvas(QPainter& painter, double scale, int width, int height, TPoint origin = {});
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  // Logical pixels; on a device canvas the image (if any) has Scale() times as many.
  int Width() const { return device_ ? deviceWidth_ : image_->width(); }
  int Height() const { return device_ ? deviceHeight_ : image_->height(); }
  // The pixels drawn on: on a device canvas the device image (a null image
  // for vector output); its open painter is finished first.
  QImage& Image() {
    if (device_) [[unlikely]] EndDevicePaint();
    return *image_;
  }
  const QImage& Image() const {
    if (device_) [[unlikely]] EndDevicePaint();
    return *image_;
  }

  // Whether drawing goes through a painter at a scale (rather than the raster rules).
  bool IsDevice() const { return device_ != nullptr; }
  double Scale() const;
  // The device pixels of a logical rectangle (identity on a raster canvas).
  QRect DeviceRect(const TRect& r) const;
  // A device canvas over the part r of this device canvas: its (0, 0) at r's
  // top-left, its drawing clipped to r; it draws with the same painter, so it
  // must not outlive this canvas. Null on a raster canvas.
  std::unique_ptr<TCanvas> Part(const TRect& r) const;

  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

  TCanvasState State() const { return {Pen, Brush, font_.Values(), penPos_, dashPhase_}; }
  // Puts a state back; the font is assigned only where it differs, as a
  // change of font makes the surface look its glyphs up again.
  void SetState(const TCanvasState& s);

  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // the end pixel is not drawn; the pen ends there
  void Polyline(std::span<const TPoint> points);  // its last point is not drawn
  void Polygon(std::span<const TPoint> points);   // closed, filled and outlined

  // Bounding boxes whose right and bottom edges are excluded.
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);  // the brush only; nothing with a clear brush

  // Reading outside the surface gives kInvalidPixel; writing there does nothing.
  static constexpr TColor kInvalidPixel = 0xFFFFFFFF;
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor c);

  // The text's top-left corner at (x, y); its box is filled with a solid brush.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;

  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const TRect& dest, const TBitmap& bitmap);
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

  // Device values. A printer surface is only flagged, so that the printer rules
  // of the drawing code can be exercised; it still draws into its image.
  bool IsPrinter() const { return printer_; }
  void SetPrinter(bool printer, int pixelsPerInch = 600);
  int PixelsPerInch() const { return printer_ ? printerPixelsPerInch_ : kScreenPixelsPerInch; }
  int AspectX() const { return kAspect; }
  int AspectY() const { return kAspect; }

 private:
  friend class TBitmap;
  glyphs::FontGlyphs& Glyphs() const;
  // A device canvas on an image that it paints itself (a scaled bitmap):
  // the painter is opened at the first drawing call and ended whenever the
  // image is handed out or changed.
  void SetDeviceImage(double scale, int width, int height);
  void EndDevicePaint() const;
  // The device route of each drawing call.
  void DevLine(int x0, int y0, int x1, int y1);
  void DevPolyline(std::span<const TPoint> points, bool closed);
  void DevPolygon(std::span<const TPoint> points);
  void DevRectangle(int x1, int y1, int x2, int y2);
  void DevEllipse(int x1, int y1, int x2, int y2);
  void DevFill(const TRect& r, TColor color, bool xorMode);
  void DevText(int x, int y, int w, const std::string& text);
  void DevImage(const TRect& dest, const QImage& source, const QRect& sourceRect);

  QImage* image_;
  std::unique_ptr<TDeviceSurface> device_;
  int deviceWidth_ = 0, deviceHeight_ = 0;
  TFont font_;
  TPoint penPos_;
  int dashPhase_ = 0;  // position in the dash pattern, carried from one LineTo to the next
  bool printer_ = false;
  int printerPixelsPerInch_ = 600;
  mutable glyphs::FontGlyphs* glyphs_ = nullptr;
  mutable std::uint64_t glyphsGeneration_ = 0;
};

}  // namespace travenel
