// Plot: travenel-plot as functions, so tests can run it on their own
// streams — read the CSV, aggregate it as it streams in, draw the picture,
// write it; and report problems with an exit status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "travenel/plot/Picture.h"
#include "travenel/plot/PlotOptions.h"

namespace travenel {

// Exit statuses.
constexpr int kPlotOk = 0;
constexpr int kPlotFailed = 1;  // the picture could not be written
constexpr int kPlotUsage = 2;   // a bad command line or bad input

// Reads a CSV from `in` (called `inputName` in messages) and draws it as the
// options say. Throws EBadInput for bad input and EPlotUsage for options that
// do not fit it.
TPicture ReadAndDraw(std::FILE* in, const std::string& inputName, const TPlotOptions& options,
                     std::string& warnings);

// args: the arguments after the program name. The CSV comes from the file
// named there or from `in`; the help text goes to `out`, messages to `err`.
int RunPlot(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace travenel
