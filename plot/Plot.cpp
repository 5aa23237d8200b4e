#include "travenel/plot/Plot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "travenel/plot/StepPicture.h"
#include "travenel/plot/SummaryPicture.h"
#include "travenel/sweepcsv/Reader.h"

namespace travenel {

namespace {

std::string DefaultTitle(const TCsvLayout& layout, const std::string& y, const std::string& by) {
  if (layout.Kind == TCsvKind::PerStep)
    return y.empty() ? "Attached and free agents per step" : y + " per step";
  if (y.empty() || y == "paused_at") return "The step at which the runs paused, by " + by;
  return y + " by " + by;
}

// What --x puts across: an index of TParams (width for the world), or one of
// TSummaryAggregate's kAcross...; -1 for the default.
int AcrossParam(const std::string& x) {
  if (x == "world") return param::kWidth;
  if (x == "jump") return param::kJump;
  if (x == "share") return param::kShare;
  if (x == "density") return param::kDensity;
  if (x == "agents") return TSummaryAggregate::kAcrossAgents;
  if (x == "threshold") return TSummaryAggregate::kAcrossThreshold;
  return -1;
}

// The value column --y names; throws EPlotUsage when the input has none such.
int ValueColumn(const TCsvLayout& layout, const std::string& y) {
  std::string values;
  for (int i = 0; i < layout.Count(); ++i)
    if (!layout.IsKey(i)) values += (values.empty() ? "" : ", ") + layout.Names[std::size_t(i)];
  const int index = layout.Find(y);
  if (index < 0 &&
      std::find(layout.Ignored.begin(), layout.Ignored.end(), y) != layout.Ignored.end())
    throw EPlotUsage("--y " + y + ": not a column of travenel-batch (the values it writes: " +
                     values + (values.empty() ? "" : ", ") + KnownMeasureList(layout.Kind) + ")");
  if (index < 0)
    throw EPlotUsage("--y " + y + ": the input has no such column (its values: " + values + ")");
  if (layout.IsKey(index))
    throw EPlotUsage("--y " + y +
                     ": tells the runs apart, it is not a value (the values: " + values + ")");
  return index;
}

// Refuses what --out cannot become before any input is read: a folder, a
// device, a place that cannot be written.
void CheckTarget(const std::string& path, int scale) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode))
      throw EPlotUsage("--out: '" + path + "' is " +
                       (S_ISDIR(st.st_mode) ? "a folder" : "not a regular file"));
    if (::access(path.c_str(), W_OK) != 0)
      throw EPlotUsage("--out: cannot write '" + path + "': " + std::strerror(errno));
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  if (::access(folder.c_str(), W_OK) != 0)
    throw EPlotUsage("--out: cannot write into '" + folder + "': " + std::strerror(errno));
  const std::size_t dot = path.rfind('.');
  std::string suffix = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                           ? ""
                           : path.substr(dot + 1);
  for (char& ch : suffix) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (!suffix.empty() && suffix != "png" && suffix != "bmp" && suffix != "svg" && suffix != "pdf")
    throw EPlotUsage("--out: '" + path +
                     "': the picture is written as PNG, BMP, SVG or PDF: name it *.png");
  if (scale != 1 && (suffix == "svg" || suffix == "pdf"))
    throw EPlotUsage("--scale: '" + path + "' is a vector picture, sharp at any size: drop --scale");
}

// A row given twice whose first line was not kept: the input is read again
// up to the second one to find it, where it can be (not from a pipe).
std::string WithEarlierLine(std::FILE* in, const std::string& inputName, const EDuplicateRow& e,
                            const std::vector<double>& repeated) {
  std::string message = e.what();
  const std::size_t unknown = message.find("(line ?");
  if (unknown == std::string::npos) return message;
  const std::string earlier = message;
  message.replace(unknown, 7, "(an earlier line");
  if (std::fseek(in, 0, SEEK_SET) != 0) return message;
  try {
    TCsvReader again(in, inputName);
    const TParamIndex params = ParamIndexOf(again.ReadHeader());
    std::vector<double> row;
    while (again.Next(row) && again.Line() < e.Second) {
      if (SetupKeyOf(row, params) == SetupKeyOf(repeated, params) &&
          row[col::kSeed] == repeated[col::kSeed] && row[col::kStep] == repeated[col::kStep])
        return std::string(earlier).replace(unknown, 7, "(line " + std::to_string(again.Line()));
    }
  } catch (const EBadInput&) {
  }
  return message;
}

}  // namespace

