// PlotOptions: the command line of travenel-plot.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace travenel {

// A bad command line; the message names the option and the problem.
class EPlotUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TPlotOptions {
  static constexpr int kMinSide = 240;
  static constexpr int kMaxSide = 5000;
  static constexpr int kMaxScale = 8;

  std::string Input;  // empty or "-": standard input
  std::string Out;
  std::string Y;  // the value column to plot; empty: the runner's counts
  std::string Title;
  bool TitleGiven = false;
  int Width = 0;  // 0: as the picture needs
  int Height = 0;
  // Rows per run: the parameter across ("agents", "threshold", or one of
  // the world's: "world" (its cells), "jump", "share", "density"); empty:
  // the one that varies (the threshold when both do).
  std::string X;
  // Rows per step: one panel per agent count with a curve per threshold
  // ("agents"), or the other way round ("threshold"); empty: one panel per
  // setup where the sweep's grid fits, else by agents.
  std::string By;
  bool OwnStepAxis = false;  // each panel's steps as far as its runs go
  int Scale = 1;  // a PNG or BMP of Scale times the pixels per side
  bool Help = false;
};

// Reads the arguments after the program name. Throws EPlotUsage.
TPlotOptions ParsePlotOptions(const std::vector<std::string>& args);

std::string PlotHelpText();

}  // namespace travenel
