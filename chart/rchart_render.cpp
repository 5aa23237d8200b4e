#include "travenel/chart/rchart_render.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "travenel/chart/math1.h"
#include "travenel/chart/ulxbase_draw.h"

namespace travenel {

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;
// Half the opening of an arrow head: 20 degrees.
constexpr double kArrowBarbAngle = 0.3490658503988659;
// The box of a text label reaches this far beyond the text on the left and
// right, and this far above and below it.
constexpr int kLabelBoxMarginX = 4;
constexpr int kLabelBoxMarginY = 2;
// Black-and-white fills.
constexpr TColor kBlackAndWhiteFill = 0xC0C0C0;

// nint of a pixel offset (of the relative kinds, of a bar's depth), kept
// within +-4e9: far beyond any surface, and no overflow on the way.
std::int64_t PixelOffset(long double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int64_t>(Nint(std::clamp(static_cast<long double>(v), -4e9L, 4e9L)));
}

// A surface pixel moved by a few pixels; at the ends of the 32-bit range it
// stops there (what lies beyond is off every surface).
int Off(int v, int by) { return ClampToInt32(std::int64_t{v} + by); }
// One more on a box's far edge, so its last pixels are covered.
void Widen(int& v) { v = Off(v, 1); }

std::vector<std::string> SplitLines(const std::string& caption) {
  std::vector<std::string> lines(1);
  for (char ch : caption) {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back() += ch;
  }
  return lines;
}

}  // namespace

TItemRenderer::TItemRenderer(TCanvas& surface, int dx, int dy, bool blackAndWhite,
                             const TRenderSettings& s)
    : s_(surface),
      dx_(dx),
      dy_(dy),
      maps_{ItemMappers(s, dx, dy)},
      blackAndWhite_(blackAndWhite),
      set_(s) {}

// --- the cached surface state -------------------------------------------------------

void TItemRenderer::SetPenColor(TColor c) {
  if (c != penColor_) s_.Pen.Color = penColor_ = c;
}

void TItemRenderer::SetPenStyle(TPenStyle st) {
  if (st != penStyle_) s_.Pen.Style = penStyle_ = st;
}

void TItemRenderer::SetBrushColor(TColor c) {
  if (c != brushColor_) s_.Brush.Color = brushColor_ = c;
}

void TItemRenderer::SetFontColor(TColor c) {
  if (c != fontColor_) {
    fontColor_ = c;
    s_.Font().SetColor(c);
  }
}

void TItemRenderer::PrepareOutlineAndFill(const TRChartItem& item, TColor c) {
  FlushPolyline();
  const TColor pen = blackAndWhite_ ? clBlack : c;
  const TColor fill = blackAndWhite_ ? kBlackAndWhiteFill : item.FillColor;
  SetPenColor(pen);
  SetBrushColor(fill);
  SetPenStyle(static_cast<TPenStyle>(item.PenStyle));
  s_.Brush.Style = item.Transparent ? bsClear : bsSolid;
}

void TItemRenderer::RescaleFontForPrinter(int size) {
  if (!s_.IsPrinter()) return;
  // Sizes are for the screen: take them there and carry them to the printer's resolution.
  TFont& f = s_.Font();
  f.SetPixelsPerInch(TCanvas::kScreenPixelsPerInch);
  f.SetSize(size);
  f.SetPixelsPerInch(s_.PixelsPerInch());
}

// --- polylines ------------------------------------------------------------------------

void TItemRenderer::AppendPolyline(TPoint p) {
  if (polylineCount_ == 0) polyline_[polylineCount_++] = currentPoint_;
  polyline_[static_cast<std::size_t>(polylineCount_++)] = p;
  if (polylineCount_ == kPolylineBatch) {
    FlushPolyline();
    polyline_[polylineCount_++] = p;  // the next batch goes on from here
  }
}

void TItemRenderer::FlushPolyline() {
  if (polylineCount_ == 0) return;
  s_.Polyline(std::span<const TPoint>(polyline_.data(), static_cast<std::size_t>(polylineCount_)));
  const TPoint last = polyline_[static_cast<std::size_t>(polylineCount_ - 1)];
  s_.MoveTo(last.X, last.Y);
  currentPoint_ = last;
  polylineCount_ = 0;
}

