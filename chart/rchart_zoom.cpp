// TCustomRChart: the zoom history — the ranges each pan or zoom made with the
// mouse started from, and going back to them.
#include "travenel/chart/rchart.h"

namespace travenel {

TCustomRChart::TZoomRanges TCustomRChart::CurrentZoomRanges() const {
  TZoomRanges r{};
  for (int layer = 1; layer <= 2; ++layer) {
    const TScaleProps& x = GetScalePropsX(layer);
    const TScaleProps& y = GetScalePropsY(layer);
    const std::size_t k = LayerIndex(layer) * 4;
    r[k] = x.RangeLow();
    r[k + 1] = x.RangeHigh();
    r[k + 2] = y.RangeLow();
    r[k + 3] = y.RangeHigh();
  }
  return r;
}

void TCustomRChart::RestoreZoomRanges(const TZoomRanges& r) {
  TPaintBatch batch(*this);
  // Each layer as it was, joined or not: the values were consistent then.
  for (int layer = 1; layer <= 2; ++layer) {
    const std::size_t k = LayerIndex(layer) * 4;
    ApplyLayerRange(layer, r[k], r[k + 2], r[k + 1], r[k + 3]);
  }
  batch.Finish();
  ZoomPanDone();
}

bool TCustomRChart::NoteZoomStart(const TZoomRanges& start) {
  wheelGestureOpen_ = false;  // any entry ends the wheel's gesture
  if (start == CurrentZoomRanges()) return false;
  // Full: the oldest step but home goes.
  if (zoomHistory_.size() >= static_cast<std::size_t>(kMaxZoomHistory))
    zoomHistory_.erase(zoomHistory_.begin() + 1);
  zoomHistory_.push_back(start);
  return true;
}

void TCustomRChart::NoteDragStart() {
  if (mouse_.DragRemembered) return;
  TZoomRanges start{};
  for (int layer = 1; layer <= 2; ++layer) {
    const TDragStart& s = mouse_.Start[LayerIndex(layer)];
    const std::size_t k = LayerIndex(layer) * 4;
    start[k] = s.XRange.Low;
    start[k + 1] = s.XRange.High;
    start[k + 2] = s.YRange.Low;
    start[k + 3] = s.YRange.High;
  }
  // A move that changed nothing (yet) leaves the start to the next one.
  mouse_.DragRemembered = NoteZoomStart(start);
}

void TCustomRChart::ZoomBack() {
  if (zoomHistory_.empty()) return;
  const TZoomRanges r = zoomHistory_.back();
  zoomHistory_.pop_back();
  wheelGestureOpen_ = false;
  RestoreZoomRanges(r);
}

void TCustomRChart::ZoomHome() {
  if (zoomHistory_.empty()) return;
  const TZoomRanges r = zoomHistory_.front();
  ClearZoomHistory();
  RestoreZoomRanges(r);
}

}  // namespace travenel
