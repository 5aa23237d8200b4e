// rchart_render: one render pass of the chart area — the grid, every item
// kind, the text labels and the frame — onto a surface whose (dx, dy) is the
// chart area's top-left pixel. The renderer receives the items, the layers'
// mappings and the few settings it draws with, never the chart itself.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <vector>

#include "travenel/chart/rchart_item.h"
#include "travenel/chart/rchart_map.h"
#include "travenel/chart/rchart_props.h"
#include "travenel/chart/rchart_reduce.h"
#include "travenel/chart/rchart_runindex.h"
#include "travenel/gfx/Canvas.h"

namespace travenel {

// What a render pass draws with.
struct TRenderSettings {
  TChartGeometry Geometry;
  std::array<TLayerMap, 2> Maps;  // layers 1 and 2
  const std::bitset<256>* ClassVisible = nullptr;
  std::array<bool, 2> LayerVisible{true, true};
  TColor ChartColor = clWhite;
  int LineWidth = 1;
  // Text items.
  TFontStyles TextFontStyle;
  TTextBkg TextBkStyle = tbClear;
  TColor TextBkColor = clWhite;
  TAlignment TextAlignment = taCenter;
  // The grid, on the axes of the active layer.
  GridStyleType GridStyle = gsNone;
  TColor GridColor = clBlack;
  int GridLayer = 1;
  TGridAxis GridX, GridY;
  // The raw ranges the grid lines run between (RangeLow to RangeHigh).
  double XLow = 0, XHigh = 1, YLow = 0, YHigh = 1;
  // Runs of line-to items drawn with a solid pen one pixel wide in copy mode
  // are drawn as reduced polylines (the same pixels, a few points a column).
  bool ReducePolylines = true;
  // The item list's index of runs with x never decreasing: such runs are
  // reduced by searching, their points never all mapped, and other line-to
  // items are mapped from its compact copy. None: every item is mapped first.
  const TSortedRunIndex* SortedRuns = nullptr;
};

// The mappings of layers 1 and 2 onto a surface whose (dx, dy) is the chart
// area's top-left pixel.
std::array<TItemMapper, 2> ItemMappers(const TRenderSettings& s, int dx, int dy);


// The surface pixels of an item's points: (X1, Y1) and (X2, Y2), or for an
// ellipse the corners of its box; what a kind does not map stays unset.
struct TItemPixels {
  TPoint P1, P2;
};

// The reduced polylines of the runs of line-to items that share a pen, a
// class and a layer, kept with the item pixels they were made from: appended
// points extend the last run, so a repaint does work for the new points and
// the reduced points only.
class TPolylineRuns {
 public:
  void Clear() { runs_.clear(); }
  // The items are the same but their pixels are not: every run is reduced anew.
  void PixelsChanged() {
    for (Run& r : runs_) r.Stale = true;
  }
  // The reduced run of items from `begin` (a line-to item), drawn from
  // `start` on a surface `surfaceWidth` wide; `end` gets the index past it.
  const TPolylineReducer& Reduce(std::span<const TRChartItem> items,
                                 std::span<const TItemPixels> pixels, std::size_t begin,
                                 TPoint start, int surfaceWidth, std::size_t& end,
                                 const TRenderSettings& s, const std::array<TItemMapper, 2>& maps);

 private:
  struct Run {
    std::size_t Begin = 0, End = 0;
    bool Closed = false;  // ended by an item of another kind or pen, not by the list
    TPoint Start;
    std::size_t Fed = 0;  // the reducer has the points up to here (from Begin)
    bool Stale = true;    // its points are of other pixels
    TPolylineReducer Reducer;
  };
  std::vector<Run> runs_;
  TPolylineReducer scratch_;  // for a run that is not kept
};

// The item pixels of the last render pass of one chart, kept while the list
// version, the mappings and the offsets stay: the window repaints the same
// items on the same ranges at every step and adds two, so mostly only the new
// ones are mapped.
class TItemPixelCache {
 public:
  std::span<const TItemPixels> Update(std::span<const TRChartItem> items, std::uint64_t listVersion,
                                      const TRenderSettings& s, int dx, int dy);
  void Clear() {
    pixels_.clear();
    mapped_ = 0;
    runs_.Clear();
  }
  // The reduced polylines made from the pixels Update gave last.
  TPolylineRuns& Runs() { return runs_; }

