// TRandom: the 32-bit linear congruential generator the simulation draws from.
//
// The formulas are fixed so that a run from a given seed is reproducible
// anywhere: seed := seed * 134775813 + 1 (mod 2^32) before every draw, a real
// draw is seed / 2^32, an integer draw below n is the upper half of seed * n.
#pragma once

#include <cstdint>

namespace travenel {

class TRandom {
 public:
  static constexpr std::uint32_t kMultiplier = 134775813u;

  explicit TRandom(std::uint32_t seed = 0) : seed_(seed) {}

  std::uint32_t Seed() const { return seed_; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

  // Seeds from the low 32 bits of the high-resolution clock.
  void Randomize();

  // Advances the seed and returns it: the 32 bits behind every draw.
  std::uint32_t Next() {
    Advance();
    return seed_;
  }

  // The seed `k` draws from now, found without drawing: seed * m + a with
  // m = multiplier^k and a = multiplier^(k-1) + ... + multiplier + 1.
  struct TLeap {
    std::uint32_t Multiplier = 1, Increment = 0;
  };
  static constexpr TLeap Leap(int k) {
    TLeap l;
    for (int i = 0; i < k; ++i) l = {l.Multiplier * kMultiplier, l.Increment * kMultiplier + 1u};
    return l;
  }
  static constexpr std::uint32_t After(std::uint32_t seed, TLeap l) {
    return seed * l.Multiplier + l.Increment;
  }

  // A real number from 0 up to, not including, 1.
  double Real() { return static_cast<double>(Next()) * (1.0 / 4294967296.0); }

  // A whole number from 0 to n - 1 (n at least 1; 0 and below give 0).
  std::int32_t Below(std::int32_t n) {
    Advance();
    if (n <= 0) return 0;
    return static_cast<std::int32_t>((std::uint64_t{seed_} * static_cast<std::uint32_t>(n)) >> 32);
  }

 private:
  void Advance() { seed_ = seed_ * kMultiplier + 1u; }  // unsigned: wraps modulo 2^32

  std::uint32_t seed_;
};

}  // namespace travenel
