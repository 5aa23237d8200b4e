// The CSV the runner writes: its header line and the rows of one run.
#pragma once

#include <cstdio>
#include <string>

#include "travenel/batch/Sweep.h"

namespace travenel {

// The header this block of the sweep begins with (ends with a newline):
// block 1 carries it, later blocks nothing, so the blocks in order are the sweep.
std::string HeaderLine(const TBatchOptions& options);

// The rows of one run (without header): one per step, or one for the run
// with `summary`; the measures' columns when the run took them.
void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary);

}  // namespace travenel
