// TCustomRChart: painting with what the last paint left. The rims, axes and
// caption are composed only when something they show has changed; the chart
// area is rendered anew only when something but the lines added since the
// last pass has changed; only what changed is copied to the window's picture
// and presented.
#include "travenel/chart/rchart_paintcache.h"

#include <algorithm>
#include <climits>
#include <span>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_render.h"

namespace travenel {

void TTickEventForward::operator()(TScale& scale, TCanvas& canvas, TScaleType type, double value,
                                   int x, int y) const {
  if (Chart->OnScaleTickDrawn) Chart->OnScaleTickDrawn(scale, canvas, type, value, x, y);
}

void SetPaintCacheEnabled(TCustomRChart& chart, bool enabled) {
  chart.SettleAreaImage();
  chart.paintCache_->Enabled = enabled;
  chart.paintCache_->Forget();
}

namespace {

// Whether drawing an item can touch the surface at all: kinds without a
// drawing (0, 10, 11) never do.
bool DrawingKind(std::uint8_t kind) {
  switch (kind) {
    case ikMark:
    case ikLine:
    case ikLineTo:
    case ikRectangle:
    case ikRect3D:
    case ikBar3D:
    case ikText:
    case ikMoveTo:
    case ikEllipse:
    case ikMoveToRel:
    case ikLineToRel:
    case ikArrow: return true;
    default: return false;
  }
}

}  // namespace

// --- what the parts of the picture read ----------------------------------------------

bool TCustomRChart::ComposeKeyOf(TComposeKey& k) {
  TCanvas& c = ControlImage().Canvas();
  // Handlers may draw anything, and the printer's rules rescale fonts.
  if (OnScalesRendered || c.IsPrinter()) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    const TScale& s = *scales_[i];
    k.Axes[i] = s.PaintInputs();
    if (!k.Axes[i].Draws) continue;
    if (!s.Embedded() || k.Axes[i].Target != &c || s.OnBeforeScaleRendered ||
        s.OnAfterScaleRendered)
      return false;
    const auto* forward = s.OnScaleTickDrawn.target<TTickEventForward>();
    if (s.OnScaleTickDrawn && !(forward && forward->Chart == this && !OnScaleTickDrawn))
      return false;
  }
  k.Geometry = Geometry();
  k.ImageWidth = ControlImage().Width();
  k.ImageHeight = ControlImage().Height();
  k.WindColor = windColor_;
  k.ChartFrameColor = chartFrameColor_;
  k.ShadowColor = shadowColor_;
  k.ShadowBakColor = shadowBakColor_;
  k.ShadowStyle = shadowStyle_;
  k.Caption = caption_;
  k.CaptionPosX = captionPosX_;
  k.CaptionPosY = captionPosY_;
  k.CaptionAlignment = captionAlignment_;
  k.CaptionAnchorHoriz = captionAnchorHoriz_;
  k.CaptionAnchorVert = captionAnchorVert_;
  k.Start = c.State();
  return true;
}

