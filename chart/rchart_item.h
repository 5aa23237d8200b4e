// rchart_item: the chart's drawing items — one record per drawing command in
// world coordinates, stamped with the drawing state of its moment — and the
// list that holds them, shared by every chart of a sharing group.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "travenel/chart/rchart_podbuffer.h"
#include "travenel/gfx/Color.h"

namespace travenel {

// Kind codes of the items the renderer knows.
enum TRChartItemKind : std::uint8_t {
  ikMark = 1,        // a data mark at (X1, Y1)
  ikLine = 2,        // (X1, Y1) to (X2, Y2)
  ikLineTo = 3,      // from the current point to (X1, Y1), batched into polylines
  ikRectangle = 4,   // corners (X1, Y1), (X2, Y2); outline and fill
  ikRect3D = 5,      // a rectangle in the fill colour with edges by frame style
  ikBar3D = 6,       // a rectangle with a top and a side face
  ikText = 7,        // a short text at (X1, Y1)
  ikMoveTo = 8,      // moves the pen to (X1, Y1)
  ikEllipse = 9,     // centre (X1, Y1), radii X2, Y2 in world units
  ikMoveToRel = 12,  // moves the pen by (X1, Y1) pixels
  ikLineToRel = 13,  // a line from the pen by (X1, Y1) pixels
  ikArrow = 14,      // from (X1, Y1) to the tip (X2, Y2), head of Size pixels
};
inline constexpr int kItemKindCount = 15;  // per-kind counters: codes 0 .. 14

// The text of a text item: a length byte and at most this many characters.
inline constexpr int kMaxItemText = 17;

// One drawing item. A plain record (it may be copied as a block of memory);
// coordinates are world coordinates of its layer.
struct TRChartItem {
  double X1 = 0;
  double Y1 = 0;
  double X2 = 0;
  double Y2 = 0;
  TColor Color = 0;       // pen colour: the chart's DataColor when added
  TColor FillColor = 0;   // fill of the filled kinds
  TColor DarkColor = 0;   // dark edge colour of a 3-D rectangle
  TColor LightColor = 0;  // light edge colour of a 3-D rectangle
  std::uint8_t PenStyle = 0;
  std::int32_t Reserved = 0;  // always 0; the renderer does not read it
  std::uint32_t LineWidth = 1;
  std::uint8_t ItemClass = 0;
  std::uint8_t Kind = 0;
  std::int32_t Layer = 1;
  std::uint8_t Transparent = 0;                       // filled kinds: drawn without fill when set
  std::uint8_t FrameStyle = 0;                        // edges of a 3-D rectangle (TFrameStyle)
  std::array<std::uint8_t, 1 + kMaxItemText> Text{};  // length byte, then the characters
  std::int32_t Size = 0;   // font size, angle in degrees (3-D bar), head length (arrow)
  std::int32_t Depth = 0;  // depth in pixels (3-D bar)
  std::uint8_t MarkType = 0;
};
static_assert(std::is_trivially_copyable_v<TRChartItem>);

class TSortedRunIndex;

// The text of a text item, cut to kMaxItemText characters.
void SetItemText(TRChartItem& item, const std::string& text);
std::string ItemText(const TRChartItem& item);

// The list of items: count, capacity grown in steps of the chart's AllocSize,
// and how many items of each kind were added since the last clear.
class TRChartItemList {
 public:
  // The list holds at most MaxItems items, whatever AllocSize is: this many
  // unless a chart asks for more.
  static constexpr int kMaxItems = 1000;
  // The most a list can be allowed to hold.
  static constexpr int kMaxItemsCeiling = 10000000;
  static constexpr const char* kFullMessage = "RChart: number of elements too high";

  TRChartItemList();
  // A copy is a list of its own: it gets a version of its own.
  TRChartItemList(const TRChartItemList& other);
  TRChartItemList& operator=(const TRChartItemList&) = delete;
  ~TRChartItemList();

  int Count() const { return count_; }
  // Changes whenever items may have changed other than by appending (a clear),
  // and differs between lists: items 0 .. Count() - 1 of one version never
  // change, so what was worked out from them (their pixels) can be kept.
  std::uint64_t Version() const { return version_; }
  int Capacity() const { return capacity_; }
  int MaxItems() const { return maxItems_; }
  // 1 .. kMaxItemsCeiling (values outside are clamped). A limit below the
  // count keeps the items held and refuses new ones.
  void SetMaxItems(int v);
  int KindCount(int kind) const;
  std::span<const TRChartItem> Items() const { return {storage_.Data(), std::size_t(count_)}; }
  // The runs of line-to items whose x values never decrease, kept up to date
  // as items are appended.
  const TSortedRunIndex& SortedRuns() const { return *index_; }

  // Appends an item; raises EUlxError (nothing changed) when the list is full.
  // The capacity grows by allocSize slots when the count reaches it; the
  // storage itself grows geometrically, so appending stays O(1) for any
  // AllocSize and memory follows the items held.
  void Append(const TRChartItem& item, int allocSize);
  // Empties the list and releases its storage.
  void Clear();

 private:
  TPodBuffer<TRChartItem> storage_;
  int count_ = 0;
  int capacity_ = 0;
  int maxItems_ = kMaxItems;
  std::array<int, kItemKindCount> kindCount_{};
  std::uint64_t version_;
  std::unique_ptr<TSortedRunIndex> index_;
};

}  // namespace travenel
