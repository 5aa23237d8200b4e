// TScale: when and where a scale paints — at once or through its host, onto
// its own image or a target surface, transparently or composed off-screen with
// background and frame — and copying one scale's settings to another.
#include <algorithm>
#include <cstdint>
#include <string>

#include "travenel/chart/Scale.h"
#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

// The inner light ring of the 3-D frames, whatever the colour scheme.
constexpr TColor kFrameLightColor = clSilver;

// Gives the surface the scale's font. An equal font is left alone: assigning
// it would make the surface look its glyphs up again at every paint.
void UseFont(TCanvas& surface, const TFont& font) {
  if (!surface.Font().SameValues(font)) surface.Font() = font;
}

// A line from `first` to `last` with both end pixels drawn (a plain line
// leaves out its last pixel).
void DrawBaseLine(TCanvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  const int stepX = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
  const int stepY = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
  if (stepX == 0 && stepY == 0) {
    // A line of one pixel; at the very end of the range it is off every surface.
    if (x0 < INT32_MAX) c.LineTo(x0 + 1, y0);
    return;
  }
  // One pixel further along; at the very end of the integer range the far end
  // is off every surface anyway.
  const auto further = [](int v, int step) {
    const long long w = static_cast<long long>(v) + step;
    return (w > INT32_MAX || w < INT32_MIN) ? v : static_cast<int>(w);
  };
  c.LineTo(further(x1, stepX), further(y1, stepY));
}

long long Offset(int v, int offset) { return static_cast<long long>(v) + offset; }

}  // namespace

// --- when to paint ------------------------------------------------------------

void TScale::Redraw() {
  if (painting_) return;  // a handler's change shows in the paint that is running
  if (look_.Transparent && !embedded_) {
    // What lies behind must be drawn first: the host erases with the parent's
    // colour and then calls Paint.
    Invalidate();
    return;
  }
  if (PaintScale() && targetCanvas_ == nullptr) Present();
}

void TScale::SetPaintSuppressed(bool v) {
  if (v == paintSuppressed_) return;
  paintSuppressed_ = v;
  if (!v) Redraw();
}

void TScale::PaintNow() {
  const bool suppressed = paintSuppressed_;
  paintSuppressed_ = false;
  try {
    Redraw();
  } catch (...) {
    paintSuppressed_ = suppressed;
    throw;
  }
  paintSuppressed_ = suppressed;
}

void TScale::SetEmbedded(bool v) {
  if (v == embedded_) return;
  embedded_ = v;
  // An embedded scale draws only on its chart's surface.
  SetWindowImageRetained(!v);
  Redraw();
}

void TScale::SetTarget(TCanvas* surface, int offsetX, int offsetY) {
  targetCanvas_ = surface;
  targetOffsetX_ = offsetX;
  targetOffsetY_ = offsetY;
}

void TScale::Paint() { PaintScale(); }

// --- what to paint ------------------------------------------------------------

bool TScale::PaintScale() {
  if (painting_) return false;
  // A hidden scale still shows while it is being designed, unless the chart owns it.
  if (!Visible() && (!Designing() || embedded_)) return false;
  if (Loading() || paintSuppressed_) return false;
  TFlagScope painting(painting_);

  TCanvas& target = targetCanvas_ ? *targetCanvas_ : Canvas();
  const int ox = targetCanvas_ ? targetOffsetX_ : 0;
  const int oy = targetCanvas_ ? targetOffsetY_ : 0;
  UseFont(target, Font());
  if (OnBeforeScaleRendered) OnBeforeScaleRendered(*this, target);

  if (look_.Transparent) {
    target.Pen.Color = axis_.ColorScale;
    DrawScale(target, ox, oy);
    if (OnAfterScaleRendered) OnAfterScaleRendered(*this, target);
    return true;
  }

  // Opaque: composed off-screen and copied in one step, so the target never
  // shows a half-drawn scale. A surface at a device scale (drawn whole before
  // it is shown) takes the drawing itself, at its own resolution.
  const int w = Width(), h = Height();
  const bool direct = target.IsDevice();
  TBitmap image(direct ? 0 : w, direct ? 0 : h);
  TCanvas& c = direct ? target : image.Canvas();
  const int x0 = direct ? ox : 0, y0 = direct ? oy : 0;
  UseFont(c, Font());
  c.Pen.Color = look_.ColorBackGnd;
  c.Brush.Color = look_.ColorBackGnd;
  c.Brush.Style = bsSolid;
  c.FillRect(Rect(x0, y0, ClampToInt32(Offset(w, x0)), ClampToInt32(Offset(h, y0))));
  c.Pen.Color = axis_.ColorScale;
  DrawScale(c, x0, y0);
  if (OnAfterScaleRendered) OnAfterScaleRendered(*this, c);
  DrawFrameStyled(c, look_.FrameStyle, x0, y0, ClampToInt32(Offset(w - 1, x0)),
                  ClampToInt32(Offset(h - 1, y0)), look_.FrameHighlightColor, kFrameLightColor,
                  look_.FrameShadowColor, look_.FrameDarkColor, look_.FrameDarkColor);
  if (!direct) target.Draw(ox, oy, image);
  return true;
}

