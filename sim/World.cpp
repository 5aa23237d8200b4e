// The world's objects and operations, and the two passes the general way:
// on the TCell and TAgent objects, as the rule states them. The passes take
// this way only when the compact state cannot hold the objects (see
// WorldCompact.cpp); the result is the same either way.
#include "travenel/sim/World.h"

#include <stdexcept>

#include "travenel/gfx/Canvas.h"

namespace travenel {

TWorld::TWorld(std::int32_t columns, std::int32_t rows, TCanvas* canvas)
    : columns_(columns), rows_(rows), canvas_(canvas) {
  if (columns < kMinSide || columns > kMaxSide || rows < kMinSide || rows > kMaxSide)
    throw std::invalid_argument("Weltgröße " + std::to_string(columns) + " x " +
                                std::to_string(rows) + " außerhalb von " +
                                std::to_string(kMinSide) + " bis " + std::to_string(kMaxSide));
  stride_ = static_cast<std::size_t>(columns_) + 2;
  const std::size_t spots = stride_ * (static_cast<std::size_t>(rows_) + 2);
  marks_.assign(spots, 0);
  named_.assign(spots, 0);
  census_.assign(spots, 0);
  counted_.assign(spots, 0);
  markedSpots_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
  for (std::int32_t k = -kMaxJump; k <= columns_ + kMaxJump; ++k) {
    std::int32_t c = k, r = 0;
    WrapPosition(c, r);
    columnSpots_.push_back(c + 1);
  }
  for (std::int32_t k = -kMaxJump; k <= rows_ + kMaxJump; ++k) {
    std::int32_t c = 0, r = k;
    WrapPosition(c, r);
    rowSpots_.push_back((r + 1) * static_cast<std::int32_t>(stride_));
  }
  CreateCells();
}

std::string TWorld::TooManyAgentsMessage() {
  return "Anzahl Agenten zu groß: höchstens " + std::to_string(kMaxAgents);
}

void TWorld::CreateCells() {
  cells_.clear();
  cells_.reserve(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_));
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c)
      cells_.emplace_back(CentreOf(c), CentreOf(r), kCellSize);
  cellsNewest_ = TNewest::Objects;
  ResetWorld();
}

void TWorld::ResetWorld() {
  std::vector<TCell>& cells = CellsToWrite();
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c) {
      TCell& cell = cells[Index(c, r)];
      cell.Occupied = false;
      cell.GreyLevel = kResetGreyLevel;
      if (canvas_) cell.Draw(*canvas_);
    }
}

void TWorld::Redraw() {
  if (!canvas_) return;
  for (const TCell& cell : CellsToRead()) cell.Draw(*canvas_);
  for (TAgent& a : AgentsToWrite()) a.Draw(*canvas_);
}

void TWorld::CountNeighbours(std::int32_t c, std::int32_t r) {
  CellsToWrite();
  CensusOfObject(c, r);
}

void TWorld::CensusOfObject(std::int32_t c, std::int32_t r) {
  TCell& cell = cells_[Index(c, r)];
  cell.SameCount = 0;
  cell.OtherCount = 0;
  for (std::int32_t dy = -1; dy <= 1; ++dy)
    for (std::int32_t dx = -1; dx <= 1; ++dx) {
      std::int32_t nc = c + dx, nr = r + dy;
      WrapPosition(nc, nr);
      const TCell& n = cells_[Index(nc, nr)];
      if (!n.Occupied) continue;
      if (n.State() == cell.State())
        ++cell.SameCount;
      else
        ++cell.OtherCount;
    }
  // The cell itself was counted among its own kind above.
  --cell.SameCount;
}

void TWorld::ReleaseAgents() {
  agents_.clear();
  places_.clear();
  agentsNewest_ = TNewest::Both;
}

void TWorld::CreateAgents(std::int32_t n) {
  if (n > 0 && agents_.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxAgents))
    throw std::length_error(TooManyAgentsMessage());
  std::vector<TAgent>& agents = AgentsToWrite();
  if (n > 0) agents.resize(agents.size() + static_cast<std::size_t>(n), TAgent(random_));
  PlaceAgents();
}

void TWorld::PlaceAgents() {
  if (fixedSeed_)
    random_.SetSeed(*fixedSeed_);
  else
    random_.Randomize();
  setupSeed_ = random_.Seed();
  for (TAgent& a : AgentsToWrite()) {
    // Three draws per agent, in this order: column, row, colour.
    a.PositionX = CentreOf(random_.Below(columns_));
    a.PositionY = CentreOf(random_.Below(rows_));
    a.Size = kAgentSize;
    a.ColorIndex = random_.Below(2);
    a.Attached = false;
    if (canvas_) a.Draw(*canvas_);
  }
}

