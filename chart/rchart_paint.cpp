// TCustomRChart: composing the picture of the control — window colour,
// shadow, caption and axes on the control image, the chart area with its
// background, grid, items and labels on the chart-area image, and the
// cross-hairs over both.
#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <vector>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"
#include "travenel/chart/rchart_render.h"

namespace travenel {

namespace {

// Points the axes that draw on the control image at another surface for as
// long as it lives.
class TAxesRetarget {
 public:
  TAxesRetarget(std::array<std::unique_ptr<TScale>, 4>& scales, TCanvas& from, TCanvas& to)
      : scales_(scales), from_(from) {
    if (&from == &to) return;
    for (std::size_t i = 0; i < 4; ++i) {
      TScale& s = *scales_[i];
      if (s.TargetCanvas() != &from) continue;
      moved_[i] = true;
      s.SetTarget(&to, s.TargetOffsetX(), s.TargetOffsetY());
    }
  }
  ~TAxesRetarget() {
    for (std::size_t i = 0; i < 4; ++i) {
      TScale& s = *scales_[i];
      if (moved_[i]) s.SetTarget(&from_, s.TargetOffsetX(), s.TargetOffsetY());
    }
  }
  TAxesRetarget(const TAxesRetarget&) = delete;
  TAxesRetarget& operator=(const TAxesRetarget&) = delete;