TPicture ReadAndDraw(std::FILE* in, const std::string& inputName, const TPlotOptions& options,
                     std::string& warnings) {
  TCsvReader reader(in, inputName);
  const TCsvLayout& layout = reader.ReadHeader();
  const bool perStep = layout.Kind == TCsvKind::PerStep;
  if (perStep && !options.X.empty())
    throw EPlotUsage(
        "--x: rows per step are drawn against the step; --x is for rows per run "
        "(--summary)");
  if (!perStep && !options.By.empty())
    throw EPlotUsage(
        "--by: rows per run are drawn as one chart; --by is for rows per step "
        "(--x chooses what goes across)");
  if (!perStep && options.OwnStepAxis)
    throw EPlotUsage("--steps-axis: rows per run have no step axis");

  std::vector<int> columns;
  if (!options.Y.empty())
    columns = {ValueColumn(layout, options.Y)};
  else if (perStep)
    columns = {col::kAttached, col::kFree};
  else
    columns = {col::kPausedAt};

  TSweepFacts facts;
  facts.Kind = layout.Kind;
  std::vector<double> row;
  std::unique_ptr<TStepAggregate> steps;
  std::unique_ptr<TSummaryAggregate> runs;
  const bool never = !perStep && columns[0] == col::kPausedAt;
  const TParamIndex params = ParamIndexOf(layout);
  const int across = AcrossParam(options.X);
  if (across >= 0 && across < TSummaryAggregate::kAcrossThreshold &&
      params[static_cast<std::size_t>(across)] < 0)
    throw EPlotUsage("--x " + options.X + ": the input has no column '" +
                     std::string(kParamColumns[static_cast<std::size_t>(across)]) +
                     "' (travenel-batch writes it when given --" + options.X + ")");
  if (perStep)
    steps = std::make_unique<TStepAggregate>(columns, params);
  else
    runs = std::make_unique<TSummaryAggregate>(columns[0], never, params);
  if (!layout.Ignored.empty()) {
    std::string names;
    for (const std::string& n : layout.Ignored) names += (names.empty() ? "'" : ", '") + n + "'";
    warnings += "not plotted: the column" + std::string(layout.Ignored.size() > 1 ? "s " : " ") +
                names + ", unknown here\n";
  }
  try {
    while (reader.Next(row)) {
      facts.Add(row);
      if (steps)
        steps->Add(row, reader.Line());
      else
        runs->Add(row, reader.Line());
    }
  } catch (const EDuplicateRow& e) {
    if (e.First) throw;
    throw EBadInput(WithEarlierLine(in, inputName, e, row));
  }
  if (reader.Rows() == 0)
    throw EBadInput(inputName + " has a header but no rows (line " + std::to_string(reader.Line()) +
                    " is its last)");

  const bool fromZero = layout.IsCount(columns[0]);
  bool whole = true;
  for (int c : columns) whole = whole && layout.IsWhole(c);
  if (steps) {
    TStepPlotSpec spec;
    spec.Width = options.Width;
    spec.Height = options.Height;
    spec.Title = options.TitleGiven ? options.Title : DefaultTitle(layout, options.Y, "");
    spec.By = options.By;
    spec.OwnStepAxis = options.OwnStepAxis;
    for (int c : columns) spec.Columns.push_back(layout.Names[static_cast<std::size_t>(c)]);
    spec.FromZero = fromZero;
    spec.Whole = whole;
    spec.Facts = facts;
    std::vector<TStepSetup> setups = steps->Finish();
    std::vector<TSetupKey> keys;
    for (const TStepSetup& s : setups) keys.push_back(s.Key);
    spec.Varying = VaryingParams(keys);
    spec.Params = ParamsRange(keys, PresentParams(params));
    return StepPicture(setups, spec);
  }
  TSummaryPlotSpec spec;
  spec.XAgents = options.X.empty() ? runs->AgentCounts() > 1 && runs->Thresholds() == 1
                                   : options.X == "agents";
  spec.Width = options.Width;
  spec.Height = options.Height;
  spec.Column = layout.Names[static_cast<std::size_t>(columns[0])];
  spec.NeverBand = never;
  spec.FromZero = fromZero;
  spec.Whole = whole;
  spec.MarksDropped = runs->MarksDropped();
  spec.Facts = facts;
  if (spec.MarksDropped)
    warnings += "not every distinct value has a dot of its own (too many); the means take all\n";
  const std::vector<TSetupKey> keys = runs->Keys();
  const unsigned varying = VaryingParams(keys);
  // Across a world's parameter, or where the world's parameters vary (a curve
  // per agent count would mix worlds): curves labelled by what they share.
  const bool labelled = across >= 0 && across < TSummaryAggregate::kAcrossThreshold;
  if (labelled || varying) {
    const int x = labelled        ? across
                  : spec.XAgents ? TSummaryAggregate::kAcrossAgents
                                 : TSummaryAggregate::kAcrossThreshold;
    spec.XCaption = labelled ? (options.X == "world" ? std::string("cells") : options.X)
                    : spec.XAgents ? "agents"
                                   : "threshold";
    spec.XWhole = x != param::kShare && x != param::kDensity;
    for (const TSetupKey& k : keys) {
      spec.Agents.push_back(k.Agents);
      spec.Thresholds.push_back(k.Threshold);
    }
    spec.Params = ParamsRange(keys, PresentParams(params));
    spec.Title =
        options.TitleGiven
            ? options.Title
            : DefaultTitle(layout, options.Y,
                           options.X == "world" ? "world size (cells)" : spec.XCaption);
    return SummaryPicture(runs->FinishAcross(x), spec);
  }
  spec.Title = options.TitleGiven
                   ? options.Title
                   : DefaultTitle(layout, options.Y, spec.XAgents ? "agents" : "threshold");
  return SummaryPicture(runs->Finish(spec.XAgents), spec);
}

