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

TChartPaintCache& TChartPaintCache::Of(TCustomRChart& chart) { return *chart.paintCache_; }

void SetPaintCacheEnabled(TCustomRChart& chart, bool enabled) {
  TChartPaintCache& pc = TChartPaintCache::Of(chart);
  pc.SettleAreaImage();
  pc.Enabled = enabled;
  pc.Forget();
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

bool TChartPaintCache::ComposeKeyOf(TComposeKey& k) {
  TCanvas& c = Chart.ControlImage().Canvas();
  // Handlers may draw anything, and the printer's rules rescale fonts.
  if (Chart.OnScalesRendered || c.IsPrinter()) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    const TScale& s = *Chart.scales_[i];
    k.Axes[i] = s.PaintInputs();
    if (!k.Axes[i].Draws) continue;
    if (!s.Embedded() || k.Axes[i].Target != &c || s.OnBeforeScaleRendered ||
        s.OnAfterScaleRendered)
      return false;
    const auto* forward = s.OnScaleTickDrawn.target<TTickEventForward>();
    if (s.OnScaleTickDrawn && !(forward && forward->Chart == &Chart && !Chart.OnScaleTickDrawn))
      return false;
  }
  k.Geometry = Chart.Geometry();
  k.ImageWidth = Chart.ControlImage().Width();
  k.ImageHeight = Chart.ControlImage().Height();
  k.WindColor = Chart.windColor_;
  k.ChartFrameColor = Chart.chartFrameColor_;
  k.ShadowColor = Chart.shadowColor_;
  k.ShadowBakColor = Chart.shadowBakColor_;
  k.ShadowStyle = Chart.shadowStyle_;
  k.Caption = Chart.caption_;
  k.CaptionPosX = Chart.captionPosX_;
  k.CaptionPosY = Chart.captionPosY_;
  k.CaptionAlignment = Chart.captionAlignment_;
  k.CaptionAnchorHoriz = Chart.captionAnchorHoriz_;
  k.CaptionAnchorVert = Chart.captionAnchorVert_;
  k.Start = c.State();
  return true;
}

bool TChartPaintCache::AreaKeyOf(TAreaKey& k) const {
  const TCanvas& c = Chart.chartAreaImage_.Canvas();
  // The background picture is read from its file at every pass.
  if (Chart.OnBeforeRenderData || Chart.OnDataRendered || c.IsPrinter() ||
      !Chart.backGroundImg_->Name().empty())
    return false;
  // Text labels lie over the items: lines added later would cover them.
  for (const auto& label : Chart.textLabels_)
    if (label->Mode() != tlOff && Chart.layerVisible_[Chart.LayerIndex(label->Layer())])
      return false;
  const TChartGeometry g = Chart.Geometry();
  k.Geometry = g;
  k.ImageWidth = g.AreaImageWidth();
  k.ImageHeight = g.AreaImageHeight();
  k.Maps = Chart.layerMaps_;
  k.ChartColor = Chart.chartColor_;
  k.ChartFrameColor = Chart.chartFrameColor_;
  k.GridColor = Chart.gridColor_;
  k.GridStyle = Chart.gridStyle_;
  k.GridDx = Chart.gridDx_;
  k.GridDy = Chart.gridDy_;
  k.ActiveLayer = Chart.activeLayer_;
  const TScale& sx = *Chart.scales_[Chart.AxisIndex(Chart.activeLayer_, true)];
  const TScale& sy = *Chart.scales_[Chart.AxisIndex(Chart.activeLayer_, false)];
  k.TicksX = sx.TickPositions();
  k.TicksY = sy.TickPositions();
  k.NumTicksX = sx.NumTicks();
  k.NumTicksY = sy.NumTicks();
  const TScaleProps& x = Chart.GetScalePropsX(Chart.activeLayer_);
  const TScaleProps& y = Chart.GetScalePropsY(Chart.activeLayer_);
  k.GridRanges = {x.RangeLow(), x.RangeHigh(), y.RangeLow(), y.RangeHigh()};
  k.GridLogarithmic = {x.Logarithmic(), y.Logarithmic()};
  k.ClassVisible = Chart.classVisible_;
  k.LayerVisible = Chart.layerVisible_;
  k.LineWidth = Chart.lineWidth_;
  k.TextFontStyle = Chart.textFontStyle_;
  k.TextBkStyle = Chart.textBkStyle_;
  k.TextBkColor = Chart.textBkColor_;
  k.TextAlignment = Chart.textAlignment_;
  k.ListVersion = Chart.items_->Version();
  k.Start = c.State();
  return true;
}