 private:
  std::array<std::unique_ptr<TScale>, 4>& scales_;
  TCanvas& from_;
  std::array<bool, 4> moved_{};
};

}  // namespace

// --- the full paint ------------------------------------------------------------------

void TCustomRChart::Paint() {
  if (!Visible() && !Designing()) return;
  if (Loading() || paintSuppressed_) return;
  // A change made by an event handler during the paint shows in this one.
  if (painting_) return;
  TFlagScope painting(painting_);
  ++paintCount_;
  // The picture is drawn anew: no outline is left on it.
  zoomOutline_.Shown = bandOutline_.Shown = false;
  if (paintCache_->Enabled) return paintCache_->PaintWithCache();
  ComposeControlImage(ControlImage().Canvas(), /*areaCovered=*/true);
  RenderChartBackground(chartAreaImage_.Canvas(), 0, 0);
  RenderItems(chartAreaImage_.Canvas(), 0, 0, false, false);
  ControlImage().Canvas().Draw(lRim_, tRim_, chartAreaImage_);
  RenderCrossHairs(0, 0, ControlImage());
}

void TCustomRChart::RedrawChartArea() {
  if (painting_) return;
  TFlagScope painting(painting_);
  // An XOR outline may reach beyond the area: taken off first, put back after.
  const TOutline zoom = zoomOutline_, band = bandOutline_;
  TChartPaintCache& pc = *paintCache_;
  // Whether the window's picture is as the last paint left it (an outline
  // taken off leaves it so, but the record cannot tell).
  const bool kept = pc.Enabled && !zoom.Shown && !band.Shown &&
                    ControlImage().Image().cacheKey() == pc.ControlImageKey;
  HideOutline(zoomOutline_);
  HideOutline(bandOutline_);
  const bool noCrossHairs = pc.CrossHairLooks().empty();
  if (pc.Enabled) {
    std::vector<TRect> changed;
    const bool pure = kept && pc.AreaShown && pc.Cross.empty();
    // Cross-hairs are drawn on the chart-area image here, so the area is drawn there too.
    const auto update = pc.UpdateChartArea(changed, pure, noCrossHairs);
    if (update == TChartPaintCache::TAreaUpdate::WindowLines ||
        (update == TChartPaintCache::TAreaUpdate::ImageLines && pure && noCrossHairs))
      pc.ShowChangedArea(changed, update == TChartPaintCache::TAreaUpdate::ImageLines);
    else if (update == TChartPaintCache::TAreaUpdate::WindowWhole)
      Present();
    else
      RenderCrossHairs(lRim_, tRim_, chartAreaImage_);
    if (kept) {
      // Only the area was written: the rims stay as recorded, and the area
      // shows the area picture (with the cross-hairs on it, if any).
      pc.ControlImageKey = ControlImage().Image().cacheKey();
      pc.AreaShown = noCrossHairs;
      pc.Cross.clear();
    }
  } else {
    RenderChartBackground(chartAreaImage_.Canvas(), 0, 0);
    RenderItems(chartAreaImage_.Canvas(), 0, 0, false, false);
    RenderCrossHairs(lRim_, tRim_, chartAreaImage_);
  }
  if (zoom.Shown) ShowOutline(zoomOutline_, zoom.Rect);
  if (band.Shown) ShowOutline(bandOutline_, band.Rect);
}

// --- the control image ---------------------------------------------------------------------

void TCustomRChart::RenderControlImage(TCanvas& surface) { ComposeControlImage(surface, false); }

void TCustomRChart::ComposeControlImage(TCanvas& surface, bool areaCovered) {
  const int w = Width(), h = Height();
  surface.Pen.Style = psSolid;
  surface.Pen.Mode = pmCopy;
  surface.Pen.Color = windColor_;
  surface.Brush.Color = windColor_;
  surface.Brush.Style = bsSolid;
  const TChartGeometry g = Geometry();
  if (areaCovered && !OnScalesRendered && !surface.IsPrinter()) {
    // The chart-area image is drawn over the area afterwards: only the rims
    // need the window colour (no handler gets to see the area before that).
    const int l = ClampToInt32(g.AreaLeft()), t = ClampToInt32(g.AreaTop());
    const int r = ClampToInt32(g.AreaLeft() + chartAreaImage_.Width());
    const int b = ClampToInt32(g.AreaTop() + chartAreaImage_.Height());
    surface.FillRect(Rect(0, 0, w, t));
    surface.FillRect(Rect(0, b, w, h));
    surface.FillRect(Rect(0, t, l, b));
    surface.FillRect(Rect(r, t, w, b));
  } else {
    surface.Rectangle(0, 0, w, h);
  }
  if (shadowWidth_ > 0) DrawShadow(surface);
  surface.Pen.Color = chartFrameColor_;
  surface.Brush.Style = bsClear;  // the caption has no background
  if (surface.IsPrinter()) {
    TFont& f = surface.Font();
    f.SetPixelsPerInch(TCanvas::kScreenPixelsPerInch);
    f.SetSize(Font().Size());
    f.SetPixelsPerInch(surface.PixelsPerInch());
  }
  // On screen the caption takes the font the surface holds: the last axis
  // drawn in the previous paint left its font there.
  DrawCaption(surface);
  ComputeMapping();
  {
    // The axes draw where the rest goes: onto another surface, the window's
    // picture is not touched.
    const TAxesRetarget onSurface(scales_, ControlImage().Canvas(), surface);
    for (int layer = 1; layer <= 2; ++layer) ScaleObjectX(layer).PaintNow();
    for (int layer = 1; layer <= 2; ++layer) ScaleObjectY(layer).PaintNow();
  }
  if (OnScalesRendered) OnScalesRendered(*this, surface, 0, 0);
}

void TCustomRChart::DrawShadow(TCanvas& c) {
  const int w = ControlImage().Width(), h = ControlImage().Height();
  const int sw = shadowWidth_;
  c.Brush.Style = bsSolid;
  c.Brush.Color = shadowBakColor_;
  c.Pen.Color = shadowBakColor_;
  c.Rectangle(w - sw, 0, w, sw);  // the corners the band leaves free
  c.Rectangle(0, h - sw, sw, h);
  c.Brush.Color = shadowColor_;
  int s = 0;
  if (shadowStyle_ == ssFlying) {
    c.Pen.Color = shadowColor_;
    s = sw - 1;  // the band starts SW - 1 pixels in
  } else if (shadowStyle_ == ssBox) {
    c.Pen.Color = clBlack;
  }
  const TPoint bottom[] = {{s, h - sw}, {sw - 1, h - 1}, {w - 1, h - 1}, {w - sw, h - sw}};
  c.Polygon(bottom);
  const TPoint right[] = {{w - sw, h - sw}, {w - 1, h - 1}, {w - 1, sw - 1}, {w - sw, s}};
  c.Polygon(right);
  // The outline of the control without the shadow.
  c.Pen.Color = clBlack;
  c.Pen.Style = psSolid;
  const int W = Width() - sw, H = Height() - sw;
  c.MoveTo(0, 0);
  c.LineTo(W, 0);
  c.LineTo(W, H);
  c.LineTo(0, H);
  c.LineTo(0, 0);
}

void TCustomRChart::DrawCaption(TCanvas& c) {
  const TChartGeometry g = Geometry();
  const std::int64_t tw = c.TextWidth(caption_);
  std::int64_t x = captionPosX_ + g.CaptionAnchorX(captionAnchorHoriz_);
  const std::int64_t y = captionPosY_ + g.CaptionAnchorY(captionAnchorVert_);
  if (captionAlignment_ == taRightJustify) x -= tw;
  if (captionAlignment_ == taCenter) x -= tw / 2;
  c.TextOut(ClampToInt32(x), ClampToInt32(y), caption_);
}

// --- the chart area -------------------------------------------------------------------------

void TCustomRChart::RenderChartBackground(TCanvas& surface, int dx, int dy) {
  const TChartGeometry g = Geometry();
  const bool printer = surface.IsPrinter();
  const int width = g.AreaImageWidth(printer), height = g.AreaImageHeight(printer);
  // The image keeps what it holds when it is resized.
  if (width != chartAreaImage_.Width() || height != chartAreaImage_.Height())
    paintCache_->SettleAreaImage();
  chartAreaImage_.SetSize(width, height);
  const int iw = chartAreaImage_.Width(), ih = chartAreaImage_.Height();
  surface.Pen.Style = psSolid;
  surface.Pen.Mode = pmCopy;
  surface.Brush.Color = chartColor_;
  surface.Brush.Style = bsSolid;
  surface.Pen.Color = chartFrameColor_;
  const auto plain = [&] {
    surface.Rectangle(dx, dy, ClampToInt32(std::int64_t{dx} + iw),
                      ClampToInt32(std::int64_t{dy} + ih));
  };
  if (backGroundImg_->Name().empty()) {
    plain();
    return;
  }
  try {
    backgroundPicture_.LoadFromFile(backGroundImg_->Name());
  } catch (const EInvalidGraphic&) {
    // Never tried again: the name goes (which repaints when that is due).
    plain();
    backGroundImg_->SetName("");
    return;
  }
  // The picture covers the area where it lies on the surface, (dx, dy) as the
  // plain colour does (a paint renders at (0, 0), where the two agree).
  const int pw = backgroundPicture_.Width(), ph = backgroundPicture_.Height();
  const auto at = [](int origin, std::int64_t offset) { return ClampToInt32(origin + offset); };
  switch (backGroundImg_->FillMode()) {
    case bfSimple:
      plain();
      surface.Draw(dx, dy, backgroundPicture_);
      break;
    case bfTile: {
      if (pw <= 0 || ph <= 0) break;
      const int columns = (iw - 1) / pw + 1, rows = (ih - 1) / ph + 1;
      for (int col = 1; col <= columns; ++col)
        for (int row = 0; row < rows; ++row)
          surface.Draw(at(dx, std::int64_t{pw} * (col - 1)), at(dy, std::int64_t{ph} * row),
                       backgroundPicture_);
      break;
    }
    case bfStretch:
    default: surface.StretchDraw(Rect(dx, dy, at(dx, iw), at(dy, ih)), backgroundPicture_); break;
  }
}

TRenderSettings TCustomRChart::RenderSettings() const {
  TRenderSettings s;
  s.Geometry = Geometry();
  s.Maps = layerMaps_;
  s.SortedRuns = &items_->SortedRuns();
  s.ClassVisible = &classVisible_;
  s.LayerVisible = layerVisible_;
  s.ChartColor = chartColor_;
  s.LineWidth = lineWidth_;
  s.TextFontStyle = textFontStyle_;
  s.TextBkStyle = textBkStyle_;
  s.TextBkColor = textBkColor_;
  s.TextAlignment = textAlignment_;
  s.GridStyle = gridStyle_;
  s.GridColor = gridColor_;
  s.GridLayer = activeLayer_;
  const TScaleProps& x = GetScalePropsX(activeLayer_);
  const TScaleProps& y = GetScalePropsY(activeLayer_);
  const TScale& sx = *scales_[AxisIndex(activeLayer_, true)];
  const TScale& sy = *scales_[AxisIndex(activeLayer_, false)];
  const auto axis = [](const TScaleProps& p, const TScale& scale, double step) {
    TGridAxis a;
    a.Start = std::min(p.RangeLow(), p.RangeHigh());
    a.End = std::max(p.RangeLow(), p.RangeHigh());
    a.Logarithmic = p.Logarithmic();
    a.Step = step;
    a.Ticks = scale.TickPositions().data();
    a.NumTicks = scale.NumTicks();
    return a;
  };
  s.GridX = axis(x, sx, gridDx_);
  s.GridY = axis(y, sy, gridDy_);
  s.XLow = x.RangeLow();
  s.XHigh = x.RangeHigh();
  s.YLow = y.RangeLow();
  s.YHigh = y.RangeHigh();
  return s;
}

void TCustomRChart::RenderItems(TCanvas& surface, int dx, int dy, bool blackAndWhite, bool noGrid) {
  const int top = ClampToInt32(std::int64_t{tRim_} - dy),
            left = ClampToInt32(std::int64_t{lRim_} - dx);
  if (OnBeforeRenderData) {
    const TColor brush = surface.Brush.Color, pen = surface.Pen.Color;
    OnBeforeRenderData(*this, surface, top, left);
    surface.Brush.Color = brush;
    surface.Pen.Color = pen;
  }
  const TRenderSettings settings = RenderSettings();
  TItemRenderer r(surface, dx, dy, blackAndWhite, settings);
  if (!noGrid) r.DrawGrid();
  r.Begin();
  const std::span<const TRChartItem> items = items_->Items();
  r.DrawItems(items, pixelCache_->Update(items, items_->Version(), settings, dx, dy),
              &pixelCache_->Runs());
  for (int n = kTextLabels; n >= 1; --n)
    r.DrawTextLabel(*textLabels_[static_cast<std::size_t>(n - 1)]);
  if (OnDataRendered) OnDataRendered(*this, surface, top, left);
  r.DrawFrame(chartFrameColor_);
}

// --- cross-hairs -------------------------------------------------------------------------------

void TCustomRChart::RenderCrossHairs(int dx, int dy, TBitmap& image) {
  DrawCrossHairs(image.Canvas(), dx, dy);
  if (&image != &ControlImage()) ControlImage().Canvas().Draw(dx, dy, image);
  Present();
}

void TCustomRChart::DrawCrossHairs(TCanvas& c, int dx, int dy) {
  const bool any = std::any_of(crossHairs_.begin(), crossHairs_.end(),
                               [](const auto& h) { return h->Mode() != chOff; });
  if (!any) return;
  const TPen saved = c.Pen;
  const TChartGeometry g = Geometry();
  for (const auto& hair : crossHairs_) {
    if (hair->Mode() == chOff) continue;
    const TPoint p = WorldToPixel(hair->EffectiveLayer(), hair->PosX(), hair->PosY());
    c.Pen.Color = hair->Color();
    c.Pen.Width = hair->LineWid();
    c.Pen.Style = hair->LineType();
    const std::int64_t half = hair->LineWid() / 2;
    // A line that would touch the chart-area border is not drawn.
    if ((hair->Mode() == chHoriz || hair->Mode() == chBoth) && half + g.AreaTop() < p.Y &&
        p.Y < g.AreaBottom() - half) {
      c.MoveTo(ClampToInt32(half + g.AreaLeft() + 1 - dx), ClampToInt32(std::int64_t{p.Y} - dy));
      c.LineTo(ClampToInt32(g.AreaRight() - half - dx), ClampToInt32(std::int64_t{p.Y} - dy));
    }
    if ((hair->Mode() == chVert || hair->Mode() == chBoth) && half + g.AreaLeft() < p.X &&
        p.X < g.AreaRight() - half) {
      c.MoveTo(ClampToInt32(std::int64_t{p.X} - dx), ClampToInt32(half + g.AreaTop() + 1 - dy));
      c.LineTo(ClampToInt32(std::int64_t{p.X} - dx), ClampToInt32(g.AreaBottom() - half - dy));
    }
  }
  c.Pen.Color = saved.Color;
  c.Pen.Width = saved.Width;
  c.Pen.Style = saved.Style;
}

}  // namespace travenel
