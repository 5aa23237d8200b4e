// travenel-batch: runs Travenel setups without a window — sweeps of agent
// counts and thresholds, several seeds each — and writes the counts as CSV.
#include <unistd.h>

#include <csignal>
#include <thread>

#include "batch/Batch.h"
#include "batch/Run.h"

namespace {

std::atomic<bool> gCancel{false};

extern "C" void OnSignal(int) { gCancel = true; }

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return RunBatch(args, stdout, stderr, RunSetup, gCancel, cores, isatty(STDERR_FILENO) != 0);
}
