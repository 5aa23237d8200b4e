#include "travenel/plot/SummaryPicture.h"

#include <algorithm>
#include <cmath>

#include "travenel/plot/Format.h"

namespace travenel {

namespace {

constexpr int kWidth = 900, kHeight = 600;
constexpr int kMinTicks = 5;
constexpr int kMinChartHeight = 140;
constexpr int kMinBandLabelPixels = 16;
// The never-paused band over the top tick: less than half a step of the
// scale, so that it never puts a tick into it.
constexpr double kBandSteps = 0.45;
constexpr TColor kBandColor = 0xF0F0F0;
constexpr TColor kBandLineColor = 0xA0A0A0;
constexpr double kRunMarkLightness = 0.45;
constexpr double kMaxJitterPixels = 3;
// Legend rows for the curves; more agent counts show every k-th.
constexpr int kLegendCurves = 16;

// Marks of different agent counts at one threshold sit a few pixels apart.
double JitterPixels(const std::vector<TSummaryCurve>& curves, TRChart& c) {
  std::vector<double> t;
  for (const TSummaryCurve& curve : curves)
    for (const TSummaryPoint& p : curve.Points) t.push_back(p.X);
  t = Distinct(t);
  double gap = HUGE_VAL;
  for (std::size_t i = 1; i < t.size(); ++i)
    gap = std::min(gap, double(c.WorldToPixel(1, t[i], 0).X - c.WorldToPixel(1, t[i - 1], 0).X));
  const double k = static_cast<double>(curves.size());
  return std::min(kMaxJitterPixels, gap / (2 * k));
}

// The picture with the legend in the chart area, where it must cover
// nothing (else legendFits turns false), or above the chart.
TPicture Draw(const std::vector<TSummaryCurve>& curves, const TSummaryPlotSpec& spec,
              bool legendAbove, bool& legendFits) {
  const int width = spec.Width ? spec.Width : kWidth, height = spec.Height ? spec.Height : kHeight;
  TPicture pic;
  pic.Page = std::make_unique<TPage>(width, height);
  TPage& page = *pic.Page;

  std::vector<double> agents, thresholds;
  std::uint64_t runsMin = UINT64_MAX, runsMax = 0, never = 0;
  double xLo = HUGE_VAL, xHi = -HUGE_VAL, yLo = HUGE_VAL, yHi = -HUGE_VAL;
  const bool labelled = !spec.XCaption.empty();
  if (labelled) {
    agents = spec.Agents;
    thresholds = spec.Thresholds;
  }
  for (const TSummaryCurve& curve : curves) {
    if (!labelled) (spec.XAgents ? thresholds : agents).push_back(curve.Key);
    for (const TSummaryPoint& p : curve.Points) {
      if (!labelled) (spec.XAgents ? agents : thresholds).push_back(p.X);
      runsMin = std::min(runsMin, p.Runs);
      runsMax = std::max(runsMax, p.Runs);
      never += p.Never;
      xLo = std::min(xLo, p.X);
      xHi = std::max(xHi, p.X);
      if (p.Values.N) {
        yLo = std::min(yLo, p.Values.Min);
        yHi = std::max(yHi, p.Values.Max);
      }
    }
  }
  if (yLo > yHi) yLo = yHi = 0;  // no run had a value
  if (spec.FromZero) yLo = std::min(yLo, 0.0);
  const bool band = spec.NeverBand && never > 0;

  std::vector<TLegendEntry> legend;
  const int k = static_cast<int>(curves.size());
  const int every = (k + kLegendCurves - 1) / kLegendCurves;
  for (int i = 0; i < k; ++i) {
    const TSummaryCurve& curve = curves[static_cast<std::size_t>(i)];
    // A curve of which nothing is drawn needs no entry.
    const bool drawnAny = std::any_of(
        curve.Points.begin(), curve.Points.end(),
        [&](const TSummaryPoint& p) { return p.Values.N > 0 || (band && p.Never > 0); });
    if (drawnAny && (i % every == 0 || i == k - 1))
      legend.push_back(
          {labelled       ? curve.Label
           : spec.XAgents ? "threshold " + NumberText(curve.Key)
                          : NumberText(curve.Key) + " agents",
           CurveColor(i, k), TSwatch::LineAndMark, kMeanMark, kTextColor});
  }
  legend.push_back(
      {"single runs", Lighter(kNoteColor, kRunMarkLightness), TSwatch::Mark, kRunMark, kNoteColor});
  if (band)
    legend.push_back({"runs that never paused", kNoteColor, TSwatch::Mark, kNeverMark, kNoteColor});

  std::string note = "Dots: single runs. Lines: the mean of the runs";
  if (spec.NeverBand) note += " that paused (an open circle where some runs never did)";
  note += ".";
  if (band) note += "\nTriangles in the band at the top: setups with runs that never paused.";
  if (spec.MarksDropped) note += " (Not every distinct value has a dot.)";
  // On a small page the note gives way to the chart first, then the header
  // keeps a line of each part, then the sweep's ranges go.
  std::string caption =
      SweepCaption(Distinct(agents), Distinct(thresholds), runsMin, runsMax, spec.Facts);
  if (!spec.Params.empty()) caption = spec.Params + " \xC2\xB7 " + caption;
  const std::vector<TLegendEntry> above = legendAbove ? legend : std::vector<TLegendEntry>{};
  int maxLines = 0;
  const auto chartHeight = [&] {
    return height - TPage::HeaderHeight(width, spec.Title, caption, above, maxLines) -
           TPage::FooterHeight(width, note);
  };
  if (chartHeight() < kMinChartHeight) note.clear();
  if (chartHeight() < kMinChartHeight) maxLines = 1;
  if (chartHeight() < kMinChartHeight) caption.clear();
  page.SetHeader(spec.Title, caption, above, maxLines);
  page.SetFooter(note);

  const TRect body = page.Body();
  TChartSpec cs;
  cs.Width = static_cast<int>(body.Width());
  cs.Height = static_cast<int>(body.Height());
  cs.XCaption = labelled ? spec.XCaption : spec.XAgents ? "agents" : "threshold";
  cs.YCaption = spec.Column;
  cs.X = WithMargin(spec.XWhole ? WholeSpan(xLo, xHi, kMinTicks) : NiceSpan(xLo, xHi, kMinTicks),
                    true, true);
  cs.Y = spec.Whole ? WholeSpan(yLo, yHi, kMinTicks) : NiceSpan(yLo, yHi, kMinTicks);
  cs.MinTicks = kMinTicks;
  cs.XWhole = spec.XWhole;
  cs.YWhole = spec.Whole;
  double valueTop = cs.Y.High, bandTop = valueTop;
  if (band) {
    // The top of the values moves up to a tick of the step the scale takes
    // for the whole range, band included, and the band stays below the next.
    // As in NiceSpan the range only grows, so the step only grows.
    double step = cs.Y.Step;
    for (int round = 0; round < 16; ++round) {
      const double s = AxisStep(cs.Y.Low, valueTop + kBandSteps * step, kMinTicks);
      if (!(s > step)) break;
      step = s;
      cs.Y.Low = std::floor(cs.Y.Low / step + 1e-9) * step;
      valueTop = std::ceil(valueTop / step - 1e-9) * step;
    }
    bandTop = valueTop + kBandSteps * step;
    cs.Y = {cs.Y.Low, bandTop, step};
  }
  // The row in the band where runs that never paused are marked.
  const double neverY = (valueTop + bandTop) / 2;
  if (band) cs.SideLabels.push_back({neverY, "never paused"});
  cs.Y = WithMargin(cs.Y, true, !band);
  auto chart = MakeChart(cs);
  if (band) {
    // A band too low for its label (a small chart) is told by the legend alone.
    const int bandPixels =
        chart->WorldToPixel(1, 0, valueTop).Y - chart->WorldToPixel(1, 0, bandTop).Y;
    if (bandPixels < kMinBandLabelPixels) {
      cs.SideLabels.clear();
      chart = MakeChart(cs);
    }
  }
  TRChart& c = *chart;
  c.SetPenStyle(psSolid);

  if (band) {
    c.SetDataColor(kBandColor);
    c.SetFillColor(kBandColor);
    c.Rectangle(cs.X.Low, valueTop, cs.X.High, bandTop);
    c.SetDataColor(kBandLineColor);
    c.SetPenStyle(psDash);
    c.AddLine(cs.X.Low, valueTop, cs.X.High, valueTop);
    c.SetPenStyle(psSolid);
  }

  const double jitterPx = JitterPixels(curves, c);
  double x0, y0, x1, y1;
  c.PixelToWorld(1, 0, 0, x0, y0);
  c.PixelToWorld(1, 1, 0, x1, y1);
  const double perPixel = x1 - x0;
  const auto jitter = [&](int i) { return (i - (k - 1) / 2.0) * jitterPx * perPixel; };

  // Single runs under the means.
  std::vector<TWorldLine> drawn;
  if (band)  // the legend keeps off the band
    for (double y : {valueTop, neverY}) drawn.push_back({{cs.X.Low, y}, {cs.X.High, y}});
  for (int i = 0; i < k; ++i) {
    const TSummaryCurve& curve = curves[static_cast<std::size_t>(i)];
    const TColor color = CurveColor(i, k);
    for (const TSummaryPoint& p : curve.Points) {
      c.SetDataColor(Lighter(color, kRunMarkLightness));
      for (double v : p.Marks) {
        c.MarkAt(p.X + jitter(i), v, kRunMark);
        drawn.push_back({{p.X, v}});
      }
      if (band && p.Never > 0) {
        c.SetDataColor(color);
        c.MarkAt(p.X + jitter(i), neverY, kNeverMark);
        drawn.push_back({{p.X, neverY}});
      }
    }
  }
  c.SetLineWidth(2);
  for (int i = 0; i < k; ++i) {
    const TSummaryCurve& curve = curves[static_cast<std::size_t>(i)];
    c.SetDataColor(CurveColor(i, k));
    TWorldLine line;
    bool open = false;  // a line is being drawn
    for (const TSummaryPoint& p : curve.Points) {
      if (!p.Values.N) {
        open = false;  // no mean here: the line breaks
        continue;
      }
      if (open)
        c.LineTo(p.X, p.Values.Mean());
      else
        c.MoveToPoint(p.X, p.Values.Mean());
      open = true;
      line.push_back({p.X, p.Values.Mean()});
    }
    drawn.push_back(std::move(line));
  }
  c.SetLineWidth(1);
  for (int i = 0; i < k; ++i) {
    c.SetDataColor(CurveColor(i, k));
    for (const TSummaryPoint& p : curves[static_cast<std::size_t>(i)].Points)
      if (p.Values.N) c.MarkAt(p.X, p.Values.Mean(), p.Never ? kPartialMeanMark : kMeanMark);
  }

  if (!legendAbove) {
    legendFits = LegendFitsClear(c, legend, drawn);
    if (!legendFits) return {};
    AddLegend(c, legend, drawn);
  }

  page.Put(c, body.Left, body.Top);
  pic.Origins.push_back({body.Left, body.Top});
  pic.Charts.push_back(std::move(chart));
  return pic;
}

}  // namespace

TPicture SummaryPicture(const std::vector<TSummaryCurve>& curves, const TSummaryPlotSpec& spec) {
  bool legendFits = true;
  TPicture pic = Draw(curves, spec, false, legendFits);
  if (legendFits) return pic;
  return Draw(curves, spec, true, legendFits);
}

}  // namespace travenel
