#include "travenel/sim/cell_P.h"

#include "travenel/gfx/Canvas.h"
#include "travenel/gfx/QuickShapes.h"

namespace travenel {

void TCell::Draw(TCanvas& canvas) const {
  canvas.Pen.Width = 0;  // the thinnest pen: one pixel
  canvas.Pen.Color = kOutlineColor;
  canvas.Pen.Style = psSolid;
  canvas.Pen.Mode = pmCopy;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = GreyColor(GreyLevel);
  // The second corner is excluded, so the square covers exactly 2 * Size pixels.
  // Painted on every tick, so by the quick route (the canvas's own pixels).
  QuickRectangle(canvas, positionX_ - size_, positionY_ - size_, positionX_ + size_,
                 positionY_ + size_);
}

}  // namespace travenel
