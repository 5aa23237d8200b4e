// TCustomRChart: saving the chart's picture to a file, and drawing it anew on
// a surface at a device scale or into a vector file.
#include "travenel/chart/rchart.h"
#include "travenel/gfx/PictureFile.h"

namespace travenel {

void TCustomRChart::SaveToFile(const std::string& path) {
  if (PictureFormatOf(path) != TPictureFormat::Raster) return TControl::SaveToFile(path, 1);
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

bool TCustomRChart::RenderOn(TCanvas& surface, bool screen) {
  if (!surface.IsDevice()) return false;
  // The caption takes the font that the last paint left on the window's
  // surface, as the next paint will.
  surface.SetState(ControlImage().Canvas().State());
  RenderControlImage(surface);
  const TChartGeometry g = Geometry();
  // The chart area on a part of the surface of its own, clipped as its image is.
  const std::unique_ptr<TCanvas> area =
      surface.Part(Bounds(ClampToInt32(g.AreaLeft()), ClampToInt32(g.AreaTop()),
                          g.AreaImageWidth(), g.AreaImageHeight()));
  RenderChartBackground(*area, 0, 0);
  RenderItems(*area, 0, 0, false, false);
  DrawCrossHairs(surface, 0, 0);
  if (screen) {
    surface.Pen.Mode = pmXor;
    surface.Pen.Color = clWhite;
    surface.Pen.Style = psSolid;
    surface.Pen.Width = 1;
    surface.Brush.Style = bsClear;
    for (const TOutline* o : {&zoomOutline_, &bandOutline_})
      if (o->Shown) surface.Rectangle(o->Rect);
    surface.Pen.Mode = pmCopy;
  }
  return true;
}

}  // namespace travenel
