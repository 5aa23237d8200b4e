// The window's tick: one step with drawing, the step label and the repaint
// request, called directly; and the ticks per second the running window
// reaches through its message loop (the timer asks for 1 ms and ticks at its
// floor of 10 ms: about 100).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <ctime>

#include "travenel/app/CellForm.h"
#include "travenel/ui/Timer.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kSeed = 20240101u;

// The first 100 ticks of a seeded setup of 1,000 agents at threshold 74.
void BM_WindowTick_First100(benchmark::State& state) {
  TForm1 form;
  form.World().SetFixedSeed(kSeed);
  for (auto _ : state) {
    form.B_setupClick();
    form.Timer1()->SetEnabled(false);
    const auto start = Clock::now();
    for (int i = 0; i < 100; ++i) form.Timer1Timer();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["per_tick"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 100,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Runs the shown window's message loop until `done` or `limit` passes;
// reports steps per second of wall time and the process's CPU time per step
// (the window's own work: Qt's painting included, the display server not).
template <class Done>
void RunLoop(benchmark::State& state, const char* threshold, std::chrono::milliseconds limit,
             Done done) {
  double steps = 0, seconds = 0, cpu = 0;
  TForm1 form;
  form.show();
  form.Edit_thresh()->setText(QString::fromLatin1(threshold));
  for (auto _ : state) {
    form.B_setupClick();
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (done(form) || Clock::now() - start >= limit) loop.quit();
    });
    poll.start(5);
    loop.exec();
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    cpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.SetIterationTime(s);
    steps += form.StepCount();
    seconds += s;
  }
  state.counters["ticks_per_s"] = steps / seconds;
  state.counters["cpu_us_per_tick"] = steps > 0 ? cpu / steps * 1e6 : 0;
}

// Threshold 100: nobody attaches, every agent jumps at every tick.
void BM_WindowLoop_AllFree_1s(benchmark::State& state) {
  RunLoop(state, "100", std::chrono::milliseconds(1000), [](TForm1&) { return false; });
}

// Threshold 74: a whole run, until it pauses by itself.
void BM_WindowLoop_Threshold74_UntilPause(benchmark::State& state) {
  RunLoop(state, "74", std::chrono::milliseconds(10000),
          [](TForm1& f) { return !f.Timer1()->Enabled(); });
}

}  // namespace

BENCHMARK(BM_WindowTick_First100)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowLoop_AllFree_1s)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLoop_Threshold74_UntilPause)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace travenel