void TWorld::ThrowOffGrid(const TAgent& agent) {
  throw std::logic_error("Agent außerhalb der Welt bei (" + std::to_string(agent.PositionX) + ", " +
                         std::to_string(agent.PositionY) + ")");
}

void TWorld::ThrowBadAgentIndex(std::int32_t index) {
  // A cell names an agent that is gone (agents released without a reset).
  throw std::out_of_range("Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
}

void TWorld::SetAttachTable(std::int32_t threshold) {
  if (attachTableValid_ && attachThreshold_ == threshold) return;
  // s / (s + o) * 100 as a double, exactly as the rule states it, so the
  // looked-up decision is the one a per-cell computation would make.
  const double t = threshold;
  for (int s = 0; s < 16; ++s)
    for (int o = 0; o < 16; ++o) {
      const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
      attachTable_[CensusByte(s, o)] = share > t;
    }
  attachThreshold_ = threshold;
  attachTableValid_ = true;
}

bool TWorld::MoveAgents() {
  if (CompactReady()) {
    MoveCompact();
  } else {
    MoveObjects();
  }
  return freeCount_ > 0;
}

void TWorld::UpdateAttachment(std::int32_t threshold) {
  SetAttachTable(threshold);
  if (CompactReady())
    AttachCompact();
  else
    AttachObjects();
}

bool TWorld::AnyCandidateFree(std::int32_t c, std::int32_t r) const {
  for (std::int32_t dy = -kMaxJump; dy <= kMaxJump + 1; ++dy)
    for (std::int32_t dx = -kMaxJump; dx <= kMaxJump + 1; ++dx) {
      std::int32_t nc = c + dx, nr = r + dy;
      WrapPosition(nc, nr);
      if (!cells_[Index(nc, nr)].Occupied) return true;
    }
  return false;
}

bool TWorld::FindFreeCell(TAgent& agent, std::int32_t c, std::int32_t r, std::int32_t& tc,
                          std::int32_t& tr) {
  // Random tries as long as a candidate is free: while one is, the outcome is
  // that of unbounded retrying. The single check after a run of failures only
  // stops an agent that is boxed in on every side.
  for (int tries = 0;; ++tries) {
    if (tries == kTriesBeforeCheck && !AnyCandidateFree(c, r)) return false;
    // ChangeHeading(kMaxJump), drawn from the world's generator.
    agent.StepX = TAgent::OffsetFrom(random_, -kMaxJump, kMaxJump);
    agent.StepY = TAgent::OffsetFrom(random_, -kMaxJump, kMaxJump);
    tc = c + agent.StepX;
    tr = r + agent.StepY;
    WrapPosition(tc, tr);
    if (!cells_[Index(tc, tr)].Occupied) return true;
  }
}

void TWorld::MoveObjects() {
  attachedCount_ = 0;
  freeCount_ = 0;
  const std::int32_t n = AgentCount();
  for (std::int32_t i = 0; i < n; ++i) {
    TAgent& agent = agents_[static_cast<std::size_t>(i)];
    std::int32_t c, r;
    AgentCell(agent, c, r);
    TCell& here = cells_[Index(c, r)];
    if (agent.Attached) {
      here.AgentIndex = i;
      here.SetState(agent.ColorIndex);
      here.Occupied = true;
      ++attachedCount_;
    } else {
      ++freeCount_;
      std::int32_t tc, tr;
      if (FindFreeCell(agent, c, r, tc, tr)) {
        // Clearing the mark also clears it for another agent that shares the cell.
        here.Occupied = false;
        if (canvas_) here.Draw(*canvas_);
        agent.PositionX = CentreOf(tc);
        agent.PositionY = CentreOf(tr);
        TCell& there = cells_[Index(tc, tr)];
        there.Occupied = true;
        there.SetState(agent.ColorIndex);
        there.AgentIndex = i;
      }
    }
    if (canvas_) agent.Draw(*canvas_);
  }
}

void TWorld::AttachObjects() {
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c) {
      const TCell& cell = cells_[Index(c, r)];
      if (!cell.Occupied) continue;
      CensusOfObject(c, r);
      if (cell.AgentIndex < 0 || cell.AgentIndex >= AgentCount())
        ThrowBadAgentIndex(cell.AgentIndex);
      agents_[static_cast<std::size_t>(cell.AgentIndex)].Attached =
          attachTable_[CensusByte(cell.SameCount, cell.OtherCount)];
    }
}

}  // namespace travenel
