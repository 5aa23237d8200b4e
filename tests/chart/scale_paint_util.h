// Helpers of the scale painting tests: where a text is drawn, whether a region
// holds any ink, and scales painted at once onto their own image.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "travenel/chart/Scale.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

// The background of a default opaque scale as it shows in pixels.
inline TColor FaceColor() { return ColorToRGB(clBtnFace); }

// Whether `text` is drawn on `c` with its top-left corner at (x, y) over the
// background `bg`: the pixels of its box (where they lie on the surface) are
// those of the same text drawn alone on that background, and some are ink.
inline ::testing::AssertionResult TextAt(const TCanvas& c, int x, int y, const std::string& text,
                                         TColor bg) {
  const int w = c.TextWidth(text), h = c.TextHeight(text);
  TBitmap ref(w, h);
  TCanvas& r = ref.Canvas();
  r.Font() = c.Font();
  r.Brush.Color = bg;
  r.Brush.Style = bsSolid;
  r.FillRect(Rect(0, 0, w, h));
  r.Brush.Style = bsClear;
  r.TextOut(0, 0, text);
  bool ink = false, inside = false;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const TColor got = c.Pixels(x + i, y + j);
      if (got == TCanvas::kInvalidPixel) continue;  // off the surface
      inside = true;
      const TColor want = r.Pixels(i, j);
      if (got != want)
        return ::testing::AssertionFailure()
               << "\"" << text << "\" at (" << x << ", " << y << "): pixel (" << x + i << ", "
               << y + j << ") is " << std::hex << got << ", expected " << want;
      ink = ink || want != bg;
    }
  if (!inside || !ink)
    return ::testing::AssertionFailure()
           << "\"" << text << "\" at (" << x << ", " << y << ") has no visible pixels";
  return ::testing::AssertionSuccess();
}

// Whether any pixel of the rectangle (right and bottom edges excluded) differs from bg.
inline bool InkIn(const TCanvas& c, const TRect& r, TColor bg) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const TColor p = c.Pixels(x, y);
      if (p != TCanvas::kInvalidPixel && p != bg) return true;
    }
  return false;
}

// Counts the paints of a scale (one per drawing pass that is not skipped).
struct PaintCounter {
  explicit PaintCounter(TScale& s) : scale(s) {
    s.OnBeforeScaleRendered = [this](TScale&, TCanvas&) { ++paints; };
  }
  ~PaintCounter() { scale.OnBeforeScaleRendered = nullptr; }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  TScale& scale;
  int paints = 0;
};

}  // namespace travenel