bool TChartPaintCache::OnlyLinesFrom(int from) const {
  const std::span<const TRChartItem> items = Chart.items_->Items();
  for (std::size_t i = static_cast<std::size_t>(from); i < items.size(); ++i) {
    const TRChartItem& item = items[i];
    if (!Chart.classVisible_[item.ItemClass] || !Chart.layerVisible_[Chart.LayerIndex(item.Layer)])
      continue;
    // A line starts from its own first point and changes nothing a later
    // item reads but the pen, which the area's frame sets again.
    if (item.Kind != ikLine && DrawingKind(item.Kind)) return false;
  }
  return true;
}

std::vector<TCrossHairLook> TChartPaintCache::CrossHairLooks() const {
  std::vector<TCrossHairLook> looks;
  for (const auto& h : Chart.crossHairs_) {
    if (h->Mode() == chOff) continue;
    looks.push_back({h->Mode(), Chart.WorldToPixel(h->EffectiveLayer(), h->PosX(), h->PosY()),
                     h->Color(), h->LineType(), h->LineWid()});
  }
  return looks;
}

// --- the parts -----------------------------------------------------------------------------

bool TChartPaintCache::ComposeRims() {
  TChartPaintCache& pc = *this;
  TCanvas& c = Chart.ControlImage().Canvas();
  TComposeKey key;
  const bool keyed = ComposeKeyOf(key);
  if (keyed && pc.Compose && *pc.Compose == key &&
      Chart.ControlImage().Image().cacheKey() == pc.ControlImageKey) {
    // The picture is there; what composing it does besides drawing is done:
    // the mapping, the axes' tick lists (the grid reads them) and the state
    // the surface is left in.
    Chart.ComputeMapping();
    for (std::size_t i = 0; i < 4; ++i)
      if (key.Axes[i].Draws) Chart.scales_[i]->RecordPaintTicks();
    c.SetState(pc.ComposeAfter);
    return true;
  }
  pc.AreaShown = false;  // the axes and the caption may reach into the area
  Chart.ComposeControlImage(c, /*areaCovered=*/true);
  if (keyed) {
    pc.Compose = std::move(key);
    pc.ComposeAfter = c.State();
  } else {
    pc.Compose.reset();
  }
  return false;
}

TCanvas* TChartPaintCache::WindowAreaView() {
  const TChartGeometry g = Chart.Geometry();
  const int w = g.AreaImageWidth(), h = g.AreaImageHeight();
  QImage& window = Chart.WindowImage().Image();
  if (w <= 0 || h <= 0 || window.format() != QImage::Format_RGB32 ||
      std::int64_t{Chart.lRim_} + w > window.width() ||
      std::int64_t{Chart.tRim_} + h > window.height())
    return nullptr;
  // Taking the pixels for writing is what tells others (by the cache key)
  // that the window's picture changes.
  uchar* bits = window.bits();
  const qsizetype line = window.bytesPerLine();
  TChartPaintCache& pc = *this;
  pc.AreaView = QImage(bits + Chart.tRim_ * line + qsizetype{Chart.lRim_} * 4, w, h, line,
                       QImage::Format_RGB32);
  return &pc.ViewCanvas;
}

