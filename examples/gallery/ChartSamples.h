// ChartSamples: what the gallery's charts show. Each SetUp function sets the
// ranges and looks a sample needs (it runs while the chart loads); each Fill
// function adds the sample's items in world coordinates of those ranges.
#pragma once

namespace travenel {

class TRChart;

namespace gallery {

// Sets a layer's horizontal and vertical ranges through the axis setters.
void SetRanges(TRChart& c, int layer, double xLow, double xHigh, double yLow, double yHigh);
// No axes and narrow rims: for samples whose positions mean nothing.
void HideAxes(TRChart& c);

// Every item kind, each named beside it: 0 .. 100 on both axes.
void SetUpItemKinds(TRChart& c);
void FillItemKinds(TRChart& c);

// 3-D rectangles in each edge style and 3-D bars at several angles.
void SetUpSolids(TRChart& c);
void FillSolids(TRChart& c);

// Marks 0 .. 47 in rows of eight, then a few character marks, each numbered.
void SetUpMarks(TRChart& c);
void FillMarks(TRChart& c);

// Text labels in every mode, with several lines, at control pixels, and the
// three alignments about one anchor.
void SetUpTextLabels(TRChart& c);
void FillTextLabelGuides(TRChart& c);

// Logarithmic axes 1 .. 1000 and 0.1 .. 100 with a 1-2-5 and decade grid.
void SetUpLogAxes(TRChart& c);
void FillLogCurves(TRChart& c);

// Six weeks of sunrise times: dates along x, clock times up y.
void SetUpSunrise(TRChart& c);
void FillSunrise(TRChart& c);

// A small curve with marks over 0 .. 10 x xScale and 0 .. yScale of a layer
// (each layer its own): the samples of the grid, layout, shadow and
// background charts.
void FillSampleCurve(TRChart& c, int layer, double xScale, double yScale);

}  // namespace gallery

}  // namespace travenel
