#include "sim/World.h"

#include <algorithm>
#include <stdexcept>

#include "gfx/Canvas.h"

TWorld::TWorld(std::int32_t columns, std::int32_t rows, TCanvas* canvas)
    : columns_(columns), rows_(rows), canvas_(canvas) {
  if (columns < kMinSide || columns > kMaxSide || rows < kMinSide || rows > kMaxSide)
    throw std::invalid_argument("Weltgröße " + std::to_string(columns) + " x " +
                                std::to_string(rows) + " außerhalb von " +
                                std::to_string(kMinSide) + " bis " + std::to_string(kMaxSide));
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
  ResetWorld();
}

void TWorld::ResetWorld() {
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c) {
      TCell& cell = Cells(c, r);
      cell.Occupied = false;
      cell.GreyLevel = kResetGreyLevel;
      if (canvas_) cell.Draw(*canvas_);
    }
}

void TWorld::CountNeighbours(std::int32_t c, std::int32_t r) {
  TCell& cell = Cells(c, r);
  cell.SameCount = 0;
  cell.OtherCount = 0;
  for (std::int32_t dy = -1; dy <= 1; ++dy)
    for (std::int32_t dx = -1; dx <= 1; ++dx) {
      std::int32_t nc = c + dx, nr = r + dy;
      WrapPosition(nc, nr);
      const TCell& n = Cells(nc, nr);
      if (!n.Occupied) continue;
      if (n.State() == cell.State())
        ++cell.SameCount;
      else
        ++cell.OtherCount;
    }
  // The cell itself was counted among its own kind above.
  --cell.SameCount;
}

void TWorld::CreateAgents(std::int32_t n) {
  if (n > 0 && agents_.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxAgents))
    throw std::length_error(TooManyAgentsMessage());
  if (n > 0) agents_.resize(agents_.size() + static_cast<std::size_t>(n), TAgent(random_));
  PlaceAgents();
}

