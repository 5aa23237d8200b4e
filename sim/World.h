// TWorld: the simulation — a grid of cells that wraps at its edges, the agents
// on it, the generator they draw from, and the two passes of a time step.
//
// A world is self-contained: no globals, no shared state, the threshold and the
// agent count come in as numbers. Several worlds can therefore run side by side
// on different threads, each with its own seed. Drawing is optional: with a
// canvas every change is painted incrementally, without one (headless) nothing
// is drawn at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/Random.h"
#include "sim/agenten.h"
#include "sim/cell_P.h"

class TCanvas;

class TWorld {
 public:
  static constexpr std::int32_t kCellPixels = 10;  // side of a cell's square
  static constexpr std::int32_t kCellSize = 5;     // a cell's Size: half its side
  static constexpr std::int32_t kAgentSize = 4;    // radius of an agent's disc
  static constexpr std::int32_t kResetGreyLevel = 125;
  // A free agent jumps by ChangeHeading(kMaxJump): offsets -10 .. 11 each way.
  static constexpr std::int32_t kMaxJump = 10;
  // A jump of up to 11 cells must fold back onto the grid in one go.
  static constexpr std::int32_t kMinSide = kMaxJump + 1;
  static constexpr std::int32_t kMaxSide = 1000;
  static constexpr std::int32_t kMaxAgents = 100000;
  // Failed random tries after which a free agent checks whether any of its
  // candidate cells is free at all.
  static constexpr int kTriesBeforeCheck = 64;

  // A world of columns x rows cells, created and reset (and painted when a
  // canvas is given). Throws std::invalid_argument for a side outside
  // kMinSide .. kMaxSide.
  TWorld(std::int32_t columns, std::int32_t rows, TCanvas* canvas = nullptr);
  // Agents keep a reference to the world's generator, so a world stays put.
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  std::int32_t Columns() const { return columns_; }
  std::int32_t Rows() const { return rows_; }