// --- the pass ------------------------------------------------------------------------------

void TItemRenderer::Begin() {
  s_.Pen.Width = penWidth_ = set_.LineWidth;
  s_.MoveTo(dx_, dy_);
  currentPoint_ = TPoint{dx_, dy_};
  s_.Pen.Color = penColor_ = set_.ChartColor;
  s_.Brush.Color = brushColor_ = set_.ChartColor;
  s_.Font().SetColor(set_.ChartColor);
  fontColor_ = set_.ChartColor;
  s_.Pen.Style = penStyle_ = psSolid;
}

// --- the items' pixels ------------------------------------------------------------

namespace {

// The points an item's kind maps, as the render pass draws them.
TItemPixels PixelsOf(const TRChartItem& item, const std::array<TItemMapper, 2>& maps) {
  const TItemMapper& map = maps[item.Layer >= 2 ? 1 : 0];
  TItemPixels px;
  switch (item.Kind) {
    case ikMark:
    case ikLineTo:
    case ikText:
    case ikMoveTo: px.P1 = map(item.X1, item.Y1); break;
    case ikLine:
    case ikRectangle:
    case ikRect3D:
    case ikBar3D:
    case ikArrow:
      px.P1 = map(item.X1, item.Y1);
      px.P2 = map(item.X2, item.Y2);
      break;
    case ikEllipse:  // centre (X1, Y1), radii X2 and Y2
      px.P1 = map(item.X1 - item.X2, item.Y1 + item.Y2);
      px.P2 = map(item.X1 + item.X2, item.Y1 - item.Y2);
      break;
    default: break;  // relative kinds move from the pen; the rest draw nothing
  }
  return px;
}

}  // namespace

std::array<TItemMapper, 2> ItemMappers(const TRenderSettings& s, int dx, int dy) {
  const std::int64_t ox = std::int64_t{dx} - s.Geometry.LRim, oy = std::int64_t{dy} - s.Geometry.TRim;
  return {TItemMapper(s.Maps[0], ox, oy), TItemMapper(s.Maps[1], ox, oy)};
}

std::span<const TItemPixels> TItemPixelCache::Update(std::span<const TRChartItem> items,
                                                     std::uint64_t listVersion,
                                                     const TRenderSettings& s, int dx, int dy) {
  const bool same = listVersion == listVersion_ && s.Maps == maps_ && dx == dx_ && dy == dy_ &&
                    s.Geometry.LRim == lRim_ && s.Geometry.TRim == tRim_ &&
                    (s.SortedRuns != nullptr) == indexed_ && mapped_ <= items.size();
  if (!same) {
    mapped_ = 0;
    indexed_ = s.SortedRuns != nullptr;
    // The runs of a list stay what they are; only their points are new.
    if (listVersion == listVersion_)
      runs_.PixelsChanged();
    else
      runs_.Clear();
    listVersion_ = listVersion;
    maps_ = s.Maps;
    dx_ = dx;
    dy_ = dy;
    lRim_ = s.Geometry.LRim;
    tRim_ = s.Geometry.TRim;
  }
  // Grown geometrically: a feed adding a point before each repaint must not
  // copy them all every time.
  if (pixels_.capacity() < items.size())
    pixels_.reserve(std::max(items.size(), 2 * pixels_.capacity()));
  if (pixels_.size() < items.size()) pixels_.resize(items.size());
  const std::array<TItemMapper, 2> maps = ItemMappers(s, dx, dy);
  if (s.SortedRuns) {
    // Line-to items are mapped where they are drawn, from the index's
    // compact copy of their points: a long polyline is not read twice.
    const std::span<const std::uint32_t> others = s.SortedRuns->Others();
    for (auto i = std::lower_bound(others.begin(), others.end(), mapped_);
         i != others.end() && *i < items.size(); ++i)
      pixels_[*i] = PixelsOf(items[*i], maps);
  } else {
    for (std::size_t i = mapped_; i < items.size(); ++i) pixels_[i] = PixelsOf(items[i], maps);
  }
  mapped_ = items.size();
  return std::span<const TItemPixels>(pixels_).first(items.size());
}

