// PlotChart: a TRChart set up offscreen the way every picture of travenel-plot
// draws it — fonts and colours, axis ranges from the data, rims that fit the
// tick labels, a dotted grid — and a legend drawn into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "travenel/chart/rchart.h"

namespace travenel {

// The colours the window plots its agents in.
constexpr TColor kAttachedColor = 0x0000FF;  // red (0x00BBGGRR)
constexpr TColor kFreeColor = 0x008000;      // green
constexpr TColor kTextColor = clBlack;
constexpr TColor kNoteColor = 0x606060;

// The font height of axis labels and legends; the panels' captions.
constexpr int kLabelFontHeight = 11;
constexpr int kCaptionFontHeight = 12;

// A distinct colour for curve i of n: ten of a qualitative palette, and for
// more curves a sweep from blue over green and orange to red.
TColor CurveColor(int i, int n);
// a + (b - a) * t in each channel.
TColor MixColors(TColor a, TColor b, double t);
// A colour mixed with white (amount 0: the colour, 1: white).
inline TColor Lighter(TColor c, double amount) { return MixColors(c, clWhite, amount); }

// The range an axis shows and the tick step the scale draws on it.
struct TAxisSpan {
  double Low = 0;
  double High = 1;
  double Step = 1;
};

// The span for data from lo to hi: both moved out to the next multiple of the
// step the scale's own tick rule (NiceTickStep with minTicks) picks for the
// span that results, so that the axis starts and ends on a labelled tick.
// Equal ends are spread apart first.
TAxisSpan NiceSpan(double lo, double hi, int minTicks);

// NiceSpan for whole numbers (counts, steps): at least minTicks wide, so
// that no tick falls between two of them.
TAxisSpan WholeSpan(double lo, double hi, int minTicks);

// A span with a margin of a fortieth of it at the low and/or high end, so
// that values on its ends do not lie under the chart area's frame (the
// ticks stay where the scale puts them).
TAxisSpan WithMargin(TAxisSpan s, bool low, bool high);

// The step between the labelled ticks the scale draws on a range.
double AxisStep(double lo, double hi, int minTicks);

// A label written left of the value axis, level with a value, as its tick
// labels are (for a place on the axis that is not a number).
struct TSideLabel {
  double Y = 0;
  std::string Text;
};

struct TChartSpec {
  int Width = 800;
  int Height = 500;
  std::string Caption;  // above the chart area, on the right
  std::string XCaption, YCaption;
  TAxisSpan X, Y;
  int MinTicks = 5;  // as NiceSpan had them
  // Axes of whole numbers: no decimals on their labels.
  bool XWhole = false, YWhole = false;
  std::vector<TSideLabel> SideLabels;
};

// A font of the program's own family, in which every text is written.
TFont PlotFont(int height, TColor color = kTextColor, bool bold = false);

// A chart with its window (so that it paints), set up as described, that
// may hold up to ten million items. AutoRedraw is off: add the items, then
// take the picture.
std::unique_ptr<TRChart> MakeChart(const TChartSpec& spec);

// The chart's picture with every item drawn.
const TBitmap& ChartPicture(TRChart& chart);

// A polyline in world coordinates that the legend should keep clear of.
using TWorldLine = std::vector<std::pair<double, double>>;

enum class TSwatch { Line, LineAndMark, Band, Mark };

struct TLegendEntry {
  std::string Text;
  TColor Color = clBlack;
  TSwatch Swatch = TSwatch::Line;
  std::uint8_t MarkType = 24;
  TColor TextColor = kTextColor;
  bool Dashed = false;  // a line swatch drawn dashed
};

// The box a legend of these entries needs, in pixels.
TPoint LegendSize(const std::vector<TLegendEntry>& entries);

// Whether the legend finds a place in the chart area that covers none of
// the lines (else it belongs outside the data).
bool LegendFitsClear(TRChart& chart, const std::vector<TLegendEntry>& entries,
                     const std::vector<TWorldLine>& keepClear);

// Draws the legend (a box with a swatch per entry, as items; the texts as the
// chart's text labels, at most kTextLabels) in the place of the chart area
// where it covers least of the given lines. Returns the box's control pixels.
TRect AddLegend(TRChart& chart, const std::vector<TLegendEntry>& entries,
                const std::vector<TWorldLine>& keepClear);

}  // namespace travenel