TChartPaintCache::TAreaUpdate TChartPaintCache::UpdateChartArea(std::vector<TRect>& changed,
                                                                bool windowPure, bool onWindow) {
  TChartPaintCache& pc = *this;
  TCanvas& image = Chart.chartAreaImage_.Canvas();
  changed.clear();
  TAreaKey key;
  const bool keyed = AreaKeyOf(key);
  const int count = Chart.items_->Count();
  if (keyed && pc.Area && *pc.Area == key && count >= pc.AreaItems && OnlyLinesFrom(pc.AreaItems)) {
    // Only lines were added: drawn over the picture where it is.
    TCanvas* c = nullptr;
    if (!pc.AreaPending && Chart.chartAreaImage_.Image().cacheKey() == pc.AreaImageKey) c = &image;
    if (pc.AreaPending && windowPure && onWindow && (c = WindowAreaView()))
      c->SetState(image.State());
    if (c) {
      DrawAddedLines(*c, pc.AreaItems, changed);
      // What a whole pass would leave: the added lines set only the pen, and
      // the frame sets that again.
      image.SetState(pc.AreaAfter);
      pc.AreaItems = count;
      if (pc.AreaPending) return TAreaUpdate::WindowLines;
      pc.AreaImageKey = Chart.chartAreaImage_.Image().cacheKey();
      return TAreaUpdate::ImageLines;
    }
  }
  // The whole pass; the picture of the last one is not wanted any more.
  pc.AreaPending = false;
  TCanvas* view = keyed && onWindow ? WindowAreaView() : nullptr;
  if (view) {
    // The same pass as on the chart-area image, from its surface's state.
    view->SetState(image.State());
    Chart.RenderChartBackground(*view, 0, 0);
    Chart.RenderItems(*view, 0, 0, false, false);
    image.SetState(view->State());
  } else {
    Chart.RenderChartBackground(image, 0, 0);
    Chart.RenderItems(image, 0, 0, false, false);
  }
  if (keyed) {
    pc.Area = std::move(key);
    pc.AreaItems = count;
    pc.AreaAfter = image.State();
    pc.AreaImageKey = Chart.chartAreaImage_.Image().cacheKey();
    pc.AreaPending = view != nullptr;
  } else {
    pc.Area.reset();
  }
  changed.push_back(Rect(0, 0, Chart.chartAreaImage_.Width(), Chart.chartAreaImage_.Height()));
  return view ? TAreaUpdate::WindowWhole : TAreaUpdate::ImageWhole;
}