// --- reduced polylines ---------------------------------------------------------------

namespace {

constexpr std::size_t kSearchPointsPerColumn = 4;

// Items drawn alike when they follow each other in a polyline.
bool SamePolylineRun(const TRChartItem& a, const TRChartItem& b) {
  return b.Kind == ikLineTo && a.Color == b.Color && a.PenStyle == b.PenStyle &&
         a.LineWidth == b.LineWidth && a.ItemClass == b.ItemClass &&
         (a.Layer >= 2) == (b.Layer >= 2);
}

}  // namespace

const TPolylineReducer& TPolylineRuns::Reduce(std::span<const TRChartItem> items,
                                              std::span<const TItemPixels> pixels,
                                              std::size_t begin, TPoint start, int surfaceWidth,
                                              std::size_t& end, const TRenderSettings& s,
                                              const std::array<TItemMapper, 2>& maps) {
  // With the index, points of its stretches are found by searching and the
  // others mapped as they are fed; without it, they have their pixels.
  const auto feed = [&](TPolylineReducer& r, std::size_t from, std::size_t to) {
    if (!s.SortedRuns) {
      for (; from < to; ++from) r.Add(pixels[from].P1);
      return;
    }
    const TItemMapper& map = maps[items[begin].Layer >= 2 ? 1 : 0];
    const bool search = CanSearch(map);
    const std::span<const TSortedStretch> stretches = s.SortedRuns->Stretches();
    auto st = std::upper_bound(stretches.begin(), stretches.end(), from,
                               [](std::size_t v, const TSortedStretch& x) { return v < x.Begin; });
    if (st != stretches.begin()) --st;
    while (from < to) {
      // The next indexed stretch that reaches past `from`.
      while (st != stretches.end() && (st->End <= from || st->Size() < TSortedRunIndex::kMinStretch))
        ++st;
      const std::size_t begins = st == stretches.end() ? to : std::clamp<std::size_t>(st->Begin, from, to);
      FeedMapped(r, *s.SortedRuns, from, begins, map);
      from = begins;
      if (from == to) break;
      const std::size_t stop = std::min<std::size_t>(st->End, to);
      // Searching pays where columns hold many points; a few are mapped faster.
      if (search && stop - from >= kSearchPointsPerColumn * static_cast<std::size_t>(surfaceWidth))
        FeedSorted(r, *s.SortedRuns, from, stop, map);
      else
        FeedMapped(r, *s.SortedRuns, from, stop, map);
      from = stop;
    }
  };
  const auto scan = [&](std::size_t from) {
    while (from < items.size() && SamePolylineRun(items[begin], items[from])) ++from;
    return from;
  };
  const auto at = std::lower_bound(runs_.begin(), runs_.end(), begin,
                                   [](const Run& r, std::size_t b) { return r.Begin < b; });
  Run* run = at != runs_.end() && at->Begin == begin ? &*at : nullptr;
  if (!run && (at == runs_.begin() || std::prev(at)->End <= begin)) {
    // A run of its own: kept. (A start inside a kept run is reduced on its own.)
    Run fresh;
    fresh.Begin = fresh.End = begin;
    run = &*runs_.insert(at, std::move(fresh));
  }
  if (!run) {
    end = scan(begin);
    scratch_.Start(start, surfaceWidth);
    feed(scratch_, begin, end);
    return scratch_;
  }
  if (run->End > items.size()) {  // not the list it was found in: found anew
    run->End = begin;
    run->Closed = false;
  }
  if (!run->Closed) {
    run->End = scan(run->End);
    run->Closed = run->End < items.size();
  }
  if (run->Stale || !(run->Start == start) || run->Reducer.SurfaceWidth() != surfaceWidth) {
    run->Stale = false;
    run->Start = start;
    run->Fed = begin;
    run->Reducer.Start(start, surfaceWidth);
  }
  feed(run->Reducer, run->Fed, run->End);
  run->Fed = run->End;
  end = run->End;
  return run->Reducer;
}

