// TCustomRChart: saving the chart's picture to a file.
#include "travenel/chart/rchart.h"

namespace travenel {

void TCustomRChart::SaveToFile(const std::string& path) {
  TBitmap picture;
  picture.Assign(CurrentPicture());
  // An outline being dragged is no part of the chart: drawing it again in XOR
  // takes it off the copy.
  TCanvas& c = picture.Canvas();
  c.Pen.Mode = pmXor;
  c.Pen.Color = clWhite;
  c.Brush.Style = bsClear;
  for (const TOutline* o : {&zoomOutline_, &bandOutline_})
    if (o->Shown) c.Rectangle(o->Rect);
  picture.SaveToFile(path);
}

}  // namespace travenel
