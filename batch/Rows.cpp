#include "travenel/batch/Rows.h"

namespace travenel {

namespace {

// ",percent,clusters,largest": the percent with two decimals, or nothing
// when it has no value; empty fields when the runner measured nothing.
void WriteMeasures(std::FILE* out, const TSegregation* m) {
  if (!m) {
    std::fputs(",,,", out);
    return;
  }
  if (const std::optional<double> p = m->PercentSimilar())
    std::fprintf(out, ",%.2f", *p);
  else
    std::fputc(',', out);
  std::fprintf(out, ",%d,%d", m->Clusters, m->LargestCluster);
}

}  // namespace

std::string HeaderLine(const TBatchOptions& o) {
  if (o.ShardIndex != 1) return "";
  if (o.Summary)
    return std::string("agents,threshold,seed,steps_run,paused_at,final_attached,final_free") +
           (o.Measures ? ",final_percent_similar,final_clusters,final_largest_cluster\n" : "\n");
  return std::string("agents,threshold,seed,step,attached,free") +
         (o.Measures ? ",percent_similar,clusters,largest_cluster\n" : "\n");
}

void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary) {
  const bool measures = spec.Measures != TMeasureAt::Never;
  const auto measured = [&](std::size_t i) {
    return i < result.Measures.size() ? &result.Measures[i] : nullptr;
  };
  if (summary) {
    const TStepCounts last = result.Steps.empty() ? TStepCounts{} : result.Steps.back();
    std::fprintf(out, "%d,%d,%u,%zu,", spec.Agents, spec.Threshold, spec.Seed, result.Steps.size());
    if (result.PausedAt > 0) std::fprintf(out, "%d", result.PausedAt);
    std::fprintf(out, ",%d,%d", last.Attached, last.Free);
    if (measures) WriteMeasures(out, result.Measures.empty() ? nullptr : &result.Measures.back());
    std::fputc('\n', out);
    return;
  }
  for (std::size_t i = 0; i < result.Steps.size(); ++i) {
    std::fprintf(out, "%d,%d,%u,%zu,%d,%d", spec.Agents, spec.Threshold, spec.Seed, i + 1,
                 result.Steps[i].Attached, result.Steps[i].Free);
    if (measures) WriteMeasures(out, measured(i));
    std::fputc('\n', out);
  }
}

}  // namespace travenel