  // Where cells and agents are painted; null for a headless world. The canvas
  // must outlive the world or be taken away first.
  TCanvas* Canvas() const { return canvas_; }
  void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }

  // PlaceAgents reseeds the generator from the clock, or, once a fixed seed is
  // given, from that seed, so every setup of a seeded world is reproducible.
  std::optional<std::uint32_t> FixedSeed() const { return fixedSeed_; }
  void SetFixedSeed(std::uint32_t seed) { fixedSeed_ = seed; }
  void ClearFixedSeed() { fixedSeed_.reset(); }
  TRandom& Random() { return random_; }

  // --- the grid ---
  // Cells(c, r): column c (0 .. Columns - 1), row r (0 .. Rows - 1).
  TCell& Cells(std::int32_t c, std::int32_t r) { return cells_[Index(c, r)]; }
  const TCell& Cells(std::int32_t c, std::int32_t r) const { return cells_[Index(c, r)]; }
  // Builds every cell at its place, then ResetWorld.
  void CreateCells();
  // Marks every cell free with the reset grey and paints the whole grid.
  // Agent numbers, states and census results of the cells stay as they were.
  void ResetWorld();
  // Folds a column and row that lie at most one grid side off back onto the grid.
  void WrapPosition(std::int32_t& c, std::int32_t& r) const {
    // Written without branches: on the jump path the fold is taken at random.
    c +=
        columns_ * (static_cast<std::int32_t>(c < 0) - static_cast<std::int32_t>(c > columns_ - 1));
    r += rows_ * (static_cast<std::int32_t>(r < 0) - static_cast<std::int32_t>(r > rows_ - 1));
  }
  // Census of the occupied cell (c, r): its SameCount and OtherCount over the
  // eight neighbours, compared by State.
  void CountNeighbours(std::int32_t c, std::int32_t r);

  // --- the agents ---
  // An agent's number is its position in this list; cells name agents by it.
  std::vector<TAgent>& Agents() { return agents_; }
  const std::vector<TAgent>& Agents() const { return agents_; }
  std::int32_t AgentCount() const { return static_cast<std::int32_t>(agents_.size()); }
  // Releases every agent. Cells may still name them until the next ResetWorld.
  void ReleaseAgents() { agents_.clear(); }
  // Appends n agents (none for n <= 0) and places them. Throws
  // std::length_error, changing nothing, when the list would exceed kMaxAgents.
  void CreateAgents(std::int32_t n);
  // Reseeds, then gives every agent a random cell and colour and makes it free.
  // Placing marks no cell.
  void PlaceAgents();

  // --- the step ---
  // The movement pass: attached agents hold and mark their cells, free agents
  // jump to an unmarked cell. Counts AttachedCount and FreeCount. Returns false
  // when no agent was free (the run should pause).
  bool MoveAgents();
  // The attachment pass: the agent named by every occupied cell becomes
  // attached when its share of same-coloured neighbours exceeds `threshold`
  // percent, free otherwise.
  void UpdateAttachment(std::int32_t threshold);
  // One whole step; returns what MoveAgents returned.
  bool Step(std::int32_t threshold) {
    const bool moved = MoveAgents();
    UpdateAttachment(threshold);
    return moved;
  }

  // Counts of the last movement pass (taken before that step's attachment pass).
  std::int32_t AttachedCount() const { return attachedCount_; }
  std::int32_t FreeCount() const { return freeCount_; }

  // The column (or row) whose cell centre is `centre` pixels: (centre - 5) / 10
  // rounded half to even (exact for real centres).
  static std::int32_t CellOf(std::int32_t centre) {
    const std::int64_t d = std::int64_t{centre} - kCellSize;
    std::int64_t q = d / kCellPixels, rem = d % kCellPixels;
    if (rem < 0) {  // floor division
      rem += kCellPixels;
      --q;
    }
    if (rem * 2 > kCellPixels || (rem * 2 == kCellPixels && (q & 1) != 0)) ++q;
    return static_cast<std::int32_t>(q);
  }
  static std::int32_t CentreOf(std::int32_t cell) { return cell * kCellPixels + kCellSize; }

  static std::string TooManyAgentsMessage();

 private:
  std::size_t Index(std::int32_t c, std::int32_t r) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(c);
  }
  // The grid cell an agent sits on; throws std::logic_error if it is off the grid.
  void AgentCell(const TAgent& agent, std::int32_t& c, std::int32_t& r) const {
    c = CellOf(agent.PositionX);
    r = CellOf(agent.PositionY);
    if (c < 0 || c >= columns_ || r < 0 || r >= rows_) ThrowOffGrid(agent);
  }
  [[noreturn]] static void ThrowOffGrid(const TAgent& agent);
  // Draws offsets until the target cell is unmarked. False when none of the
  // candidate cells is unmarked: the agent then stays for this step.
  bool FindFreeCell(TAgent& agent, std::int32_t c, std::int32_t r, std::int32_t& tc,
                    std::int32_t& tr);
  bool AnyCandidateFree(std::int32_t c, std::int32_t r) const;
  // Decisions for every pair (SameCount, OtherCount) at this threshold.
  void SetAttachTable(std::int32_t threshold);
  // Sets the attachment of the agent the occupied cell names from its census.
  void Attach(const TCell& cell) {
    if (cell.AgentIndex < 0 || cell.AgentIndex >= AgentCount()) ThrowBadAgentIndex(cell.AgentIndex);
    agents_[static_cast<std::size_t>(cell.AgentIndex)].Attached =
        attachTable_[cell.SameCount][cell.OtherCount];
  }
  [[noreturn]] static void ThrowBadAgentIndex(std::int32_t index);
  // Fills codes_; false when an occupied cell has a colour other than 0 or 1.
  bool BuildCensusCodes();

  std::int32_t columns_;
  std::int32_t rows_;
  TCanvas* canvas_;
  TRandom random_;
  std::optional<std::uint32_t> fixedSeed_;
  std::vector<TCell> cells_;  // row after row
  // The census works on a copy of the grid, one byte per cell (0 free, 1 + the
  // colour), with a border that repeats the opposite edges.
  std::vector<std::uint8_t> codes_;
  // The occupied cells in grid order: index into cells_ and into codes_.
  struct TOccupied {
    std::int32_t Cell;
    std::int32_t Code;
  };
  std::vector<TOccupied> occupiedCells_;
  bool attachTable_[9][9] = {};
  std::int32_t attachThreshold_ = 0;
  bool attachTableValid_ = false;
  std::vector<TAgent> agents_;
  std::int32_t attachedCount_ = 0;
  std::int32_t freeCount_ = 0;
};
