// TScale: when and where a scale paints — at once or through its host, onto
// its own image or a target surface, transparently or composed off-screen with
// background and frame — and copying one scale's settings to another.
#include <algorithm>
#include <cstdint>
#include <string>

#include "chart/Scale.h"
#include "chart/ulxbase_draw.h"
#include "gfx/Bitmap.h"

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

int Clamped(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// Clears a flag when the scope ends, also when a handler throws.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// --- when to paint ------------------------------------------------------------

void TScale::Redraw() {
  if (painting_) return;  // a handler's change shows in the paint that is running
  if (transparent_ && !embedded_) {
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

  if (transparent_) {
    target.Pen.Color = colorScale_;
    DrawScale(target, ox, oy);
    if (OnAfterScaleRendered) OnAfterScaleRendered(*this, target);
    return true;
  }

  // Opaque: composed off-screen and copied in one step, so the target never
  // shows a half-drawn scale.
  const int w = Width(), h = Height();
  TBitmap image(w, h);
  TCanvas& c = image.Canvas();
  UseFont(c, Font());
  c.Pen.Color = colorBackGnd_;
  c.Brush.Color = colorBackGnd_;
  c.Brush.Style = bsSolid;
  c.FillRect(Rect(0, 0, w, h));
  c.Pen.Color = colorScale_;
  DrawScale(c, 0, 0);
  if (OnAfterScaleRendered) OnAfterScaleRendered(*this, c);
  DrawFrameStyled(c, frameStyle_, 0, 0, w - 1, h - 1, frameHighlightColor_, kFrameLightColor,
                  frameShadowColor_, frameDarkColor_, frameDarkColor_);
  target.Draw(ox, oy, image);
  return true;
}

void TScale::DrawScale(TCanvas& surface, int ox, int oy) {
  drawOffsetX_ = ox;
  drawOffsetY_ = oy;
  const int w = Width(), h = Height();
  switch (scaleType_) {
    case sctXT: DrawHorizontal(surface, Clamped(Offset(marginTop_, oy))); break;
    case sctYL: DrawVertical(surface, Clamped(Offset(marginLeft_, ox))); break;
    case sctYR: DrawVertical(surface, Clamped(Offset(w - marginRight_ - 1, ox))); break;
    case sctXB:
    default: DrawHorizontal(surface, Clamped(Offset(h - marginBottom_ - 1, oy))); break;
  }
  if (showBaseLine_) {
    if (Vertical()) {
      const int x =
          Clamped(scaleType_ == sctYR ? Offset(w - marginRight_ - 1, ox) : Offset(marginLeft_, ox));
      DrawBaseLine(surface, x, Clamped(Offset(marginTop_, oy)), x,
                   Clamped(Offset(h - marginBottom_ - 1, oy)));
    } else {
      const int y =
          Clamped(scaleType_ == sctXT ? Offset(marginTop_, oy) : Offset(h - marginBottom_ - 1, oy));
      DrawBaseLine(surface, Clamped(Offset(marginLeft_, ox)), y,
                   Clamped(Offset(w - marginRight_ - 1, ox)), y);
    }
  }
  drawOffsetX_ = 0;
  drawOffsetY_ = 0;
}

// --- copying ------------------------------------------------------------------

void TScale::CopyFrom(const TScale& source) {
  if (&source != this) {
    frameStyle_ = source.frameStyle_;
    colorBackGnd_ = source.colorBackGnd_;
    colorScale_ = source.colorScale_;
    frameDarkColor_ = source.frameDarkColor_;
    frameShadowColor_ = source.frameShadowColor_;
    frameHighlightColor_ = source.frameHighlightColor_;
    colorScheme_ = source.colorScheme_;
    OnScaleTickDrawn = source.OnScaleTickDrawn;
    logarithmic_ = source.logarithmic_;
    scaleFactor_ = source.scaleFactor_;
    scaleOffset_ = source.scaleOffset_;
    logRefValue_ = source.logRefValue_;
    logRefPixel_ = source.logRefPixel_;
    rangeHigh_ = source.rangeHigh_;
    rangeLow_ = source.rangeLow_;
    shortTicks_ = source.shortTicks_;
    numTicks_ = source.numTicks_;
    minTicks_ = source.minTicks_;
    decPlaces_ = source.decPlaces_;
    showBaseLine_ = source.showBaseLine_;
    transparent_ = source.transparent_;
    labelType_ = source.labelType_;
    {
      // The settings as values: the label object's change notification would
      // repaint before everything else is in.
      auto notify = std::move(dateFormat_->OnChange);
      dateFormat_->OnChange = nullptr;
      dateFormat_->Assign(*source.dateFormat_);
      dateFormat_->OnChange = std::move(notify);
    }
    marginTop_ = source.marginTop_;
    marginBottom_ = source.marginBottom_;
    marginLeft_ = source.marginLeft_;
    marginRight_ = source.marginRight_;
    captionPosX_ = source.captionPosX_;
    captionPosY_ = source.captionPosY_;
    userTickText_ = source.userTickText_;
    scaleInscript_ = source.scaleInscript_;
    tickPositions_ = source.tickPositions_;
    caption_ = source.caption_;
    captionAnchor_ = source.captionAnchor_;
    captionAlignment_ = source.captionAlignment_;
    targetCanvas_ = source.targetCanvas_;
    targetOffsetX_ = source.targetOffsetX_;
    targetOffsetY_ = source.targetOffsetY_;
    scaleType_ = source.scaleType_;
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
