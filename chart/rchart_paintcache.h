// rchart_paintcache: what a chart keeps from one paint to the next, so that a
// repaint redoes only the work whose inputs changed, with the same pixels.
//
// Each part of the picture is recorded with every value its drawing reads
// (the surface's state as the drawing found it included) and with the cache
// key of the image it lies in: Qt changes that key on every write to the
// image, whoever makes it, so a picture that was drawn over since is never
// taken for the recorded one. A part is drawn anew whenever its record does
// not match; a part whose drawing calls handlers is always drawn anew.
#pragma once

#include <QImage>
#include <QtGlobal>
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "travenel/chart/Scale.h"
#include "travenel/chart/rchart_map.h"
#include "travenel/chart/rchart_props.h"
#include "travenel/gfx/Canvas.h"

namespace travenel {

class TCustomRChart;

// The chart's hand-over of its axes' tick events to its own OnScaleTickDrawn.
// A type of its own, so that a paint can tell it from a handler put on an axis
// directly.
struct TTickEventForward {
  TCustomRChart* Chart = nullptr;
  void operator()(TScale& scale, TCanvas& canvas, TScaleType type, double value, int x,
                  int y) const;
};

// What composing the control picture reads: window colour, shadow, caption,
// the four axes and the surface's state (the caption's font among it).
struct TComposeKey {
  TChartGeometry Geometry;
  int ImageWidth = 0, ImageHeight = 0;
  TColor WindColor = 0, ChartFrameColor = 0, ShadowColor = 0, ShadowBakColor = 0;
  TShadowStyle ShadowStyle = ssFlying;
  std::string Caption;
  int CaptionPosX = 0, CaptionPosY = 0;
  TAlignment CaptionAlignment = taLeftJustify;
  TCaptionAnchorHoriz CaptionAnchorHoriz = cahControlLeft;
  TCaptionAnchorVert CaptionAnchorVert = cavControlTop;
  TCanvasState Start;
  std::array<TScalePaintInputs, 4> Axes;
  bool operator==(const TComposeKey&) const = default;
};

// What the render pass of the chart area reads besides its items.
struct TAreaKey {
  TChartGeometry Geometry;
  int ImageWidth = 0, ImageHeight = 0;
  std::array<TLayerMap, 2> Maps;
  TColor ChartColor = 0, ChartFrameColor = 0, GridColor = 0;
  GridStyleType GridStyle = gsNone;
  double GridDx = 0, GridDy = 0;
  int ActiveLayer = 1;
  std::array<double, TScale::kTickListCapacity> TicksX{}, TicksY{};
  int NumTicksX = 0, NumTicksY = 0;
  std::array<double, 4> GridRanges{};  // x low, x high, y low, y high of the active layer
  std::array<bool, 2> GridLogarithmic{};
  std::bitset<256> ClassVisible;
  std::array<bool, 2> LayerVisible{};
  int LineWidth = 1;
  TFontStyles TextFontStyle;
  TTextBkg TextBkStyle = tbClear;
  TColor TextBkColor = 0;
  TAlignment TextAlignment = taLeftJustify;
  std::uint64_t ListVersion = 0;
  TCanvasState Start;
  bool operator==(const TAreaKey&) const = default;
};

// An active cross-hair as it is drawn on the control picture.
struct TCrossHairLook {
  TCrossHMode Mode = chOff;
  TPoint At;
  TColor Color = 0;
  TPenStyle Style = psSolid;
  int Width = 1;
  bool operator==(const TCrossHairLook&) const = default;
};

// The paint with what the last paint left: the chart's record of its last
// paint and the steps that read and renew it. Each chart owns one.
struct TChartPaintCache {
  explicit TChartPaintCache(TCustomRChart& chart) : Chart(chart) {}
  TChartPaintCache(const TChartPaintCache&) = delete;
  TChartPaintCache& operator=(const TChartPaintCache&) = delete;
  static TChartPaintCache& Of(TCustomRChart& chart);

  TCustomRChart& Chart;

  // Off: every paint composes and renders everything (the reference the
  // cached pictures are checked against).
  bool Enabled = true;

  // The control picture outside the chart area holds the composition of
  // Compose, which left the surface in ComposeAfter.
  std::optional<TComposeKey> Compose;
  TCanvasState ComposeAfter;
  // The control picture's chart area shows the chart-area image with the
  // cross-hairs Cross drawn over it.
  bool AreaShown = false;
  std::vector<TCrossHairLook> Cross;
  qint64 ControlImageKey = 0;

  // The last render pass of the chart area: Area over the first AreaItems
  // items, which left the surface in AreaAfter. The chart-area image holds
  // its picture while its key is AreaImageKey and it is not pending.
  std::optional<TAreaKey> Area;
  int AreaItems = 0;
  TCanvasState AreaAfter;
  qint64 AreaImageKey = 0;
  // The pass drew straight into the window's picture, and the chart-area
  // image has yet to get its picture (see SettleAreaImage).
  bool AreaPending = false;

  // The window's chart area as an image of its own, sharing the window's
  // pixels, and the surface a pass draws on there (it takes the state of the
  // chart-area image's surface and gives it back).
  QImage AreaView;
  TCanvas ViewCanvas{&AreaView};

  void Forget() {
    Compose.reset();
    Area.reset();
    AreaShown = false;
    AreaPending = false;
  }

  void PaintWithCache();
  // The control picture outside the chart area: composed, or kept as the last
  // paint left it (true) when nothing it shows has changed.
  bool ComposeRims();
  // Where a render pass of the chart area drew, and whether it drew it whole
  // or only the lines added since the last one.
  enum class TAreaUpdate : std::uint8_t { WindowLines, WindowWhole, ImageLines, ImageWhole };
  // The chart area brought up to date: in the window's picture itself where
  // that is possible (and, for added lines only, when `windowPure`: the
  // window shows the last pass's picture and nothing over it), else in the
  // chart-area image. `changed` gets the parts that changed, in area pixels.
  TAreaUpdate UpdateChartArea(std::vector<TRect>& changed, bool windowPure, bool onWindow);
  void DrawAddedLines(TCanvas& c, int from, std::vector<TRect>& changed);
  // The window's chart area as a surface of its own, the size of the
  // chart-area image (null when the area does not lie inside the window).
  TCanvas* WindowAreaView();
  // Brings the chart-area image to the picture of the last pass when only
  // the window's picture has it (before anything reads or resizes it, or the
  // items it was drawn from go); FromWindow: the window's area is known to
  // show it.
  void SettleAreaImage();
  void SettleAreaImageFromWindow();
  // The last pass drawn again on the chart-area image, from what it read.
  void RenderLastPassAgain();
  // The charts of the sharing group, this one included, settled (their items
  // are about to go).
  void SettleGroupAreaImages();
  // The parts in `changed` shown on the window (copied there from the
  // chart-area image first, with `copy`).
  void ShowChangedArea(const std::vector<TRect>& changed, bool copy);
  bool ComposeKeyOf(TComposeKey& key);
  bool AreaKeyOf(TAreaKey& key) const;
  bool OnlyLinesFrom(int from) const;
  std::vector<TCrossHairLook> CrossHairLooks() const;
};

// Switches a chart's paint cache off (every paint then draws everything, the
// reference the cached pictures are checked against) or on again.
void SetPaintCacheEnabled(TCustomRChart& chart, bool enabled);

}  // namespace travenel
