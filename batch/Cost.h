// What runs cost, estimated before running them, so a sweep can be cut into
// blocks that take about equally long. Whole numbers only: every machine
// must cut the same blocks from the same command.
#pragma once

#include <cstdio>

#include "travenel/batch/Sweep.h"

namespace travenel {

// Raise whenever EstimatedRunCost changes: blocks cut by --balanced then
// differ, and a block kept by an older build is not continued by this one.
constexpr int kCostModelVersion = 3;

// About the microseconds one run takes on one core of the machine the
// estimate was measured on; only ratios matter. At least 1.
std::uint64_t EstimatedRunCost(int agents, int threshold, int steps);
// The same for a run of a plan, on whichever world it runs.
std::uint64_t EstimatedRunCost(const TRunSpec& spec, int steps);

// The estimated cost of the runs of `block` (of `plan`, made from `options`).
unsigned __int128 EstimatedCost(const TBatchOptions& options, TRunBlock block);
unsigned __int128 EstimatedCost(const TBatchOptions& options, const TSweepPlan& plan,
                                TRunBlock block);

// Block `index` (1-based) of `blocks` contiguous blocks of about equal
// estimated cost; in order they cover every run once. Each boundary is the
// run boundary nearest to its share of the total cost.
TRunBlock BalancedBlock(const TBatchOptions& options, std::uint32_t index, std::uint32_t blocks);

// The block this process runs: --shard's K of N, cut by count or by cost.
TRunBlock BlockOf(const TBatchOptions& options);

// --plan: a CSV line for each of the N blocks: its first and last run
// (counted from 1), its runs and its estimated cost.
void WritePlan(std::FILE* out, const TBatchOptions& options);

}  // namespace travenel
