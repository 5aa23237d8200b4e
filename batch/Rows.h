// The CSV the runner writes: its header line and the rows of one run.
#pragma once

#include <cstdio>
#include <string>

#include "batch/Sweep.h"

// The header of a sweep with these options (ends with a newline).
std::string HeaderLine(const TBatchOptions& options);

// The rows of one run (without header): one per step, or one for the run
// with `summary`; the measures' columns when the run took them.
void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary);
