// travenel-batch: runs Travenel setups without a window — sweeps of agent
// counts and thresholds, several seeds each — and writes the counts as CSV.
#include <unistd.h>

#include <csignal>
#include <thread>

#include "travenel/batch/Batch.h"
#include "travenel/batch/Run.h"

namespace travenel {

namespace {

std::atomic<bool> gCancel{false};
volatile std::sig_atomic_t gSignal = 0;

extern "C" void OnSignal(int signal) {
  if (gSignal == 0) gSignal = signal;
  gCancel = true;
}

}  // namespace

}  // namespace travenel

using namespace travenel;

int main(int argc, char** argv) {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  // A reader that went away is a failed write like any other: the sweep ends
  // with a message and status 1 instead of dying without a word.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int status =
      RunBatch(args, stdout, stderr, RunSetup, gCancel, cores, isatty(STDERR_FILENO) != 0);
  if (status == kExitInterrupted && gSignal != 0) {
    // End by the signal itself once everything is tidied up: the shell then
    // reports 130 or 143 and, for Ctrl-C, stops a script's loop instead of
    // taking the interruption as handled.
    std::fflush(stdout);
    std::fflush(stderr);
    std::signal(gSignal, SIG_DFL);
    std::raise(gSignal);
  }
  return status;
}
