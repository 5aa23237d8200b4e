// rchart: the chart control TRChart (base TCustomRChart) — a list of drawing
// items in world coordinates on two layers, each with a horizontal and a
// vertical axis, a caption, a shadow, grid, background picture, text labels,
// cross-hairs, mouse actions, and item data shared between charts.
//
// The control is split over several files by concern: the item list
// (rchart_items.cpp), the axes and layers (rchart_axes.cpp), construction and
// the appearance properties (rchart_props.cpp), painting (rchart_paint.cpp),
// item rendering (rchart_render.cpp), the mouse (rchart_mouse.cpp) and data
// sharing (rchart_share.cpp). The arithmetic lives in rchart_map.h.
#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "travenel/chart/Scale.h"
#include "travenel/chart/rchart_item.h"
#include "travenel/chart/rchart_map.h"
#include "travenel/chart/rchart_props.h"
#include "travenel/chart/ulxbase.h"
#include "travenel/gfx/Bitmap.h"
#include "travenel/ui/Control.h"

namespace travenel {

class TCustomRChart;
struct TRenderSettings;
class TItemPixelCache;
struct TChartPaintCache;

// Event types.
using TMouseMoveInChartEvent = std::function<void(
    TCustomRChart& Sender, bool InChart, TShiftState Shift, double rMousePosX, double rMousePosY)>;
using TZoomPanEvent = std::function<void(TCustomRChart& Sender)>;
using TRenderEvent = std::function<void(TCustomRChart& Sender, TCanvas& Canvas, int Top, int Left)>;
using TCrossHairMoveEvent = std::function<void(TCustomRChart& Sender, TCrossHair& WhichCrossHair)>;
using TTextLabelMoveEvent = std::function<void(TCustomRChart& Sender, TTextLabel& WhichTextLabel)>;
using TCanResizeEvent =
    std::function<void(TCustomRChart& Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TNotifyEvent = std::function<void(TCustomRChart& Sender)>;

class TCustomRChart : public TControl {
 public:
  static constexpr int kLayers = 2;
  static constexpr int kCrossHairs = 4;
  static constexpr int kTextLabels = 20;
  static constexpr int kMaxShadowWidth = 32;
  // Rims are kept in 0 .. kMaxRim. The control's size is raised to its least
  // size (the rims and the shadow, and 80 x 20 for the chart area), which is
  // so at most kMaxLeastSize a side: the chart never makes itself larger than
  // that (about 64 MB of picture). A larger size is the caller's; a size
  // whose picture cannot be allocated shows nothing until one fits.
  static constexpr int kMaxRim = 2000;
  static constexpr int kMaxLeastSize = 2 * kMaxRim + kMaxShadowWidth + 80;
  // The created size.
  static constexpr int kCreatedWidth = 280;
  static constexpr int kCreatedHeight = 200;
  // GridDx and GridDy below this are ignored.
  static constexpr double kMinGridStep = -3.0;
  // AllocSize accepts 1 .. this.
  static constexpr int kMaxAllocSize = 1000000;
  // Application cursors the chart registers: a hand for panning and the zoom symbols.
  static constexpr TCursor kCursorHand = 1;
  static constexpr TCursor kCursorZoomWindow = 2;
  static constexpr TCursor kCursorZoomDrag = 3;
  static constexpr TCursor kCursorZoomWindowPos = 4;

  TCustomRChart();
  ~TCustomRChart() override;

  // --- items ---------------------------------------------------------------
  // getters:
  int AllocSize() const { return allocSize_; }
  bool AutoRedraw() const { return autoRedraw_; }
  TColor DataColor() const { return dataColor_; }
  TPenStyle PenStyle() const { return penStyle_; }
  TColor FillColor() const { return fillColor_; }
  std::uint8_t LineWidth() const { return lineWidth_; }
  std::uint8_t ClassDefault() const { return classDefault_; }
  int ActiveLayer() const { return activeLayer_; }
  // The item list (the sharing group's).
  const TRChartItemList& ItemList() const { return *items_; }
  int ItemCount() const { return items_->Count(); }
  // Index of the last item shown by ShowItems (-1: none yet).
  int LastShownItem() const { return lastShownItem_; }
  bool ClassVisible(int itemClass) const { return classVisible_[std::size_t(itemClass & 0xFF)]; }
  bool LayerVisible(int layer) const { return layerVisible_[LayerIndex(layer)]; }

  // setters (none repaints):
  void SetAllocSize(int v);  // 1 .. 1,000,000, other values are ignored
  // How many items the list (the sharing group's) may hold: 1000 unless set,
  // 1 .. 10,000,000 (clamped).
  int MaxItems() const { return items_->MaxItems(); }
  void SetMaxItems(int v) { items_->SetMaxItems(v); }
  void SetAutoRedraw(bool v) { autoRedraw_ = v; }
  void SetDataColor(TColor v) { dataColor_ = v; }
  void SetPenStyle(TPenStyle v) { penStyle_ = v; }
  void SetFillColor(TColor v) { fillColor_ = v; }
  void SetLineWidth(std::uint8_t v) { lineWidth_ = v; }
  void SetClassDefault(std::uint8_t v);  // 255 is ignored
  void SetClassVisible(int itemClass, bool visible);
  void SetLayerVisible(int layer, bool visible);

  // Appending items (each raises EUlxError when the list holds 1000 items).
  void MoveToPoint(double x, double y);
  void AddLine(double x1, double y1, double x2, double y2);
  // The other kinds, each with the drawing state of its moment; the filled
  // kinds take FillColor.
  void MarkAt(double x, double y, std::uint8_t markType, int fontSize = 0);
  void LineTo(double x, double y);  // from the current point, batched into polylines
  void Rectangle(double x1, double y1, double x2, double y2, bool transparent = false);
  void Rect3D(double x1, double y1, double x2, double y2, TFrameStyle edges, TColor dark,
              TColor light);
  void Bar3D(double x1, double y1, double x2, double y2, int depth, int angleDegrees);
  void Text(double x, double y, const std::string& text, int fontSize);  // 17 characters kept
  void Ellipse(double x, double y, double radiusX, double radiusY, bool transparent = false);
  void MoveToRelPix(double dx, double dy);  // offsets in pixels from the pen
  void LineToRelPix(double dx, double dy);
  void Arrow(double x1, double y1, double x2, double y2, int headLength, bool openHead = false);
  // Accepts layers 1 and 2 and then repaints (with AutoRedraw); any other
  // value changes nothing.
  void SetActiveLayer(int layer);
  void ClearItems();
  void ShowItems();

  // --- sharing item data ---------------------------------------------------
  static constexpr int kMaxDataUsers = 4;
  // The chart whose items this one shows, or none.
  TCustomRChart* UseDataOf() const { return useDataOf_; }
  // Attaches to another chart's items (none: detaches, keeping the items
  // shown). Refusals are shown in an information box and change nothing.
  void SetUseDataOf(TCustomRChart* owner);
  // The charts that show this chart's items, in the order they attached.
  const std::vector<TCustomRChart*>& DataUsers() const { return users_; }

  // --- layers and axes -------------------------------------------------------
  TScalePropsHoriz& Scale1X() { return *scaleProps1X_; }
  TScalePropsVert& Scale1Y() { return *scaleProps1Y_; }
  TScalePropsHoriz& Scale2X() { return *scaleProps2X_; }
  TScalePropsVert& Scale2Y() { return *scaleProps2Y_; }
  const TScalePropsHoriz& Scale1X() const { return *scaleProps1X_; }
  const TScalePropsVert& Scale1Y() const { return *scaleProps1Y_; }
  const TScalePropsHoriz& Scale2X() const { return *scaleProps2X_; }
  const TScalePropsVert& Scale2Y() const { return *scaleProps2Y_; }
  // Whole-object writes: the chart's own object takes over the values; the
  // chart repaints afterwards only while it is being designed.
  void SetScale1X(const TScalePropsHoriz& v);
  void SetScale1Y(const TScalePropsVert& v);
  void SetScale2X(const TScalePropsHoriz& v);
  void SetScale2Y(const TScalePropsVert& v);
  // The axis property objects of a layer; any layer but 2 gives layer 1's.
  TScaleProps& GetScalePropsX(int layer);
  TScaleProps& GetScalePropsY(int layer);
  const TScaleProps& GetScalePropsX(int layer) const;
  const TScaleProps& GetScalePropsY(int layer) const;
  // The scale objects that draw the axes ("RC_FScale_X_1" ...).
  TScale& ScaleObjectX(int layer) { return *scales_[AxisIndex(layer, true)]; }
  TScale& ScaleObjectY(int layer) { return *scales_[AxisIndex(layer, false)]; }
  TJointLayers& JointLayers() { return *jointLayers_; }
  const TJointLayers& JointLayers() const { return *jointLayers_; }
  void SetJointLayers(const TJointLayers& v);

  // Sets both ranges of a layer and of the layers joined to it, then repaints
  // once (unless painting is suppressed around it).
  void SetLayerRanges(int layer, double xLow, double yLow, double xHigh, double yHigh);
  // Sets both ranges of one layer as they stand, without looking at joins.
  void ApplyLayerRange(int layer, double xLow, double yLow, double xHigh, double yHigh);
  // Copies an axis property object into its scale object, placing the axis
  // line on the chart area's edge.
  void ApplyScaleProps(TScale& scale, const TScaleProps& props);
  // The axis-change handler: every axis property object's OnChange.
  void ScalePropsChanged();

  // --- appearance ----------------------------------------------------------
  // getters:
  int LRim() const { return lRim_; }
  int RRim() const { return rRim_; }
  int TRim() const { return tRim_; }
  int BRim() const { return bRim_; }
  TBakGndImg& BackGroundImg() { return *backGroundImg_; }
  const TBakGndImg& BackGroundImg() const { return *backGroundImg_; }
  GridStyleType GridStyle() const { return gridStyle_; }
  double GridDx() const { return gridDx_; }
  double GridDy() const { return gridDy_; }
  bool Isometric() const { return isometric_; }
  TColor ChartFrameColor() const { return chartFrameColor_; }
  TColor ChartColor() const { return chartColor_; }
  TColor WindColor() const { return windColor_; }
  TColor GridColor() const { return gridColor_; }
  const std::string& Caption() const { return caption_; }
  int CaptionPosX() const { return captionPosX_; }
  int CaptionPosY() const { return captionPosY_; }
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  TCaptionAnchorHoriz CaptionAnchorHoriz() const { return captionAnchorHoriz_; }
  TCaptionAnchorVert CaptionAnchorVert() const { return captionAnchorVert_; }
  TCrossHair& CrossHair(int n);  // 1 .. 4 (clamped)
  TCrossHair& CrossHair1() { return CrossHair(1); }
  TCrossHair& CrossHair2() { return CrossHair(2); }
  TCrossHair& CrossHair3() { return CrossHair(3); }
  TCrossHair& CrossHair4() { return CrossHair(4); }
  TTextLabel& TextLabel(int n);  // 1 .. 20 (clamped)
  TMouseActMode MouseAction() const { return mouseAction_; }
  bool MouseCursorFixed() const { return mouseCursorFixed_; }
  // A standard layout is applied, not kept: this always reads the created one.
  TrcLayout StandardLayout() const { return rcl_X1Bottom_Y1Left; }
  int ShadowWidth() const { return shadowWidth_; }
  TShadowStyle ShadowStyle() const { return shadowStyle_; }
  TColor ShadowColor() const { return shadowColor_; }
  TColor ShadowBakColor() const { return shadowBakColor_; }
  TFontStyles TextFontStyle() const { return textFontStyle_; }
  TTextBkg TextBkStyle() const { return textBkStyle_; }
  TColor TextBkColor() const { return textBkColor_; }
  TAlignment TextAlignment() const { return textAlignment_; }

  // setters:
  void SetLRim(int v);  // rims: a layout change (clamped to 0 .. kMaxRim)
  void SetRRim(int v);
  void SetTRim(int v);
  void SetBRim(int v);
  void SetBackGroundImg(const TBakGndImg& v);  // takes over the values
  void SetGridStyle(GridStyleType v);
  void SetGridDx(double v);  // below -3 (or NaN) ignored
  void SetGridDy(double v);
  void SetIsometric(bool v);
  void SetChartFrameColor(TColor v);
  void SetChartColor(TColor v);
  void SetWindColor(TColor v);
  void SetGridColor(TColor v);
  void SetCaption(const std::string& v);
  void SetCaptionPosX(int v);
  void SetCaptionPosY(int v);
  void SetCaptionAlignment(TAlignment v);
  void SetCaptionAnchorHoriz(TCaptionAnchorHoriz v);
  void SetCaptionAnchorVert(TCaptionAnchorVert v);
  void SetCrossHair(int n, const TCrossHair& v);  // takes over the values
  void SetMouseAction(TMouseActMode v) { mouseAction_ = v; }
  void SetMouseCursorFixed(bool v) { mouseCursorFixed_ = v; }
  void SetStandardLayout(TrcLayout v);
  void SetShadowWidth(int v);  // clamped to 0 .. 32
  void SetShadowStyle(TShadowStyle v);
  void SetShadowColor(TColor v);
  void SetShadowBakColor(TColor v);
  void SetTextFontStyle(TFontStyles v);
  void SetTextBkStyle(TTextBkg v);
  void SetTextBkColor(TColor v);
  void SetTextAlignment(TAlignment v);

  // --- painting --------------------------------------------------------------
  // Sets or clears the flag that makes a full repaint draw nothing; clearing
  // it repaints at once.
  void SetPaintSuppressed(bool v);
  bool PaintSuppressed() const { return paintSuppressed_; }
  // Repaints if AutoRedraw is on or the chart is being designed: the change
  // notification of the cross-hairs, text labels, background image and joints.
  void RepaintIfAuto();
  // The full repaint: the control image, then the chart area over it, then
  // the cross-hairs; shown on the window at once.
  void Paint() override;
  // Window colour, shadow, caption and axes on a surface; the window's picture
  // is left as it is when the surface is another one (a printer's, a bitmap's).
  void RenderControlImage(TCanvas& surface);
  // The chart area's background (colour or picture) on a surface whose (dx, dy)
  // is the area's top-left pixel.
  void RenderChartBackground(TCanvas& surface, int dx, int dy);
  // The render pass: grid, items, text labels and the area's frame.
  void RenderItems(TCanvas& surface, int dx, int dy, bool blackAndWhite, bool noGrid);
  // The active cross-hairs on an image whose (0, 0) is control pixel (dx, dy),
  // then the image onto the window there.
  void RenderCrossHairs(int dx, int dy, TBitmap& image);
  // Writes the picture the window shows, without the XOR outlines of a zoom
  // window or rubber band being dragged, as PNG or BMP (by the name's
  // suffix); an old file is replaced only once the new one is complete.
  // Throws EWriteError when the file cannot be written.
  void SaveToFile(const std::string& path) override;
  using TControl::SaveToFile;  // (path, scale): PNG and BMP at a scale, SVG and PDF
  // The picture anew on a device canvas of the chart's size, by the routines
  // of the paint; the outlines being dragged only on screen.
  bool RenderOn(TCanvas& surface, bool screen) override;
  // How many full repaints have drawn since construction.
  int PaintCount() const { return paintCount_; }

  // The geometry as it stands, and the mapping of a layer.
  TChartGeometry Geometry() const;
  virtual void ComputeMapping();
  const TLayerMap& LayerMap(int layer) const { return layerMaps_[LayerIndex(layer)]; }
  TPoint WorldToPixel(int layer, double x, double y) const;
  void PixelToWorld(int layer, int px, int py, double& x, double& y) const;

  // The three off-screen images. The control picture is composed in the
  // window image itself: the host shows it only between events, so it never
  // shows a half-drawn chart.
  TBitmap& ControlImage() { return WindowImage(); }
  // The chart-area image as the last render pass left it. A paint draws the
  // area straight into the window's picture where it can; the image is then
  // brought up to date here, when it is asked for.
  TBitmap& ChartAreaImage();
  TBitmap& BackgroundPicture() { return backgroundPicture_; }
  // The pixel aspect of the device the chart draws on (for the isometric rule).
  int AspectX() const { return aspectX_; }
  int AspectY() const { return aspectY_; }

  // --- mouse ------------------------------------------------------------------
  // Whether a layer follows pan and zoom (layer 1 does from the start, layer 2 not).
  bool MouseLayerEnabled(int layer) const { return mouse_.LayerEnabled[LayerIndex(layer)]; }
  void SetMouseLayerEnabled(int layer, bool enabled);
  // The rubber band: armed here, dragged with any button but the right one
  // (which disarms it). State 0 idle, 1 armed, 2 dragging, 3 done.
  void ArmRubberBand();
  int RubberBandState() const { return mouse_.BandState; }
  // The band from its start corner to its final one, once it is done.
  bool RubberBandRect(TRect& r) const;
  bool ZoomWindowActive() const { return mouse_.ZoomWindowActive; }

  // --- wheel zoom and zoom history ---------------------------------------------
  // The span of an axis after one notch of the wheel turned away from the user
  // (towards the user: divided by it).
  static constexpr double kWheelZoomFactor = 0.8;
  // The history keeps its first entry (home) and this many in all.
  static constexpr int kMaxZoomHistory = 100;
  // Off unless set: the wheel then zooms the layers that follow the mouse
  // about the world point under the cursor (inside the chart area), within
  // MinRange and, on logarithmic axes, positive; OnZoomPan fires. During a
  // drag of the mouse actions the wheel is taken but changes nothing.
  bool WheelZoom() const { return wheelZoom_; }
  void SetWheelZoom(bool v) { wheelZoom_ = v; }
  // Every pan and zoom made with the mouse (a drag, a zoom window, a wheel
  // step) that changes a range remembers the ranges of both layers it started
  // from. ZoomBack goes back one step, ZoomHome to the ranges before the first
  // remembered one (forgetting them all); both repaint once, fire OnZoomPan
  // and do nothing without a remembered step.
  int ZoomHistoryCount() const { return static_cast<int>(zoomHistory_.size()); }
  void ZoomBack();
  void ZoomHome();
  void ClearZoomHistory() {
    zoomHistory_.clear();
    wheelGestureOpen_ = false;
  }
  // Wheel steps less than this many milliseconds apart are one gesture, and
  // one entry of the zoom history: a touchpad sends dozens of small steps for
  // one movement of the fingers. 0 (for a chart on its own): every step is an
  // entry; RChartWidget sets kWheelGestureMs. Clamped to 0 .. 10,000.
  static constexpr int kWheelGestureMs = 300;
  int WheelGestureMs() const { return wheelGestureMs_; }
  void SetWheelGestureMs(int ms);
  // The next wheel step starts a gesture of its own (a touchpad's scrolling
  // begins anew).
  void EndWheelGesture() { wheelGestureOpen_ = false; }
  int SelectedCrossHair() const { return mouse_.SelectedCrossHair; }
  int SelectedTextLabel() const { return mouse_.SelectedTextLabel; }

  // --- events -----------------------------------------------------------------
  TMouseMoveInChartEvent OnMouseMoveInChart;
  TZoomPanEvent OnZoomPan;
  TScaleTickDrawnEvent OnScaleTickDrawn;
  TRenderEvent OnBeforeRenderData;
  TRenderEvent OnDataRendered;
  TRenderEvent OnScalesRendered;
  TCrossHairMoveEvent OnCrossHairMove;
  TTextLabelMoveEvent OnTextLabelMoved;
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnResize;

  // reimplemented virtual methods:
  // Raises the size to the minimum the rims and shadow need, re-places the
  // axes, remaps and repaints.
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // The mouse-move handling, then OnMouseMoveInChart with the world position
  // on the active layer, inside the chart area or not.
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  bool MouseWheel(TShiftState shift, int delta, int x, int y) override;
  // Arrows and Tab reach the chart instead of moving the focus.
  int DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTTAB; }

 protected:
  void CreateWnd() override;
  void Resized() override {}

  // For a subclass that shows the chart (the Qt widget turns them into
  // signals), each told after the program's handler of the same change:
  virtual void ZoomPanned() {}               // where OnZoomPan fires
  virtual void CrossHairMoved(int /*n*/) {}  // where OnCrossHairMove fires
  virtual void TextLabelMoved(int /*n*/) {}  // where OnTextLabelMoved fires
  virtual void LeastSizeChanged() {}         // the rims or the shadow changed
  // A change made by dragging or with the wheel is painted at once here; the
  // widget paints it at its next frame instead, so a burst of events paints
  // once.
  virtual void PaintMouseChange() { Paint(); }

 private:
  friend class TJointLayers;
  friend class TPaintBatch;
  // The paint with what the last paint left works on the chart's own state.
  friend struct TChartPaintCache;

  // A layer number outside 1 .. 2 counts as the nearer of the two.
  static std::size_t LayerIndex(int layer) { return layer >= 2 ? 1 : 0; }
  // Index of an axis in the arrays of four: layer 1 X, Y, layer 2 X, Y.
  static std::size_t AxisIndex(int layer, bool horizontal) {
    return LayerIndex(layer) * 2 + (horizontal ? 0 : 1);
  }
  TScaleProps& Props(std::size_t axis) { return *props_[axis]; }

  // Construction steps.
  void CreateAxes();
  void SetUpScaleObject(TScale& scale);
  // Sets the margins of a scale object across its axis to the chart area's.
  void PlaceAcrossAxis(TScale& scale, bool horizontal);
  // The rim and shadow changes: chart-area image, axes, mapping, repaint.
  void LayoutChanged();
  // For layer 1 then 2: the isometric rule if it is on, then each axis handed
  // to its scale object (given the control's size when it was resized) and
  // placed across the chart area.
  void ReplaceAxes(bool resized);
  void ResizeChartAreaImage();
  // The isometric rule for one layer: its vertical RangeHigh from the plot size.
  void ApplyIsometric(int layer);
  // Setting a joined axis: store, take the range of the controlling layer.
  void JoinChanged(int layer, bool horizontal, int destination);

  // --- items ---
  TRChartItem NewItem(TRChartItemKind kind) const;
  void AddItem(const TRChartItem& item);
  // ShowItems with AutoRedraw: the chart area alone, drawn and copied to the window.
  void RedrawChartArea();

  // --- mouse ---
  struct TDragStart {
    int X = 0, Y = 0;
    TAxisRange XRange, YRange;
  };
  struct TMouseState {
    bool DragStarted = false;
    std::array<TDragStart, kLayers> Start{};
    std::array<bool, kLayers> LayerEnabled{true, false};
    bool ZoomWindowActive = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    int BandState = 0;
    TPoint BandStart, BandCurrent, BandFinal;
    int SelectedCrossHair = 1;
    int SelectedTextLabel = 1;
    bool DragRemembered = false;  // the drag's start is in the zoom history
  };
  // An XOR outline on the window and whether it is there (a paint removes it).
  struct TOutline {
    bool Shown = false;
    TRect Rect;
  };
  void MouseMoveHandler(TShiftState shift, int x, int y);
  // OnZoomPan and its notice.
  void ZoomPanDone();
  void RecordDragStart(int x, int y);
  void PanTo(int x, int y);
  void ZoomDragTo(int x, int y);
  void ZoomWindowTo(int x, int y);
  void ApplyZoomWindow();
  void DragCrossHairTo(int x, int y);
  void DragTextLabelTo(int x, int y);
  void UpdateCursor(int x, int y);
  // Draws the outline (again: drawing it twice erases it), or erases a shown one.
  void ShowOutline(TOutline& o, const TRect& r);
  void HideOutline(TOutline& o);
  // The ranges of both layers' axes (layer 1 x, y, layer 2 x, y; low, high).
  using TZoomRanges = std::array<double, 8>;
  TZoomRanges CurrentZoomRanges() const;
  void RestoreZoomRanges(const TZoomRanges& r);
  // Remembers `start` when the ranges are no longer those; true when it did.
  bool NoteZoomStart(const TZoomRanges& start);
  // The same for the drag under way, from the ranges it started from.
  void NoteDragStart();
  // Clamps a control pixel into the chart area.
  TPoint IntoChartArea(int x, int y) const;

  // --- painting ---
  // RenderControlImage; with areaCovered the chart area is left for the
  // chart-area image that is drawn over it.
  void ComposeControlImage(TCanvas& surface, bool areaCovered);
  void DrawShadow(TCanvas& c);
  void DrawCaption(TCanvas& c);
  TRenderSettings RenderSettings() const;
  // The active cross-hairs on a surface whose (0, 0) is control pixel (dx, dy).
  void DrawCrossHairs(TCanvas& c, int dx, int dy);

  // --- sharing ---
  // Brings the charts of the sharing group up to date after a change of the
  // list: with one list per group there is nothing to copy.
  void SyncSharedData() {}
  // Asks the owner and every user of the group to repaint (each does if its
  // AutoRedraw is on or it is being designed).
  void RepaintSharingGroup();
  void RemoveUser(TCustomRChart* user);
  // On destruction: out of the owner's users; its own users keep their items.
  void LeaveSharingGroup();

  // --- item state ---
  std::shared_ptr<TRChartItemList> items_;
  int allocSize_ = 1000;
  bool autoRedraw_ = true;
  TColor dataColor_ = clBlack;
  TPenStyle penStyle_ = psSolid;
  TColor fillColor_ = clSilver;
  std::uint8_t lineWidth_ = 1;
  std::uint8_t classDefault_ = 0;
  int activeLayer_ = 1;
  std::bitset<256> classVisible_;
  std::array<bool, kLayers> layerVisible_{true, true};
  int lastShownItem_ = -1;

  // --- sharing ---
  TCustomRChart* useDataOf_ = nullptr;
  std::vector<TCustomRChart*> users_;
  // Owns nothing: its weak references tell the group's repaint which charts
  // still exist.
  std::shared_ptr<TCustomRChart> self_{this, [](TCustomRChart*) {}};

  // --- axes ---
  std::unique_ptr<TScalePropsHoriz> scaleProps1X_;
  std::unique_ptr<TScalePropsVert> scaleProps1Y_;
  std::unique_ptr<TScalePropsHoriz> scaleProps2X_;
  std::unique_ptr<TScalePropsVert> scaleProps2Y_;
  std::array<TScaleProps*, 4> props_{};  // the four above by AxisIndex
  std::array<std::unique_ptr<TScale>, 4> scales_;
  std::unique_ptr<TJointLayers> jointLayers_;
  std::array<TLayerMap, kLayers> layerMaps_{};

  // --- appearance ---
  int lRim_ = 50, rRim_ = 10, tRim_ = 16, bRim_ = 32;
  std::unique_ptr<TBakGndImg> backGroundImg_;
  GridStyleType gridStyle_ = gsNone;
  double gridDx_ = 0;
  double gridDy_ = 0;
  bool isometric_ = false;
  TColor chartFrameColor_ = clBlack;
  TColor chartColor_ = clWhite;
  TColor windColor_ = clBtnFace;
  TColor gridColor_ = clBlack;
  std::string caption_;
  int captionPosX_ = 0;
  int captionPosY_ = -15;
  TAlignment captionAlignment_ = taRightJustify;
  TCaptionAnchorHoriz captionAnchorHoriz_ = cahChartRight;
  TCaptionAnchorVert captionAnchorVert_ = cavChartTop;
  std::array<std::unique_ptr<TCrossHair>, kCrossHairs> crossHairs_;
  std::array<std::unique_ptr<TTextLabel>, kTextLabels> textLabels_;
  TMouseActMode mouseAction_ = maNone;
  bool mouseCursorFixed_ = true;
  int shadowWidth_ = 0;
  TShadowStyle shadowStyle_ = ssFlying;
  TColor shadowColor_ = clGrayText;
  TColor shadowBakColor_ = clBtnFace;
  TFontStyles textFontStyle_;
  TTextBkg textBkStyle_ = tbClear;
  TColor textBkColor_ = clWhite;
  TAlignment textAlignment_ = taCenter;

  // --- mouse ---
  TMouseState mouse_;
  TOutline zoomOutline_, bandOutline_;
  bool wheelZoom_ = false;
  int wheelGestureMs_ = 0;
  bool wheelGestureOpen_ = false;  // the last history entry is the running gesture's
  std::chrono::steady_clock::time_point lastWheelStep_{};
  std::vector<TZoomRanges> zoomHistory_;

  // --- painting ---
  bool paintSuppressed_ = true;
  bool painting_ = false;
  std::unique_ptr<TItemPixelCache> pixelCache_;
  std::unique_ptr<TChartPaintCache> paintCache_;
  int paintCount_ = 0;
  TBitmap chartAreaImage_;
  TBitmap backgroundPicture_;
  int aspectX_ = TCanvas::kAspect;
  int aspectY_ = TCanvas::kAspect;
};

// The chart as it is placed on forms.
class TRChart : public TCustomRChart {
 public:
  using TCustomRChart::TCustomRChart;
};

// Holds a chart's PaintSuppressed flag set for a batch of changes and puts
// the remembered value back at Finish (which repaints when that clears it).
// Left without Finish — by an exception — it restores the flag only.
class TPaintBatch {
 public:
  explicit TPaintBatch(TCustomRChart& chart);
  ~TPaintBatch();
  TPaintBatch(const TPaintBatch&) = delete;
  TPaintBatch& operator=(const TPaintBatch&) = delete;

  void Finish();
  // Puts the flag back without the repaint (the caller repaints itself).
  void FinishQuietly();

 private:
  TCustomRChart& chart_;
  bool previous_;
  bool done_ = false;
};

// Registers the chart's cursor pictures as application cursors 1 to 4 (once).
void RegisterChartCursors();

}  // namespace travenel
