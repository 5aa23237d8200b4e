#include "batch/Sweep.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

std::vector<TRunSpec> PlanRuns(const TBatchOptions& options) {
  std::vector<TRunSpec> runs;
  runs.reserve(options.Agents.size() * options.Thresholds.size() *
               static_cast<std::size_t>(options.Repeats));
  for (int agents : options.Agents)
    for (int threshold : options.Thresholds)
      for (int r = 0; r < options.Repeats; ++r)
        runs.push_back({agents, threshold, options.Seed + static_cast<std::uint32_t>(r)});
  return runs;
}

void WriteRunRows(std::FILE* out, const TRunSpec& spec, const TRunResult& result, bool summary) {
  if (summary) {
    const TStepCounts last = result.Steps.empty() ? TStepCounts{} : result.Steps.back();
    std::fprintf(out, "%d,%d,%u,%zu,", spec.Agents, spec.Threshold, spec.Seed, result.Steps.size());
    if (result.PausedAt > 0) std::fprintf(out, "%d", result.PausedAt);
    std::fprintf(out, ",%d,%d\n", last.Attached, last.Free);
    return;
  }
  for (std::size_t i = 0; i < result.Steps.size(); ++i)
    std::fprintf(out, "%d,%d,%u,%zu,%d,%d\n", spec.Agents, spec.Threshold, spec.Seed, i + 1,
                 result.Steps[i].Attached, result.Steps[i].Free);
}

bool RunSweep(const TBatchOptions& options, std::FILE* out, const TRunner& runner,
              const std::atomic<bool>& cancel,
              const std::function<void(std::size_t, std::size_t)>& progress) {
  const std::vector<TRunSpec> runs = PlanRuns(options);
  std::fputs(options.Summary ? "agents,threshold,seed,steps_run,paused_at,final_attached,final_free\n"
                             : "agents,threshold,seed,step,attached,free\n",
             out);

  // Workers take runs in plan order; the caller's thread writes finished runs
  // in that same order, so the bytes never depend on the number of threads.
  std::mutex m;
  std::condition_variable ready;
  std::vector<std::optional<TRunResult>> results(runs.size());
  std::size_t next = 0;
  std::exception_ptr failure;
  auto work = [&] {
    for (;;) {
      std::size_t i;
      {
        std::lock_guard lock(m);
        if (next == runs.size() || cancel || failure) return;
        i = next++;
      }
      try {
        TRunResult r = runner(runs[i], options.Steps);
        std::lock_guard lock(m);
        results[i] = std::move(r);
      } catch (...) {
        std::lock_guard lock(m);
        if (!failure) failure = std::current_exception();
      }
      ready.notify_all();
    }
  };
  const int jobs = std::max(1, std::min<int>(options.Jobs, static_cast<int>(runs.size())));
  std::vector<std::thread> workers;
  for (int j = 0; j < jobs; ++j) workers.emplace_back(work);

  bool complete = true;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    std::unique_lock lock(m);
    // Wake up now and then to notice a cancel that came from a signal handler.
    while (!results[i] && !cancel && !failure) ready.wait_for(lock, std::chrono::milliseconds(100));
    if (!results[i]) {
      complete = false;
      break;
    }
    TRunResult r = std::move(*results[i]);
    results[i].reset();  // finished runs are not kept: memory stays bounded
    lock.unlock();
    WriteRunRows(out, runs[i], r, options.Summary);
    if (progress) progress(i + 1, runs.size());
  }
  for (std::thread& t : workers) t.join();
  if (failure) std::rethrow_exception(failure);
  return complete;
}