bool TItemRenderer::Reducible(const TRChartItem& item, int width) const {
  return set_.ReducePolylines && item.Kind == ikLineTo && item.PenStyle == psSolid && width <= 1 &&
         s_.Pen.Mode == pmCopy;
}

std::size_t TItemRenderer::DrawReducedRun(std::span<const TRChartItem> items,
                                          std::span<const TItemPixels> pixels, std::size_t begin,
                                          TPolylineRuns* runs) {
  // Where a polyline of one solid pen is broken does not change its pixels:
  // what is pending is drawn first, and the run goes on from its last point.
  FlushPolyline();
  SetPenColor(blackAndWhite_ ? clBlack : items[begin].Color);
  SetPenStyle(psSolid);
  std::size_t end = begin;
  TPolylineRuns local;
  const TPolylineReducer& r =
      (runs ? *runs : local)
          .Reduce(items, pixels, begin, currentPoint_, s_.Width(), end, set_, maps_);
  const std::vector<TPoint>& done = r.Finished();
  std::array<TPoint, 5> open;
  int n = 0;
  if (!done.empty()) {
    s_.Polyline(done);
    open[n++] = done.back();
  }
  n += r.OpenPoints(open.data() + n);
  s_.Polyline(std::span<const TPoint>(open.data(), static_cast<std::size_t>(n)));
  currentPoint_ = r.Last();
  s_.MoveTo(currentPoint_.X, currentPoint_.Y);
  return end;
}

// --- the pass ----------------------------------------------------------------------

void TItemRenderer::DrawItems(std::span<const TRChartItem> items,
                              std::span<const TItemPixels> pixels, TPolylineRuns* runs) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TRChartItem& item = items[i];
    if (!(*set_.ClassVisible)[item.ItemClass]) continue;
    if (!set_.LayerVisible[item.Layer >= 2 ? 1 : 0]) continue;
    const int width = static_cast<int>(std::min<std::uint32_t>(item.LineWidth, INT_MAX));
    if (width != penWidth_) {
      FlushPolyline();
      s_.Pen.Width = penWidth_ = width;
    }
    if (Reducible(item, width)) {
      i = DrawReducedRun(items, pixels, i, runs) - 1;
      continue;
    }
    // With the index, line-to items have no pixels kept: a pen that is not
    // reduced maps them here.
    DrawItem(item, set_.SortedRuns && item.Kind == ikLineTo ? PixelsOf(item, maps_) : pixels[i]);
  }
  FlushPolyline();
  s_.Pen.Width = penWidth_ = 1;
}

