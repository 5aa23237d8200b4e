#include "travenel/batch/Sweep.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "travenel/batch/Cost.h"
#include "travenel/batch/Rows.h"

namespace travenel {

TSweepPlan::TSweepPlan(const TBatchOptions& options)
    : worlds_(options.Worlds),
      jumps_(options.Jumps),
      shares_(options.Shares),
      densities_(options.Densities),
      agents_(options.Agents),
      thresholds_(options.Thresholds),
      headless_(options.Headless()),
      params_((options.WorldGiven ? kParamWorld : 0u) | (options.JumpGiven ? kParamJump : 0u) |
              (options.Shares.empty() ? 0u : kParamShare) |
              (options.Densities.empty() ? 0u : kParamDensity)),
      repeats_(static_cast<std::uint64_t>(std::max(options.Repeats, 0))),
      seed_(options.Seed),
      measures_(!options.Measures ? TMeasureAt::Never
                : options.Summary ? TMeasureAt::LastStep
                                  : TMeasureAt::EveryStep),
      count_(RunCount(options)) {}

TRunSpec TSweepPlan::At(std::uint64_t index) const {
  std::uint64_t setup = index / repeats_;
  const std::uint64_t repeat = index % repeats_;
  TRunSpec spec;
  spec.Threshold = thresholds_[setup % thresholds_.size()];
  setup /= thresholds_.size();
  const std::size_t choices = densities_.empty() ? agents_.size() : densities_.size();
  const std::size_t choice = setup % choices;
  setup /= choices;
  if (!shares_.empty()) {
    spec.World.Share = shares_[setup % shares_.size()];
    setup /= shares_.size();
  }
  spec.World.Jump = jumps_[setup % jumps_.size()];
  setup /= jumps_.size();
  spec.World.Columns = worlds_[setup].Columns;
  spec.World.Rows = worlds_[setup].Rows;
  if (densities_.empty()) {
    spec.Agents = agents_[choice];
  } else {
    spec.Density = densities_[choice];
    spec.Agents = static_cast<int>(AgentsAtDensity(spec.Density, spec.World.Cells()));
  }
  spec.Seed = seed_ + static_cast<std::uint32_t>(repeat);
  spec.Measures = measures_;
  spec.Headless = headless_;
  spec.Params = params_;
  return spec;
}

TRunBlock ShardBlock(std::uint64_t count, std::uint32_t index, std::uint32_t blocks) {
  // index * count needs up to 96 bits.
  const auto boundary = [&](std::uint64_t k) {
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(count) * k / blocks);
  };
  return {boundary(index - 1u), boundary(index)};
}

namespace {

// Workers take runs in plan order but stay at most a few runs per thread
// ahead of the writer, so finished results waiting for an earlier, slower
// run take bounded memory however long the sweep is.
class TRunQueue {
 public:
  TRunQueue(std::uint64_t total, int jobs, const std::atomic<bool>& cancel)
      : total_(total), slots_(static_cast<std::size_t>(jobs) * 8), cancel_(cancel) {}

  // The next run for a worker (counted from the block's start), or false once
  // there is none or the sweep stops.
  bool Take(std::uint64_t& i) {
    std::unique_lock lock(m_);
    space_.wait(lock,
                [&] { return Stopping() || next_ == total_ || next_ < written_ + slots_.size(); });
    if (Stopping() || next_ == total_) return false;
    i = next_++;
    return true;
  }

  void Finish(std::uint64_t i, TRunResult result) {
    {
      std::lock_guard lock(m_);
      slots_[i % slots_.size()] = std::move(result);
    }
    ready_.notify_all();
  }

  // What the runners watch: set at once on a failure (a write that failed
  // must not wait for hours of runs in progress), and soon after a cancel.
  const std::atomic<bool>& Halt() const { return halt_; }

  void Fail(std::exception_ptr e) {
    halt_ = true;
    {
      std::lock_guard lock(m_);
      if (!failure_) failure_ = e;
    }
    ready_.notify_all();
    space_.notify_all();
  }

