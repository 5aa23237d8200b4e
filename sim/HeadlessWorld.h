// THeadlessWorld: the step rule on a world of any size, without a window.
//
// It steps exactly as TWorld does (same draws in the same order, same marks,
// same decisions; a 40 x 40 headless world from a seed runs as the window's
// world from that seed), but it keeps only the compact state and no TCell or
// TAgent objects: a byte and a bit a cell (and, in a crowded world, two bits
// more) and nine bytes an agent. That is what lets a world of millions of
// cells fit in memory and in the caches.
//
// A cell's byte holds its mark (kMarked), the colour of the agent that last
// entered or held it (kWhite) and, in its top five bits, how many agents sit
// on it. The rule's cells also name the agent that last marked them; a world
// this size cannot spend four bytes a cell on that, and needs not: a marked
// cell always names an agent that sits on it (an agent leaving a cell clears
// its mark), so on a cell with one agent that agent is the one named. Where
// several sit (placing lets them share a cell, and so does a cell whose mark
// another agent's leaving has cleared), the one that marked the cell last is
// named: each agent keeps the step of its last marking, and within a step
// agents mark in list order.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "travenel/sim/Random.h"
#include "travenel/sim/WorldConfig.h"

namespace travenel {

class THeadlessWorld {
 public:
  static constexpr std::uint8_t kMarked = 1, kWhite = 2;
  // The cell's code in a byte: 0 free, kMarked (colour 0) or kMarked | kWhite.
  static std::uint8_t CodeOf(std::uint8_t byte) {
    return static_cast<std::uint8_t>(byte & (kMarked | kWhite) & -(byte & kMarked));
  }
  // Failed random tries after which a free agent checks whether any of its
  // candidate cells is free at all (as TWorld does).
  static constexpr int kTriesBeforeCheck = 64;

  // An empty world of this shape. Throws std::invalid_argument with the
  // config's Problem when it has one.
  explicit THeadlessWorld(const TWorldConfig& config);

  const TWorldConfig& Config() const { return config_; }
  std::int32_t Columns() const { return config_.Columns; }
  std::int32_t Rows() const { return config_.Rows; }

  // A new setup: every cell free, then `agents` agents placed from `seed`
  // (column, row and colour drawn for each in list order; placing marks no
  // cell). Throws std::invalid_argument for a count the world cannot hold.
  void Setup(std::int64_t agents, std::uint32_t seed);

  // The movement pass: attached agents hold and mark their cells, free agents
  // jump to an unmarked cell. Returns false when no agent was free.
  bool MoveAgents();
  // The attachment pass: every agent named by a marked cell attaches when its
  // share of same-coloured neighbours exceeds `threshold` percent.
  void UpdateAttachment(std::int32_t threshold);
  bool Step(std::int32_t threshold) {
    const bool moved = MoveAgents();
    UpdateAttachment(threshold);
    return moved;
  }

  std::int64_t AgentCount() const { return static_cast<std::int64_t>(places_.size()); }
  // Counts of the last movement pass.
  std::int64_t AttachedCount() const { return attachedCount_; }
  std::int64_t FreeCount() const { return freeCount_; }
  const TRandom& Random() const { return random_; }

  // --- reading the state (for measures and checks) ---
  // The bytes of row r, columns 0 .. Columns - 1 in a row (only the low two
  // bits of a byte are its mark and colour: see CodeOf).
  const std::uint8_t* RowBytes(std::int32_t r) const {
    return marks_.data() + static_cast<std::size_t>(r + 1) * stride_ + 1;
  }
  bool Occupied(std::int32_t c, std::int32_t r) const { return (RowBytes(r)[c] & kMarked) != 0; }
  std::int32_t State(std::int32_t c, std::int32_t r) const {
    return (RowBytes(r)[c] & kWhite) != 0 ? 1 : 0;
  }
  // How many agents sit on the cell.
  std::int64_t AgentsOn(std::int32_t c, std::int32_t r) const;
  std::int32_t AgentColumn(std::int64_t i) const { return Place(i).Column; }
  std::int32_t AgentRow(std::int64_t i) const { return Place(i).Row; }
  std::int32_t AgentColour(std::int64_t i) const { return (Flags(i) & kWhite) != 0 ? 1 : 0; }
  bool AgentAttached(std::int64_t i) const { return (Flags(i) & kAttachedFlag) != 0; }

