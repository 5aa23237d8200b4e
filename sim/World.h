// TWorld: the simulation — a grid of cells that wraps at its edges, the agents
// on it, the generator they draw from, and the two passes of a time step.
//
// A world is self-contained: no globals, no shared state, the threshold and the
// agent count come in as numbers. Several worlds can therefore run side by side
// on different threads, each with its own seed. Drawing is optional: with a
// canvas every change is painted incrementally, without one (headless) nothing
// is drawn at all.
//
// The passes work on a compact copy of what they read and write: a byte per
// cell for its mark and colour, eight bytes per agent for its cell, colour,
// state and last offsets (for the window's world, about 20 KB: the
// first-level cache holds it). The TCell and TAgent objects that Cells and
// Agents hand out are brought up to date from that copy when they are asked
// for, even through a const world (so one world is never read from two
// threads at once), and what a caller writes into them is taken over at the
// next pass. A reference to a cell or an agent (or to the agent list) is
// therefore good until the next pass; ask for it anew after one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "travenel/sim/Random.h"
#include "travenel/sim/agenten.h"
#include "travenel/sim/cell_P.h"

namespace travenel {

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
  // Paints the whole world on the canvas again, every cell and then every
  // agent over it: the picture that painting each change has left (for a
  // canvas that had to start anew, such as at another device scale).
  void Redraw();

  // PlaceAgents reseeds the generator from the clock, or, once a fixed seed is
  // given, from that seed, so every setup of a seeded world is reproducible.
  std::optional<std::uint32_t> FixedSeed() const { return fixedSeed_; }
  void SetFixedSeed(std::uint32_t seed) { fixedSeed_ = seed; }
  void ClearFixedSeed() { fixedSeed_.reset(); }
  // The seed the last placing started from: the fixed one, or the clock's,
  // so that any setup can be run again from it.
  std::uint32_t SetupSeed() const { return setupSeed_; }
  TRandom& Random() { return random_; }

  // --- the grid ---
  // Cells(c, r): column c (0 .. Columns - 1), row r (0 .. Rows - 1).
  TCell& Cells(std::int32_t c, std::int32_t r) { return CellsToWrite()[Index(c, r)]; }
  const TCell& Cells(std::int32_t c, std::int32_t r) const { return CellsToRead()[Index(c, r)]; }
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
  std::vector<TAgent>& Agents() { return AgentsToWrite(); }
  const std::vector<TAgent>& Agents() const { return AgentsToRead(); }
  std::int32_t AgentCount() const { return static_cast<std::int32_t>(agents_.size()); }
  // Releases every agent. Cells may still name them until the next ResetWorld.
  void ReleaseAgents();
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
  // --- the compact state of the passes ---
  // A cell's byte: kMarked while an agent is marked on it (Occupied), kWhite
  // when the agent that last entered or held it has colour 1 (State).
  static constexpr std::uint8_t kMarked = 1, kWhite = 2;
  // An agent as the passes see it.
  struct TPlace {
    std::int16_t Column = 0, Row = 0;  // its cell
    std::uint8_t Mark = kMarked;       // the byte it gives a cell it marks
    bool Attached = false;
    std::int8_t StepX = 0, StepY = 0;
  };
  static_assert(kMaxSide <= INT16_MAX && kMaxJump + 1 <= INT8_MAX);
  // Which side holds the current values of the cells, or of the agents.
  enum class TNewest : std::uint8_t { Both, Compact, Objects };

