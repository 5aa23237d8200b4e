#include "travenel/sweepcsv/Writer.h"

#include <utility>

#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Number.h"

namespace travenel {

namespace {

void AppendKeys(std::string& out, int agents, int threshold, unsigned seed) {
  AppendInt(out, agents);
  out += ',';
  AppendInt(out, threshold);
  out += ',';
  AppendUInt(out, seed);
}

}  // namespace

void AppendStepRow(std::string& out, int agents, int threshold, unsigned seed, std::uint64_t step,
                   int attached, int free) {
  AppendKeys(out, agents, threshold, seed);
  out += ',';
  AppendUInt(out, step);
  out += ',';
  AppendInt(out, attached);
  out += ',';
  AppendInt(out, free);
}

void AppendRunRow(std::string& out, int agents, int threshold, unsigned seed,
                  std::uint64_t stepsRun, int pausedAt, int attached, int free) {
  AppendKeys(out, agents, threshold, seed);
  out += ',';
  AppendUInt(out, stepsRun);
  out += ',';
  if (pausedAt > 0) AppendInt(out, pausedAt);
  out += ',';
  AppendInt(out, attached);
  out += ',';
  AppendInt(out, free);
}

void AppendMeasures(std::string& out, const TMeasureFields* m) {
  if (!m) {
    out += ",,,";
    return;
  }
  out += ',';
  if (m->PercentSimilar) AppendFixed(out, *m->PercentSimilar, 2);
  out += ',';
  AppendInt(out, m->Clusters);
  out += ',';
  AppendInt(out, m->LargestCluster);
}

void AppendParams(std::string& out, const TParamFields& p, unsigned params) {
  if (params & kParamWorld) {
    out += ',';
    AppendInt(out, p.Width);
    out += ',';
    AppendInt(out, p.Height);
  }
  if (params & kParamJump) {
    out += ',';
    AppendInt(out, p.Jump);
  }
  // The shortest text that reads back as the value given: 62.5, not 62.50.
  for (const auto& [bit, value] : {std::pair{kParamShare, p.Share}, {kParamDensity, p.Density}})
    if (params & bit) {
      out += ',';
      out += ShortestText(value);
    }
}

}  // namespace travenel
