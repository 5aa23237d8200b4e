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

constexpr int kMaxLegendLines = 2;

// A panel: one setup, or the setups of one agent count (or threshold).
struct TPanel {
  std::vector<const TStepSetup*> Setups;
  std::string Caption;
  int Cell = 0;  // counted along the rows of the grid
};

struct TGrid {
  int Cols = 1, Rows = 1;
};

std::size_t IndexOf(const std::vector<double>& sorted, double v) {
  return static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), v) -
                                  sorted.begin());
}

// "2nd", "3rd", "11th".
std::string Ordinal(int k) {
  const int last = k % 10, tens = k % 100;
  const char* suffix = tens >= 11 && tens <= 13 ? "th"
                       : last == 1              ? "st"
                       : last == 2              ? "nd"
                       : last == 3              ? "rd"
                                                : "th";
  return std::to_string(k) + suffix;
}

// The runs of some setups: "20 runs", "18 to 20 runs".
std::string RunsText(const std::vector<const TStepSetup*>& setups) {
  std::uint64_t lo = UINT64_MAX, hi = 0;
  for (const TStepSetup* s : setups) {
    lo = std::min(lo, s->Runs);
    hi = std::max(hi, s->Runs);
  }
  std::string t = std::to_string(lo);
  if (hi != lo) t += " to " + std::to_string(hi);
  return t + (hi == 1 ? " run" : " runs");
}

const std::string kDot = " \xC2\xB7 ";

std::string PanelCaption(const TStepSetup& s, unsigned varying) {
  const std::string world = ParamsText(s.Key, varying);
  return (world.empty() ? "" : world + kDot) + "agents " + NumberText(s.Key.Agents) + kDot + "threshold " + NumberText(s.Key.Threshold) +
         kDot + std::to_string(s.Runs) + (s.Runs == 1 ? " run" : " runs");
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
                                 const std::vector<TColor>& colors, std::uint64_t runs, bool single,
                                 std::uint64_t runsMax) {
  std::vector<TLegendEntry> entries;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    std::string text = columns[k];
    if (!single)
      text += " (mean of the runs)";
    else
      text += runs == 1 ? " (1 run)" : ": mean of " + std::to_string(runs) + " runs";
    entries.push_back({text, colors[k], TSwatch::Line, 24, colors[k]});
  }
  if (runsMax > 1)
    entries.push_back({"least to greatest of the runs", Lighter(colors[0], kBandLightness),
                       TSwatch::Band, 24, kNoteColor});
  return entries;
}

// The means of several setups in one panel: a colour per setup, the first
// column solid, the others dashed.
void DrawMeans(TRChart& c, const std::vector<const TStepSetup*>& setups,
               const std::vector<TColor>& colors, int lineWidth, std::vector<TWorldLine>& drawn) {
  for (std::size_t j = 0; j < setups.size(); ++j)
    for (std::size_t k = 0; k < setups[j]->Curves.size(); ++k) {
      const std::vector<TStepPoint>& points = setups[j]->Curves[k];
      if (points.empty()) continue;
      c.SetDataColor(colors[j]);
      c.SetPenStyle(k == 0 ? psSolid : psDash);
      c.SetLineWidth(static_cast<std::uint8_t>(k == 0 ? lineWidth : 1));
      TWorldLine mean;
      for (const TStepPoint& p : points) {
        if (mean.empty())
          c.MoveToPoint(p.Step, p.Mean);
        else
          c.LineTo(p.Step, p.Mean);
        mean.push_back({p.Step, p.Mean});
      }
      if (points.size() == 1) c.MarkAt(points[0].Step, points[0].Mean, 24);
      drawn.push_back(std::move(mean));
    }
  c.SetPenStyle(psSolid);
  c.SetLineWidth(1);
}

