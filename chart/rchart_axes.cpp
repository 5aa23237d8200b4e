// TCustomRChart: its two layers with their four axes — handing axis
// properties to the scale objects, layer ranges and joins, and the mapping
// of world coordinates to pixels.
#include <algorithm>
#include <climits>
#include <string>

#include "travenel/chart/rchart.h"

namespace travenel {

namespace {

TAxisRange RangeOf(const TScaleProps& p) {
  return TAxisRange{p.RangeLow(), p.RangeHigh(), p.Logarithmic()};
}

// The range a joined axis takes from the axis that controls it. A logarithmic
// axis cannot take ends below 1e-100 (a linear controller may well have them):
// it keeps its last range then, as it does against the mouse.
TRange JoinedRange(const TScaleProps& joined, const TScaleProps& controller) {
  const double lo = controller.RangeLow(), hi = controller.RangeHigh();
  if (joined.Logarithmic() && !(lo >= TScaleProps::kMinLogBound && hi >= TScaleProps::kMinLogBound))
    return TRange{joined.RangeLow(), joined.RangeHigh()};
  return TRange{lo, hi};
}

}  // namespace

// --- the batch of a paint ---------------------------------------------------------

TPaintBatch::TPaintBatch(TCustomRChart& chart) : chart_(chart), previous_(chart.paintSuppressed_) {
  chart_.paintSuppressed_ = true;
}

TPaintBatch::~TPaintBatch() {
  if (!done_) chart_.paintSuppressed_ = previous_;
}

void TPaintBatch::Finish() {
  done_ = true;
  chart_.SetPaintSuppressed(previous_);
}

void TPaintBatch::FinishQuietly() {
  done_ = true;
  chart_.paintSuppressed_ = previous_;
}

// --- axis property objects -----------------------------------------------------------

TScaleProps& TCustomRChart::GetScalePropsX(int layer) {
  return layer == 2 ? static_cast<TScaleProps&>(*scaleProps2X_) : *scaleProps1X_;
}

TScaleProps& TCustomRChart::GetScalePropsY(int layer) {
  return layer == 2 ? static_cast<TScaleProps&>(*scaleProps2Y_) : *scaleProps1Y_;
}

const TScaleProps& TCustomRChart::GetScalePropsX(int layer) const {
  return layer == 2 ? static_cast<const TScaleProps&>(*scaleProps2X_) : *scaleProps1X_;
}

const TScaleProps& TCustomRChart::GetScalePropsY(int layer) const {
  return layer == 2 ? static_cast<const TScaleProps&>(*scaleProps2Y_) : *scaleProps1Y_;
}

namespace {

// Takes over a whole axis object: the values go in quietly, the scale objects
// and ranges follow without a repaint; only a chart being designed repaints.
template <class TProps>
void TakeOver(TCustomRChart& chart, TProps& own, const TProps& source) {
  if (&own == &source) return;
  own.Assign(source);
  {
    TPaintBatch batch(chart);
    for (int layer = 1; layer <= 2; ++layer) {
      chart.ApplyScaleProps(chart.ScaleObjectX(layer), chart.GetScalePropsX(layer));
      chart.ApplyScaleProps(chart.ScaleObjectY(layer), chart.GetScalePropsY(layer));
    }
    for (int layer = 1; layer <= 2; ++layer) {
      const TScaleProps& x = chart.GetScalePropsX(layer);
      const TScaleProps& y = chart.GetScalePropsY(layer);
      chart.SetLayerRanges(layer, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh());
    }
    batch.FinishQuietly();
  }
  if (chart.Designing()) chart.Paint();
}

}  // namespace

void TCustomRChart::SetScale1X(const TScalePropsHoriz& v) { TakeOver(*this, *scaleProps1X_, v); }
void TCustomRChart::SetScale1Y(const TScalePropsVert& v) { TakeOver(*this, *scaleProps1Y_, v); }
void TCustomRChart::SetScale2X(const TScalePropsHoriz& v) { TakeOver(*this, *scaleProps2X_, v); }
void TCustomRChart::SetScale2Y(const TScalePropsVert& v) { TakeOver(*this, *scaleProps2Y_, v); }

// --- handing axes to their scale objects -------------------------------------------------

void TCustomRChart::ApplyScaleProps(TScale& scale, const TScaleProps& props) {
  // The margin along the axis puts its line on the edge of the chart area on
  // the side of its location, ScalePos pixels further out.
  const std::int64_t p = props.ScalePos();
  const std::int64_t w = Width(), h = Height(), sw = shadowWidth_;
  switch (props.ScaleType()) {
    case sctXB: scale.SetMarginBottom(ClampToInt32(p + h - tRim_ - 1)); break;
    case sctXT: scale.SetMarginTop(ClampToInt32(p + h - bRim_ - sw)); break;
    case sctYL: scale.SetMarginLeft(ClampToInt32(p + w - rRim_ - sw)); break;
    case sctYR: scale.SetMarginRight(ClampToInt32(p + w - lRim_ - 1)); break;
  }
  scale.SetAxis(props.Axis());
  scale.SetVisible(props.Visible());
  if (!scale.Font().SameValues(props.Font())) scale.Font() = props.Font();
  scale.Font().SetColor(props.ColorScale());
  scale.DateFormat().SetValuesQuietly(props.DateFormat().Values());
}

void TCustomRChart::PlaceAcrossAxis(TScale& scale, bool horizontal) {
  const std::int64_t sw = shadowWidth_;
  if (horizontal) {
    scale.SetMarginLeft(lRim_);
    scale.SetMarginRight(ClampToInt32(rRim_ + sw - 1));
  } else {
    scale.SetMarginTop(tRim_);
    scale.SetMarginBottom(ClampToInt32(bRim_ + sw - 1));
  }
}

void TCustomRChart::ScalePropsChanged() {
  // One repaint for the whole change, not one per layer.
  TPaintBatch batch(*this);
  for (std::size_t axis = 0; axis < 4; ++axis) ApplyScaleProps(*scales_[axis], Props(axis));
  for (int layer = 1; layer <= 2; ++layer) {
    const TScaleProps& x = GetScalePropsX(layer);
    const TScaleProps& y = GetScalePropsY(layer);
    SetLayerRanges(layer, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh());
  }
  batch.FinishQuietly();
  Paint();  // whatever AutoRedraw says
}

// --- layer ranges ------------------------------------------------------------------

void TCustomRChart::SetLayerRanges(int layer, double xLow, double yLow, double xHigh,
                                   double yHigh) {
  TPaintBatch batch(*this);
  layer = layer == 2 ? 2 : 1;
  const TJointLayers& j = *jointLayers_;
  // An axis another layer controls cannot be moved by itself.
  if (j.ControlledByX(layer) != layer) {
    xLow = GetScalePropsX(layer).RangeLow();
    xHigh = GetScalePropsX(layer).RangeHigh();
  }
  if (j.ControlledByY(layer) != layer) {
    yLow = GetScalePropsY(layer).RangeLow();
    yHigh = GetScalePropsY(layer).RangeHigh();
  }
  ApplyLayerRange(layer, xLow, yLow, xHigh, yHigh);
  // The layers joined to this one follow it.
  for (int other = 1; other <= 2; ++other) {
    if (other == layer) continue;
    if (j.ControlledByX(other) != layer && j.ControlledByY(other) != layer) continue;
    const TRange x = JoinedRange(GetScalePropsX(other), GetScalePropsX(j.ControlledByX(other)));
    const TRange y = JoinedRange(GetScalePropsY(other), GetScalePropsY(j.ControlledByY(other)));
    ApplyLayerRange(other, x.Low, y.Low, x.High, y.High);
  }
  batch.Finish();
}

void TCustomRChart::ApplyLayerRange(int layer, double xLow, double yLow, double xHigh,
                                    double yHigh) {
  layer = layer == 2 ? 2 : 1;
  GetScalePropsX(layer).SetRangeDirect(xLow, xHigh);
  ApplyScaleProps(ScaleObjectX(layer), GetScalePropsX(layer));
  GetScalePropsY(layer).SetRangeDirect(yLow, yHigh);
  ApplyScaleProps(ScaleObjectY(layer), GetScalePropsY(layer));
  ComputeMapping();
}

// --- joins -------------------------------------------------------------------------

void TJointLayers::Join(int layer, bool horizontal, int destination) {
  int* controlledBy = horizontal ? x_ : y_;
  if (destination != 1 && destination != 2)
    throw EUlxRChartError("Destination layer " + std::to_string(destination) + " is out of range");
  if (destination == layer) {
    controlledBy[Index(layer)] = destination;  // free again; nothing moves
    return;
  }
  if (controlledBy[Index(destination)] != destination)
    throw EUlxRChartError("Destination layer " + std::to_string(destination) +
                          " is already joined");
  std::string joinedBy;
  for (int other = 1; other <= 2; ++other) {
    if (other == layer || controlledBy[Index(other)] != layer) continue;
    if (!joinedBy.empty()) joinedBy += ", ";
    joinedBy += std::to_string(other);
  }
  if (!joinedBy.empty())
    throw EUlxRChartError("Layer " + std::to_string(layer) + " is joined by other layers (" +
                          joinedBy + ")");
  controlledBy[Index(layer)] = destination;
  chart_.JoinChanged(layer, horizontal, destination);
  if (OnChange) OnChange(*this);
}

void TJointLayers::Assign(const TJointLayers& source) {
  if (&source != this) {
    // A value that names no layer leaves that axis free.
    for (int i = 0; i < 2; ++i) {
      const int layer = i + 1;
      x_[i] = (source.x_[i] == 1 || source.x_[i] == 2) ? source.x_[i] : layer;
      y_[i] = (source.y_[i] == 1 || source.y_[i] == 2) ? source.y_[i] : layer;
    }
  }
  if (source.OnChange) source.OnChange(const_cast<TJointLayers&>(source));
}

void TCustomRChart::JoinChanged(int layer, bool horizontal, int destination) {
  const TRange x =
      JoinedRange(GetScalePropsX(layer), GetScalePropsX(horizontal ? destination : layer));
  const TRange y =
      JoinedRange(GetScalePropsY(layer), GetScalePropsY(horizontal ? layer : destination));
  ApplyLayerRange(layer, x.Low, y.Low, x.High, y.High);
}

void TCustomRChart::SetJointLayers(const TJointLayers& v) {
  jointLayers_->Assign(v);
  RepaintIfAuto();
}

// --- mapping -----------------------------------------------------------------------

TChartGeometry TCustomRChart::Geometry() const {
  return TChartGeometry{Width(), Height(), lRim_, rRim_, tRim_, bRim_, shadowWidth_};
}

void TCustomRChart::ComputeMapping() {
  if (Loading()) return;
  const TChartGeometry g = Geometry();
  for (int layer = 1; layer <= 2; ++layer)
    layerMaps_[LayerIndex(layer)] =
        MapLayer(RangeOf(GetScalePropsX(layer)), RangeOf(GetScalePropsY(layer)), g);
}

TPoint TCustomRChart::WorldToPixel(int layer, double x, double y) const {
  return travenel::WorldToPixel(LayerMap(layer), x, y);
}

void TCustomRChart::PixelToWorld(int layer, int px, int py, double& x, double& y) const {
  travenel::PixelToWorld(LayerMap(layer), px, py, x, y);
}

}  // namespace travenel
