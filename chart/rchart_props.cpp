// TCustomRChart: construction, the appearance properties and their repaint
// rules, the rims and the shadow, the standard layouts, the isometric rule,
// resizing and the end of loading.
#include <algorithm>
#include <cmath>
#include <string>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"
#include "travenel/chart/rchart_render.h"

namespace travenel {

namespace {

// --- the standard layouts, as data -------------------------------------------------

struct TAxisLayout {
  int CaptionPosX, CaptionPosY;
  TAlignment CaptionAlignment;
  TScaleUnitAnchor CaptionAnchor;
  int ScalePos;
  bool Visible;
  bool FarSide;  // slTop / slRight instead of slBottom / slLeft
};

struct TChartLayout {
  int LRim, RRim, TRim, BRim;
  int CaptionPosX, CaptionPosY;
  TAlignment CaptionAlignment;
  TCaptionAnchorHoriz CaptionAnchorHoriz;
  TCaptionAnchorVert CaptionAnchorVert;
  TAxisLayout Axes[4];  // Scale1X, Scale1Y, Scale2X, Scale2Y
};

constexpr TAxisLayout kBottomCentred{0, 22, taCenter, uaSclCenter, 0, true, false};
constexpr TAxisLayout kHiddenX2{10, 100, taCenter, uaSclCenter, 0, false, false};
constexpr TAxisLayout kBottomLeftCaption{-20, 7, taRightJustify, uaSclTopLft, 0, true, false};
constexpr TAxisLayout kLeftRightCaption{0, -23, taRightJustify, uaSclTopLft, 0, true, false};

// Indexed by TrcLayout.
constexpr TChartLayout kLayouts[] = {
    // rcl_X1Bottom_Y1Left
    {50,
     20,
     20,
     40,
     0,
     -16,
     taRightJustify,
     cahChartRight,
     cavChartTop,
     {kBottomCentred,
      {0, -16, taLeftJustify, uaSclTopLft, 0, true, false},
      kHiddenX2,
      {10, 100, taRightJustify, uaSclTopLft, 0, false, false}}},
    // rcl_X1Bottom_Y2Left
    {100,
     20,
     24,
     40,
     0,
     -16,
     taRightJustify,
     cahChartRight,
     cavChartTop,
     {kBottomCentred,
      kLeftRightCaption,
      kHiddenX2,
      {0, -23, taRightJustify, uaSclTopLft, 50, true, false}}},
    // rcl_X1Bottom_Y2Both
    {50,
     50,
     24,
     40,
     0,
     -20,
     taCenter,
     cahChartCenter,
     cavChartTop,
     {kBottomCentred,
      kLeftRightCaption,
      kHiddenX2,
      {0, -23, taLeftJustify, uaSclTopLft, 0, true, true}}},
    // rcl_X2Bottom_Y2Left
    {100,
     20,
     24,
     70,
     0,
     -16,
     taRightJustify,
     cahChartRight,
     cavChartTop,
     {kBottomLeftCaption,
      kLeftRightCaption,
      {-20, 7, taRightJustify, uaSclTopLft, 30, true, false},
      {0, -23, taRightJustify, uaSclTopLft, 50, true, false}}},
    // rcl_X2Both_Y2Both
    {50,
     50,
     48,
     40,
     0,
     -46,
     taCenter,
     cahChartCenter,
     cavChartTop,
     {kBottomLeftCaption,
      {0, -40, taRightJustify, uaSclTopLft, 0, true, false},
      {-20, -24, taRightJustify, uaSclTopLft, 0, true, true},
      {0, -40, taLeftJustify, uaSclTopLft, 0, true, true}}},
};

int ClampRim(int v) { return std::clamp(v, 0, TCustomRChart::kMaxRim); }

}  // namespace

// --- construction -------------------------------------------------------------------

TCustomRChart::TCustomRChart()
    : TControl(Kind::Windowed),
      items_(std::make_shared<TRChartItemList>()),
      pixelCache_(std::make_unique<TItemPixelCache>()),
      paintCache_(std::make_unique<TChartPaintCache>(*this)) {
  // Painting stays suppressed until the window exists; items, drawing state,
  // rims, colours and caption start with the member values.
  classVisible_.set();
  for (int n = 0; n < kCrossHairs; ++n) {
    crossHairs_[n] = std::make_unique<TCrossHair>(n + 1);
    crossHairs_[n]->OnChange = [this](TCrossHair&) { RepaintIfAuto(); };
  }
  for (int n = 0; n < kTextLabels; ++n) {
    textLabels_[n] = std::make_unique<TTextLabel>(n + 1, Font());
    textLabels_[n]->OnChange = [this](TTextLabel&) { RepaintIfAuto(); };
  }
  backGroundImg_ = std::make_unique<TBakGndImg>();
  backGroundImg_->OnChange = [this](TBakGndImg&) { RepaintIfAuto(); };
  jointLayers_ = std::make_unique<TJointLayers>(*this);
  jointLayers_->OnChange = [this](TJointLayers&) { RepaintIfAuto(); };
  RegisterChartCursors();

  ResizeChartAreaImage();
  backgroundPicture_.SetSize(10, 10);
  aspectX_ = backgroundPicture_.Canvas().AspectX();
  aspectY_ = backgroundPicture_.Canvas().AspectY();

  CreateAxes();
  SetBounds(Left(), Top(), kCreatedWidth, kCreatedHeight);
  SetStandardLayout(rcl_X1Bottom_Y1Left);
  for (int layer = 1; layer <= 2; ++layer) {
    for (const bool horizontal : {true, false}) {
      const std::size_t axis = AxisIndex(layer, horizontal);
      SetUpScaleObject(*scales_[axis]);
      ApplyScaleProps(*scales_[axis], Props(axis));
      PlaceAcrossAxis(*scales_[axis], horizontal);
    }
  }
  Font().OnChange = [this] { RepaintIfAuto(); };
}

TCustomRChart::~TCustomRChart() { LeaveSharingGroup(); }

void TCustomRChart::CreateAxes() {
  const TColor layerColor[2] = {clBlack, clMaroon};
  for (int layer = 1; layer <= 2; ++layer) {
    for (const bool horizontal : {true, false}) {
      auto scale = std::make_unique<TScale>(/*embedded=*/true);
      scale->SetTarget(&ControlImage().Canvas(), 0, 0);
      scale->SetName(std::string(horizontal ? "RC_FScale_X_" : "RC_FScale_Y_") +
                     std::to_string(layer));
      scale->OnScaleTickDrawn = TTickEventForward{this};
      scales_[AxisIndex(layer, horizontal)] = std::move(scale);
    }
    // Layer 1 starts with its axes below and left of the area, layer 2 above
    // and right; the standard layout then places them all.
    if (layer == 1) {
      scaleProps1X_ = std::make_unique<TScalePropsHoriz>(sctXT);
      scaleProps1Y_ = std::make_unique<TScalePropsVert>(sctYR);
    } else {
      scaleProps2X_ = std::make_unique<TScalePropsHoriz>(sctXB);
      scaleProps2Y_ = std::make_unique<TScalePropsVert>(sctYL);
    }
  }
  props_ = {scaleProps1X_.get(), scaleProps1Y_.get(), scaleProps2X_.get(), scaleProps2Y_.get()};
  for (std::size_t axis = 0; axis < 4; ++axis) {
    TScaleProps& p = *props_[axis];
    p.SetColorScale(layerColor[axis / 2]);
    p.OnChange = [this](TScaleProps&) { ScalePropsChanged(); };
    p.DateFormat().OnChange = [this](TDTLabel&) { ScalePropsChanged(); };
  }
}

void TCustomRChart::SetUpScaleObject(TScale& scale) {
  scale.SetTransparent(true);
  scale.SetColorBackGnd(windColor_);
  scale.SetFrameStyle(fsNone);
  scale.SetBounds(0, 0, Width(), Height());
}

void TCustomRChart::CreateWnd() { SetPaintSuppressed(false); }

void TCustomRChart::Loaded() {
  TControl::Loaded();
  for (std::size_t axis = 0; axis < 4; ++axis) ApplyScaleProps(*scales_[axis], Props(axis));
  for (TScaleProps* p : props_) p->ClearLoadingFlag();
  ComputeMapping();
  Paint();
}

TCrossHair& TCustomRChart::CrossHair(int n) {
  return *crossHairs_[static_cast<std::size_t>(std::clamp(n, 1, kCrossHairs) - 1)];
}

TTextLabel& TCustomRChart::TextLabel(int n) {
  return *textLabels_[static_cast<std::size_t>(std::clamp(n, 1, kTextLabels) - 1)];
}

// --- repaint rules --------------------------------------------------------------------

void TCustomRChart::SetPaintSuppressed(bool v) {
  if (v == paintSuppressed_) return;
  paintSuppressed_ = v;
  if (!v) Paint();
}

void TCustomRChart::RepaintIfAuto() {
  if (autoRedraw_ || Designing()) Paint();
}

// --- appearance setters -----------------------------------------------------------------

void TCustomRChart::SetBackGroundImg(const TBakGndImg& v) {
  backGroundImg_->Assign(v);
  RepaintIfAuto();
}

void TCustomRChart::SetGridStyle(GridStyleType v) {
  gridStyle_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetGridDx(double v) {
  if (!(v >= kMinGridStep) || !std::isfinite(v)) return;
  gridDx_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetGridDy(double v) {
  if (!(v >= kMinGridStep) || !std::isfinite(v)) return;
  gridDy_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetChartFrameColor(TColor v) {
  chartFrameColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetChartColor(TColor v) {
  chartColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetWindColor(TColor v) {
  windColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetGridColor(TColor v) {
  gridColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaption(const std::string& v) {
  caption_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaptionPosX(int v) {
  captionPosX_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaptionPosY(int v) {
  captionPosY_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaptionAlignment(TAlignment v) {
  captionAlignment_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaptionAnchorHoriz(TCaptionAnchorHoriz v) {
  captionAnchorHoriz_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCaptionAnchorVert(TCaptionAnchorVert v) {
  captionAnchorVert_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetCrossHair(int n, const TCrossHair& v) {
  TCrossHair& own = CrossHair(n);
  auto notify = std::move(own.OnChange);
  own.OnChange = nullptr;
  own.Assign(v);
  own.OnChange = std::move(notify);
  RepaintIfAuto();
}

void TCustomRChart::SetShadowStyle(TShadowStyle v) {
  shadowStyle_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetShadowColor(TColor v) {
  shadowColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetShadowBakColor(TColor v) {
  shadowBakColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetTextFontStyle(TFontStyles v) {
  textFontStyle_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetTextBkStyle(TTextBkg v) {
  textBkStyle_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetTextBkColor(TColor v) {
  textBkColor_ = v;
  RepaintIfAuto();
}

void TCustomRChart::SetTextAlignment(TAlignment v) {
  textAlignment_ = v;
  RepaintIfAuto();
}

// --- rims, shadow and size -------------------------------------------------------------

void TCustomRChart::SetLRim(int v) {
  lRim_ = ClampRim(v);
  LayoutChanged();
}

void TCustomRChart::SetRRim(int v) {
  rRim_ = ClampRim(v);
  LayoutChanged();
}

void TCustomRChart::SetTRim(int v) {
  tRim_ = ClampRim(v);
  LayoutChanged();
}

void TCustomRChart::SetBRim(int v) {
  bRim_ = ClampRim(v);
  LayoutChanged();
}

void TCustomRChart::SetShadowWidth(int v) {
  shadowWidth_ = std::clamp(v, 0, kMaxShadowWidth);
  LayoutChanged();
}

void TCustomRChart::ResizeChartAreaImage() {
  paintCache_->SettleAreaImage();  // the image keeps what it holds
  const TChartGeometry g = Geometry();
  chartAreaImage_.SetSize(g.AreaImageWidth(), g.AreaImageHeight());
}

void TCustomRChart::LayoutChanged() {
  ResizeChartAreaImage();
  ReplaceAxes(false);
  ComputeMapping();
  RepaintIfAuto();
  LeastSizeChanged();
}

void TCustomRChart::ReplaceAxes(bool resized) {
  for (int layer = 1; layer <= 2; ++layer) {
    if (isometric_) ApplyIsometric(layer);
    for (const bool horizontal : {true, false}) {
      const std::size_t axis = AxisIndex(layer, horizontal);
      ApplyScaleProps(*scales_[axis], Props(axis));
      if (resized) scales_[axis]->SetBounds(0, 0, Width(), Height());
      PlaceAcrossAxis(*scales_[axis], horizontal);
    }
  }
}

void TCustomRChart::SetBounds(int left, int top, int width, int height) {
  if (OnCanResize) {
    bool resize = true;
    OnCanResize(*this, width, height, resize);
    if (!resize) return;
  }
  const TChartGeometry g = Geometry();
  width = std::max(width, g.MinWidth());
  height = std::max(height, g.MinHeight());
  const bool resized = width != Width() || height != Height();
  // While the window's picture still has the chart area's.
  paintCache_->SettleAreaImage();
  TControl::SetBounds(left, top, width, height);
  if (!scales_[0]) return;  // still being built
  ResizeChartAreaImage();
  ReplaceAxes(true);
  ComputeMapping();
  RepaintIfAuto();
  if (resized && OnResize) OnResize(*this);
}

// --- standard layouts and the isometric rule ---------------------------------------------

void TCustomRChart::SetStandardLayout(TrcLayout v) {
  if (v > rcl_X2Both_Y2Both) return;
  const TChartLayout& l = kLayouts[v];
  TPaintBatch batch(*this);
  SetLRim(l.LRim);
  SetRRim(l.RRim);
  SetTRim(l.TRim);
  SetBRim(l.BRim);
  SetCaptionPosX(l.CaptionPosX);
  SetCaptionPosY(l.CaptionPosY);
  SetCaptionAlignment(l.CaptionAlignment);
  SetCaptionAnchorHoriz(l.CaptionAnchorHoriz);
  SetCaptionAnchorVert(l.CaptionAnchorVert);
  for (std::size_t axis = 0; axis < 4; ++axis) {
    const TAxisLayout& a = l.Axes[axis];
    TScaleProps& p = Props(axis);
    if (axis % 2 == 0)
      static_cast<TScalePropsHoriz&>(p).SetScaleLocation(a.FarSide ? slTop : slBottom);
    else
      static_cast<TScalePropsVert&>(p).SetScaleLocation(a.FarSide ? slRight : slLeft);
    p.SetCaptionPosX(a.CaptionPosX);
    p.SetCaptionPosY(a.CaptionPosY);
    p.SetCaptionAlignment(a.CaptionAlignment);
    p.SetCaptionAnchor(a.CaptionAnchor);
    p.SetScalePos(a.ScalePos);
    p.SetVisible(a.Visible);
  }
  for (std::size_t axis = 0; axis < 4; ++axis) ApplyScaleProps(*scales_[axis], Props(axis));
  batch.Finish();
}

void TCustomRChart::SetIsometric(bool v) {
  isometric_ = v;
  if (!v) return;
  ApplyIsometric(1);
  ApplyIsometric(2);
  RepaintIfAuto();
}

void TCustomRChart::ApplyIsometric(int layer) {
  const TChartGeometry g = Geometry();
  const double pw = static_cast<double>(g.PlotWidth());
  const double ph = static_cast<double>(g.PlotHeight());
  if (pw <= 0 || aspectX_ == 0) return;  // no area to measure against
  const TScaleProps& x = GetScalePropsX(layer);
  TScaleProps& y = GetScalePropsY(layer);
  y.SetRangeHigh((x.RangeHigh() - x.RangeLow()) * ph / pw * aspectY_ / aspectX_ + y.RangeLow());
}

}  // namespace travenel