void TWorld::PlaceAgents() {
  if (fixedSeed_)
    random_.SetSeed(*fixedSeed_);
  else
    random_.Randomize();
  for (TAgent& a : agents_) {
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

bool TWorld::AnyCandidateFree(std::int32_t c, std::int32_t r) const {
  for (std::int32_t dy = -kMaxJump; dy <= kMaxJump + 1; ++dy)
    for (std::int32_t dx = -kMaxJump; dx <= kMaxJump + 1; ++dx) {
      std::int32_t nc = c + dx, nr = r + dy;
      WrapPosition(nc, nr);
      if (!Cells(nc, nr).Occupied) return true;
    }
  return false;
}

bool TWorld::FindFreeCell(TAgent& agent, std::int32_t c, std::int32_t r, std::int32_t& tc,
                          std::int32_t& tr) {
  // Each try is ChangeHeading(kMaxJump): a column offset, then a row offset.
  // The generator is copied into a local for the loop and written back after,
  // so its seed stays in a register instead of being stored and reloaded
  // around every write to the agent; the draws are the same.
  TRandom random = random_;
  std::int32_t dx = 0, dy = 0, nc = 0, nr = 0;
  bool found = true;
  // Random tries as long as a candidate is free: while one is, the outcome is
  // that of unbounded retrying. The single check after a run of failures only
  // stops an agent that is boxed in on every side.
  for (int tries = 0;; ++tries) {
    if (tries == kTriesBeforeCheck && !AnyCandidateFree(c, r)) {
      found = false;
      break;
    }
    dx = TAgent::OffsetFrom(random, -kMaxJump, kMaxJump);
    dy = TAgent::OffsetFrom(random, -kMaxJump, kMaxJump);
    nc = c + dx;
    nr = r + dy;
    WrapPosition(nc, nr);
    if (!cells_[Index(nc, nr)].Occupied) break;
  }
  random_ = random;
  agent.StepX = dx;
  agent.StepY = dy;
  tc = nc;
  tr = nr;
  return found;
}

bool TWorld::MoveAgents() {
  attachedCount_ = 0;
  freeCount_ = 0;
  std::int32_t moved = 0;
  const std::int32_t n = AgentCount();
  for (std::int32_t i = 0; i < n; ++i) {
    TAgent& agent = agents_[static_cast<std::size_t>(i)];
    std::int32_t c, r;
    AgentCell(agent, c, r);
    TCell& here = Cells(c, r);
    if (agent.Attached) {
      here.AgentIndex = i;
      here.SetState(agent.ColorIndex);
      here.Occupied = true;
      ++attachedCount_;
    } else {
      ++moved;
      ++freeCount_;
      std::int32_t tc, tr;
      if (FindFreeCell(agent, c, r, tc, tr)) {
        // Clearing the mark also clears it for another agent that shares the cell.
        here.Occupied = false;
        if (canvas_) here.Draw(*canvas_);
        agent.PositionX = CentreOf(tc);
        agent.PositionY = CentreOf(tr);
        TCell& there = Cells(tc, tr);
        there.Occupied = true;
        there.SetState(agent.ColorIndex);
        there.AgentIndex = i;
      }
    }
    if (canvas_) agent.Draw(*canvas_);
  }
  return moved > 0;
}

void TWorld::SetAttachTable(std::int32_t threshold) {
  if (attachTableValid_ && attachThreshold_ == threshold) return;
  // s / (s + o) * 100 as a double, exactly as the rule states it, so the
  // looked-up decision is the one a per-cell computation would make.
  const double t = threshold;
  for (int s = 0; s <= 8; ++s)
    for (int o = 0; o <= 8; ++o) {
      const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
      attachTable_[s][o] = share > t;
    }
  attachThreshold_ = threshold;
  attachTableValid_ = true;
}

void TWorld::ThrowBadAgentIndex(std::int32_t index) {
  // A cell names an agent that is gone (agents released without a reset).
  throw std::out_of_range("Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
}

bool TWorld::BuildCensusCodes() {
  const std::size_t stride = static_cast<std::size_t>(columns_) + 2;
  codes_.resize(stride * (static_cast<std::size_t>(rows_) + 2));
  occupiedCells_.resize(cells_.size());
  std::size_t occupied = 0;
  bool twoColours = true;
  for (std::int32_t r = 0; r < rows_; ++r) {
    std::uint8_t* row = &codes_[(static_cast<std::size_t>(r) + 1) * stride + 1];
    const std::size_t first = Index(0, r);
    for (std::int32_t c = 0; c < columns_; ++c) {
      const TCell& cell = cells_[first + static_cast<std::size_t>(c)];
      const std::uint32_t state = static_cast<std::uint32_t>(cell.State());
      const std::uint32_t on = cell.Occupied ? 1u : 0u;
      twoColours &= (on & static_cast<std::uint32_t>(state > 1u)) == 0;
      row[c] = static_cast<std::uint8_t>(on * (1u + (state & 1u)));
      // Listed without a branch: written always, kept only when occupied.
      occupiedCells_[occupied] = {static_cast<std::int32_t>(first) + c,
                                  static_cast<std::int32_t>(row - codes_.data()) + c};
      occupied += on;
    }
  }
  occupiedCells_.resize(occupied);
  if (!twoColours) return false;
  // The border repeats the opposite edge, so the census needs no wrapping.
  const std::size_t last = static_cast<std::size_t>(rows_);
  std::copy_n(&codes_[last * stride], stride, &codes_[0]);
  std::copy_n(&codes_[1 * stride], stride, &codes_[(last + 1) * stride]);
  for (std::size_t r = 0; r < last + 2; ++r) {
    std::uint8_t* row = &codes_[r * stride];
    row[0] = row[columns_];
    row[columns_ + 1] = row[1];
  }
  return true;
}

void TWorld::UpdateAttachment(std::int32_t threshold) {
  SetAttachTable(threshold);
  if (!BuildCensusCodes()) {
    // Colours other than 0 and 1 on the grid: the census cell by cell.
    for (std::int32_t r = 0; r < rows_; ++r)
      for (std::int32_t c = 0; c < columns_; ++c) {
        TCell& cell = Cells(c, r);
        if (!cell.Occupied) continue;
        CountNeighbours(c, r);
        Attach(cell);
      }
    return;
  }
  // The same census over a copy of the marks and colours (0 free, 1 and 2 the
  // two colours) with a wrapped border: every neighbour is a fixed offset away
  // and the counting has no branches (marks and colours around a cell are
  // random, so branches on them mispredict about every other neighbour).
  const std::ptrdiff_t stride = columns_ + 2;
  for (const TOccupied& o : occupiedCells_) {
    const std::uint8_t* p = &codes_[static_cast<std::size_t>(o.Code)];
    const std::uint8_t k = *p;
    const std::uint8_t n[8] = {p[-stride - 1], p[-stride],    p[-stride + 1], p[-1],
                               p[1],           p[stride - 1], p[stride],      p[stride + 1]};
    std::int32_t same = 0, occupied = 0;
    for (std::uint8_t v : n) {
      same += v == k;
      occupied += v != 0;
    }
    TCell& cell = cells_[static_cast<std::size_t>(o.Cell)];
    cell.SameCount = same;
    cell.OtherCount = occupied - same;
    Attach(cell);
  }
}