void TItemRenderer::DrawItem(const TRChartItem& item, const TItemPixels& px) {
  const TColor c = blackAndWhite_ ? clBlack : item.Color;
  const TPenStyle style = static_cast<TPenStyle>(item.PenStyle);
  switch (item.Kind) {
    case ikMark: {
      FlushPolyline();
      SetPenColor(c);
      SetPenStyle(style);
      const TPoint p = px.P1;
      if (item.MarkType >= kFirstCharMark) RescaleFontForPrinter(item.Size);
      DrawMark(s_, item.MarkType, p.X, p.Y);
      break;
    }
    case ikLine: {
      FlushPolyline();
      SetPenColor(c);
      SetPenStyle(style);
      const TPoint a = px.P1, b = px.P2;
      if (a == b) {
        s_.SetPixels(a.X, a.Y, c);
      } else {
        s_.MoveTo(a.X, a.Y);
        s_.LineTo(b.X, b.Y);
      }
      break;
    }
    case ikLineTo: {
      const TPoint p = px.P1;
      if (c != penColor_ || style != penStyle_) {
        FlushPolyline();
        SetPenColor(c);
        SetPenStyle(style);
      }
      AppendPolyline(p);
      break;
    }
    case ikRectangle:
    case ikEllipse: {
      PrepareOutlineAndFill(item, c);
      const bool rect = item.Kind == ikRectangle;
      TPoint a = px.P1, b = px.P2;
      if (a == b) {
        s_.SetPixels(a.X, a.Y, penColor_);
        break;
      }
      // One more on the larger x and y, so both corner pixels are covered.
      Widen(a.X > b.X ? a.X : b.X);
      Widen(a.Y > b.Y ? a.Y : b.Y);
      if (rect)
        s_.Rectangle(a.X, a.Y, b.X, b.Y);
      else
        s_.Ellipse(a.X, a.Y, b.X, b.Y);
      break;
    }
    case ikRect3D: DrawRect3D(item, px); break;
    case ikBar3D: DrawBar3D(item, px, c); break;
    case ikText: DrawText(item, px, c); break;
    case ikMoveTo: {
      const TPoint p = px.P1;
      FlushPolyline();
      currentPoint_ = p;
      s_.MoveTo(p.X, p.Y);
      break;
    }
    case ikMoveToRel:
    case ikLineToRel: {
      FlushPolyline();
      const TPoint pen = s_.PenPos();
      const TPoint p{ClampToInt32(pen.X + PixelOffset(item.X1)),
                     ClampToInt32(pen.Y + PixelOffset(item.Y1))};
      if (item.Kind == ikMoveToRel) {
        currentPoint_ = p;
        s_.MoveTo(p.X, p.Y);
        break;
      }
      s_.Pen.Color = penColor_ = c;
      s_.Pen.Style = penStyle_ = style;
      s_.LineTo(p.X, p.Y);
      s_.SetPixels(p.X, p.Y, c);
      break;
    }
    case ikArrow: DrawArrow(item, px, c); break;
    default: break;  // 0, 10, 11 and unknown kinds draw nothing
  }
}

void TItemRenderer::DrawRect3D(const TRChartItem& item, const TItemPixels& px) {
  FlushPolyline();
  const TColor fill = blackAndWhite_ ? kBlackAndWhiteFill : item.FillColor;
  SetPenColor(fill);
  SetBrushColor(fill);
  SetPenStyle(static_cast<TPenStyle>(item.PenStyle));
  const TPoint a = px.P1, b = px.P2;
  // (x1, y1) the bottom-left corner, (x2, y2) the top-right one.
  const int l = std::min(a.X, b.X), r = std::max(a.X, b.X);
  const int bottom = std::max(a.Y, b.Y), top = std::min(a.Y, b.Y);
  if (l == r && top == bottom) {
    s_.SetPixels(l, top, fill);
    return;
  }
  s_.Rectangle(l, bottom, r, top);
  const TColor d = item.DarkColor, g = item.LightColor;
  // The two halves of the ring: left and top, then right and bottom.
  const auto lowered = [&](TColor first, TColor second) {
    SetPenColor(first);
    s_.MoveTo(l, bottom);
    s_.LineTo(l, top);
    s_.LineTo(r, top);
    SetPenColor(second);
    s_.LineTo(r, bottom);
    s_.LineTo(l, bottom);
  };
  // Two rings, the second one pixel in and up.
  const auto embossed = [&](TColor first, TColor second) {
    SetPenColor(first);
    const int l1 = Off(l, 1), t1 = Off(top, 1), r1 = Off(r, -1), b1 = Off(bottom, -1);
    s_.MoveTo(l1, bottom);
    s_.LineTo(l1, t1);
    s_.LineTo(r, t1);
    s_.LineTo(r, bottom);
    s_.LineTo(l1, bottom);
    SetPenColor(second);
    s_.MoveTo(l, b1);
    s_.LineTo(l, top);
    s_.LineTo(r1, top);
    s_.LineTo(r1, b1);
    s_.LineTo(l, b1);
  };
  switch (item.FrameStyle & 0x7F) {
    case fsLowered: lowered(d, g); break;
    case fsRaised: lowered(g, d); break;
    case fsEmbossed: embossed(d, g); break;
    case fsEngraved: embossed(g, d); break;
    default: break;
  }
}

