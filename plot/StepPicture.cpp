#include "travenel/plot/StepPicture.h"

#include <algorithm>
#include <cmath>

#include "travenel/plot/Format.h"
#include "travenel/plot/PlotOptions.h"

namespace travenel {

namespace {

constexpr int kSingleWidth = 900, kSingleHeight = 560;
constexpr int kPanelWidth = 330, kPanelHeight = 230;  // when the size is chosen here
constexpr int kMinPanelWidth = 200, kMinPanelHeight = 140;
constexpr int kPanelGap = 8;
constexpr int kMaxGridSide = 8;  // a sweep grid wider or taller than this flows instead
constexpr double kBandLightness = 0.8;
constexpr double kOverlapDarkening = 0.12;
constexpr int kBigChartMinTicks = 5, kPanelMinTicks = 3;

// Setup i goes into cell i, counted along the rows.
struct TLayout {
  int Cols = 1, Rows = 1;
};

// n setups of a agent counts and t thresholds.
TLayout LayOut(int n, int a, int t, int width, int height) {
  if (a > 1 && t > 1 && a * t == n && a <= kMaxGridSide && t <= kMaxGridSide) {
    // The sweep's own grid (setups come sorted by agents, then threshold).
    return {t, a};
  }
  const TPoint g = ChooseGrid(n, width, height);
  return {g.X, g.Y};
}

std::string PanelCaption(const TStepSetup& s) {
  const std::string dot = " \xC2\xB7 ";
  return "agents " + NumberText(s.Key.Agents) + dot + "threshold " + NumberText(s.Key.Threshold) +
         dot + std::to_string(s.Runs) + (s.Runs == 1 ? " run" : " runs");
}

bool CaptionsCollide(const std::string& left, const std::string& right, int width) {
  constexpr int kRoom = 110;  // the rims and a gap between the two
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = PlotFont(kLabelFontHeight);
  const int a = scratch.Canvas().TextWidth(left);
  scratch.Canvas().Font() = PlotFont(kCaptionFontHeight);
  return a + scratch.Canvas().TextWidth(right) + kRoom > width;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

// Half the distance between neighbouring points: how far a band reaches
// either side of its step.
double HalfStep(const std::vector<TStepPoint>& points) {
  double d = 1;
  for (std::size_t i = 1; i < points.size(); ++i)
    d = i == 1 ? points[1].Step - points[0].Step : std::min(d, points[i].Step - points[i - 1].Step);
  return std::max(d, 1.0) / 2;
}

void Band(TRChart& c, TColor color, double x1, double lo, double x2, double hi) {
  c.SetDataColor(color);
  c.SetFillColor(color);
  c.Rectangle(x1, lo, x2, hi);
}

// Bands first (where two overlap, a darker mix of both), then the means over them.
void DrawCurves(TRChart& c, const TStepSetup& s, const std::vector<TColor>& colors, int lineWidth,
                std::vector<TWorldLine>& drawn) {
  c.SetPenStyle(psSolid);
  c.SetLineWidth(1);
  std::vector<TColor> bands;
  for (TColor color : colors) bands.push_back(Lighter(color, kBandLightness));
  for (std::size_t k = 0; k < s.Curves.size(); ++k) {
    const double h = HalfStep(s.Curves[k]);
    for (const TStepPoint& p : s.Curves[k]) Band(c, bands[k], p.Step - h, p.Min, p.Step + h, p.Max);
  }
  if (s.Curves.size() == 2) {
    // Where the two bands overlap: their mix, a little darker.
    const TColor mixed = MixColors(MixColors(bands[0], bands[1], 0.5), clBlack, kOverlapDarkening);
    // Both curves have a point at the same steps unless a measure lacked values.
    const std::vector<TStepPoint>&a = s.Curves[0], &b = s.Curves[1];
    const double h = HalfStep(a);
    for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
      if (a[i].Step < b[j].Step) {
        ++i;
      } else if (b[j].Step < a[i].Step) {
        ++j;
      } else {
        const double lo = std::max(a[i].Min, b[j].Min), hi = std::min(a[i].Max, b[j].Max);
        if (lo <= hi) Band(c, mixed, a[i].Step - h, lo, a[i].Step + h, hi);
        ++i;
        ++j;
      }
    }
  }
  c.SetLineWidth(static_cast<std::uint8_t>(lineWidth));
  for (std::size_t k = 0; k < s.Curves.size(); ++k) {
    const std::vector<TStepPoint>& points = s.Curves[k];
    if (points.empty()) continue;
    c.SetDataColor(colors[k]);
    TWorldLine mean, lo, hi;
    for (const TStepPoint& p : points) {
      if (mean.empty())
        c.MoveToPoint(p.Step, p.Mean);
      else
        c.LineTo(p.Step, p.Mean);
      mean.push_back({p.Step, p.Mean});
      lo.push_back({p.Step, p.Min});
      hi.push_back({p.Step, p.Max});
    }
    // A single point is a line of no length: mark it.
    if (points.size() == 1) c.MarkAt(points[0].Step, points[0].Mean, 24);
    drawn.push_back(std::move(mean));
    drawn.push_back(std::move(lo));
    drawn.push_back(std::move(hi));
  }
  c.SetLineWidth(1);
}

std::vector<TLegendEntry> Legend(const std::vector<std::string>& columns,
                                 const std::vector<TColor>& colors, std::uint64_t runs,
                                 bool single) {
  std::vector<TLegendEntry> entries;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    std::string text = columns[k];
    if (!single)
      text += " (mean of the runs)";
    else
      text += runs == 1 ? " (1 run)" : ": mean of " + std::to_string(runs) + " runs";
    entries.push_back({text, colors[k], TSwatch::Line, 24, colors[k]});
  }
  if (runs != 1 || !single)
    entries.push_back({"least to greatest of the runs", Lighter(colors[0], kBandLightness),
                       TSwatch::Band, 24, kNoteColor});
  return entries;
}

}  // namespace