bool TCustomRChart::AreaKeyOf(TAreaKey& k) const {
  const TCanvas& c = chartAreaImage_.Canvas();
  // The background picture is read from its file at every pass.
  if (OnBeforeRenderData || OnDataRendered || c.IsPrinter() || !backGroundImg_->Name().empty())
    return false;
  // Text labels lie over the items: lines added later would cover them.
  for (const auto& label : textLabels_)
    if (label->Mode() != tlOff && layerVisible_[LayerIndex(label->Layer())]) return false;
  const TChartGeometry g = Geometry();
  k.Geometry = g;
  k.ImageWidth = g.AreaImageWidth();
  k.ImageHeight = g.AreaImageHeight();
  k.Maps = layerMaps_;
  k.ChartColor = chartColor_;
  k.ChartFrameColor = chartFrameColor_;
  k.GridColor = gridColor_;
  k.GridStyle = gridStyle_;
  k.GridDx = gridDx_;
  k.GridDy = gridDy_;
  k.ActiveLayer = activeLayer_;
  const TScale& sx = *scales_[AxisIndex(activeLayer_, true)];
  const TScale& sy = *scales_[AxisIndex(activeLayer_, false)];
  k.TicksX = sx.TickPositions();
  k.TicksY = sy.TickPositions();
  k.NumTicksX = sx.NumTicks();
  k.NumTicksY = sy.NumTicks();
  const TScaleProps& x = GetScalePropsX(activeLayer_);
  const TScaleProps& y = GetScalePropsY(activeLayer_);
  k.GridRanges = {x.RangeLow(), x.RangeHigh(), y.RangeLow(), y.RangeHigh()};
  k.GridLogarithmic = {x.Logarithmic(), y.Logarithmic()};
  k.ClassVisible = classVisible_;
  k.LayerVisible = layerVisible_;
  k.LineWidth = lineWidth_;
  k.TextFontStyle = textFontStyle_;
  k.TextBkStyle = textBkStyle_;
  k.TextBkColor = textBkColor_;
  k.TextAlignment = textAlignment_;
  k.ListVersion = items_->Version();
  k.Start = c.State();
  return true;
}

bool TCustomRChart::OnlyLinesFrom(int from) const {
  const std::span<const TRChartItem> items = items_->Items();
  for (std::size_t i = static_cast<std::size_t>(from); i < items.size(); ++i) {
    const TRChartItem& item = items[i];
    if (!classVisible_[item.ItemClass] || !layerVisible_[LayerIndex(item.Layer)]) continue;
    // A line starts from its own first point and changes nothing a later
    // item reads but the pen, which the area's frame sets again.
    if (item.Kind != ikLine && DrawingKind(item.Kind)) return false;
  }
  return true;
}

std::vector<TCrossHairLook> TCustomRChart::CrossHairLooks() const {
  std::vector<TCrossHairLook> looks;
  for (const auto& h : crossHairs_) {
    if (h->Mode() == chOff) continue;
    looks.push_back({h->Mode(), WorldToPixel(h->EffectiveLayer(), h->PosX(), h->PosY()), h->Color(),
                     h->LineType(), h->LineWid()});
  }
  return looks;
}

// --- the parts -----------------------------------------------------------------------------

bool TCustomRChart::ComposeRims() {
  TChartPaintCache& pc = *paintCache_;
  TCanvas& c = ControlImage().Canvas();
  TComposeKey key;
  const bool keyed = ComposeKeyOf(key);
  if (keyed && pc.Compose && *pc.Compose == key &&
      ControlImage().Image().cacheKey() == pc.ControlImageKey) {
    // The picture is there; what composing it does besides drawing is done:
    // the mapping, the axes' tick lists (the grid reads them) and the state
    // the surface is left in.
    ComputeMapping();
    for (std::size_t i = 0; i < 4; ++i)
      if (key.Axes[i].Draws) scales_[i]->RecordPaintTicks();
    c.SetState(pc.ComposeAfter);
    return true;
  }
  pc.AreaShown = false;  // the axes and the caption may reach into the area
  ComposeControlImage(c, /*areaCovered=*/true);
  if (keyed) {
    pc.Compose = std::move(key);
    pc.ComposeAfter = c.State();
  } else {
    pc.Compose.reset();
  }
  return false;
}

TCanvas* TCustomRChart::AreaView() {
  const TChartGeometry g = Geometry();
  const int w = g.AreaImageWidth(), h = g.AreaImageHeight();
  QImage& window = WindowImage().Image();
  if (w <= 0 || h <= 0 || window.format() != QImage::Format_RGB32 ||
      std::int64_t{lRim_} + w > window.width() || std::int64_t{tRim_} + h > window.height())
    return nullptr;
  // Taking the pixels for writing is what tells others (by the cache key)
  // that the window's picture changes.
  uchar* bits = window.bits();
  const qsizetype line = window.bytesPerLine();
  TChartPaintCache& pc = *paintCache_;
  pc.AreaView = QImage(bits + tRim_ * line + qsizetype{lRim_} * 4, w, h, line, QImage::Format_RGB32);
  return &pc.ViewCanvas;
}

