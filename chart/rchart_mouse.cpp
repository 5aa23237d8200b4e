// TCustomRChart: the mouse — panning, the zoom window, zooming by dragging,
// dragging cross-hairs and text labels, the rubber band, the cursor and the
// position report. The handlers gather the mouse state and hand the
// arithmetic to the pan and zoom functions of rchart_map.
#include <algorithm>
#include <climits>
#include <cmath>

#include "travenel/chart/rchart.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

TAxisRange RangeOf(const TScaleProps& p) {
  return TAxisRange{p.RangeLow(), p.RangeHigh(), p.Logarithmic()};
}

// A range the mouse may give an axis: finite, at least MinRange wide and, on
// a logarithmic axis, positive. Zooming in again and again would otherwise
// narrow an axis until its ends are equal, and then nothing — zooming out,
// panning — could move it again.
TRange Checked(const TRange& r, const TScaleProps& p) {
  const bool ok = std::isfinite(r.Low) && std::isfinite(r.High) &&
                  std::fabs(static_cast<long double>(r.High) - r.Low) >= p.MinRange() &&
                  (!p.Logarithmic() ||
                   (r.Low >= TScaleProps::kMinLogBound && r.High >= TScaleProps::kMinLogBound));
  return ok ? r : TRange{p.RangeLow(), p.RangeHigh()};
}

}  // namespace

void TCustomRChart::SetMouseLayerEnabled(int layer, bool enabled) {
  mouse_.LayerEnabled[LayerIndex(layer)] = enabled;
}

void TCustomRChart::ArmRubberBand() {
  HideOutline(bandOutline_);
  mouse_.BandState = 1;
}

bool TCustomRChart::RubberBandRect(TRect& r) const {
  if (mouse_.BandState != 3) return false;
  r = Rect(mouse_.BandStart.X, mouse_.BandStart.Y, mouse_.BandFinal.X, mouse_.BandFinal.Y);
  return true;
}

TPoint TCustomRChart::IntoChartArea(int x, int y) const {
  const TChartGeometry g = Geometry();
  return TPoint{ClampToInt32(std::clamp<std::int64_t>(x, g.AreaLeft(),
                                                      std::max(g.AreaLeft(), g.AreaRight()))),
                ClampToInt32(std::clamp<std::int64_t>(y, g.AreaTop(),
                                                      std::max(g.AreaTop(), g.AreaBottom())))};
}

// --- outlines -------------------------------------------------------------------------

void TCustomRChart::ShowOutline(TOutline& o, const TRect& r) {
  HideOutline(o);
  TCanvas& c = WindowImage().Canvas();
  c.Pen.Mode = pmXor;
  c.Pen.Color = clWhite;
  c.Brush.Style = bsClear;
  c.Rectangle(r);
  c.Pen.Mode = pmCopy;
  c.Brush.Style = bsSolid;
  o.Shown = true;
  o.Rect = r;
  Present();
}

void TCustomRChart::HideOutline(TOutline& o) {
  if (!o.Shown) return;
  o.Shown = false;
  TCanvas& c = WindowImage().Canvas();
  c.Pen.Mode = pmXor;
  c.Pen.Color = clWhite;
  c.Brush.Style = bsClear;
  c.Rectangle(o.Rect);  // XOR twice restores the picture
  c.Pen.Mode = pmCopy;
  c.Brush.Style = bsSolid;
  Present();
}

// --- the handlers ---------------------------------------------------------------------

void TCustomRChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseDown(button, shift, x, y);
  if (mouse_.BandState == 1) {
    if (button == mbRight) {
      mouse_.BandState = 0;
    } else {
      mouse_.BandStart = mouse_.BandCurrent = TPoint{x, y};
      mouse_.BandState = 2;
    }
  }
  if ((mouseAction_ == maZoomWind || mouseAction_ == maZoomWindPos) && !mouse_.ZoomWindowActive &&
      button == mbLeft && Geometry().InChartArea(x, y)) {
    mouse_.ZoomWindowActive = true;
    mouse_.X0 = mouse_.X1 = x;
    mouse_.Y0 = mouse_.Y1 = y;
  }
}