std::vector<TColor> StepCurveColors(const std::vector<std::string>& columns) {
  std::vector<TColor> colors;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (columns[k] == "attached")
      colors.push_back(kAttachedColor);
    else if (columns[k] == "free")
      colors.push_back(kFreeColor);
    else
      colors.push_back(CurveColor(static_cast<int>(k), static_cast<int>(columns.size())));
  }
  return colors;
}

TPicture StepPicture(const std::vector<TStepSetup>& setups, const TStepPlotSpec& spec) {
  const int n = static_cast<int>(setups.size());
  const bool single = n == 1;
  const std::vector<TColor> colors = StepCurveColors(spec.Columns);

  std::vector<double> agents, thresholds;
  std::uint64_t runsMin = UINT64_MAX, runsMax = 0;
  for (const TStepSetup& s : setups) {
    agents.push_back(s.Key.Agents);
    thresholds.push_back(s.Key.Threshold);
    runsMin = std::min(runsMin, s.Runs);
    runsMax = std::max(runsMax, s.Runs);
  }
  agents = Distinct(agents);
  thresholds = Distinct(thresholds);
  const auto layOut = [&](int w, int h) {
    return LayOut(n, static_cast<int>(agents.size()), static_cast<int>(thresholds.size()), w, h);
  };

  // The size: as given, or as the panels need.
  const int header = TPage::HeaderHeight(!spec.Title.empty(), true, !single);
  const int footer = TPage::FooterHeight(1);
  int width = spec.Width, height = spec.Height;
  TLayout layout = layOut(width ? width : kSingleWidth, height ? height : kSingleHeight);
  if (!width || !height) {
    const int w =
        single ? kSingleWidth
               : 2 * TPage::kMargin + layout.Cols * kPanelWidth + (layout.Cols - 1) * kPanelGap;
    const int h =
        single ? kSingleHeight
               : header + layout.Rows * kPanelHeight + (layout.Rows - 1) * kPanelGap + footer;
    width = width ? width : std::clamp(std::max(w, kSingleWidth), 0, TPlotOptions::kMaxSide);
    height =
        height ? height : std::clamp(std::max(h, kSingleHeight / 2), 0, TPlotOptions::kMaxSide);
    layout = layOut(width, height - header - footer);
  }

  TPicture pic;
  pic.Page = std::make_unique<TPage>(width, height);
  TPage& page = *pic.Page;

  std::uint64_t runs = setups.empty() ? 0 : setups[0].Runs;
  page.SetHeader(spec.Title, SweepCaption(agents, thresholds, runsMin, runsMax, spec.Facts),
                 single ? std::vector<TLegendEntry>{} : Legend(spec.Columns, colors, runs, false));
  page.SetFooter("A run that paused counts with its last values at the later steps of its setup.");

  const TRect body = page.Body();
  const int panelW = static_cast<int>((body.Width() - (layout.Cols - 1) * kPanelGap) / layout.Cols);
  const int panelH =
      static_cast<int>((body.Height() - (layout.Rows - 1) * kPanelGap) / layout.Rows);
  if (panelW < kMinPanelWidth || panelH < kMinPanelHeight)
    throw EPlotUsage("--size " + std::to_string(width) + "x" + std::to_string(height) + " leaves " +
                     std::to_string(panelW) + "x" + std::to_string(panelH) +
                     " pixels for each of " + std::to_string(n) + " charts; give at least " +
                     std::to_string(kMinPanelWidth) + "x" + std::to_string(kMinPanelHeight) +
                     " each");

  // One step axis for all; one value axis per agent count.
  double stepLo = 0, stepHi = 0;
  for (const TStepSetup& s : setups)
    for (const auto& curve : s.Curves)
      for (const TStepPoint& p : curve) {
        stepLo = std::min(stepLo, p.Step);
        stepHi = std::max(stepHi, p.Step);
      }
  const int minTicks = single || panelH >= 300 ? kBigChartMinTicks : kPanelMinTicks;
  const TAxisSpan x = WithMargin(NiceSpan(stepLo, stepHi, minTicks), false, true);
  const auto valueSpan = [&](double forAgents) {
    double lo = spec.FromZero ? 0 : HUGE_VAL, hi = spec.FromZero ? 0 : -HUGE_VAL;
    for (const TStepSetup& s : setups)
      if (s.Key.Agents == forAgents)
        for (const auto& curve : s.Curves)
          for (const TStepPoint& p : curve) {
            lo = std::min(lo, p.Min);
            hi = std::max(hi, p.Max);
          }
    if (lo > hi) lo = hi = 0;  // no values at all
    return WithMargin(NiceSpan(lo, hi, minTicks), true, true);
  };

  for (int i = 0; i < n; ++i) {
    const TStepSetup& s = setups[static_cast<std::size_t>(i)];
    TChartSpec cs;
    cs.Width = panelW;
    cs.Height = panelH;
    cs.Caption = single ? "" : PanelCaption(s);
    cs.XCaption = "step";
    cs.YCaption = Joined(spec.Columns);
    // Over a narrow panel the caption would run into the panel's name; the
    // legend above names the curves then.
    if (!single && CaptionsCollide(cs.YCaption, cs.Caption, panelW)) cs.YCaption.clear();
    cs.X = x;
    cs.Y = valueSpan(s.Key.Agents);
    cs.MinTicks = minTicks;
    auto chart = MakeChart(cs);
    std::vector<TWorldLine> drawn;
    DrawCurves(*chart, s, colors, single || panelW >= 400 ? 2 : 1, drawn);
    if (single) AddLegend(*chart, Legend(spec.Columns, colors, s.Runs, true), drawn);
    const TPoint at{static_cast<int>(body.Left + (i % layout.Cols) * (panelW + kPanelGap)),
                    static_cast<int>(body.Top + (i / layout.Cols) * (panelH + kPanelGap))};
    page.Put(*chart, at.X, at.Y);
    pic.Charts.push_back(std::move(chart));
    pic.Origins.push_back(at);
  }
  return pic;
}

}  // namespace travenel