void TItemRenderer::DrawBar3D(const TRChartItem& item, const TItemPixels& px, TColor c) {
  // Outline and fill as prepared, but on the surface's own brush style.
  const TBrushStyle brushStyle = s_.Brush.Style;
  PrepareOutlineAndFill(item, c);
  s_.Brush.Style = brushStyle;
  const TPoint a = px.P1, b = px.P2;
  int x1 = std::min(a.X, b.X), x2 = std::max(a.X, b.X);
  int y1 = std::min(a.Y, b.Y), y2 = std::max(a.Y, b.Y);
  const long double angle = item.Size * kPi / 180;
  const std::int64_t dxd = PixelOffset(std::cos(angle) * item.Depth);
  const std::int64_t dyd = -PixelOffset(std::sin(angle) * item.Depth);
  if (item.Size > 90) std::swap(x1, x2);
  const auto pt = [](std::int64_t x, std::int64_t y) {
    return TPoint{ClampToInt32(x), ClampToInt32(y)};
  };
  const TPoint top[] = {pt(x1, y1), pt(std::int64_t{x1} + dxd, std::int64_t{y1} + dyd),
                        pt(std::int64_t{x2} + dxd, std::int64_t{y1} + dyd), pt(x2, y1)};
  s_.Polygon(top);
  const TPoint side[] = {pt(std::int64_t{x2} + dxd, std::int64_t{y1} + dyd), pt(x2, y1), pt(x2, y2),
                         pt(std::int64_t{x2} + dxd, std::int64_t{y2} + dyd)};
  s_.Polygon(side);
  Widen(x1 > x2 ? x1 : x2);
  Widen(y2);
  s_.Rectangle(x1, y1, x2, y2);
}

void TItemRenderer::DrawText(const TRChartItem& item, const TItemPixels& px, TColor c) {
  FlushPolyline();
  SetFontColor(c);
  s_.Font().SetStyle(set_.TextFontStyle);
  RescaleFontForPrinter(item.Size);
  if (!s_.IsPrinter()) s_.Font().SetSize(item.Size);
  SetBrushColor(set_.TextBkColor);
  s_.Brush.Style = set_.TextBkStyle == tbSolid ? bsSolid : bsClear;
  const TPoint p = px.P1;
  const std::string text = ItemText(item);
  const std::int64_t tw = s_.TextWidth(text), th = s_.TextHeight(text);
  std::int64_t x = p.X;
  if (set_.TextAlignment == taRightJustify) x -= tw;
  if (set_.TextAlignment == taCenter) x -= tw / 2;
  s_.TextOut(ClampToInt32(x), ClampToInt32(p.Y - th / 2), text);
}

void TItemRenderer::DrawArrow(const TRChartItem& item, const TItemPixels& px, TColor c) {
  PrepareOutlineAndFill(item, c);
  const TPoint p1 = px.P1, p2 = px.P2;
  if (p1 == p2) {
    s_.SetPixels(p1.X, p1.Y, penColor_);
    return;
  }
  s_.MoveTo(p1.X, p1.Y);
  s_.LineTo(p2.X, p2.Y);
  const int length = item.Size;
  if (length < 1) return;
  // The direction of the shaft, measured so that the barbs lie behind the tip.
  // A vertical shaft takes the value the slope formula tends to as the shaft
  // turns vertical (0 upwards, pi downwards); 3 pi / 2 and pi / 2 would turn
  // the head sideways.
  double a;
  if (p1.X == p2.X) {
    a = std::int64_t{p2.Y} - p1.Y < 1 ? 0 : kPi;
  } else {
    const double ddx = static_cast<double>(std::int64_t{p2.X} - p1.X);
    const double slope = std::atan(static_cast<double>(std::int64_t{p2.Y} - p1.Y) / ddx);
    a = slope + (ddx < 0 ? 3 * kPi / 2 : kPi / 2);
  }
  const auto barb = [&](double angle) {
    return TPoint{ClampToInt32(p2.X - static_cast<std::int64_t>(Nint(std::sin(angle) * length))),
                  ClampToInt32(p2.Y + static_cast<std::int64_t>(Nint(std::cos(angle) * length)))};
  };
  const TPoint plus = barb(a + kArrowBarbAngle), minus = barb(a - kArrowBarbAngle);
  if (item.Transparent) {
    s_.LineTo(plus.X, plus.Y);
    s_.MoveTo(p2.X, p2.Y);
    s_.LineTo(minus.X, minus.Y);
  } else {
    const TPoint head[] = {p2, plus, minus};
    s_.Polygon(head);
  }
}

