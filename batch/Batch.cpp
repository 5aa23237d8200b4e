#include "batch/Batch.h"

#include <chrono>
#include <memory>
#include <stdexcept>

#include "batch/OutputFile.h"

namespace {

// Progress on one line, rewritten in place; only once the sweep has taken
// longer than a second, so short sweeps stay quiet.
class TProgress {
 public:
  TProgress(std::FILE* err, bool enabled) : err_(err), enabled_(enabled) {}
  ~TProgress() {
    if (shown_) std::fputc('\n', err_);
  }
  void Update(std::uint64_t done, std::uint64_t total) {
    if (!enabled_) return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    if (elapsed < 1.0 || elapsed - lastShown_ < 0.2) return;
    lastShown_ = elapsed;
    shown_ = true;
    const double left =
        done > 0 ? elapsed * static_cast<double>(total - done) / static_cast<double>(done) : 0.0;
    std::fprintf(err_, "\r%llu/%llu runs, %.1f s elapsed, about %.0f s left   ",
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                 elapsed, left);
    std::fflush(err_);
  }

 private:
  std::FILE* err_;
  bool enabled_;
  bool shown_ = false;
  double lastShown_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
             const TRunner& runner, const std::atomic<bool>& cancel, int defaultJobs,
             bool showProgress) {
  TBatchOptions options;
  std::unique_ptr<TOutputFile> file;
  try {
    options = ParseOptions(args, defaultJobs);
    if (options.Help) {
      std::fputs(HelpText(defaultJobs).c_str(), out);
      return kExitOk;
    }
    if (!options.Out.empty()) file = std::make_unique<TOutputFile>(options.Out);
  } catch (const std::exception& e) {
    std::fprintf(err, "travenel-batch: %s\n", e.what());
    return kExitUsage;
  }
  try {
    TProgress progress(err, showProgress);
    const bool complete =
        RunSweep(options, file ? file->Stream() : out, runner, cancel,
                 [&](std::uint64_t done, std::uint64_t total) { progress.Update(done, total); });
    if (!complete) {
      std::fputs("travenel-batch: interrupted; no file written\n", err);
      return kExitInterrupted;
    }
    if (file)
      file->Commit();
    else if (std::fflush(out) != 0)
      throw std::runtime_error("cannot write the output");
  } catch (const std::exception& e) {
    std::fprintf(err, "travenel-batch: %s\n", e.what());
    return kExitFailed;
  }
  return kExitOk;
}
