// One complete tick pass with labels, as every repaint of an axis runs it:
// a linear axis 0..100, a logarithmic one 1..1e6 and a date/time one over a week.
#include <benchmark/benchmark.h>

#include "travenel/chart/Scale.h"

namespace travenel {

namespace {

void RunPass(benchmark::State& state, TScale& s) {
  std::size_t ticks = 0;
  for (auto _ : state) {
    TTickList l = s.ComputeTicks();
    ticks = l.Ticks.size();
    benchmark::DoNotOptimize(l);
  }
  state.counters["ticks"] = static_cast<double>(ticks);
}

void BM_LinearTicks(benchmark::State& state) {
  TScale s;  // 0 .. 100, MinTicks 3: 6 labelled long ticks, 21 short ticks
  RunPass(state, s);
}
BENCHMARK(BM_LinearTicks);

void BM_LogTicks(benchmark::State& state) {
  TScale s;
  s.SetRangeLow(1);
  s.SetRangeHigh(1e6);
  s.SetMinTicks(state.range(0));
  s.SetLogarithmic(true);
  RunPass(state, s);
}
// MinTicks 3: decades only; 10: dense, with 2 and 5 labelled and the rest short.
BENCHMARK(BM_LogTicks)->Arg(3)->Arg(10);

void BM_DateTimeTicks(benchmark::State& state) {
  TScale s;
  s.SetLabelType(ftDateTime);
  s.SetRangeLow(45000);
  s.SetRangeHigh(45007);
  s.SetMinTicks(state.range(0));
  RunPass(state, s);
}
// MinTicks 3: days level; 10: hours level with dates beside the time labels.
BENCHMARK(BM_DateTimeTicks)->Arg(3)->Arg(10);

void BM_TimeTicks(benchmark::State& state) {
  TScale s;
  s.SetLabelType(ftTime);
  s.SetRangeHigh(3600);
  RunPass(state, s);
}
BENCHMARK(BM_TimeTicks);

}  // namespace

}  // namespace travenel