// --- the grid ---------------------------------------------------------------------------

void TItemRenderer::DrawGrid() {
  if (set_.GridStyle == gsNone) return;
  s_.Pen.Color = penColor_ = set_.GridColor;
  const TLayerMap& m = set_.Maps[set_.GridLayer >= 2 ? 1 : 0];
  const TGridAxis& gx = set_.GridX;
  const TGridAxis& gy = set_.GridY;
  switch (set_.GridStyle) {
    case gsPoints: {
      // The point counter runs over all columns together; the columns count
      // as lines do (a column without points would otherwise never end).
      int points = 0;
      double x = FirstGridPosition(gx);
      for (int kx = 2; x < gx.End && points < kMaxGridPoints && kx - 2 < kMaxGridLines;
           x = NextGridPosition(gx, x, kx++)) {
        double y = FirstGridPosition(gy);
        for (int ky = 2; y < gy.End && points < kMaxGridPoints; y = NextGridPosition(gy, y, ky++)) {
          const TPoint p = WorldToPixel(m, x, y);
          const TPoint q = ToSurface(p.X, p.Y);
          s_.SetPixels(q.X, q.Y, set_.GridColor);
          ++points;
        }
      }
      return;
    }
    case gsVertLines:
    case gsVertDotLines:
      s_.Pen.Style = penStyle_ = set_.GridStyle == gsVertDotLines ? psDot : psSolid;
      GridLinesAlong(true);
      break;
    case gsHorizLines:
    case gsHorizDotLines:
      s_.Pen.Style = penStyle_ = set_.GridStyle == gsHorizDotLines ? psDot : psSolid;
      GridLinesAlong(false);
      break;
    case gsLines:
    case gsDotLines:
      s_.Pen.Style = penStyle_ = set_.GridStyle == gsDotLines ? psDot : psSolid;
      GridLinesAlong(true);
      GridLinesAlong(false);
      break;
    default: break;
  }
  s_.Pen.Style = penStyle_ = psSolid;
}

void TItemRenderer::GridLinesAlong(bool vertical) {
  const TLayerMap& m = set_.Maps[set_.GridLayer >= 2 ? 1 : 0];
  const TGridAxis& a = vertical ? set_.GridX : set_.GridY;
  double p = FirstGridPosition(a);
  for (int k = 2, lines = 0; p < a.End && lines < kMaxGridLines; p = NextGridPosition(a, p, k++)) {
    const TPoint from = vertical ? WorldToPixel(m, p, set_.YLow) : WorldToPixel(m, set_.XLow, p);
    const TPoint to = vertical ? WorldToPixel(m, p, set_.YHigh) : WorldToPixel(m, set_.XHigh, p);
    const TPoint f = ToSurface(from.X, from.Y), t = ToSurface(to.X, to.Y);
    s_.MoveTo(f.X, f.Y);
    s_.LineTo(t.X, t.Y);
    ++lines;
  }
}

// --- text labels and the frame ----------------------------------------------------------------

