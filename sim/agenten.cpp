#include "travenel/sim/agenten.h"

#include <algorithm>
#include <cmath>

#include "travenel/gfx/Canvas.h"
#include "travenel/gfx/QuickShapes.h"
#include "travenel/sim/Random.h"

namespace travenel {

std::int32_t TAgent::OffsetFromReal(TRandom& random, std::int32_t low, std::int32_t high) {
  const double u = random.Real();
  const double v = u * (static_cast<double>(high) - low + 1.0) + low;
  // Round to nearest, halves to even (nearbyint in the default rounding mode).
  return static_cast<std::int32_t>(std::clamp(std::nearbyint(v), -2147483648.0, 2147483647.0));
}

void TAgent::Draw(TCanvas& canvas) {
  ColorValue = ColorIndex * 255;
  const TColor c = GreyColor(ColorValue);
  canvas.Pen.Width = 1;
  canvas.Pen.Color = c;
  canvas.Pen.Style = psSolid;
  canvas.Pen.Mode = pmCopy;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = c;
  // Drawn for every agent on every tick, so by the quick route (the canvas's own pixels).
  QuickEllipse(canvas, PositionX - Size, PositionY - Size, PositionX + Size, PositionY + Size);
}

}  // namespace travenel
