// rchart_reduce: a long polyline cut down to the few points per pixel column
// that set the same pixels, when it is drawn with a solid pen one pixel wide
// in copy mode. Pure arithmetic on surface pixels; no canvas.
//
// Why it is exact. Consecutive points in one column are joined by vertical
// segments, each drawing its pixels from its start towards its end, the end
// left out. Each starts where the last one ended, so together they draw one
// run of the column, [Lo, Hi], with the last point inside it or just beside
// it. Keeping the column's first and last point keeps the segments that enter
// and leave the column (they may cross several columns), and a walk first ->
// one end of the run -> the other end -> last draws that same run, choosing
// the order of the ends so that the last point's pixel is drawn exactly when
// it was before. Points left or right of the surface only draw where no pixel
// is: a run of them keeps its first and last point.
#pragma once

#include <cstdint>
#include <vector>

#include "travenel/gfx/Types.h"

namespace travenel {

class TPolylineReducer {
 public:
  // Starts a polyline at `first` for a surface `surfaceWidth` columns wide.
  void Start(TPoint first, int surfaceWidth);
  // Inline: a frame may feed it millions of points.
  void Add(TPoint p) {
    const std::int64_t zone = ZoneOf(p);
    if (zone != zone_) {
      StartGroup(p);
      return;
    }
    if (zone_ >= 0 && zone_ < width_ && p.Y != last_.Y) {
      // The vertical segment from the last point draws from there towards p,
      // p itself left out.
      const std::int64_t from = last_.Y, to = p.Y;
      const std::int64_t a = to > from ? from : to + 1, b = to > from ? to - 1 : from;
      if (lo_ > hi_) {
        lo_ = a;
        hi_ = b;
      } else {
        lo_ = a < lo_ ? a : lo_;
        hi_ = b > hi_ ? b : hi_;
      }
    }
    last_ = p;
  }
  // Points from `first` to `last`, all in one column (or all on one side of
  // the surface), whose vertical segments from `first` on drew the run
  // [lo, hi] (lo > hi: none): the same as adding each of them.
  void AddGroup(TPoint first, TPoint last, std::int64_t lo, std::int64_t hi);
  // The points the reduced polyline has so far, in order: those of the
  // finished groups, then those of the open one.
  const std::vector<TPoint>& Finished() const { return done_; }
  // Writes the open group's points to out (at most four) and gives their number.
  int OpenPoints(TPoint out[4]) const;
  TPoint Last() const { return last_; }
  int SurfaceWidth() const { return width_; }

 private:
  // The group a point falls into: its column on the surface, or one of the
  // two sides beyond it.
  std::int64_t ZoneOf(TPoint p) const {
    if (p.X < 0) return -1;
    if (p.X >= width_) return width_;
    return p.X;
  }
  void CloseGroup();
  // Add for a point of another zone than the open group's.
  void StartGroup(TPoint p);

  std::vector<TPoint> done_;
  int width_ = 0;
  std::int64_t zone_ = 0;
  TPoint first_, last_;
  // The run the group's vertical segments drew; empty while lo_ > hi_.
  std::int64_t lo_ = 1, hi_ = 0;
};

// The whole polyline reduced at once.
std::vector<TPoint> ReducePolyline(const std::vector<TPoint>& points, int surfaceWidth);

}  // namespace travenel
