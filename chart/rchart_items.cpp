// TCustomRChart: the item list — appending items with the drawing state of
// their moment, the capacity limit, clearing, the active layer and showing.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"
#include "travenel/chart/rchart_runindex.h"

namespace travenel {

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

namespace {

std::uint64_t NextListVersion() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

}  // namespace

TRChartItemList::TRChartItemList()
    : version_(NextListVersion()), index_(std::make_unique<TSortedRunIndex>()) {}

TRChartItemList::~TRChartItemList() = default;

TRChartItemList::TRChartItemList(const TRChartItemList& other)
    : storage_(other.storage_),
      count_(other.count_),
      capacity_(other.capacity_),
      maxItems_(other.maxItems_),
      kindCount_(other.kindCount_),
      version_(NextListVersion()),
      index_(std::make_unique<TSortedRunIndex>(*other.index_)) {}

int TRChartItemList::KindCount(int kind) const {
  return kind >= 0 && kind < kItemKindCount ? kindCount_[static_cast<std::size_t>(kind)] : 0;
}

void TRChartItemList::SetMaxItems(int v) { maxItems_ = std::clamp(v, 1, kMaxItemsCeiling); }

void TRChartItemList::Append(const TRChartItem& item, int allocSize) {
  if (count_ >= maxItems_) throw EUlxError(DecorateMessage(kFullMessage));
  // The capacity counts as the growth steps say (stopping at the limit's
  // reach is not asked for); the storage only ever holds the items.
  if (count_ >= capacity_) capacity_ = count_ + std::min(allocSize, INT_MAX - count_);
  storage_.PushBack(item);
  index_->Append(item);
  if (item.Kind < kItemKindCount) ++kindCount_[item.Kind];
  ++count_;
}

void TRChartItemList::Clear() {
  count_ = 0;
  storage_.Release();
  capacity_ = 0;
  kindCount_.fill(0);
  index_->Clear();
  version_ = NextListVersion();
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

void TCustomRChart::MarkAt(double x, double y, std::uint8_t markType, int fontSize) {
  TRChartItem item = NewItem(ikMark);
  item.X1 = x;
  item.Y1 = y;
  item.MarkType = markType;
  item.Size = fontSize;
  AddItem(item);
}

void TCustomRChart::LineTo(double x, double y) {
  TRChartItem item = NewItem(ikLineTo);
  item.X1 = x;
  item.Y1 = y;
  AddItem(item);
}

namespace {

TRChartItem Corners(TRChartItem item, double x1, double y1, double x2, double y2) {
  item.X1 = x1;
  item.Y1 = y1;
  item.X2 = x2;
  item.Y2 = y2;
  return item;
}

}  // namespace

void TCustomRChart::Rectangle(double x1, double y1, double x2, double y2, bool transparent) {
  TRChartItem item = Corners(NewItem(ikRectangle), x1, y1, x2, y2);
  item.FillColor = fillColor_;
  item.Transparent = transparent;
  AddItem(item);
}

void TCustomRChart::Rect3D(double x1, double y1, double x2, double y2, TFrameStyle edges,
                           TColor dark, TColor light) {
  TRChartItem item = Corners(NewItem(ikRect3D), x1, y1, x2, y2);
  item.FillColor = fillColor_;
  item.FrameStyle = edges;
  item.DarkColor = dark;
  item.LightColor = light;
  AddItem(item);
}

void TCustomRChart::Bar3D(double x1, double y1, double x2, double y2, int depth, int angleDegrees) {
  TRChartItem item = Corners(NewItem(ikBar3D), x1, y1, x2, y2);
  item.FillColor = fillColor_;
  item.Depth = depth;
  item.Size = angleDegrees;
  AddItem(item);
}

void TCustomRChart::Text(double x, double y, const std::string& text, int fontSize) {
  TRChartItem item = NewItem(ikText);
  item.X1 = x;
  item.Y1 = y;
  item.Size = fontSize;
  SetItemText(item, text);
  AddItem(item);
}

void TCustomRChart::Ellipse(double x, double y, double radiusX, double radiusY, bool transparent) {
  TRChartItem item = Corners(NewItem(ikEllipse), x, y, radiusX, radiusY);
  item.FillColor = fillColor_;
  item.Transparent = transparent;
  AddItem(item);
}

void TCustomRChart::MoveToRelPix(double dx, double dy) {
  TRChartItem item = NewItem(ikMoveToRel);
  item.X1 = dx;
  item.Y1 = dy;
  AddItem(item);
}

void TCustomRChart::LineToRelPix(double dx, double dy) {
  TRChartItem item = NewItem(ikLineToRel);
  item.X1 = dx;
  item.Y1 = dy;
  AddItem(item);
}

void TCustomRChart::Arrow(double x1, double y1, double x2, double y2, int headLength,
                          bool openHead) {
  TRChartItem item = Corners(NewItem(ikArrow), x1, y1, x2, y2);
  item.FillColor = fillColor_;
  item.Size = headLength;
  item.Transparent = openHead;
  AddItem(item);
}

void TCustomRChart::ClearItems() {
  // The charts that show the items get their pictures while they are there;
  // this one's is filled over.
  paintCache_->AreaPending = false;
  paintCache_->SettleGroupAreaImages();
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

}  // namespace travenel