// The legend of grouped panels: a colour per agent count (or threshold),
// thinned out to every k-th while it takes more than a few lines, and the
// line styles of the columns.
std::vector<TLegendEntry> GroupLegend(const std::vector<double>& keys, bool keysAreAgents,
                                      const std::vector<std::string>& columns, int width,
                                      int maxLines) {
  const int n = static_cast<int>(keys.size());
  std::vector<TLegendEntry> entries;
  for (int every = 1; every <= std::max(n, 1); ++every) {
    entries.clear();
    for (int i = 0; i < n; ++i)
      if (i % every == 0 || i == n - 1) {
        const double v = keys[static_cast<std::size_t>(i)];
        entries.push_back({keysAreAgents ? NumberText(v) + " agents" : "threshold " + NumberText(v),
                           CurveColor(i, n), TSwatch::Line, 24, kTextColor});
      }
    if (columns.size() > 1)
      for (std::size_t k = 0; k < columns.size(); ++k)
        entries.push_back({columns[k], kNoteColor, TSwatch::Line, 24, kNoteColor, k > 0});
    if (static_cast<int>(TPage::LegendLines(entries, width).size()) <= maxLines) break;
  }
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
  const int na = static_cast<int>(agents.size()), nt = static_cast<int>(thresholds.size());

  // How the setups go into panels: one per setup while the sweep's grid is
  // small enough, else one per agent count (or threshold) with a curve for
  // each of the other. Where a given size cannot hold the panels, the
  // other grouping, then every k-th panel only; the first that fits is drawn.
  struct TPlan {
    bool Grouped = false, ByThreshold = false;
    int Every = 1;
    bool SweepGrid = false;  // the cells are the sweep's grid: agents down, thresholds across
    std::vector<TPanel> Panels;
    TGrid Grid;
    int Width = 0, Height = 0, Header = 0, Footer = 0;
    std::string Note;
    std::string Thinned;  // what the note says of panels left out
    int HeaderLines = 0;  // at most so many lines of each header part (0: any)
    std::string Caption;  // the sweep's ranges (left out on a very small page)
    std::vector<TLegendEntry> Legend;
  };
  const std::string caption = (spec.Params.empty() ? "" : spec.Params + kDot) +
                              SweepCaption(agents, thresholds, runsMin, runsMax, spec.Facts);
  const auto makePlan = [&](bool grouped, bool byThreshold, int every) {
    TPlan plan;
    plan.Grouped = grouped;
    plan.ByThreshold = byThreshold;
    plan.Every = every;
    plan.Caption = caption;
    const std::vector<double>& panelKeys = byThreshold ? thresholds : agents;
    if (grouped) {
      std::vector<TPanel> all(panelKeys.size());
      for (const TStepSetup& s : setups)
        all[IndexOf(panelKeys, byThreshold ? s.Key.Threshold : s.Key.Agents)].Setups.push_back(&s);
      for (std::size_t i = 0; i < all.size(); i += static_cast<std::size_t>(every)) {
        TPanel& p = all[i];
        p.Cell = static_cast<int>(plan.Panels.size());
        p.Caption = (byThreshold ? "threshold " : "agents ") + NumberText(panelKeys[i]) + kDot +
                    RunsText(p.Setups) + " each";
        plan.Panels.push_back(std::move(p));
      }
    } else {
      plan.SweepGrid = na > 1 && nt > 1 && !spec.Varying;
      for (int i = 0; i < n; ++i) {
        const TStepSetup& s = setups[static_cast<std::size_t>(i)];
        plan.Panels.push_back({{&s}, single ? "" : PanelCaption(s, spec.Varying), i});
        if (plan.SweepGrid)
          plan.Panels.back().Cell = static_cast<int>(IndexOf(agents, s.Key.Agents)) * nt +
                                    static_cast<int>(IndexOf(thresholds, s.Key.Threshold));
      }
    }
    const int np = static_cast<int>(plan.Panels.size());
    const auto gridFor = [&](int w, int h) {
      if (plan.SweepGrid) return TGrid{nt, na};
      const TPoint g = ChooseGrid(np, w, h);
      return TGrid{g.X, g.Y};
    };
    plan.Note = "A run that paused counts with its last values at the later steps of its setup.";
    if (grouped)
      plan.Note = "Lines: the mean of each setup's runs" +
                  (spec.Columns.size() > 1 ? " (" + spec.Columns[0] + " solid, the others dashed)"
                                           : std::string()) +
                  ". A run that paused counts with its last values at the later steps.";
    if (every > 1)
      plan.Thinned = "Panels for every " + Ordinal(every) + " " +
                     (byThreshold ? "threshold" : "agent count") + " only (" + std::to_string(np) +
                     " of " + std::to_string(panelKeys.size()) + "): a larger --size shows all.";
    if (!plan.Thinned.empty()) plan.Note += "\n" + plan.Thinned;
    const auto legendFor = [&](int width) {
      if (grouped)
        return GroupLegend(byThreshold ? agents : thresholds, byThreshold, spec.Columns,
                           width - 2 * TPage::kMargin, kMaxLegendLines);
      return Legend(spec.Columns, colors, single ? setups[0].Runs : 0, single, runsMax);
    };

    // The size: as given, or as the panels need.
    int width = spec.Width, height = spec.Height;
    plan.Grid = gridFor(width ? width : kSingleWidth, height ? height : kSingleHeight);
    if (!width) {
      const int w = single ? kSingleWidth
                           : 2 * TPage::kMargin + plan.Grid.Cols * kPanelWidth +
                                 (plan.Grid.Cols - 1) * kPanelGap;
      width = std::clamp(std::max(w, kSingleWidth), 0, TPlotOptions::kMaxSide);
    }
    plan.Legend = legendFor(width);
    plan.Header = TPage::HeaderHeight(width, spec.Title, plan.Caption,
                                      single ? std::vector<TLegendEntry>{} : plan.Legend);
    plan.Footer = TPage::FooterHeight(width, plan.Note);
    if (!height) {
      const int h = single ? kSingleHeight
                           : plan.Header + plan.Grid.Rows * kPanelHeight +
                                 (plan.Grid.Rows - 1) * kPanelGap + plan.Footer;
      height = std::clamp(std::max(h, kSingleHeight / 2), 0, TPlotOptions::kMaxSide);
    }
    if (!spec.Width || !spec.Height) plan.Grid = gridFor(width, height - plan.Header - plan.Footer);
    plan.Width = width;
    plan.Height = height;
    return plan;
  };
  const auto panelSize = [](const TPlan& p, int header) {
    const int bodyW = p.Width - 2 * TPage::kMargin;
    const int bodyH = p.Height - header - p.Footer;
    return TPoint{(bodyW - (p.Grid.Cols - 1) * kPanelGap) / p.Grid.Cols,
                  (bodyH - (p.Grid.Rows - 1) * kPanelGap) / p.Grid.Rows};
  };
  // On a small page the note goes first where it takes the panels' room,
  // then the header keeps one line of each of its parts.
  const auto fits = [&](TPlan& p) {
    TPoint s = panelSize(p, p.Header);
    if (s.Y < kMinPanelHeight && p.Note != p.Thinned) {
      p.Note = p.Thinned;
      p.Footer = TPage::FooterHeight(p.Width, p.Note);
      s = panelSize(p, p.Header);
    }
    if (s.Y < kMinPanelHeight && p.HeaderLines == 0) {
      p.HeaderLines = 1;
      if (p.Grouped)
        p.Legend = GroupLegend(p.ByThreshold ? agents : thresholds, p.ByThreshold, spec.Columns,
                               p.Width - 2 * TPage::kMargin, 1);
      p.Header = TPage::HeaderHeight(p.Width, spec.Title, p.Caption,
                                     single ? std::vector<TLegendEntry>{} : p.Legend, 1);
      s = panelSize(p, p.Header);
    }
    if (s.Y < kMinPanelHeight && !p.Caption.empty()) {  // the panels name their setups
      p.Caption.clear();
      p.Header = TPage::HeaderHeight(p.Width, spec.Title, p.Caption,
                                     single ? std::vector<TLegendEntry>{} : p.Legend, 1);
      s = panelSize(p, p.Header);
    }
    return s.X >= kMinPanelWidth && s.Y >= kMinPanelHeight;
  };
  const bool forced = !spec.By.empty();
  TPlan plan;
  if (spec.Varying) {
    // A panel of agent counts or thresholds would mix the worlds.
    if (forced)
      throw EPlotUsage("--by: setups of several worlds are drawn a panel each, not by " + spec.By);
    plan = makePlan(false, false, 1);
    if (n > kMaxGridSide * kMaxGridSide || !fits(plan))
      throw EPlotUsage(std::to_string(n) +
                       " setups of several worlds do not fit a panel each; plot a part of the "
                       "sweep, or give a larger --size");
  }
  if (!spec.Varying && !forced && na <= kMaxGridSide && nt <= kMaxGridSide)
    plan = makePlan(false, false, 1);
  if (!spec.Varying && (plan.Panels.empty() || !fits(plan))) {
    // Grouped: as asked, else by agent count, else by whichever has fewer values.
    const bool fewer = forced ? spec.By == "threshold" : nt < na;
    plan = makePlan(true, forced && fewer, 1);
    if (!fits(plan) && !forced && fewer) plan = makePlan(true, true, 1);
    const int most = static_cast<int>(fewer ? nt : na);
    for (int every = 2; !fits(plan) && every <= most; ++every) plan = makePlan(true, fewer, every);
  }
  const bool grouped = plan.Grouped, byThreshold = plan.ByThreshold;
  const std::vector<TPanel>& panels = plan.Panels;
  const std::vector<double>& curveKeys = byThreshold ? agents : thresholds;
  const int np = static_cast<int>(panels.size());
  const TGrid grid = plan.Grid;
  const int width = plan.Width, height = plan.Height;
  const std::string& note = plan.Note;
  const auto legendFor = [&](int) { return plan.Legend; };

  // One step axis for all (or each panel its own); one value axis per agent
  // count (per panel where a panel holds several).
  const auto stepSpan = [&](const std::vector<const TStepSetup*>& of, int minTicks) {
    double lo = 0, hi = 0;
    for (const TStepSetup* s : of)
      for (const auto& curve : s->Curves)
        for (const TStepPoint& p : curve) {
          lo = std::min(lo, p.Step);
          hi = std::max(hi, p.Step);
        }
    return WithMargin(WholeSpan(lo, hi, minTicks), false, true);
  };
  const auto valueSpan = [&](const std::vector<const TStepSetup*>& of, int minTicks) {
    double lo = spec.FromZero ? 0 : HUGE_VAL, hi = spec.FromZero ? 0 : -HUGE_VAL;
    for (const TStepSetup* s : of)
      for (const auto& curve : s->Curves)
        for (const TStepPoint& p : curve) {
          lo = std::min(lo, p.Min);
          hi = std::max(hi, p.Max);
        }
    if (lo > hi) lo = hi = 0;  // no values at all
    return WithMargin(spec.Whole ? WholeSpan(lo, hi, minTicks) : NiceSpan(lo, hi, minTicks), true,
                      true);
  };
  std::vector<const TStepSetup*> all;
  for (const TStepSetup& s : setups) all.push_back(&s);
  const auto sameAxis = [&](const TPanel& p) {
    if (grouped) return p.Setups;
    std::vector<const TStepSetup*> same;
    for (const TStepSetup& s : setups)
      if (s.Key.Agents == p.Setups[0]->Key.Agents) same.push_back(&s);
    return same;
  };
  std::vector<TColor> curveColors;
  for (std::size_t i = 0; i < curveKeys.size(); ++i)
    curveColors.push_back(CurveColor(static_cast<int>(i), static_cast<int>(curveKeys.size())));

  // A single chart takes its legend inside while it covers nothing there;
  // else (a small picture) the legend goes above the chart. Grids have it
  // above anyway.
  for (const bool legendAbove : {false, true}) {
    if (!single && !legendAbove) continue;
    const bool inside = single && !legendAbove;
    TPicture pic;
    pic.Page = std::make_unique<TPage>(width, height);
    TPage& page = *pic.Page;
    std::vector<TLegendEntry> above = inside ? std::vector<TLegendEntry>{} : legendFor(width);
    // A single chart too small for its legend above goes without (its axis
    // names the curves, in the window's colours).
    if (single && !above.empty() &&
        height - TPage::HeaderHeight(width, spec.Title, plan.Caption, above, plan.HeaderLines) -
                TPage::FooterHeight(width, note) <
            kMinPanelHeight)
      above.clear();
    page.SetHeader(spec.Title, plan.Caption, above, plan.HeaderLines);
    page.SetFooter(note);

    const TRect body = page.Body();
    const int panelW = static_cast<int>((body.Width() - (grid.Cols - 1) * kPanelGap) / grid.Cols);
    const int panelH = static_cast<int>((body.Height() - (grid.Rows - 1) * kPanelGap) / grid.Rows);
    if (panelW < kMinPanelWidth || panelH < kMinPanelHeight)
      throw EPlotUsage("--size " + std::to_string(width) + "x" + std::to_string(height) +
                       " leaves " + std::to_string(std::max(panelW, 0)) + "x" +
                       std::to_string(std::max(panelH, 0)) + " pixels for each of " +
                       std::to_string(np) + " charts; give at least " +
                       std::to_string(kMinPanelWidth) + "x" + std::to_string(kMinPanelHeight) +
                       " each" + (grouped ? "" : ", or draw fewer with --by agents"));
    const int minTicks = single || panelH >= 300 ? kBigChartMinTicks : kPanelMinTicks;
    const TAxisSpan sharedX = stepSpan(all, minTicks);

    bool legendFits = true;
    for (const TPanel& panel : panels) {
      TChartSpec cs;
      cs.Width = panelW;
      cs.Height = panelH;
      cs.Caption = panel.Caption;
      cs.XCaption = "step";
      cs.YCaption = Joined(spec.Columns);
      // Over a narrow panel the caption would run into the panel's name; the
      // legend above names the curves then.
      if (!single && CaptionsCollide(cs.YCaption, cs.Caption, panelW)) cs.YCaption.clear();
      cs.X = spec.OwnStepAxis ? stepSpan(panel.Setups, minTicks) : sharedX;
      cs.Y = valueSpan(sameAxis(panel), minTicks);
      cs.MinTicks = minTicks;
      cs.XWhole = true;
      cs.YWhole = spec.Whole;
      auto chart = MakeChart(cs);
      std::vector<TWorldLine> drawn;
      const int lineWidth = single || panelW >= 400 ? 2 : 1;
      if (grouped) {
        std::vector<TColor> of;
        for (const TStepSetup* s : panel.Setups)
          of.push_back(
              curveColors[IndexOf(curveKeys, byThreshold ? s->Key.Agents : s->Key.Threshold)]);
        DrawMeans(*chart, panel.Setups, of, lineWidth, drawn);
      } else {
        DrawCurves(*chart, *panel.Setups[0], colors, lineWidth, drawn);
      }
      if (inside) {
        const auto legend = legendFor(width);
        legendFits = LegendFitsClear(*chart, legend, drawn);
        if (!legendFits) break;
        AddLegend(*chart, legend, drawn);
      }
      const TPoint at{static_cast<int>(body.Left + (panel.Cell % grid.Cols) * (panelW + kPanelGap)),
                      static_cast<int>(body.Top + (panel.Cell / grid.Cols) * (panelH + kPanelGap))};
      page.Put(*chart, at.X, at.Y);
      pic.Charts.push_back(std::move(chart));
      pic.Origins.push_back(at);
    }
    if (legendFits) return pic;
  }
  return {};  // not reached: with the legend above, the first picture is taken
}

}  // namespace travenel
