#include "travenel/plot/PlotChart.h"

#include <algorithm>
#include <cmath>

#include "travenel/chart/math1.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

constexpr TColor kFrameColor = 0x808080;
constexpr TColor kGridColor = 0xC8C8C8;
constexpr TColor kLegendBorder = 0xA0A0A0;
constexpr double kSpanMargin = 0.025;

// Rims: room for the caption line above the area, the tick labels and the
// axis caption below it, half a label on the right; the left rim follows the
// widest tick label.
constexpr int kTopRim = 26;
constexpr int kBottomRim = 26;
constexpr int kXCaptionRoom = 16;
constexpr int kRightRim = 20;
constexpr int kLeftOfLabels = 18;  // long tick and gap to the label
constexpr int kMinLeftRim = 40;
constexpr int kLabelGap = 8;  // a side label's right end to the axis, as the scale's labels

// The legend box: padding, swatch length and the gap to the text.
constexpr int kLegendPad = 6;
constexpr int kSwatch = 26;
constexpr int kSwatchGap = 6;
constexpr int kLegendInset = 8;  // from the chart area's edges
constexpr int kLineGap = 4;
constexpr double kSampleEvery = 3;  // pixels between the samples of a line

// A qualitative palette (0x00BBGGRR), and the stops of the sweep for more curves.
constexpr TColor kPalette[] = {0xB4771F, 0x0E7FFF, 0x2CA02C, 0x2827D6, 0xBD6794,
                               0x4B568C, 0xC277E3, 0x7F7F7F, 0x22BDBC, 0xCFBE17};
constexpr TColor kSweep[] = {0xB4771F, 0x2CA02C, 0x0E7FFF, 0x2827D6};

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

int LineHeight() {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = PlotFont(kLabelFontHeight);
  return scratch.Canvas().TextHeight("Ag") + kLineGap;
}

// How many samples of the lines fall into r (control pixels).
int Covered(TRChart& c, const std::vector<TWorldLine>& lines, const TRect& r) {
  int n = 0;
  const auto inside = [&](double x, double y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
  };
  for (const TWorldLine& line : lines) {
    TPoint prev{};
    for (std::size_t i = 0; i < line.size(); ++i) {
      const TPoint p = c.WorldToPixel(1, line[i].first, line[i].second);
      if (i == 0) {
        n += inside(p.X, p.Y);
      } else {
        const double dx = double(p.X) - prev.X, dy = double(p.Y) - prev.Y;
        const int samples =
            std::clamp(static_cast<int>(std::hypot(dx, dy) / kSampleEvery), 1, 4000);
        for (int k = 1; k <= samples; ++k)
          n += inside(prev.X + dx * k / samples, prev.Y + dy * k / samples);
      }
      prev = p;
    }
  }
  return n;
}

}  // namespace

TColor CurveColor(int i, int n) {
  constexpr int kColors = static_cast<int>(std::size(kPalette));
  if (n <= kColors) return kPalette[std::clamp(i, 0, kColors - 1)];
  const double t = std::clamp(double(i) / (n - 1), 0.0, 1.0) * (std::size(kSweep) - 1);
  const int k = std::min(static_cast<int>(t), static_cast<int>(std::size(kSweep)) - 2);
  return MixColors(kSweep[k], kSweep[k + 1], t - k);
}

TColor MixColors(TColor a, TColor b, double t) {
  TColor out = 0;
  for (int shift : {0, 8, 16}) {
    const double v = Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t;
    out |= static_cast<TColor>(std::clamp(static_cast<int>(std::lround(v)), 0, 255)) << shift;
  }
  return out;
}

double AxisStep(double lo, double hi, int minTicks) {
  return static_cast<double>(std::fabs(NiceTickStep(minTicks, lo, hi).Step));
}

TAxisSpan NiceSpan(double lo, double hi, int minTicks) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) return {};
  if (lo > hi) std::swap(lo, hi);
  if (hi - lo <= 1e-12 * std::max(std::fabs(lo), std::fabs(hi))) {
    // One value: a span around it (from 0 up when it is 0).
    const double d = lo == 0 ? 1 : std::fabs(lo) * 0.05;
    if (lo != 0) lo -= d;
    hi += d;
  }
  TAxisSpan s{lo, hi, 0};
  // A wider span may take a larger step, which may widen it again. The span
  // only ever grows (rounding the data anew could shrink it and swap two
  // steps back and forth), so the step only grows and this ends.
  for (int round = 0; round < 16; ++round) {
    const double step = AxisStep(s.Low, s.High, minTicks);
    if (!(step > 0) || !std::isfinite(step) || step == s.Step) break;
    s.Step = step;
    // A value a rounding error past a tick is on it.
    s.Low = std::floor(s.Low / step + 1e-9) * step;
    s.High = std::ceil(s.High / step - 1e-9) * step;
  }
  return s;
}