int RunPlot(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err) {
  const auto fail = [err](int status, const std::string& message) {
    std::fprintf(err, "travenel-plot: %s\n", message.c_str());
    return status;
  };
  TPlotOptions options;
  std::FILE* file = nullptr;
  std::string name = "standard input";
  try {
    options = ParsePlotOptions(args);
    if (options.Help) {
      std::fputs(PlotHelpText().c_str(), out);
      return kPlotOk;
    }
    CheckTarget(options.Out, options.Scale);
    // Reading a terminal would wait for rows typed by hand, which nobody means.
    if (options.Input.empty() && isatty(fileno(in)))
      throw EPlotUsage(
          "no input: name a CSV file, or send one in (travenel-batch ... | "
          "travenel-plot --out FILE)");
    if (!options.Input.empty() && options.Input != "-") {
      name = options.Input;
      struct stat st {};
      if (::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw EPlotUsage("'" + name + "' is a folder, not a CSV file");
      file = std::fopen(name.c_str(), "rb");
      if (!file) throw EPlotUsage("cannot open '" + name + "': " + std::strerror(errno));
    }
  } catch (const std::exception& e) {
    return fail(kPlotUsage, e.what());
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, file ? std::fclose : nullptr);
  TPicture picture;
  std::string warnings;
  try {
    picture = ReadAndDraw(file ? file : in, name, options, warnings);
  } catch (const EBadInput& e) {
    return fail(kPlotUsage, name + ": " + e.what());
  } catch (const EPlotUsage& e) {
    return fail(kPlotUsage, e.what());
  }
  if (!warnings.empty()) std::fprintf(err, "travenel-plot: %s", warnings.c_str());
  try {
    picture.Page->Save(options.Out, options.Scale);
  } catch (const std::exception& e) {
    return fail(kPlotFailed, e.what());
  }
  return kPlotOk;
}

}  // namespace travenel