void TCustomRChart::MouseMove(TShiftState shift, int x, int y) {
  TControl::MouseMove(shift, x, y);
  MouseMoveHandler(shift, x, y);
  if (OnMouseMoveInChart) {
    double wx, wy;
    PixelToWorld(activeLayer_, x, y, wx, wy);
    OnMouseMoveInChart(*this, Geometry().InChartArea(x, y), shift, wx, wy);
  }
}

void TCustomRChart::MouseMoveHandler(TShiftState shift, int x, int y) {
  if (mouse_.BandState == 2) {
    const TPoint p = IntoChartArea(x, y);
    ShowOutline(bandOutline_, Rect(mouse_.BandStart.X, mouse_.BandStart.Y, p.X, p.Y));
    mouse_.BandCurrent = p;
  }
  const bool left = shift.Contains(ssLeft);
  switch (mouseAction_) {
    case maPan:
    case maPanHoriz:
    case maPanVert:
    case maZoomDrag:
      if (!left) {
        mouse_.DragStarted = false;
        break;
      }
      if (!mouse_.DragStarted)
        RecordDragStart(x, y);
      else if (Geometry().InChartArea(x, y))
        mouseAction_ == maZoomDrag ? ZoomDragTo(x, y) : PanTo(x, y);
      mouse_.DragStarted = true;
      break;
    case maZoomWind:
    case maZoomWindPos:
      if (mouse_.ZoomWindowActive) ZoomWindowTo(x, y);
      break;
    case maDragCrossH:
    case maDragLabel:
      if (!left) {
        mouse_.DragStarted = false;
        break;
      }
      if (!mouse_.DragStarted) {
        RecordDragStart(x, y);
        if (mouseAction_ == maDragCrossH) {
          std::array<TCrossHairSpot, kCrossHairs> spots;
          for (std::size_t i = 0; i < spots.size(); ++i) {
            const TCrossHair& h = *crossHairs_[i];
            spots[i] = {WorldToPixel(h.EffectiveLayer(), h.PosX(), h.PosY()), h.Mode()};
          }
          mouse_.SelectedCrossHair = ChooseCrossHair(spots, x, y);
        } else {
          std::array<TTextLabelSpot, kTextLabels> spots;
          for (std::size_t i = 0; i < spots.size(); ++i) {
            const TTextLabel& l = *textLabels_[i];
            const TPoint p = l.AttachToData() ? WorldToPixel(l.Layer(), l.PosX(), l.PosY())
                                              : TPoint{PixelFrom(l.PosX()), PixelFrom(l.PosY())};
            spots[i] = {p, l.Mode() != tlOff};
          }
          mouse_.SelectedTextLabel = ChooseTextLabel(spots, x, y);
        }
        mouse_.DragStarted = true;
      } else {
        mouseAction_ == maDragCrossH ? DragCrossHairTo(x, y) : DragTextLabelTo(x, y);
      }
      break;
    default: break;
  }
  UpdateCursor(x, y);
}

void TCustomRChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseUp(button, shift, x, y);
  // A drag also ends with its button: the next press starts a new one even
  // when no move comes between (else it would go on from the old start).
  if (button == mbLeft) mouse_.DragStarted = false;
  if (mouse_.BandState == 2) {
    if (button == mbRight) {
      mouse_.BandState = 0;
    } else {
      mouse_.BandFinal = TPoint{x, y};
      mouse_.BandState = 3;
    }
    HideOutline(bandOutline_);
  }
  if ((mouseAction_ == maZoomWind || mouseAction_ == maZoomWindPos) && mouse_.ZoomWindowActive) {
    if (button == mbRight) {
      mouse_.ZoomWindowActive = false;
      HideOutline(zoomOutline_);
    } else if (button == mbLeft) {
      if (mouse_.X0 != mouse_.X1 && mouse_.Y0 != mouse_.Y1) ApplyZoomWindow();
      mouse_.ZoomWindowActive = false;
      HideOutline(zoomOutline_);
    }
  }
}

void TCustomRChart::MouseLeave() {
  TControl::MouseLeave();
  TScreen::Instance().SetCursor(crDefault);
}