  // The result of run i, in order, for the writer; nothing once cancelled or
  // failed. Wakes up now and then to notice a cancel from a signal handler.
  std::optional<TRunResult> Next(std::uint64_t i, const std::function<void()>& idle) {
    std::unique_lock lock(m_);
    std::optional<TRunResult>& slot = slots_[i % slots_.size()];
    while (!slot && !Stopping()) {
      if (ready_.wait_for(lock, kWake) == std::cv_status::timeout && idle) {
        lock.unlock();
        idle();
        lock.lock();
      }
    }
    if (cancel_) halt_ = true;
    // A run cut short by a cancel may have arrived: never write it. After a
    // failure elsewhere the runs finished before it are still good rows.
    if (stopped_ || cancel_ || !slot) return std::nullopt;
    std::optional<TRunResult> r = std::move(slot);
    slot.reset();
    written_ = i + 1;
    lock.unlock();
    space_.notify_all();
    return r;
  }

  void Stop() {
    halt_ = true;
    {
      std::lock_guard lock(m_);
      stopped_ = true;
    }
    space_.notify_all();
  }

  void RethrowFailure() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  bool Stopping() const { return stopped_ || failure_ || cancel_ || halt_; }

  // The writer wakes this often to pass a cancel from a signal handler on to
  // the runners.
  static constexpr auto kWake = std::chrono::milliseconds(20);

  std::mutex m_;
  std::condition_variable ready_, space_;
  const std::uint64_t total_;
  std::uint64_t next_ = 0, written_ = 0;
  std::vector<std::optional<TRunResult>> slots_;
  std::exception_ptr failure_;
  bool stopped_ = false;
  const std::atomic<bool>& cancel_;
  std::atomic<bool> halt_{false};
};

}  // namespace

bool RunRange(const TSweepPlan& plan, TRunBlock range, int steps, int jobs, const TRunner& runner,
              const std::atomic<bool>& cancel, const TRunWritten& written,
              const std::function<void()>& idle) {
  if (cancel) return false;
  const std::uint64_t total = range.Last - range.First;
  // The caller's thread hands over finished runs in plan order, so the bytes
  // never depend on the number of threads.
  const int threads = static_cast<int>(std::min<std::uint64_t>(std::max(jobs, 1), total));
  TRunQueue queue(total, std::max(threads, 1), cancel);
  auto work = [&] {
    for (std::uint64_t i; queue.Take(i);) {
      try {
        TRunResult result = runner(plan.At(range.First + i), steps, queue.Halt());
        // A run that saw the halt may be cut short: never handed over.
        if (queue.Halt()) break;
        queue.Finish(i, std::move(result));
      } catch (...) {
        queue.Fail(std::current_exception());
      }
    }
  };
  std::vector<std::thread> workers;
  for (int j = 0; j < threads; ++j) workers.emplace_back(work);

  bool complete = true;
  try {
    for (std::uint64_t i = 0; i < total; ++i) {
      const std::optional<TRunResult> r = queue.Next(i, idle);
      if (!r) {
        complete = false;
        break;
      }
      written(range.First + i, plan.At(range.First + i), *r);
    }
  } catch (...) {
    queue.Fail(std::current_exception());
  }
  queue.Stop();
  for (std::thread& t : workers) t.join();
  queue.RethrowFailure();
  return complete;
}

bool RunSweep(const TBatchOptions& options, std::FILE* out, const TRunner& runner,
              const std::atomic<bool>& cancel,
              const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
  if (cancel) return false;
  const TSweepPlan plan(options);
  const TRunBlock block = BlockOf(options);
  const std::uint64_t total = block.Last - block.First;
  std::fputs(HeaderLine(options).c_str(), out);
  return RunRange(plan, block, options.Steps, options.Jobs, runner, cancel,
                  [&](std::uint64_t index, const TRunSpec& spec, const TRunResult& result) {
                    WriteRunRows(out, spec, result, options.Summary);
                    if (progress) progress(index - block.First + 1, total);
                  });
}

}  // namespace travenel
