#include "travenel/examples/gallery/ChartSamples.h"

#include <cmath>
#include <iterator>
#include <string>

#include "travenel/chart/rchart.h"
#include "travenel/examples/gallery/ChartKit.h"

namespace travenel {

namespace gallery {

namespace {

constexpr int kNoteSize = 7;  // points: the names under the samples
constexpr TColor kBlue = 0xA05010;
constexpr TColor kRed = 0x2020C0;
constexpr TColor kGreen = 0x208020;
constexpr TColor kOrange = 0x2080E0;
constexpr TColor kPaleOrange = 0x90C8F8;
constexpr TColor kPaleGreen = 0xC0E8C0;
constexpr TColor kPaleBlue = 0xF8E0C0;
constexpr TColor kDarkEdge = 0x404040;
constexpr TColor kLightEdge = clWhite;
constexpr TColor kMarkColor = 0x8B4513;
constexpr TColor kCharMarkColor = 0x2020A0;

// Date/time values: days since 1899-12-30.
constexpr double k15Mar2023 = 45000;

// A name written under a sample, in small grey letters.
void Note(TRChart& c, double x, double y, const char* text) {
  const TColor pen = c.DataColor();
  c.SetDataColor(kNoteColor);
  c.Text(x, y, text, kNoteSize);
  c.SetDataColor(pen);
}

void Pen(TRChart& c, TColor color, TPenStyle style = psSolid, int width = 1) {
  c.SetDataColor(color);
  c.SetPenStyle(style);
  c.SetLineWidth(static_cast<std::uint8_t>(width));
}

void Rims(TRChart& c, int left, int right, int top, int bottom) {
  c.SetLRim(left);
  c.SetRRim(right);
  c.SetTRim(top);
  c.SetBRim(bottom);
}

// The samples of the item-kinds chart sit in three rows of three; each is
// named under it.
struct TNote {
  double X, Y;
  const char* Text;
};
constexpr TNote kItemNotes[] = {
    {17, 66, "AddLine"},           {50, 70, "MoveToPoint +"},    {50, 64.5, "LineTo"},
    {83, 66, "Rectangle"},         {17, 34, "Ellipse"},          {50, 34, "Text"},
    {83, 34, "Arrow open/filled"}, {17, 3, "Move/LineToRelPix"}, {50, 3, "MarkAt"},
    {83, 3, "Rect3D, Bar3D"}};

void FillLines(TRChart& c) {
  Pen(c, kRed);
  c.AddLine(5, 72, 29, 94);
  Pen(c, kRed, psDash);
  c.AddLine(5, 94, 29, 72);

  Pen(c, kGreen, psSolid, 2);
  c.MoveToPoint(36, 76);
  for (const auto& [x, y] : {std::pair{42, 92}, {48, 78}, {54, 90}, {60, 74}, {65, 88}})
    c.LineTo(x, y);

  // A staircase in pixels from a point, with a gap moved over.
  c.MoveToPoint(4, 10);
  for (int step = 0; step < 2; ++step) {
    c.LineToRelPix(12, 0);
    c.LineToRelPix(0, -14);
  }
  c.MoveToRelPix(8, 0);
  c.LineToRelPix(12, 0);
  Pen(c, kGreen);
}

// 3-D rectangles and bars fill with the brush style the surface has: they
// come right after a filled rectangle, before anything that clears the brush
// (a transparent item, a text).
void FillFilledKinds(TRChart& c) {
  Pen(c, kBlue);
  c.SetFillColor(kPaleOrange);
  c.Rectangle(69, 74, 83, 94);
  c.SetFillColor(0xC8C8C8);
  c.Rect3D(68, 10, 80, 28, fsRaised, kDarkEdge, kLightEdge);
  c.SetFillColor(kPaleBlue);
  c.Bar3D(85, 9, 93, 24, 7, 45);
  c.Rectangle(78, 72, 96, 86, /*transparent=*/true);

  c.SetFillColor(kPaleGreen);
  c.Ellipse(11, 50, 7, 9);
  c.Ellipse(25, 48, 7, 6, /*transparent=*/true);

  c.SetFillColor(kOrange);
  c.Arrow(68, 40, 78, 60, 10, /*openHead=*/true);
  c.Arrow(84, 40, 96, 60, 10, /*openHead=*/false);
}

void FillMarksAndTexts(TRChart& c) {
  Pen(c, kMarkColor);
  const int types[] = {8, 16, 26, 36, 42};
  for (int i = 0; i < static_cast<int>(std::size(types)); ++i)
    c.MarkAt(38 + 6 * i, i % 2 ? 22 : 14, static_cast<std::uint8_t>(types[i]));
  Pen(c, kRed);
  c.Text(50, 50, "Text item", 10);
  for (const TNote& n : kItemNotes) Note(c, n.X, n.Y, n.Text);
}

}  // namespace

void SetRanges(TRChart& c, int layer, double xLow, double xHigh, double yLow, double yHigh) {
  TScaleProps& x = c.GetScalePropsX(layer);
  TScaleProps& y = c.GetScalePropsY(layer);
  x.SetRangeLow(xLow);
  x.SetRangeHigh(xHigh);
  y.SetRangeLow(yLow);
  y.SetRangeHigh(yHigh);
}

void HideAxes(TRChart& c) {
  c.Scale1X().SetVisible(false);
  c.Scale1Y().SetVisible(false);
  Rims(c, 10, 10, 22, 10);
}

void SetUpItemKinds(TRChart& c) {
  SetRanges(c, 1, 0, 100, 0, 100);
  Rims(c, 36, 14, 22, 24);
}

void FillItemKinds(TRChart& c) {
  FillLines(c);
  FillFilledKinds(c);
  FillMarksAndTexts(c);
}

void SetUpSolids(TRChart& c) {
  SetRanges(c, 1, 0, 6, 0, 10);
  HideAxes(c);
  c.SetChartColor(0xF4F4F4);  // so that a white light edge shows
}

void FillSolids(TRChart& c) {
  static const char* const kStyleNames[] = {"fsNone",   "fsSimple",   "fsLowered",
                                            "fsRaised", "fsEmbossed", "fsEngraved"};
  struct TBar {
    double Height;
    int Depth, Angle;
    const char* Name;
  };
  static const TBar kBars[] = {{2.6, 8, 45, "45 deg"},    {3.6, 8, 30, "30 deg"},
                               {2.2, 12, 60, "60 deg"},   {3.2, 12, 75, "75 deg"},
                               {2.8, 10, 135, "135 deg"}, {1.8, 0, 45, "depth 0"}};
  // The solids fill with the surface's brush style as the chart area starts
  // (solid): all of them come before the names, whose texts clear it.
  c.SetFillColor(0xC8C8C8);
  for (int i = 0; i < 6; ++i)
    c.Rect3D(i + 0.14, 6.7, i + 0.86, 9.3, static_cast<TFrameStyle>(i), kDarkEdge, kLightEdge);
  Pen(c, kBlue);
  c.SetFillColor(kPaleBlue);
  for (int i = 0; i < 6; ++i)
    c.Bar3D(i + 0.25, 1.1, i + 0.75, 1.1 + kBars[i].Height, kBars[i].Depth, kBars[i].Angle);
  for (int i = 0; i < 6; ++i) {
    Note(c, i + 0.5, i % 2 ? 5.5 : 6.0, kStyleNames[i]);  // staggered: the names are wide
    Note(c, i + 0.5, 0.5, kBars[i].Name);
  }
}

void SetUpMarks(TRChart& c) {
  SetRanges(c, 1, -0.5, 7.5, -0.6, 6.5);
  HideAxes(c);
}

void FillMarks(TRChart& c) {
  constexpr int kColumns = 8;
  Pen(c, kMarkColor);
  for (int type = 0; type < 48; ++type)
    c.MarkAt(type % kColumns, 6.15 - type / kColumns, static_cast<std::uint8_t>(type));
  for (int type = 0; type < 48; ++type)
    Note(c, type % kColumns, 5.75 - type / kColumns, std::to_string(type).c_str());

  // A character mark is a letter in the font the chart-area surface holds,
  // and a mark sets no font: the text item before them gives colour and size.
  static const int kCharMarks[] = {48, 65, 77, 120, 0xA7, 0xB0, 0x80};
  Pen(c, kCharMarkColor);
  c.Text(0, 0.15, "chars", 10);
  for (int i = 0; i < static_cast<int>(std::size(kCharMarks)); ++i)
    c.MarkAt(i + 1, 0.15, static_cast<std::uint8_t>(kCharMarks[i]), 10);
  for (int i = 0; i < static_cast<int>(std::size(kCharMarks)); ++i)
    Note(c, i + 1, -0.25, std::to_string(kCharMarks[i]).c_str());
}

void SetUpTextLabels(TRChart& c) {
  SetRanges(c, 1, 0, 10, 0, 10);
  Rims(c, 40, 14, 22, 24);
  struct TLabelSample {
    TTxtLblMode Mode;
    double X, Y;
    const char* Caption;
  };
  static const TLabelSample kModes[] = {{tlsimple, 1.3, 8.2, "tlsimple"},
                                        {tlBox, 3.4, 8.2, "tlBox"},
                                        {tlUnderline, 5.5, 8.2, "tlUnderline"},
                                        {tlShadow, 1.3, 5.4, "tlShadow"},
                                        {tlBox, 1.3, 1.6, "one label\nin three\nlines"}};
  int n = 1;
  for (const TLabelSample& s : kModes) {
    TTextLabel& l = c.TextLabel(n++);
    l.SetMode(s.Mode);
    l.SetPosX(s.X);
    l.SetPosY(s.Y);
    l.SetCaption(s.Caption);
    l.SetColorBkg(0xD8F8FF);  // a pale yellow
  }
  TTextLabel& transparent = c.TextLabel(n++);
  transparent.SetMode(tlBox);
  transparent.SetTransparent(true);
  transparent.SetPosX(4.2);
  transparent.SetPosY(4.8);
  transparent.SetCaption("Transparent");

  TTextLabel& pixels = c.TextLabel(n++);
  pixels.SetMode(tlBox);
  pixels.SetAttachToData(false);
  pixels.SetPosX(290);
  pixels.SetPosY(160);
  pixels.SetColorBkg(kPaleBlue);
  pixels.SetCaption("AttachToData false: pixel (290, 160)");

  static const std::pair<TAlignment, const char*> kAlignments[] = {
      {taLeftJustify, "taLeftJustify"}, {taCenter, "taCenter"}, {taRightJustify, "taRightJustify"}};
  double y = 6.9;
  for (const auto& [alignment, name] : kAlignments) {
    TTextLabel& l = c.TextLabel(n++);
    l.SetMode(tlBox);
    l.SetAlignment(alignment);
    l.SetPosX(8.1);
    l.SetPosY(y);
    l.SetCaption(name);
    y -= 1.9;
  }
}

void FillTextLabelGuides(TRChart& c) {
  // Behind the transparent label: a coloured rectangle.
  Pen(c, kGreen);
  c.SetFillColor(kPaleGreen);
  c.Rectangle(3.3, 3.9, 5.1, 6.1);
  // The anchor of the aligned labels, marked where each one's bottom sits.
  Pen(c, kRed, psDot);
  c.AddLine(8.1, 1.0, 8.1, 8.4);
  Note(c, 8.1, 0.5, "the anchor x");
}

void SetUpLogAxes(TRChart& c) {
  SetRanges(c, 1, 1, 1000, 0.1, 100);
  c.Scale1X().SetLogarithmic(true);
  c.Scale1Y().SetLogarithmic(true);
  Rims(c, 40, 16, 22, 24);
  c.SetGridStyle(gsDotLines);
  c.SetGridColor(0xA0A0A0);
  c.SetGridDx(-2);  // 1, 2, 5 in every decade
  c.SetGridDy(-1);  // decades
}

void FillLogCurves(TRChart& c) {
  Pen(c, kBlue, psSolid, 2);
  c.MoveToPoint(1, 1);
  for (int i = 1; i <= 30; ++i) {
    const double x = std::pow(10.0, i / 10.0);
    c.LineTo(x, std::sqrt(x));
  }
  Pen(c, kRed);
  for (int i = 0; i <= 12; ++i) {
    const double x = std::pow(10.0, i / 4.0);
    c.MarkAt(x, 100 / x, 26);
  }
  Note(c, 100, 40, "sqrt(x)");
  Note(c, 14, 2.2, "100 / x");
}

void SetUpSunrise(TRChart& c) {
  SetRanges(c, 1, k15Mar2023, k15Mar2023 + 42, 5 * 3600.0 + 1200, 6.5 * 3600);
  c.Scale1X().SetLabelType(ftDateTime);
  c.Scale1X().SetMinTicks(2);
  c.Scale1Y().SetLabelType(ftTime);
  c.Scale1Y().SetMinTicks(3);
  c.Scale1Y().SetShortTicks(false);  // grid lines at the labelled times only
  Rims(c, 62, 26, 22, 24);
  c.SetGridStyle(gsHorizDotLines);
  c.SetGridColor(0xA0A0A0);
}

void FillSunrise(TRChart& c) {
  // A made-up town: sunrise moves from 06:20 to 05:32 over six weeks.
  Pen(c, kOrange, psSolid, 2);
  const double first = 6 * 3600.0 + 1200, last = 5 * 3600.0 + 1920;
  c.MoveToPoint(k15Mar2023, first);
  for (int day = 1; day <= 42; ++day) {
    const double t = day / 42.0;
    c.LineTo(k15Mar2023 + day, first + (last - first) * (t + 0.08 * std::sin(t * 3.1416)));
  }
  Pen(c, kOrange);
  for (int day = 0; day <= 42; day += 7) {
    const double t = day / 42.0;
    c.MarkAt(k15Mar2023 + day, first + (last - first) * (t + 0.08 * std::sin(t * 3.1416)), 26);
  }
}

void FillSampleCurve(TRChart& c, int layer, double xScale, double yScale) {
  c.SetActiveLayer(layer);
  const bool first = layer == 1;
  auto f = [&](double u) {
    const double wave = first ? std::sin(u * 0.9) : std::cos(u * 0.7);
    return yScale * (0.5 + 0.35 * wave + 0.02 * u);
  };
  Pen(c, first ? kBlue : clMaroon, psSolid, 2);
  c.MoveToPoint(0, f(0));
  for (int i = 1; i <= 40; ++i) c.LineTo(i * 0.25 * xScale, f(i * 0.25));
  Pen(c, first ? kBlue : clMaroon);
  for (int i = 1; i <= 9; i += 2) c.MarkAt(i * xScale, f(i), first ? 26 : 36);
  c.SetActiveLayer(1);
}

}  // namespace gallery

}  // namespace travenel
