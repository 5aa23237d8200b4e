#include "travenel/batch/Rows.h"

#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Writer.h"

namespace travenel {

namespace {

void AppendMeasured(std::string& out, const TSegregation* m) {
  if (!m) {
    AppendMeasures(out, nullptr);
    return;
  }
  const TMeasureFields f{m->PercentSimilar(), m->Clusters, m->LargestCluster};
  AppendMeasures(out, &f);
}

TParamFields ParamsOf(const TRunSpec& spec) {
  return {spec.World.Columns, spec.World.Rows, spec.World.Jump, spec.World.Share.value_or(0),
          spec.Density};
}

}  // namespace

std::string HeaderLine(const TBatchOptions& o) {
  if (o.ShardIndex != 1) return "";
  return HeaderText(o.Summary ? TCsvKind::Summary : TCsvKind::PerStep, o.Measures,
                    TSweepPlan(o).Params());
}

void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary) {
  const bool measures = spec.Measures != TMeasureAt::Never;
  // The run's rows go out in one write.
  std::string text;
  if (summary) {
    const TStepCounts last = result.Steps.empty() ? TStepCounts{} : result.Steps.back();
    AppendRunRow(text, spec.Agents, spec.Threshold, spec.Seed, result.Steps.size(), result.PausedAt,
                 last.Attached, last.Free);
    if (measures) AppendMeasured(text, result.Measures.empty() ? nullptr : &result.Measures.back());
    AppendParams(text, ParamsOf(spec), spec.Params);
    text += '\n';
  } else {
    text.reserve(result.Steps.size() * (measures ? 48 : 32));
    const TParamFields params = ParamsOf(spec);
    for (std::size_t i = 0; i < result.Steps.size(); ++i) {
      AppendStepRow(text, spec.Agents, spec.Threshold, spec.Seed, i + 1, result.Steps[i].Attached,
                    result.Steps[i].Free);
      if (measures)
        AppendMeasured(text, i < result.Measures.size() ? &result.Measures[i] : nullptr);
      if (spec.Params) AppendParams(text, params, spec.Params);
      text += '\n';
    }
  }
  std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace travenel