TCustomRChart::TAreaUpdate TCustomRChart::UpdateChartArea(std::vector<TRect>& changed,
                                                          bool windowPure, bool onWindow) {
  TChartPaintCache& pc = *paintCache_;
  TCanvas& image = chartAreaImage_.Canvas();
  changed.clear();
  TAreaKey key;
  const bool keyed = AreaKeyOf(key);
  const int count = items_->Count();
  if (keyed && pc.Area && *pc.Area == key && count >= pc.AreaItems && OnlyLinesFrom(pc.AreaItems)) {
    // Only lines were added: drawn over the picture where it is.
    TCanvas* c = nullptr;
    if (!pc.AreaPending && chartAreaImage_.Image().cacheKey() == pc.AreaImageKey) c = &image;
    if (pc.AreaPending && windowPure && onWindow && (c = AreaView())) c->SetState(image.State());
    if (c) {
      DrawAddedLines(*c, pc.AreaItems, changed);
      // What a whole pass would leave: the added lines set only the pen, and
      // the frame sets that again.
      image.SetState(pc.AreaAfter);
      pc.AreaItems = count;
      if (pc.AreaPending) return TAreaUpdate::WindowLines;
      pc.AreaImageKey = chartAreaImage_.Image().cacheKey();
      return TAreaUpdate::ImageLines;
    }
  }
  // The whole pass; the picture of the last one is not wanted any more.
  pc.AreaPending = false;
  TCanvas* view = keyed && onWindow ? AreaView() : nullptr;
  if (view) {
    // The same pass as on the chart-area image, from its surface's state.
    view->SetState(image.State());
    RenderChartBackground(*view, 0, 0);
    RenderItems(*view, 0, 0, false, false);
    image.SetState(view->State());
  } else {
    RenderChartBackground(image, 0, 0);
    RenderItems(image, 0, 0, false, false);
  }
  if (keyed) {
    pc.Area = std::move(key);
    pc.AreaItems = count;
    pc.AreaAfter = image.State();
    pc.AreaImageKey = chartAreaImage_.Image().cacheKey();
    pc.AreaPending = view != nullptr;
  } else {
    pc.Area.reset();
  }
  changed.push_back(Rect(0, 0, chartAreaImage_.Width(), chartAreaImage_.Height()));
  return view ? TAreaUpdate::WindowWhole : TAreaUpdate::ImageWhole;
}