void TChartPaintCache::DrawAddedLines(TCanvas& c, int from, std::vector<TRect>& changed) {
  // More parts than this are copied as the one box around them all.
  constexpr std::size_t kMaxParts = 8;
  const std::span<const TRChartItem> items = Chart.items_->Items();
  const TRenderSettings settings = Chart.RenderSettings();
  const std::span<const TItemPixels> pixels =
      Chart.pixelCache_->Update(items, Chart.items_->Version(), settings, 0, 0);
  const std::int64_t w = c.Width(), h = c.Height();
  // The box of every pixel a new line can set: its ends widened by the pen,
  // cut to the image.
  TRect all{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (std::size_t i = static_cast<std::size_t>(from); i < items.size(); ++i) {
    const TRChartItem& item = items[i];
    if (item.Kind != ikLine || !Chart.classVisible_[item.ItemClass] ||
        !Chart.layerVisible_[Chart.LayerIndex(item.Layer)])
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
    r.DrawFrame(Chart.chartFrameColor_);
}

void TChartPaintCache::ShowChangedArea(const std::vector<TRect>& changed, bool copy) {
  TCanvas& c = Chart.WindowImage().Canvas();
  for (const TRect& part : changed) {
    const TRect shown = Rect(ClampToInt32(std::int64_t{Chart.lRim_} + part.Left),
                             ClampToInt32(std::int64_t{Chart.tRim_} + part.Top),
                             ClampToInt32(std::int64_t{Chart.lRim_} + part.Right),
                             ClampToInt32(std::int64_t{Chart.tRim_} + part.Bottom));
    if (copy) c.CopyRect(shown, Chart.chartAreaImage_.Canvas(), part);
    Chart.Present(shown);
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
  paintCache_->SettleAreaImage();
  return chartAreaImage_;
}

void TChartPaintCache::SettleAreaImage() {
  const TChartPaintCache& pc = *this;
  if (!pc.AreaPending) return;
  if (pc.AreaShown && pc.Cross.empty() &&
      Chart.WindowImage().Image().cacheKey() == pc.ControlImageKey)
    SettleAreaImageFromWindow();
  else
    RenderLastPassAgain();  // the window's picture was drawn on since
}

void TChartPaintCache::SettleAreaImageFromWindow() {
  TChartPaintCache& pc = *this;
  pc.AreaPending = false;
  const TAreaKey& k = *pc.Area;
  Chart.chartAreaImage_.SetSize(k.ImageWidth, k.ImageHeight);  // where the pass had it
  Chart.chartAreaImage_.Canvas().CopyRect(
      Rect(0, 0, k.ImageWidth, k.ImageHeight), Chart.WindowImage().Canvas(),
      Bounds(k.Geometry.LRim, k.Geometry.TRim, k.ImageWidth, k.ImageHeight));
  pc.AreaImageKey = Chart.chartAreaImage_.Image().cacheKey();
}

void TChartPaintCache::RenderLastPassAgain() {
  TChartPaintCache& pc = *this;
  pc.AreaPending = false;
  const TAreaKey& k = *pc.Area;
  TCanvas& c = Chart.chartAreaImage_.Canvas();
  const TCanvasState now = c.State();
  Chart.chartAreaImage_.SetSize(k.ImageWidth, k.ImageHeight);
  c.SetState(k.Start);
  // As Chart.RenderChartBackground and Chart.RenderItems drew it: no handler was set, no
  // picture and no text label shown.
  c.Pen.Style = psSolid;
  c.Pen.Mode = pmCopy;
  c.Brush.Color = k.ChartColor;
  c.Brush.Style = bsSolid;
  c.Pen.Color = k.ChartFrameColor;
  c.Rectangle(0, 0, k.ImageWidth, k.ImageHeight);
  TRenderSettings settings = SettingsOf(k);
  settings.SortedRuns = &Chart.items_->SortedRuns();
  // The items go only with a clear, before which the group is settled.
  const std::span<const TRChartItem> items = Chart.items_->Items().first(
      std::min<std::size_t>(static_cast<std::size_t>(pc.AreaItems), Chart.items_->Items().size()));
  TItemRenderer r(c, 0, 0, false, settings);
  r.DrawGrid();
  r.Begin();
  r.DrawItems(items, Chart.pixelCache_->Update(items, Chart.items_->Version(), settings, 0, 0),
              &Chart.pixelCache_->Runs());
  r.DrawFrame(k.ChartFrameColor);
  c.SetState(now);
  pc.AreaImageKey = Chart.chartAreaImage_.Image().cacheKey();
}

void TChartPaintCache::SettleGroupAreaImages() {
  TCustomRChart* owner = Chart.useDataOf_ ? Chart.useDataOf_ : &Chart;
  owner->paintCache_->SettleAreaImage();
  for (TCustomRChart* user : owner->users_) user->paintCache_->SettleAreaImage();
}

// --- the paint -----------------------------------------------------------------------------

void TChartPaintCache::PaintWithCache() {
  TChartPaintCache& pc = *this;
  TBitmap& window = Chart.WindowImage();
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
    c.Draw(Chart.lRim_, Chart.tRim_, Chart.chartAreaImage_);
  }
  // The cross-hairs go onto the window's picture only.
  if (!cross.empty() && pc.AreaPending) SettleAreaImageFromWindow();
  Chart.DrawCrossHairs(c, 0, 0);
  pc.ControlImageKey = window.Image().cacheKey();
  pc.AreaShown = true;
  pc.Cross = std::move(cross);
  if (partsShown) {
    if (update == TAreaUpdate::WindowLines) ShowChangedArea(changed, false);
    return;
  }
  if (rimsKept)
    Chart.Present(Rect(Chart.lRim_, Chart.tRim_,
                       ClampToInt32(std::int64_t{Chart.lRim_} + Chart.chartAreaImage_.Width()),
                       ClampToInt32(std::int64_t{Chart.tRim_} + Chart.chartAreaImage_.Height())));
  else
    Chart.Present();
}

}  // namespace travenel