bool TScale::RenderOn(TCanvas& surface, bool) {
  if (!surface.IsDevice()) return false;
  // What shows behind a transparent scale: its parent's colour, as the host erases.
  if (look_.Transparent) {
    surface.Brush.Style = bsSolid;
    surface.Brush.Color = ParentColor();
    surface.FillRect(Rect(0, 0, surface.Width(), surface.Height()));
  }
  TCanvas* const target = targetCanvas_;
  const int tx = targetOffsetX_, ty = targetOffsetY_;
  SetTarget(&surface, 0, 0);
  try {
    PaintScale();
  } catch (...) {
    SetTarget(target, tx, ty);
    throw;
  }
  SetTarget(target, tx, ty);
  return true;
}

TScalePaintInputs TScale::PaintInputs() const {
  TScalePaintInputs in;
  // The gate of PaintScale, but for the flag PaintNow lifts.
  in.Draws = (Visible() || (Designing() && !embedded_)) && !Loading();
  in.Axis = axis_;
  in.Look = look_;
  in.DateFormat = dateFormat_->Values();
  in.Font = Font().Values();
  in.Width = Width();
  in.Height = Height();
  in.Factor = scaleFactor_;
  in.Offset = scaleOffset_;
  in.LogRefValue = logRefValue_;
  in.LogRefPixel = logRefPixel_;
  in.Target = targetCanvas_;
  in.TargetX = targetOffsetX_;
  in.TargetY = targetOffsetY_;
  return in;
}

void TScale::DrawScale(TCanvas& surface, int ox, int oy) {
  drawOffsetX_ = ox;
  drawOffsetY_ = oy;
  const int w = Width(), h = Height();
  switch (axis_.ScaleType) {
    case sctXT: DrawHorizontal(surface, ClampToInt32(Offset(look_.MarginTop, oy))); break;
    case sctYL: DrawVertical(surface, ClampToInt32(Offset(look_.MarginLeft, ox))); break;
    case sctYR: DrawVertical(surface, ClampToInt32(Offset(w - look_.MarginRight - 1, ox))); break;
    case sctXB:
    default: DrawHorizontal(surface, ClampToInt32(Offset(h - look_.MarginBottom - 1, oy))); break;
  }
  if (look_.ShowBaseLine) {
    if (Vertical()) {
      const int x = ClampToInt32(axis_.ScaleType == sctYR ? Offset(w - look_.MarginRight - 1, ox)
                                                     : Offset(look_.MarginLeft, ox));
      DrawBaseLine(surface, x, ClampToInt32(Offset(look_.MarginTop, oy)), x,
                   ClampToInt32(Offset(h - look_.MarginBottom - 1, oy)));
    } else {
      const int y = ClampToInt32(axis_.ScaleType == sctXT ? Offset(look_.MarginTop, oy)
                                                     : Offset(h - look_.MarginBottom - 1, oy));
      DrawBaseLine(surface, ClampToInt32(Offset(look_.MarginLeft, ox)), y,
                   ClampToInt32(Offset(w - look_.MarginRight - 1, ox)), y);
    }
  }
  drawOffsetX_ = 0;
  drawOffsetY_ = 0;
}

// --- copying ------------------------------------------------------------------

void TScale::CopyFrom(const TScale& source) {
  if (&source != this) {
    axis_ = source.axis_;
    look_ = source.look_;
    // The date/time settings as values: the label object's change notification
    // would repaint before everything else is in.
    dateFormat_->SetValuesQuietly(source.dateFormat_->Values());
    OnScaleTickDrawn = source.OnScaleTickDrawn;
    scaleFactor_ = source.scaleFactor_;
    scaleOffset_ = source.scaleOffset_;
    logRefValue_ = source.logRefValue_;
    logRefPixel_ = source.logRefPixel_;
    numTicks_ = source.numTicks_;
    tickPositions_ = source.tickPositions_;
    targetCanvas_ = source.targetCanvas_;
    targetOffsetX_ = source.targetOffsetX_;
    targetOffsetY_ = source.targetOffsetY_;
    paintSuppressed_ = source.paintSuppressed_;
  }
  Redraw();
}

void TScale::CopyFrom(const TControl& source) {
  if (const auto* scale = dynamic_cast<const TScale*>(&source)) return CopyFrom(*scale);
  throw EUlxError("Cannot assign " +
                  (source.Name().empty() ? std::string("a control") : "'" + source.Name() + "'") +
                  " to a TScale");
}

void TScale::CopyTo(TControl& destination) const {
  if (auto* scale = dynamic_cast<TScale*>(&destination)) return scale->CopyFrom(*this);
  throw EUlxError("Cannot assign a TScale to " + (destination.Name().empty()
                                                      ? std::string("a control")
                                                      : "'" + destination.Name() + "'"));
}

}  // namespace travenel
