// Writer: the rows of a travenel-batch CSV as text, in the columns' order of
// HeaderText, with '.' before decimals under every locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace travenel {

// The segregation measures of one step.
struct TMeasureFields {
  std::optional<double> PercentSimilar;  // none: no occupied cell has neighbours
  int Clusters = 0;
  int LargestCluster = 0;
};

// "agents,threshold,seed,step,attached,free" of one step (no line end).
void AppendStepRow(std::string& out, int agents, int threshold, unsigned seed, std::uint64_t step,
                   int attached, int free);

// "agents,threshold,seed,steps_run,paused_at,final_attached,final_free" of
// one run; pausedAt 0 (never paused) is an empty field.
void AppendRunRow(std::string& out, int agents, int threshold, unsigned seed,
                  std::uint64_t stepsRun, int pausedAt, int attached, int free);

// ",percent_similar,clusters,largest_cluster": the percent with two
// decimals; empty fields for what has no value, all three when `m` is null
// (nothing was measured).
void AppendMeasures(std::string& out, const TMeasureFields* m);

// The world's parameters a row carries (see kParamColumns); only those in
// `params` (TParamBits) are written, each after a ','.
struct TParamFields {
  int Width = 0, Height = 0, Jump = 0;
  double Share = 0, Density = 0;
};
void AppendParams(std::string& out, const TParamFields& p, unsigned params);

}  // namespace travenel