void TCustomRChart::UpdateCursor(int x, int y) {
  if (!Geometry().InChartArea(x, y) || mouseCursorFixed_) {
    TScreen::Instance().SetCursor(crDefault);
    return;
  }
  switch (mouseAction_) {
    case maNone: TScreen::Instance().SetCursor(crCross); break;
    case maPan:
    case maPanHoriz:
    case maPanVert: TScreen::Instance().SetCursor(kCursorHand); break;
    case maZoomWind: TScreen::Instance().SetCursor(kCursorZoomWindow); break;
    case maZoomWindPos: TScreen::Instance().SetCursor(kCursorZoomWindowPos); break;
    case maZoomDrag: TScreen::Instance().SetCursor(kCursorZoomDrag); break;
    case maDragCrossH:
    case maDragLabel: TScreen::Instance().SetCursor(crDefault); break;
    default: break;  // the other modes leave the cursor as it is
  }
}

// --- range changes ------------------------------------------------------------------------

void TCustomRChart::RecordDragStart(int x, int y) {
  for (int layer = 1; layer <= 2; ++layer) {
    TDragStart& s = mouse_.Start[LayerIndex(layer)];
    s.X = x;
    s.Y = y;
    s.XRange = RangeOf(GetScalePropsX(layer));
    s.YRange = RangeOf(GetScalePropsY(layer));
  }
  mouse_.DragRemembered = false;
}

void TCustomRChart::PanTo(int x, int y) {
  const TChartGeometry g = Geometry();
  TPaintBatch batch(*this);
  for (int layer = 1; layer <= 2; ++layer) {
    if (!MouseLayerEnabled(layer)) continue;
    const TDragStart& s = mouse_.Start[LayerIndex(layer)];
    const TAxisRange nowX = RangeOf(GetScalePropsX(layer)), nowY = RangeOf(GetScalePropsY(layer));
    TRange rx{nowX.Low, nowX.High}, ry{nowY.Low, nowY.High};
    if (mouseAction_ != maPanVert)
      rx = PanRange(s.XRange, nowX, std::int64_t{x} - s.X, g.MapWidth(), false);
    if (mouseAction_ != maPanHoriz)
      ry = PanRange(s.YRange, nowY, std::int64_t{y} - s.Y, g.MapHeight(), true);
    rx = Checked(rx, GetScalePropsX(layer));
    ry = Checked(ry, GetScalePropsY(layer));
    SetLayerRanges(layer, rx.Low, ry.Low, rx.High, ry.High);
  }
  NoteDragStart();
  batch.FinishQuietly();
  PaintMouseChange();
  ZoomPanDone();
}

void TCustomRChart::ZoomDragTo(int x, int y) {
  TPaintBatch batch(*this);
  for (int layer = 1; layer <= 2; ++layer) {
    if (!MouseLayerEnabled(layer)) continue;
    const TDragStart& s = mouse_.Start[LayerIndex(layer)];
    const long double fx = ZoomDragFactorX(std::int64_t{x} - s.X, Width());
    const long double fy = isometric_ ? fx : ZoomDragFactorY(std::int64_t{y} - s.Y, Height());
    const TRange rx =
        Checked(ZoomAboutCentre({s.XRange.Low, s.XRange.High}, fx), GetScalePropsX(layer));
    const TRange ry =
        Checked(ZoomAboutCentre({s.YRange.Low, s.YRange.High}, fy), GetScalePropsY(layer));
    SetLayerRanges(layer, rx.Low, ry.Low, rx.High, ry.High);
  }
  NoteDragStart();
  batch.FinishQuietly();
  PaintMouseChange();
  ZoomPanDone();
}

void TCustomRChart::ZoomWindowTo(int x, int y) {
  x = IntoChartArea(x, y).X;
  if (isometric_) y = ClampToInt32(SquareWindowY(x, y, mouse_.X0, mouse_.Y0));
  y = IntoChartArea(x, y).Y;
  ShowOutline(zoomOutline_, Rect(mouse_.X0, mouse_.Y0, x, y));
  mouse_.X1 = x;
  mouse_.Y1 = y;
}