TAxisSpan WholeSpan(double lo, double hi, int minTicks) {
  if (hi - lo < minTicks) hi = lo + minTicks;
  return NiceSpan(lo, hi, minTicks);
}

TAxisSpan WithMargin(TAxisSpan s, bool low, bool high) {
  const double margin = kSpanMargin * (s.High - s.Low);
  if (low) s.Low -= margin;
  if (high) s.High += margin;
  return s;
}

TFont PlotFont(int height, TColor color, bool bold) {
  TFont f;
  f.SetName(RegisterAppFonts());
  f.SetHeight(height);
  f.SetColor(color);
  if (bold) f.SetStyle({fsBold});
  return f;
}

std::unique_ptr<TRChart> MakeChart(const TChartSpec& spec) {
  auto chart = std::make_unique<TRChart>();
  TRChart& c = *chart;
  c.HandleNeeded();
  LoadControl(c, [&] {
    c.SetBounds(0, 0, spec.Width, spec.Height);
    c.SetAutoRedraw(false);
    c.SetMaxItems(TRChartItemList::kMaxItemsCeiling);
    c.Font() = PlotFont(kCaptionFontHeight);
    c.SetWindColor(clWhite);
    c.SetChartColor(clWhite);
    c.SetChartFrameColor(kFrameColor);
    // Grid lines at the labelled ticks only (the axes' own positions include
    // the short ones).
    c.SetGridStyle(gsDotLines);
    c.SetGridColor(kGridColor);
    c.SetGridDx(AxisStep(spec.X.Low, spec.X.High, spec.MinTicks));
    c.SetGridDy(AxisStep(spec.Y.Low, spec.Y.High, spec.MinTicks));
    c.SetCaption(spec.Caption);
    for (TScaleProps* axis :
         {static_cast<TScaleProps*>(&c.Scale1X()), static_cast<TScaleProps*>(&c.Scale1Y())}) {
      axis->SetFont(PlotFont(kLabelFontHeight));
      axis->SetMinTicks(spec.MinTicks);
    }
    // Short ranges would be labelled with decimals; long ones have none (or
    // the exponent form for huge ones, which stays).
    if (spec.XWhole && spec.X.High - spec.X.Low < 100) c.Scale1X().SetDecPlaces(0);
    if (spec.YWhole && spec.Y.High - spec.Y.Low < 100) c.Scale1Y().SetDecPlaces(0);
    c.Scale1X().SetCaption(spec.XCaption);
    c.Scale1Y().SetCaption(spec.YCaption);
    // The caption is written in the font the control image holds, which the
    // axes leave there: hand back the chart's own, after the side labels.
    c.OnScalesRendered = [labels = spec.SideLabels](TCustomRChart& chart, TCanvas& surface, int,
                                                    int) {
      surface.Font() = PlotFont(kLabelFontHeight);
      surface.Brush.Style = bsClear;
      for (const TSideLabel& l : labels) {
        const TPoint p = chart.WorldToPixel(1, 0, l.Y);
        surface.TextOut(chart.LRim() - kLabelGap - surface.TextWidth(l.Text),
                        p.Y - surface.TextHeight(l.Text) / 2, l.Text);
      }
      surface.Font() = chart.Font();
    };
  });
  c.SetLayerRanges(1, spec.X.Low, spec.Y.Low, spec.X.High, spec.Y.High);

  int widest = 0;
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = PlotFont(kLabelFontHeight);
  for (const TScaleTick& t : c.ScaleObjectY(1).TickLayout().Ticks)
    if (t.Long) widest = std::max(widest, scratch.Canvas().TextWidth(t.Label));
  for (const TSideLabel& l : spec.SideLabels)
    widest = std::max(widest, scratch.Canvas().TextWidth(l.Text));
  c.SetLRim(std::max(kMinLeftRim, widest + kLeftOfLabels));
  c.SetRRim(kRightRim);
  c.SetTRim(kTopRim);
  c.SetBRim(kBottomRim + (spec.XCaption.empty() ? 0 : kXCaptionRoom));
  return chart;
}

const TBitmap& ChartPicture(TRChart& chart) {
  chart.ShowItems();  // AutoRedraw off: the whole control is painted
  return chart.ControlImage();
}

TPoint LegendSize(const std::vector<TLegendEntry>& entries) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = PlotFont(kLabelFontHeight);
  int widest = 0;
  for (const TLegendEntry& e : entries)
    widest = std::max(widest, scratch.Canvas().TextWidth(e.Text));
  const int n = std::min(static_cast<int>(entries.size()), TCustomRChart::kTextLabels);
  return {2 * kLegendPad + kSwatch + kSwatchGap + widest, 2 * kLegendPad + n * LineHeight()};
}

