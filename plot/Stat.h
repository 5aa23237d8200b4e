// Stat: count, sum, least and greatest of a stream of values — what a mean
// with its spread needs, in constant memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace travenel {

struct TStat {
  std::uint64_t N = 0;
  double Sum = 0;
  double Min = std::numeric_limits<double>::infinity();
  double Max = -std::numeric_limits<double>::infinity();

  void Add(double v) {
    ++N;
    Sum += v;
    Min = std::min(Min, v);
    Max = std::max(Max, v);
  }
  // Every value of another stat as well.
  void Merge(const TStat& o) {
    N += o.N;
    Sum += o.Sum;
    Min = std::min(Min, o.Min);
    Max = std::max(Max, o.Max);
  }
  // What the same values `times` times over would give.
  void MergeRepeated(const TStat& o, std::uint64_t times) {
    if (times == 0 || o.N == 0) return;
    N += o.N * times;
    Sum += o.Sum * static_cast<double>(times);
    Min = std::min(Min, o.Min);
    Max = std::max(Max, o.Max);
  }
  double Mean() const { return N ? Sum / static_cast<double>(N) : 0.0; }
};

}  // namespace travenel