void TCustomRChart::ApplyZoomWindow() {
  const bool keep = mouseAction_ == maZoomWindPos;
  const TZoomRanges start = CurrentZoomRanges();
  TPaintBatch batch(*this);
  for (int layer = 1; layer <= 2; ++layer) {
    if (!MouseLayerEnabled(layer)) continue;
    double ax, ay, bx, by;
    PixelToWorld(layer, mouse_.X0, mouse_.Y0, ax, ay);
    PixelToWorld(layer, mouse_.X1, mouse_.Y1, bx, by);
    const TScaleProps& px = GetScalePropsX(layer);
    const TScaleProps& py = GetScalePropsY(layer);
    const TRange rx = Checked(ZoomWindowRange(ax, bx, keep, px.RangeLow(), px.RangeHigh()), px);
    const TRange ry = Checked(ZoomWindowRange(ay, by, keep, py.RangeLow(), py.RangeHigh()), py);
    SetLayerRanges(layer, rx.Low, ry.Low, rx.High, ry.High);
  }
  NoteZoomStart(start);
  batch.Finish();  // repaints, which also removes the outline
  zoomOutline_.Shown = false;
  ZoomPanDone();
}

// --- dragging cross-hairs and labels --------------------------------------------------------

void TCustomRChart::DragCrossHairTo(int x, int y) {
  TCrossHair& h = CrossHair(mouse_.SelectedCrossHair);
  double wx, wy;
  PixelToWorld(h.EffectiveLayer(), x, y, wx, wy);
  {
    // One repaint for both coordinates.
    TPaintBatch batch(*this);
    h.SetPosX(wx);
    h.SetPosY(wy);
    batch.FinishQuietly();
  }
  PaintMouseChange();
  if (OnCrossHairMove) OnCrossHairMove(*this, h);
  CrossHairMoved(mouse_.SelectedCrossHair);
}

void TCustomRChart::DragTextLabelTo(int x, int y) {
  TTextLabel& l = TextLabel(mouse_.SelectedTextLabel);
  double wx = x, wy = y;
  if (l.AttachToData()) PixelToWorld(l.Layer(), x, y, wx, wy);
  {
    TPaintBatch batch(*this);
    l.SetPosX(wx);
    l.SetPosY(wy);
    batch.FinishQuietly();
  }
  PaintMouseChange();
  if (OnTextLabelMoved) OnTextLabelMoved(*this, l);
  TextLabelMoved(mouse_.SelectedTextLabel);
}

void TCustomRChart::ZoomPanDone() {
  if (OnZoomPan) OnZoomPan(*this);
  ZoomPanned();
}

// --- the wheel ------------------------------------------------------------------------------

void TCustomRChart::SetWheelGestureMs(int ms) {
  wheelGestureMs_ = std::clamp(ms, 0, 10000);
  wheelGestureOpen_ = false;
}

bool TCustomRChart::MouseWheel(TShiftState shift, int delta, int x, int y) {
  TControl::MouseWheel(shift, delta, x, y);
  if (!wheelZoom_ || delta == 0 || !Geometry().InChartArea(x, y)) return false;
  // A drag under way works from the ranges it started with: the wheel waits.
  if (mouse_.DragStarted || mouse_.ZoomWindowActive) return true;
  const long double f = WheelZoomFactor(delta, kWheelZoomFactor);
  const TZoomRanges start = CurrentZoomRanges();
  const auto now = std::chrono::steady_clock::now();
  const bool sameGesture =
      wheelGestureOpen_ && now - lastWheelStep_ < std::chrono::milliseconds(wheelGestureMs_);
  lastWheelStep_ = now;
  TPaintBatch batch(*this);
  for (int layer = 1; layer <= 2; ++layer) {
    if (!MouseLayerEnabled(layer)) continue;
    double wx, wy;
    PixelToWorld(layer, x, y, wx, wy);
    const TScaleProps& px = GetScalePropsX(layer);
    const TScaleProps& py = GetScalePropsY(layer);
    const TRange rx = Checked(ZoomAboutValue(RangeOf(px), wx, f), px);
    const TRange ry = Checked(ZoomAboutValue(RangeOf(py), wy, f), py);
    SetLayerRanges(layer, rx.Low, ry.Low, rx.High, ry.High);
  }
  // The gesture's entry holds the ranges it started from.
  if (!sameGesture) wheelGestureOpen_ = NoteZoomStart(start) && wheelGestureMs_ > 0;
  batch.FinishQuietly();
  PaintMouseChange();
  ZoomPanDone();
  return true;
}

}  // namespace travenel
