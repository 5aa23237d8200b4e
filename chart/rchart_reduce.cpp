#include "travenel/chart/rchart_reduce.h"

#include <algorithm>

namespace travenel {

namespace {

void Push(std::vector<TPoint>& out, TPoint p) {
  // A segment of no length draws nothing.
  if (out.empty() || !(out.back() == p)) out.push_back(p);
}

}  // namespace

void TPolylineReducer::Start(TPoint first, int surfaceWidth) {
  done_.clear();
  width_ = std::max(surfaceWidth, 0);
  zone_ = ZoneOf(first);
  first_ = last_ = first;
  lo_ = 1;
  hi_ = 0;
}

void TPolylineReducer::StartGroup(TPoint p) {
  CloseGroup();
  zone_ = ZoneOf(p);
  first_ = last_ = p;
  lo_ = 1;
  hi_ = 0;
}

void TPolylineReducer::AddGroup(TPoint first, TPoint last, std::int64_t lo, std::int64_t hi) {
  Add(first);  // opens the group, or joins the open one of the same zone
  if (zone_ >= 0 && zone_ < width_ && lo <= hi) {
    if (lo_ > hi_) {
      lo_ = lo;
      hi_ = hi;
    } else {
      lo_ = std::min(lo_, lo);
      hi_ = std::max(hi_, hi);
    }
  }
  last_ = last;
}

int TPolylineReducer::OpenPoints(TPoint out[4]) const {
  int n = 0;
  const auto put = [&](TPoint p) {
    if (n == 0 || !(out[n - 1] == p)) out[n++] = p;
  };
  put(first_);
  if (lo_ <= hi_) {
    const std::int32_t x = first_.X;
    const TPoint low{x, static_cast<std::int32_t>(lo_)}, high{x, static_cast<std::int32_t>(hi_)};
    const std::int64_t y = last_.Y;
    if (y == hi_ + 1) {
      put(low);  // the last point lies just past the run: it stays undrawn
    } else if (y == lo_ - 1) {
      put(high);
    } else if (y == hi_) {
      // Ending on the high end: go there first, so that the way back down
      // draws it.
      put(high);
      put(low);
    } else {
      put(low);
      put(high);
    }
  }
  put(last_);
  return n;
}

void TPolylineReducer::CloseGroup() {
  TPoint open[4];
  const int n = OpenPoints(open);
  for (int i = 0; i < n; ++i) Push(done_, open[i]);
}

std::vector<TPoint> ReducePolyline(const std::vector<TPoint>& points, int surfaceWidth) {
  if (points.empty()) return {};
  TPolylineReducer r;
  r.Start(points.front(), surfaceWidth);
  for (std::size_t i = 1; i < points.size(); ++i) r.Add(points[i]);
  std::vector<TPoint> out = r.Finished();
  TPoint open[4];
  const int n = r.OpenPoints(open);
  for (int i = 0; i < n; ++i) Push(out, open[i]);
  return out;
}

}  // namespace travenel