  std::size_t Index(std::int32_t c, std::int32_t r) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(c);
  }
  // Where cell (c, r) is in the compact grid, which has a border of one cell.
  std::size_t Spot(std::int32_t c, std::int32_t r) const {
    return static_cast<std::size_t>(r + 1) * stride_ + static_cast<std::size_t>(c + 1);
  }

  // The objects, up to date; for writing, they are marked as the newer side.
  std::vector<TCell>& CellsToWrite() {
    CellsToRead();
    cellsNewest_ = TNewest::Objects;
    return cells_;
  }
  const std::vector<TCell>& CellsToRead() const {
    if (cellsNewest_ == TNewest::Compact) StoreCells();
    return cells_;
  }
  std::vector<TAgent>& AgentsToWrite() {
    AgentsToRead();
    agentsNewest_ = TNewest::Objects;
    return agents_;
  }
  const std::vector<TAgent>& AgentsToRead() const {
    if (agentsNewest_ == TNewest::Compact) StoreAgents();
    return agents_;
  }
  // Copies between the objects and the compact state. A load is false when
  // the objects hold what the compact state cannot (a colour other than 0
  // and 1, an agent off its cell's centre or off the grid, ...).
  void StoreCells() const;
  void StoreAgents() const;
  bool LoadCells();
  bool LoadAgents();
  // Brings the compact state up to date for a pass. False when it cannot hold
  // the objects; the pass then works on the objects, the general way.
  bool CompactReady();

  // The passes on the compact state.
  void MoveCompact();
  void DrawPlaced(std::int32_t i);
  bool FindFreeSpot(TPlace& place, std::int32_t& c, std::int32_t& r);
  bool AnyCandidateUnmarked(std::int32_t c, std::int32_t r) const;
  void AttachCompact();
  void WrapBorder();
  void CountCompact();
  void KeepCensus(std::size_t end);
  // The passes on the objects.
  void MoveObjects();
  bool FindFreeCell(TAgent& agent, std::int32_t c, std::int32_t r, std::int32_t& tc,
                    std::int32_t& tr);
  bool AnyCandidateFree(std::int32_t c, std::int32_t r) const;
  void AttachObjects();
  void CensusOfObject(std::int32_t c, std::int32_t r);

  // The grid cell an agent sits on; throws std::logic_error if it is off the grid.
  void AgentCell(const TAgent& agent, std::int32_t& c, std::int32_t& r) const {
    c = CellOf(agent.PositionX);
    r = CellOf(agent.PositionY);
    if (c < 0 || c >= columns_ || r < 0 || r >= rows_) ThrowOffGrid(agent);
  }
  [[noreturn]] static void ThrowOffGrid(const TAgent& agent);
  [[noreturn]] static void ThrowBadAgentIndex(std::int32_t index);
  // Decisions for every census (SameCount | OtherCount << 4) at this threshold.
  void SetAttachTable(std::int32_t threshold);
  static std::uint8_t CensusByte(std::int32_t same, std::int32_t other) {
    return static_cast<std::uint8_t>(same | other << 4);
  }

  std::int32_t columns_;
  std::int32_t rows_;
  std::size_t stride_;  // columns_ + 2: a row of the compact grid
  TCanvas* canvas_;
  TRandom random_;
  std::optional<std::uint32_t> fixedSeed_;
  std::uint32_t setupSeed_ = 0;
  // The objects. Reading them may bring them up to date, even in a const world.
  mutable std::vector<TCell> cells_;  // row after row
  mutable std::vector<TAgent> agents_;
  mutable TNewest cellsNewest_ = TNewest::Objects;
  mutable TNewest agentsNewest_ = TNewest::Both;
  // The compact grid, row after row, with a border of one cell that repeats
  // the opposite edges (filled for the census): each cell's byte, the agent
  // it names, its last census (CensusByte), and the census being counted.
  std::vector<std::uint8_t> marks_;
  std::vector<std::int32_t> named_;
  std::vector<std::uint8_t> census_;
  std::vector<std::uint8_t> counted_;
  std::vector<std::uint32_t> markedSpots_;  // the marked cells, for the decisions
  std::vector<TPlace> places_;              // one per agent
  // The spots of the cells a jump may reach, folded onto the grid: by column
  // and by row from -kMaxJump to the side + kMaxJump; a spot is the sum.
  std::vector<std::int32_t> columnSpots_, rowSpots_;
  std::array<bool, 256> attachTable_ = {};
  std::int32_t attachThreshold_ = 0;
  bool attachTableValid_ = false;
  std::int32_t attachedCount_ = 0;
  std::int32_t freeCount_ = 0;
};

}  // namespace travenel
