// TAgent: one agent of the world — its colour, whether it is attached, the
// centre of the cell it sits on, and the jump offsets it drew last.
#pragma once

#include <cstdint>

#include "travenel/sim/Random.h"

namespace travenel {

class TCanvas;

class TAgent {
 public:
  // The agent draws its offsets from `random`, which must outlive it.
  explicit TAgent(TRandom& random) : random_(&random) {}

  // The colour: 0 (drawn black) or 1 (drawn white).
  std::int32_t ColorIndex = 0;
  // ColorIndex * 255, the grey level of the disc; set by Draw.
  std::int32_t ColorValue = 0;
  bool Attached = false;
  // Centre of the agent's cell in pixels (column * 10 + 5, row * 10 + 5).
  std::int32_t PositionX = 0;
  std::int32_t PositionY = 0;
  // Radius of the disc.
  std::int32_t Size = 0;
  // Offsets drawn by the last ChangeHeading.
  std::int32_t StepX = 0;
  std::int32_t StepY = 0;

  // Spans and lower bounds up to this size take the exact integer route.
  static constexpr std::int64_t kExactSpan = 65536;

  // A whole number from a real draw u: u * (high - low + 1) + low rounded
  // half to even. For (-10, 10) that is one of the 22 values -10 .. 11.
  std::int32_t RandomOffset(std::int32_t low, std::int32_t high) {
    return OffsetFrom(*random_, low, high);
  }
  // RandomOffset drawn from a given generator.
  static std::int32_t OffsetFrom(TRandom& random, std::int32_t low, std::int32_t high) {
    if (!IsExact(low, high)) return OffsetFromReal(random, low, high);
    return OffsetOfDraw(random.Next(), low, high);
  }
  // Bounds whose offsets the integer route gives.
  static constexpr bool IsExact(std::int32_t low, std::int32_t high) {
    const std::int64_t span = std::int64_t{high} - low + 1;
    return span >= 1 && span <= kExactSpan && low >= -kExactSpan && low <= kExactSpan;
  }
  // The offset of the draw whose seed is `draw`, for bounds that IsExact.
  static std::int32_t OffsetOfDraw(std::uint32_t draw, std::int32_t low, std::int32_t high) {
    // The formula in integers. With u = seed / 2^32 and a small span,
    // u * span + low is exact in a double: its whole part is low + the upper
    // half of seed * span, its fraction the lower half over 2^32. Rounding
    // that half to even needs no floating point, which counts on the movement
    // pass, where this runs a few thousand times per step.
    const std::int64_t span = std::int64_t{high} - low + 1;
    const std::uint64_t p = std::uint64_t{draw} * static_cast<std::uint64_t>(span);
    const std::int32_t whole = low + static_cast<std::int32_t>(p >> 32);
    const std::uint64_t fraction = p & 0xFFFFFFFFu;
    // Up when the fraction is above one half, or exactly one half and the whole
    // part odd; one comparison, so no branch on this coin toss.
    return whole + static_cast<std::int32_t>(fraction + static_cast<std::uint64_t>(whole & 1) >
                                             0x80000000u);
  }
  void ChangeStepX(std::int32_t m) { StepX = RandomOffset(-m, m); }
  void ChangeStepY(std::int32_t m) { StepY = RandomOffset(-m, m); }
  // ChangeStepX, then ChangeStepY: the column offset takes the first draw.
  // (Both draws are made before either field is written, so the generator
  // can stay in a register between them; the outcome is the same.)
  void ChangeHeading(std::int32_t m) {
    const std::int32_t x = RandomOffset(-m, m);
    const std::int32_t y = RandomOffset(-m, m);
    StepX = x;
    StepY = y;
  }

  // A disc of 2 * Size pixels across, black or white, outline and fill alike.
  void Draw(TCanvas& canvas);

 private:
  // The formula in floating point, for spans the integer route does not cover.
  static std::int32_t OffsetFromReal(TRandom& random, std::int32_t low, std::int32_t high);

  TRandom* random_;
};

}  // namespace travenel
