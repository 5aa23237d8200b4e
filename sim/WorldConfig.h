// TWorldConfig: the shape of a headless world — its size, how far a free
// agent jumps, and optionally the share of each colour. The defaults are the
// window's world: 40 x 40 cells, jumps of -10 .. 11, colours by a coin toss.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace travenel {

struct TWorldConfig {
  // A side of 11 lets the default jump (up to 11 cells) fold back in one go.
  static constexpr std::int32_t kMinSide = 11;
  static constexpr std::int32_t kMaxSide = 65536;
  static constexpr std::int64_t kMaxCells = std::int64_t{1} << 28;
  static constexpr std::int64_t kMaxAgents = std::int64_t{1} << 27;

  std::int32_t Columns = 40;
  std::int32_t Rows = 40;
  // A free agent's offsets are RandomOffset(-Jump, Jump) each: -Jump .. Jump + 1.
  std::int32_t Jump = 10;
  // Percent of agents of colour 1. Without it the colour is an integer draw
  // below 2; with it one real draw u gives colour 1 when u x 100 < Share.
  // Either way one draw per agent, so the rest of the run draws the same.
  std::optional<double> Share;

  std::int64_t Cells() const { return std::int64_t{Columns} * Rows; }
  // Above the number of cells agents share cells, up to twice as many.
  std::int64_t MaxAgents() const { return Cells() * 2 < kMaxAgents ? Cells() * 2 : kMaxAgents; }
  // Why a world of this shape cannot be built, or cannot hold `agents`
  // agents; empty when it can.
  std::string Problem(std::int64_t agents = 0) const;
};

}  // namespace travenel