void TCustomRChart::DrawAddedLines(TCanvas& c, int from, std::vector<TRect>& changed) {
  // More parts than this are copied as the one box around them all.
  constexpr std::size_t kMaxParts = 8;
  const std::span<const TRChartItem> items = items_->Items();
  const TRenderSettings settings = RenderSettings();
  const std::span<const TItemPixels> pixels =
      pixelCache_->Update(items, items_->Version(), settings, 0, 0);
  const std::int64_t w = c.Width(), h = c.Height();
  // The box of every pixel a new line can set: its ends widened by the pen,
  // cut to the image.
  TRect all{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (std::size_t i = static_cast<std::size_t>(from); i < items.size(); ++i) {
    const TRChartItem& item = items[i];
    if (item.Kind != ikLine || !classVisible_[item.ItemClass] ||
        !layerVisible_[LayerIndex(item.Layer)])
      continue;
    const std::int64_t reach = std::int64_t{std::max<std::uint32_t>(item.LineWidth, 1)} / 2 + 1;
    const TPoint a = pixels[i].P1, b = pixels[i].P2;
    const TRect r{static_cast<int>(std::max<std::int64_t>(std::min(a.X, b.X) - reach, 0)),
                  static_cast<int>(std::max<std::int64_t>(std::min(a.Y, b.Y) - reach, 0)),
                  static_cast<int>(std::min<std::int64_t>(std::max(a.X, b.X) + reach + 1, w)),
                  static_cast<int>(std::min<std::int64_t>(std::max(a.Y, b.Y) + reach + 1, h))};
    if (r.Left >= r.Right || r.Top >= r.Bottom) continue;  // off the image
    changed.push_back(r);
    all = {std::min(all.Left, r.Left), std::min(all.Top, r.Top), std::max(all.Right, r.Right),
           std::max(all.Bottom, r.Bottom)};
  }
  if (changed.empty()) return;
  if (changed.size() > kMaxParts) changed.assign(1, all);
  c.Pen.Mode = pmCopy;  // as the background pass leaves it
  TItemRenderer r(c, 0, 0, false, settings);
  r.Begin();
  r.DrawItems(items.subspan(static_cast<std::size_t>(from)),
              pixels.subspan(static_cast<std::size_t>(from)));
  // The frame lies on the outermost pixels: drawn again where a line may have covered it.
  if (all.Left == 0 || all.Top == 0 || all.Right == w || all.Bottom == h)
    r.DrawFrame(chartFrameColor_);
}

void TCustomRChart::ShowChangedArea(const std::vector<TRect>& changed, bool copy) {
  TCanvas& c = WindowImage().Canvas();
  for (const TRect& part : changed) {
    const TRect shown = Rect(ClampToInt32(std::int64_t{lRim_} + part.Left),
                             ClampToInt32(std::int64_t{tRim_} + part.Top),
                             ClampToInt32(std::int64_t{lRim_} + part.Right),
                             ClampToInt32(std::int64_t{tRim_} + part.Bottom));
    if (copy) c.CopyRect(shown, chartAreaImage_.Canvas(), part);
    Present(shown);
  }
}

// --- the chart-area image ------------------------------------------------------------

namespace {

// The settings a pass read, from the record of it.
TRenderSettings SettingsOf(const TAreaKey& k) {
  TRenderSettings s;
  s.Geometry = k.Geometry;
  s.Maps = k.Maps;
  s.ClassVisible = &k.ClassVisible;
  s.LayerVisible = k.LayerVisible;
  s.ChartColor = k.ChartColor;
  s.LineWidth = k.LineWidth;
  s.TextFontStyle = k.TextFontStyle;
  s.TextBkStyle = k.TextBkStyle;
  s.TextBkColor = k.TextBkColor;
  s.TextAlignment = k.TextAlignment;
  s.GridStyle = k.GridStyle;
  s.GridColor = k.GridColor;
  s.GridLayer = k.ActiveLayer;
  const auto axis = [](double low, double high, bool log, double step, const double* ticks,
                       int n) {
    return TGridAxis{std::min(low, high), std::max(low, high), log, step, ticks, n};
  };
  const auto& r = k.GridRanges;
  s.GridX = axis(r[0], r[1], k.GridLogarithmic[0], k.GridDx, k.TicksX.data(), k.NumTicksX);
  s.GridY = axis(r[2], r[3], k.GridLogarithmic[1], k.GridDy, k.TicksY.data(), k.NumTicksY);
  s.XLow = r[0];
  s.XHigh = r[1];
  s.YLow = r[2];
  s.YHigh = r[3];
  return s;
}

}  // namespace

TBitmap& TCustomRChart::ChartAreaImage() {
  SettleAreaImage();
  return chartAreaImage_;
}

void TCustomRChart::SettleAreaImage() {
  const TChartPaintCache& pc = *paintCache_;
  if (!pc.AreaPending) return;
  if (pc.AreaShown && pc.Cross.empty() &&
      WindowImage().Image().cacheKey() == pc.ControlImageKey)
    SettleAreaImageFromWindow();
  else
    RenderLastPassAgain();  // the window's picture was drawn on since
}

void TCustomRChart::SettleAreaImageFromWindow() {
  TChartPaintCache& pc = *paintCache_;
  pc.AreaPending = false;
  const TAreaKey& k = *pc.Area;
  chartAreaImage_.SetSize(k.ImageWidth, k.ImageHeight);  // where the pass had it
  chartAreaImage_.Canvas().CopyRect(Rect(0, 0, k.ImageWidth, k.ImageHeight), WindowImage().Canvas(),
                                    Bounds(k.Geometry.LRim, k.Geometry.TRim, k.ImageWidth, k.ImageHeight));
  pc.AreaImageKey = chartAreaImage_.Image().cacheKey();
}

void TCustomRChart::RenderLastPassAgain() {
  TChartPaintCache& pc = *paintCache_;
  pc.AreaPending = false;
  const TAreaKey& k = *pc.Area;
  TCanvas& c = chartAreaImage_.Canvas();
  const TCanvasState now = c.State();
  chartAreaImage_.SetSize(k.ImageWidth, k.ImageHeight);
  c.SetState(k.Start);
  // As RenderChartBackground and RenderItems drew it: no handler was set, no
  // picture and no text label shown.
  c.Pen.Style = psSolid;
  c.Pen.Mode = pmCopy;
  c.Brush.Color = k.ChartColor;
  c.Brush.Style = bsSolid;
  c.Pen.Color = k.ChartFrameColor;
  c.Rectangle(0, 0, k.ImageWidth, k.ImageHeight);
  TRenderSettings settings = SettingsOf(k);
  settings.SortedRuns = &items_->SortedRuns();
  // The items go only with a clear, before which the group is settled.
  const std::span<const TRChartItem> items =
      items_->Items().first(std::min<std::size_t>(static_cast<std::size_t>(pc.AreaItems),
                                                  items_->Items().size()));
  TItemRenderer r(c, 0, 0, false, settings);
  r.DrawGrid();
  r.Begin();
  r.DrawItems(items, pixelCache_->Update(items, items_->Version(), settings, 0, 0),
              &pixelCache_->Runs());
  r.DrawFrame(k.ChartFrameColor);
  c.SetState(now);
  pc.AreaImageKey = chartAreaImage_.Image().cacheKey();
}

void TCustomRChart::SettleGroupAreaImages() {
  TCustomRChart* owner = useDataOf_ ? useDataOf_ : this;
  owner->SettleAreaImage();
  for (TCustomRChart* user : owner->users_) user->SettleAreaImage();
}

// --- the paint -----------------------------------------------------------------------------

void TCustomRChart::PaintWithCache() {
  TChartPaintCache& pc = *paintCache_;
  TBitmap& window = WindowImage();
  // The window's area shows the last pass's picture, and nothing over it.
  const bool pure =
      pc.AreaShown && pc.Cross.empty() && window.Image().cacheKey() == pc.ControlImageKey;
  const bool rimsKept = ComposeRims();
  std::vector<TRect> changed;
  const TAreaUpdate update = UpdateChartArea(changed, rimsKept && pure, true);
  std::vector<TCrossHairLook> cross = CrossHairLooks();
  TCanvas& c = window.Canvas();
  // Elsewhere the window's picture shows the area as it is, with the same
  // cross-hairs over it: only the changed parts are shown.
  bool partsShown = false;
  if (update == TAreaUpdate::WindowLines) {
    partsShown = cross.empty();
  } else if (update == TAreaUpdate::ImageLines && rimsKept && pc.AreaShown && pc.Cross == cross) {
    partsShown = true;
    ShowChangedArea(changed, true);
  } else if (update == TAreaUpdate::ImageLines || update == TAreaUpdate::ImageWhole) {
    c.Draw(lRim_, tRim_, chartAreaImage_);
  }
  // The cross-hairs go onto the window's picture only.
  if (!cross.empty() && pc.AreaPending) SettleAreaImageFromWindow();
  DrawCrossHairs(c, 0, 0);
  pc.ControlImageKey = window.Image().cacheKey();
  pc.AreaShown = true;
  pc.Cross = std::move(cross);
  if (partsShown) {
    if (update == TAreaUpdate::WindowLines) ShowChangedArea(changed, false);
    return;
  }
  if (rimsKept)
    Present(Rect(lRim_, tRim_, ClampToInt32(std::int64_t{lRim_} + chartAreaImage_.Width()),
                 ClampToInt32(std::int64_t{tRim_} + chartAreaImage_.Height())));
  else
    Present();
}

}  // namespace travenel
