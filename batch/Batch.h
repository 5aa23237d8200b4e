// travenel-batch as a function, so tests can run it with their own streams
// and runner: parse, run the sweep, write the rows, report problems.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "travenel/batch/Sweep.h"

namespace travenel {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // 128 + SIGINT; the program ends by SIGTERM as 143

// args: the arguments after the program name. Rows go to `out` unless --out
// names a file; messages and progress go to `err`, a terminal or not.
int RunBatch(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
             const TRunner& runner, const std::atomic<bool>& cancel, int defaultJobs,
             bool errIsTerminal);

}  // namespace travenel
