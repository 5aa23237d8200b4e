// Continuing a sweep that was cut short. The rows it left are checked to be
// this sweep's before any run: the record beside them must name the same
// version and options, every row must be of the run the plan puts there,
// and the last complete run is run again and must give the same bytes.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include "travenel/batch/Sweep.h"

namespace travenel {

// The rows kept are not of this sweep; nothing has been changed.
class EResume : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The record of a sweep kept beside its partial rows: the version of the
// rows and every option that changes a byte of them.
std::string SweepRecord(const TBatchOptions& options);

// What differs between two records, to follow "started with": "other
// --steps, --summary", "another block of runs (...)", "another cost model
// for --balanced", or "the version" / "the record"; empty when they match.
std::string RecordDifference(const std::string& kept, const std::string& wanted);

struct TResumePoint {
  std::uint64_t Runs = 0;   // complete runs kept, from the block's first
  std::uint64_t Bytes = 0;  // the bytes they take, with the header
  std::uint64_t Rows = 0;   // their rows
};

// Reads the rows kept in `rows` (from its start) for `block` of the plan and
// finds where the sweep stands (a complete block when Runs is all its runs
// and Bytes all the bytes read). A last run cut short, or a last line without
// its end, is left out. Throws EResume when the rows are not this sweep's.
TResumePoint FindResumePoint(std::FILE* rows, const std::string& name, const TBatchOptions& options,
                             const TSweepPlan& plan, TRunBlock block, const TRunner& runner,
                             const std::atomic<bool>& cancel);

}  // namespace travenel