namespace {

// The place of the legend box that covers least of the lines, and how much
// it covers.
TRect PlaceLegend(TRChart& c, const std::vector<TLegendEntry>& entries,
                  const std::vector<TWorldLine>& keepClear, int& least) {
  const TPoint size = LegendSize(entries);
  const TChartGeometry g = c.Geometry();
  const int left = static_cast<int>(g.AreaLeft()) + kLegendInset;
  const int top = static_cast<int>(g.AreaTop()) + kLegendInset;
  const int right = static_cast<int>(g.AreaRight()) - kLegendInset - size.X;
  const int bottom = static_cast<int>(g.AreaBottom()) - kLegendInset - size.Y;
  const int midX = (left + right) / 2, midY = (top + bottom) / 2;
  // In order of preference where they cover the same.
  const TPoint places[] = {{right, top},  {left, top},  {right, bottom}, {left, bottom},
                           {right, midY}, {left, midY}, {midX, top},     {midX, bottom}};
  TRect box = Bounds(right, top, size.X, size.Y);
  least = -1;
  for (const TPoint& p : places) {
    const TRect r = Bounds(p.X, p.Y, size.X, size.Y);
    const int covered = Covered(c, keepClear, r);
    if (least < 0 || covered < least) {
      least = covered;
      box = r;
    }
  }
  return box;
}

}  // namespace

bool LegendFitsClear(TRChart& c, const std::vector<TLegendEntry>& entries,
                     const std::vector<TWorldLine>& keepClear) {
  if (entries.size() > static_cast<std::size_t>(TCustomRChart::kTextLabels)) return false;
  const TPoint size = LegendSize(entries);
  const TChartGeometry g = c.Geometry();
  if (size.X + 2 * kLegendInset > g.AreaRight() - g.AreaLeft() ||
      size.Y + 2 * kLegendInset > g.AreaBottom() - g.AreaTop())
    return false;
  int least = 0;
  PlaceLegend(c, entries, keepClear, least);
  return least == 0;
}

TRect AddLegend(TRChart& c, const std::vector<TLegendEntry>& entries,
                const std::vector<TWorldLine>& keepClear) {
  const int n = std::min(static_cast<int>(entries.size()), TCustomRChart::kTextLabels);
  int least = 0;
  const TRect box = PlaceLegend(c, entries, keepClear, least);

  const auto world = [&c](int px, int py) {
    std::pair<double, double> w;
    c.PixelToWorld(1, px, py, w.first, w.second);
    return w;
  };
  const auto rect = [&](int x1, int y1, int x2, int y2) {
    const auto a = world(x1, y1), b = world(x2, y2);
    c.Rectangle(a.first, a.second, b.first, b.second);
  };
  c.SetPenStyle(psSolid);
  c.SetLineWidth(1);
  c.SetDataColor(kLegendBorder);
  c.SetFillColor(clWhite);
  rect(box.Left, box.Top, box.Right - 1, box.Bottom - 1);

  const int lineHeight = LineHeight();
  const int textHeight = lineHeight - kLineGap;
  for (int i = 0; i < n; ++i) {
    const TLegendEntry& e = entries[static_cast<std::size_t>(i)];
    const int rowBottom = box.Top + kLegendPad + (i + 1) * lineHeight - kLineGap / 2;
    const int y = rowBottom - textHeight / 2;
    const int x0 = box.Left + kLegendPad, x1 = x0 + kSwatch;
    c.SetDataColor(e.Color);
    if (e.Swatch == TSwatch::Line || e.Swatch == TSwatch::LineAndMark) {
      const auto a = world(x0, y), b = world(x1, y);
      c.SetLineWidth(e.Dashed ? 1 : 2);
      if (e.Dashed) c.SetPenStyle(psDash);
      c.AddLine(a.first, a.second, b.first, b.second);
      c.SetPenStyle(psSolid);
      c.SetLineWidth(1);
    }
    if (e.Swatch == TSwatch::Band) {
      c.SetFillColor(e.Color);
      rect(x0, y - 4, x1, y + 4);
    }
    if (e.Swatch == TSwatch::Mark || e.Swatch == TSwatch::LineAndMark) {
      const auto m = world((x0 + x1) / 2, y);
      c.MarkAt(m.first, m.second, e.MarkType);
    }
    TTextLabel& t = c.TextLabel(i + 1);
    t.SetAttachToData(false);
    t.SetPosX(x1 + kSwatchGap);
    t.SetPosY(rowBottom);
    t.SetAlignment(taLeftJustify);
    t.SetTransparent(true);
    t.SetFont(PlotFont(kLabelFontHeight, e.TextColor));
    t.SetCaption(e.Text);
    t.SetMode(tlsimple);
  }
  return box;
}

}  // namespace travenel