 private:
  static constexpr std::uint8_t kAttachedFlag = 4;  // in an agent's flags
  // Above the mark and colour bits (and one spare), the number of agents on the cell; at kCrowd the
  // true number is in crowds_.
  static constexpr std::uint8_t kOneAgent = 8;
  static constexpr std::uint8_t kCrowd = 31;
  // At one agent to this many cells and more, the census is taken of every cell.
  static constexpr std::size_t kSweepAgents = 8;

  struct TPlace {
    std::uint16_t Column = 0, Row = 0;
  };
  // An agent on a shared marked cell, for finding which one the cell names.
  struct TClaim {
    std::uint32_t Spot, Stamp, Agent;
  };

  const TPlace& Place(std::int64_t i) const { return places_[static_cast<std::size_t>(i)]; }
  std::uint8_t Flags(std::int64_t i) const { return flags_[static_cast<std::size_t>(i)]; }
  std::size_t Spot(std::int32_t c, std::int32_t r) const {
    return static_cast<std::size_t>(r + 1) * stride_ + static_cast<std::size_t>(c + 1);
  }
  // One more, or one fewer, agent on the cell at `spot`.
  void Arrive(std::size_t spot) {
    if (marks_[spot] < (kCrowd - 1) * kOneAgent)
      marks_[spot] = static_cast<std::uint8_t>(marks_[spot] + kOneAgent);
    else
      ArriveInCrowd(spot);
  }
  void Leave(std::size_t spot) {
    if (marks_[spot] < kCrowd * kOneAgent)
      marks_[spot] = static_cast<std::uint8_t>(marks_[spot] - kOneAgent);
    else
      LeaveCrowd(spot);
  }
  void ArriveInCrowd(std::size_t spot);
  void LeaveCrowd(std::size_t spot);

  bool AnyCandidateUnmarked(std::int32_t c, std::int32_t r, std::int64_t marked) const;
  void WrapBorder();
  // Takes the census of every cell, giving each its verdict.
  void DecideEveryCell();
  // The decision for the cell at `spot` from its census.
  bool DecisionAt(std::size_t spot) const;
  void SetAttachTable(std::int32_t threshold);

  TWorldConfig config_;
  std::size_t stride_;  // Columns + 2: the grid has a border one cell wide
  std::size_t cells_;
  TRandom random_;
  // Row after row with the border, which repeats the opposite edges while
  // the attachment pass counts.
  std::vector<std::uint8_t> marks_;
  // The marks alone, a bit a cell: the tries of the movement pass read only
  // these, and at an eighth of the grid's size they stay in the caches.
  std::vector<std::uint64_t> markedBits_;
  std::unordered_map<std::size_t, std::uint32_t> crowds_;  // cells of kCrowd agents and more
  std::vector<TPlace> places_;
  std::vector<std::uint8_t> flags_;    // kWhite, kAttachedFlag
  std::vector<std::uint32_t> stamps_;  // the step of the agent's last marking
  std::vector<TClaim> claims_;
  // Where the bits of the cells a jump may reach are, folded onto the grid,
  // by column and by row from -Jump to the side + Jump + 1: the sum is word
  // x 64 + bit.
  std::vector<std::uint32_t> columnBits_, rowBits_;
  std::array<bool, 256> attachTable_ = {};
  std::array<std::uint8_t, 9> leastSame_ = {};
  std::vector<std::uint8_t> rowScratch_;
  // What the attachment pass makes of an agent on each cell, two bits a
  // cell, row after row (each row in whole words): no mark (kept), a shared mark (settled among the
  // agents there), or alone on a mark and detached or attached.
  static constexpr std::uint64_t kShared = 1, kAlone = 2;
  static constexpr std::size_t kVerdictsPerWord = 32;
  std::vector<std::uint64_t> verdicts_;  // only for worlds crowded enough to sweep
  std::size_t VerdictWords() const {
    return (static_cast<std::size_t>(config_.Columns) + kVerdictsPerWord - 1) / kVerdictsPerWord;
  }
  std::int32_t attachThreshold_ = 0;
  bool attachTableValid_ = false;
  std::uint32_t step_ = 0;
  std::int64_t markedCells_ = 0;
  std::int64_t attachedCount_ = 0;
  std::int64_t freeCount_ = 0;
};

}  // namespace travenel