 private:
  std::uint64_t listVersion_ = 0;
  std::array<TLayerMap, 2> maps_{};
  int dx_ = 0, dy_ = 0, lRim_ = 0, tRim_ = 0;
  // Items before this one have their pixels (but line-to items when the
  // settings have the index: the pass maps those where it draws them).
  std::size_t mapped_ = 0;
  bool indexed_ = false;  // the pixels were made with the index
  std::vector<TItemPixels> pixels_;
  TPolylineRuns runs_;
};

// The longest polyline one call draws; a longer run of line-to items goes on
// in the next call from the same point.
inline constexpr int kPolylineBatch = 200;

class TItemRenderer {
 public:
  TItemRenderer(TCanvas& surface, int dx, int dy, bool blackAndWhite, const TRenderSettings& s);
  TItemRenderer(const TItemRenderer&) = delete;
  TItemRenderer& operator=(const TItemRenderer&) = delete;

  // The grid lines or points in the grid colour.
  void DrawGrid();
  // Pen width, pen position and the cached pen, brush and font values of the
  // pass start: what DrawItems begins with.
  void Begin();
  // Every visible item in list order, at its pixels; the last polyline is
  // flushed. Reduced polylines are kept in `runs` when it is given.
  void DrawItems(std::span<const TRChartItem> items, std::span<const TItemPixels> pixels,
                 TPolylineRuns* runs = nullptr);
  // One text label (nothing for tlOff or a hidden layer).
  void DrawTextLabel(const TTextLabel& label);
  // The chart area's frame on the outermost pixels of the area.
  void DrawFrame(TColor color);

 private:
  // Control pixels to surface pixels.
  TPoint ToSurface(std::int64_t x, std::int64_t y) const {
    return TPoint{ClampToInt32(x + dx_ - set_.Geometry.LRim),
                  ClampToInt32(y + dy_ - set_.Geometry.TRim)};
  }

  void SetPenColor(TColor c);
  void SetPenStyle(TPenStyle s);
  void SetBrushColor(TColor c);
  void SetFontColor(TColor c);
  void PrepareOutlineAndFill(const TRChartItem& item, TColor c);
  void AppendPolyline(TPoint p);
  void FlushPolyline();
  void RescaleFontForPrinter(int size);

  void DrawItem(const TRChartItem& item, const TItemPixels& px);
  // Whether the run of line-to items from this one may be drawn reduced.
  bool Reducible(const TRChartItem& item, int width) const;
  // Draws the run from items[begin] as a reduced polyline; gives the index past it.
  std::size_t DrawReducedRun(std::span<const TRChartItem> items,
                             std::span<const TItemPixels> pixels, std::size_t begin,
                             TPolylineRuns* runs);
  void DrawRect3D(const TRChartItem& item, const TItemPixels& px);
  void DrawBar3D(const TRChartItem& item, const TItemPixels& px, TColor c);
  void DrawText(const TRChartItem& item, const TItemPixels& px, TColor c);
  void DrawArrow(const TRChartItem& item, const TItemPixels& px, TColor c);
  void GridLinesAlong(bool vertical);

  TCanvas& s_;
  int dx_, dy_;
  std::array<TItemMapper, 2> maps_;  // layers 1 and 2
  bool blackAndWhite_;
  const TRenderSettings& set_;
  // The values the surface holds, so it is changed only where an item needs another.
  TColor penColor_ = 0;
  TPenStyle penStyle_ = psSolid;
  int penWidth_ = 1;
  TColor brushColor_ = 0;
  TColor fontColor_ = 0;
  TPoint currentPoint_;
  std::array<TPoint, kPolylineBatch> polyline_{};
  int polylineCount_ = 0;
};

}  // namespace travenel
