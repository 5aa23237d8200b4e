// TCustomRChart: the item list — appending items with the drawing state of
// their moment, the capacity limit, clearing, the active layer and showing.
#include <algorithm>
#include <cstring>

#include "chart/rchart.h"

// --- the record and the list --------------------------------------------------------

void SetItemText(TRChartItem& item, const std::string& text) {
  const std::size_t n = std::min<std::size_t>(text.size(), kMaxItemText);
  item.Text.fill(0);
  item.Text[0] = static_cast<std::uint8_t>(n);
  std::memcpy(item.Text.data() + 1, text.data(), n);
}

std::string ItemText(const TRChartItem& item) {
  const std::size_t n = std::min<std::size_t>(item.Text[0], kMaxItemText);
  return std::string(reinterpret_cast<const char*>(item.Text.data() + 1), n);
}

TRChartItemList::TRChartItemList() : storage_(1) {}

int TRChartItemList::KindCount(int kind) const {
  return kind >= 0 && kind < kItemKindCount ? kindCount_[static_cast<std::size_t>(kind)] : 0;
}

void TRChartItemList::Append(const TRChartItem& item, int allocSize) {
  if (count_ >= kMaxItems) throw EUlxError(DecorateMessage(kFullMessage));
  if (count_ >= capacity_) {
    capacity_ += allocSize;
    // The capacity counts as the growth steps say; storage beyond the most
    // items the list can ever hold would never be used.
    storage_.resize(static_cast<std::size_t>(std::min(capacity_, kMaxItems)));
  }
  storage_[static_cast<std::size_t>(count_)] = item;
  if (item.Kind < kItemKindCount) ++kindCount_[item.Kind];
  ++count_;
}

void TRChartItemList::Clear() {
  count_ = 0;
  storage_.assign(1, TRChartItem{});
  storage_.shrink_to_fit();
  capacity_ = 0;
  kindCount_.fill(0);
}

// --- drawing state ----------------------------------------------------------------------

void TCustomRChart::SetAllocSize(int v) {
  if (v < 1 || v > kMaxAllocSize) return;
  allocSize_ = v;
}

void TCustomRChart::SetClassDefault(std::uint8_t v) {
  if (v == 255) return;  // 255 is no class an item can take
  classDefault_ = v;
}

void TCustomRChart::SetClassVisible(int itemClass, bool visible) {
  classVisible_[static_cast<std::size_t>(itemClass & 0xFF)] = visible;
}

void TCustomRChart::SetLayerVisible(int layer, bool visible) {
  layerVisible_[LayerIndex(layer)] = visible;
}

void TCustomRChart::SetActiveLayer(int layer) {
  if (layer != 1 && layer != 2) return;
  activeLayer_ = layer;
  if (autoRedraw_) Paint();
}

// --- adding and clearing ------------------------------------------------------------------

TRChartItem TCustomRChart::NewItem(TRChartItemKind kind) const {
  TRChartItem item{};
  item.Kind = kind;
  item.Layer = activeLayer_;
  item.ItemClass = classDefault_;
  item.Color = dataColor_;
  item.PenStyle = penStyle_;
  item.Reserved = 0;
  item.LineWidth = lineWidth_;
  return item;
}

void TCustomRChart::AddItem(const TRChartItem& item) {
  items_->Append(item, allocSize_);
  SyncSharedData();
}

void TCustomRChart::MoveToPoint(double x, double y) {
  TRChartItem item = NewItem(ikMoveTo);
  item.X1 = x;
  item.Y1 = y;
  AddItem(item);
}

void TCustomRChart::AddLine(double x1, double y1, double x2, double y2) {
  TRChartItem item = NewItem(ikLine);
  item.X1 = x1;
  item.Y1 = y1;
  item.X2 = x2;
  item.Y2 = y2;
  AddItem(item);
}

void TCustomRChart::ClearItems() {
  TCanvas& c = chartAreaImage_.Canvas();
  c.Brush.Style = bsSolid;
  c.Brush.Color = chartColor_;
  c.FillRect(Rect(0, 0, chartAreaImage_.Width(), chartAreaImage_.Height()));
  items_->Clear();
  SyncSharedData();
}

// --- showing ------------------------------------------------------------------------------

void TCustomRChart::ShowItems() {
  if (Visible()) {
    lastShownItem_ = items_->Count() - 1;
    SyncSharedData();
    if (autoRedraw_)
      RedrawChartArea();
    else
      Paint();
  }
  RepaintSharingGroup();
}