void TItemRenderer::DrawTextLabel(const TTextLabel& label) {
  if (label.Mode() == tlOff || !set_.LayerVisible[label.Layer() >= 2 ? 1 : 0]) return;
  TPoint anchor;
  if (label.AttachToData()) {
    anchor = WorldToPixel(set_.Maps[label.Layer() >= 2 ? 1 : 0], label.PosX(), label.PosY());
  } else {
    anchor = TPoint{static_cast<int>(PixelOffset(label.PosX())),
                    static_cast<int>(PixelOffset(label.PosY()))};
  }
  s_.Font() = label.Font();
  fontColor_ = s_.Font().Color();
  RescaleFontForPrinter(label.Font().Size());
  s_.Pen.Color = penColor_ = label.ColorBorder();
  s_.Pen.Style = penStyle_ = psSolid;
  s_.Brush.Color = brushColor_ = label.ColorBkg();
  s_.Brush.Style = label.Transparent() ? bsClear : bsSolid;

  const std::vector<std::string> lines = SplitLines(label.Caption());
  const std::int64_t n = static_cast<std::int64_t>(lines.size());
  std::int64_t mw = 0;
  for (const std::string& line : lines) mw = std::max<std::int64_t>(mw, s_.TextWidth(line));
  const std::int64_t th = s_.TextHeight(label.Caption());

  // The anchor is the bottom of the text block, aligned horizontally.
  const TChartGeometry& g = set_.Geometry;
  std::int64_t x = std::int64_t{anchor.X} + dx_ - g.LRim;
  const std::int64_t y = std::int64_t{anchor.Y} + dy_ - g.TRim;
  if (label.Alignment() == taRightJustify) x -= mw;
  if (label.Alignment() == taCenter) x -= mw / 2;

  const auto box = [&](std::int64_t ox, std::int64_t oy) {
    s_.Rectangle(
        ClampToInt32(x - kLabelBoxMarginX + ox), ClampToInt32(y - th * n - kLabelBoxMarginY + oy),
        ClampToInt32(x + mw + kLabelBoxMarginX + ox), ClampToInt32(y + kLabelBoxMarginY + oy));
  };
  switch (label.Mode()) {
    case tlsimple:
      if (!label.Transparent()) {
        s_.Pen.Color = penColor_ = label.ColorBkg();  // a background without a visible border
        box(0, 0);
      }
      break;
    case tlBox: box(0, 0); break;
    case tlUnderline:
      if (!label.Transparent()) {
        s_.Pen.Color = penColor_ = label.ColorBkg();
        box(0, 0);
      }
      s_.Pen.Color = penColor_ = label.ColorBorder();
      s_.MoveTo(ClampToInt32(x), ClampToInt32(y));
      s_.LineTo(ClampToInt32(x + mw), ClampToInt32(y));
      break;
    case tlShadow: {
      const TBrushStyle style = s_.Brush.Style;
      s_.Pen.Color = penColor_ = label.ColorShadow();
      s_.Brush.Color = brushColor_ = label.ColorShadow();
      s_.Brush.Style = bsSolid;
      box(label.ShadowDx(), label.ShadowDy());
      s_.Pen.Color = penColor_ = label.ColorBorder();
      s_.Brush.Color = brushColor_ = label.ColorBkg();
      s_.Brush.Style = style;
      box(0, 0);
      break;
    }
    default: break;
  }

  for (std::int64_t k = 0; k < n; ++k) {
    const std::string& line = lines[static_cast<std::size_t>(k)];
    std::int64_t lx = x;
    if (n > 1) {
      const std::int64_t w = s_.TextWidth(line);
      if (label.Alignment() == taRightJustify) lx += mw - w;
      if (label.Alignment() == taCenter) lx += (mw - w) / 2;
    }
    s_.TextOut(ClampToInt32(lx), ClampToInt32(y - th * (n - k)), line);
  }
}

void TItemRenderer::DrawFrame(TColor color) {
  const TChartGeometry& g = set_.Geometry;
  const std::int64_t a = g.MapWidth(), b = g.MapHeight();
  s_.Pen.Color = penColor_ = color;
  s_.Pen.Style = penStyle_ = psSolid;
  s_.MoveTo(dx_, dy_);
  s_.LineTo(ClampToInt32(dx_ + a), dy_);
  s_.LineTo(ClampToInt32(dx_ + a), ClampToInt32(dy_ + b));
  s_.LineTo(dx_, ClampToInt32(dy_ + b));
  s_.LineTo(dx_, dy_);
}

}  // namespace travenel
