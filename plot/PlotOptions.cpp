#include "travenel/plot/PlotOptions.h"

#include <algorithm>

#include <charconv>

#include "travenel/sweepcsv/Columns.h"

namespace travenel {

namespace {

int ParseSide(const std::string& text, const std::string& whole) {
  int v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
    throw EPlotUsage("--size: '" + whole + "' is not WIDTHxHEIGHT in pixels (such as 900x600)");
  if (v < TPlotOptions::kMinSide || v > TPlotOptions::kMaxSide)
    throw EPlotUsage("--size: " + text + " is out of range (" +
                     std::to_string(TPlotOptions::kMinSide) + " to " +
                     std::to_string(TPlotOptions::kMaxSide) + " pixels a side)");
  return v;
}

void ParseSize(const std::string& text, TPlotOptions& o) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos)
    throw EPlotUsage("--size: '" + text + "' is not WIDTHxHEIGHT in pixels (such as 900x600)");
  o.Width = ParseSide(text.substr(0, x), text);
  o.Height = ParseSide(text.substr(x + 1), text);
}

int ParseScale(const std::string& text) {
  int v = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || v < 1 ||
      v > TPlotOptions::kMaxScale)
    throw EPlotUsage("--scale: '" + text + "' is not a whole number from 1 to " +
                     std::to_string(TPlotOptions::kMaxScale));
  return v;
}

}  // namespace

TPlotOptions ParsePlotOptions(const std::vector<std::string>& args) {
  TPlotOptions o;
  bool haveInput = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    if (name == "-" || name.rfind("-", 0) != 0) {
      if (haveInput) throw EPlotUsage("more than one input: '" + o.Input + "' and '" + name + "'");
      o.Input = name;
      haveInput = true;
      continue;
    }
    bool hasValue = false;
    if (const std::size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    if (name == "--help" || name == "-h") {
      o.Help = true;
      continue;
    }
    if (name != "--out" && name != "--y" && name != "--size" && name != "--title" &&
        name != "--x" && name != "--by" && name != "--steps-axis" && name != "--scale")
      throw EPlotUsage("unknown option '" + name + "'");
    if (!hasValue) {
      if (i + 1 >= args.size()) throw EPlotUsage(name + ": no value given");
      value = args[++i];
    }
    if (name == "--out") {
      if (value.empty()) throw EPlotUsage("--out: no file name given");
      o.Out = value;
    } else if (name == "--y") {
      if (value.empty()) throw EPlotUsage("--y: no column given");
      o.Y = value;
    } else if (name == "--x") {
      static const char* const kAcross[] = {"agents", "threshold", "world",
                                            "jump",   "share",     "density"};
      if (std::find(std::begin(kAcross), std::end(kAcross), value) == std::end(kAcross))
        throw EPlotUsage("--x: '" + value +
                         "' is none of agents, threshold, world, jump, share, density");
      o.X = value;
    } else if (name == "--by") {
      if (value != "agents" && value != "threshold")
        throw EPlotUsage(name + ": '" + value + "' is neither agents nor threshold");
      o.By = value;
    } else if (name == "--steps-axis") {
      if (value != "own" && value != "shared")
        throw EPlotUsage("--steps-axis: '" + value + "' is neither own nor shared");
      o.OwnStepAxis = value == "own";
    } else if (name == "--size") {
      ParseSize(value, o);
    } else if (name == "--scale") {
      o.Scale = ParseScale(value);
    } else {
      o.Title = value;
      o.TitleGiven = true;
    }
  }
  if (!o.Help && o.Out.empty()) throw EPlotUsage("no --out FILE given (the picture to write)");
  return o;
}

std::string PlotHelpText() {
  return "Usage: travenel-plot [options] [FILE]\n"
         "Draws a CSV of travenel-batch (FILE, or standard input when none or '-')\n"
         "as a picture.\n"
         "\n"
         "  --out FILE     the picture to write: PNG; .bmp writes BMP, .svg SVG and .pdf\n"
         "                 PDF (vectors: lines and text stay sharp at any size); an old\n"
         "                 file is replaced only once the new one is complete\n"
         "  --scale N      a PNG or BMP of N times the pixels per side (1 to 8; for\n"
         "                 print), the layout as at 1\n"
         "  --y COLUMN     the value to plot against the step (rows per step) or across\n"
         "                 (--summary rows), such as a measure column:\n"
         "                 " +
         KnownMeasureList(TCsvKind::PerStep) + " (per step),\n                 " +
         KnownMeasureList(TCsvKind::Summary) +
         " (per run)\n"
         "                 (default: attached and free agents per step; the step at\n"
         "                 which the runs paused per threshold)\n"
         "  --x agents|threshold|world|jump|share|density\n"
         "                 rows per run: the parameter across (default: the one that\n"
         "                 varies; the threshold when both do), one curve per value of\n"
         "                 the others; world puts the cells count across\n"
         "  --by agents|threshold\n"
         "                 rows per step: one panel per agent count with one curve per\n"
         "                 threshold, or the other way round (default: one panel per\n"
         "                 setup, agent counts down and thresholds across, while that\n"
         "                 grid has at most 8 of each; by agents beyond)\n"
         "  --steps-axis own|shared\n"
         "                 rows per step: each panel's step axis as far as its own\n"
         "                 runs go, or one for all (default: shared)\n"
         "  --size WxH     picture size in pixels (default: as many setups need); where\n"
         "                 the panels do not fit, fewer are drawn and the note says so\n"
         "  --title TEXT   the title above the chart ('' for none)\n"
         "  --help         this text\n"
         "\n"
         "Rows per step: one chart per setup (agents, threshold), the mean over its\n"
         "runs as a line and their least to greatest value as a light band; a run that\n"
         "paused keeps its last counts. Rows per run (--summary): one curve per agent\n"
         "count against the threshold, the mean as a line, every run as a dot; runs that\n"
         "never paused are marked in a band at the top.\n"
         "Rows may come in any order; columns are matched by name, in any order (others\n"
         "are left out with a note); ',' or ';' (with decimal commas) between fields,\n"
         "quoted fields, and outputs joined with their headers are read. A row given\n"
         "twice (same setup, seed and step) is refused with both lines.\n"
         "Memory grows with the number of runs (their last values, and a bit per step\n"
         "of rows per step), not with the number of rows.\n"
         "Bad input is refused with the line and column, status 2.\n";
}

}  // namespace travenel
