// TCell: one square of the world grid — where it is drawn, whether an agent is
// marked on it, which agent last entered or held it, and its last census.
#pragma once

#include <cstdint>

#include "travenel/gfx/Color.h"

namespace travenel {

class TCanvas;

class TCell {
 public:
  static constexpr TColor kOutlineColor = clGray;

  TCell() = default;
  TCell(std::int32_t positionX, std::int32_t positionY, std::int32_t size)
      : positionX_(positionX), positionY_(positionY), size_(size) {}

  // Number of the agent that last entered or held the cell.
  std::int32_t AgentIndex = 0;
  // Last census: occupied neighbours of the same State, and of the other one.
  std::int32_t SameCount = 0;
  std::int32_t OtherCount = 0;
  // An agent is marked on the cell.
  bool Occupied = false;
  // Grey level of the fill; only the low byte counts.
  std::int32_t GreyLevel = 0;

  // Centre of the cell in pixels, and half its side.
  std::int32_t PositionX() const { return positionX_; }
  void SetPositionX(std::int32_t v) { positionX_ = v; }
  std::int32_t PositionY() const { return positionY_; }
  void SetPositionY(std::int32_t v) { positionY_ = v; }
  std::int32_t Size() const { return size_; }
  void SetSize(std::int32_t v) { size_ = v; }
  // Colour index of the agent that last entered or held the cell.
  std::int32_t State() const { return state_; }
  void SetState(std::int32_t v) { state_ = v; }

  // Paints the square: a one-pixel grey outline around the grey-level fill.
  // This also erases any agent disc drawn on the cell.
  void Draw(TCanvas& canvas) const;

 private:
  std::int32_t positionX_ = 0;
  std::int32_t positionY_ = 0;
  std::int32_t size_ = 0;
  std::int32_t state_ = 0;
};

}  // namespace travenel
