// Quick routes for the small shapes that are drawn by the thousand on every
// tick (the world's cells and agents).
//
// Each function draws exactly what TCanvas::Rectangle or TCanvas::Ellipse
// draws with the canvas's pen and brush. When the shape lies wholly on the
// surface and pen and brush are of the plain kind (a solid one-pixel pen in
// copy mode, a solid brush; for the ellipse an 8 x 8 box and pen and brush of
// one colour), its rows are written straight into the image; anything else
// takes the canvas's general route.
#pragma once

namespace travenel {

class TCanvas;

void QuickRectangle(TCanvas& canvas, int x1, int y1, int x2, int y2);
void QuickEllipse(TCanvas& canvas, int x1, int y1, int x2, int y2);

}  // namespace travenel
