// The two passes on the compact state, and the copies between it and the
// TCell and TAgent objects.
//
// The grid is a byte per cell (kMarked, kWhite) with a border one cell wide.
// The movement pass changes the bytes in place; a jump finds its target by
// two table look-ups (the tables fold the grid's edges), so nothing divides
// and nothing branches on where the jump lands. The attachment pass first
// fills the border from the opposite edges, so that every neighbour in the
// census is a fixed step away and the census runs over the whole grid
// without a branch.
//
// Marks and colours around a cell are random, and so is whether a jump hits
// a marked cell: code that branches on them mispredicts about every other
// time, which costs more than the work itself. Hence the branch-free forms.
#include <algorithm>
#include <array>

#include "travenel/gfx/Canvas.h"
#include "travenel/sim/World.h"

namespace travenel {

namespace {

// The cell whose centre lies exactly at `position` on a side of `cells` cells.
bool CentreCell(std::int32_t position, std::int32_t cells, std::int32_t& cell) {
  const std::int64_t d = std::int64_t{position} - TWorld::kCellSize;
  if (d < 0 || d % TWorld::kCellPixels != 0 || d / TWorld::kCellPixels >= cells) return false;
  cell = static_cast<std::int32_t>(d / TWorld::kCellPixels);
  return true;
}

bool FitsInt8(std::int32_t v) { return v >= INT8_MIN && v <= INT8_MAX; }

// `a` if `pick`, else `b`, by arithmetic: the compiler may turn a ?: on a
// random condition into a branch.
template <class T>
T Choose(bool pick, T a, T b) {
  return static_cast<T>(b ^ ((a ^ b) & (T{0} - static_cast<T>(pick))));
}

}  // namespace

// --- copies between the objects and the compact state ---

bool TWorld::LoadCells() {
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c) {
      const TCell& cell = cells_[Index(c, r)];
      const auto state = static_cast<std::uint32_t>(cell.State());
      const auto same = static_cast<std::uint32_t>(cell.SameCount);
      const auto other = static_cast<std::uint32_t>(cell.OtherCount);
      if (state > 1 || same > 15 || other > 15) return false;
      const std::size_t s = Spot(c, r);
      marks_[s] = static_cast<std::uint8_t>((cell.Occupied ? kMarked : 0) | (state ? kWhite : 0));
      named_[s] = cell.AgentIndex;
      census_[s] = CensusByte(static_cast<std::int32_t>(same), static_cast<std::int32_t>(other));
    }
  return true;
}

void TWorld::StoreCells() const {
  for (std::int32_t r = 0; r < rows_; ++r)
    for (std::int32_t c = 0; c < columns_; ++c) {
      TCell& cell = cells_[Index(c, r)];
      const std::size_t s = Spot(c, r);
      cell.Occupied = (marks_[s] & kMarked) != 0;
      cell.SetState((marks_[s] & kWhite) != 0 ? 1 : 0);
      cell.AgentIndex = named_[s];
      cell.SameCount = census_[s] & 15;
      cell.OtherCount = census_[s] >> 4;
    }
  cellsNewest_ = TNewest::Both;
}

bool TWorld::LoadAgents() {
  const std::size_t n = agents_.size();
  places_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const TAgent& a = agents_[i];
    std::int32_t c = 0, r = 0;
    if (!CentreCell(a.PositionX, columns_, c) || !CentreCell(a.PositionY, rows_, r) ||
        static_cast<std::uint32_t>(a.ColorIndex) > 1 || !FitsInt8(a.StepX) || !FitsInt8(a.StepY))
      return false;
    TPlace& p = places_[i];
    p.Column = static_cast<std::int16_t>(c);
    p.Row = static_cast<std::int16_t>(r);
    p.Mark = a.ColorIndex ? kMarked | kWhite : kMarked;
    p.Attached = a.Attached;
    p.StepX = static_cast<std::int8_t>(a.StepX);
    p.StepY = static_cast<std::int8_t>(a.StepY);
  }
  return true;
}

void TWorld::StoreAgents() const {
  for (std::size_t i = 0; i < agents_.size(); ++i) {
    TAgent& a = agents_[i];
    const TPlace& p = places_[i];
    a.PositionX = CentreOf(p.Column);
    a.PositionY = CentreOf(p.Row);
    a.Attached = p.Attached;
    a.StepX = p.StepX;
    a.StepY = p.StepY;
  }
  agentsNewest_ = TNewest::Both;
}

bool TWorld::CompactReady() {
  if (cellsNewest_ == TNewest::Objects && LoadCells()) cellsNewest_ = TNewest::Both;
  if (agentsNewest_ == TNewest::Objects && LoadAgents()) agentsNewest_ = TNewest::Both;
  if (cellsNewest_ != TNewest::Objects && agentsNewest_ != TNewest::Objects) {
    // The pass is about to change it.
    cellsNewest_ = agentsNewest_ = TNewest::Compact;
    return true;
  }
  CellsToWrite();
  AgentsToWrite();
  return false;
}

// --- the movement pass ---

bool TWorld::AnyCandidateUnmarked(std::int32_t c, std::int32_t r) const {
  for (std::int32_t dy = -kMaxJump; dy <= kMaxJump + 1; ++dy)
    for (std::int32_t dx = -kMaxJump; dx <= kMaxJump + 1; ++dx) {
      std::int32_t nc = c + dx, nr = r + dy;
      WrapPosition(nc, nr);
      if ((marks_[Spot(nc, nr)] & kMarked) == 0) return true;
    }
  return false;
}

bool TWorld::FindFreeSpot(TPlace& place, std::int32_t& c, std::int32_t& r) {
  // Each try is ChangeHeading(kMaxJump): a column offset, then a row offset.
  // Whether a try hits a marked cell is a toss-up, so a loop that branches
  // on every try mispredicts on about every other one. Instead kTogether
  // tries are looked at at once, their draws worked out ahead from the seed
  // (the same draws, in the same order): the first try that hits an unmarked
  // cell is taken, and the seed moves on by the draws made up to it. Four at
  // once is the measured best: fewer mispredict more, more waste work.
  constexpr int kTogether = 4;
  static_assert(kTriesBeforeCheck > 0 && kTriesBeforeCheck % kTogether == 0);
  static_assert(TAgent::IsExact(-kMaxJump, kMaxJump));
  static constexpr auto kLeaps = [] {
    std::array<TRandom::TLeap, 2 * kTogether + 1> leaps;
    for (int k = 0; k <= 2 * kTogether; ++k) leaps[static_cast<std::size_t>(k)] = TRandom::Leap(k);
    return leaps;
  }();
  const std::uint8_t* const marks = marks_.data();
  const std::int32_t* const columnSpot = columnSpots_.data() + kMaxJump;
  const std::int32_t* const rowSpot = rowSpots_.data() + kMaxJump;
  std::uint32_t seed = random_.Seed();
  std::int32_t dx[kTogether] = {}, dy[kTogether] = {};
  for (int made = 0;; made += kTogether) {
    // Random tries as long as a candidate is free: while one is, the outcome
    // is that of unbounded retrying. The single check after a run of failures
    // only stops an agent that is boxed in on every side; it keeps the
    // offsets of its last try.
    if (made == kTriesBeforeCheck && !AnyCandidateUnmarked(c, r)) {
      random_.SetSeed(seed);
      place.StepX = static_cast<std::int8_t>(dx[kTogether - 1]);
      place.StepY = static_cast<std::int8_t>(dy[kTogether - 1]);
      return false;
    }
    int hit = kTogether;  // the first try that hits an unmarked cell
    for (int j = kTogether - 1; j >= 0; --j) {
      const auto k = static_cast<std::size_t>(2 * j);
      dx[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 1]), -kMaxJump, kMaxJump);
      dy[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 2]), -kMaxJump, kMaxJump);
      hit = Choose((marks[rowSpot[r + dy[j]] + columnSpot[c + dx[j]]] & kMarked) == 0, j, hit);
    }
    if (hit < kTogether) {
      random_.SetSeed(TRandom::After(seed, kLeaps[static_cast<std::size_t>(2 * hit + 2)]));
      place.StepX = static_cast<std::int8_t>(dx[hit]);
      place.StepY = static_cast<std::int8_t>(dy[hit]);
      c += dx[hit];
      r += dy[hit];
      WrapPosition(c, r);
      return true;
    }
    seed = TRandom::After(seed, kLeaps[2 * kTogether]);
  }
}

void TWorld::MoveCompact() {
  std::uint8_t* const marks = marks_.data();
  std::int32_t* const named = named_.data();
  TPlace* const places = places_.data();
  const std::int32_t n = AgentCount();
  std::int32_t attached = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    TPlace& place = places[i];
    const std::size_t here = Spot(place.Column, place.Row);
    if (place.Attached) {
      marks[here] = place.Mark;
      named[here] = i;
      ++attached;
    } else if (std::int32_t c = place.Column, r = place.Row; FindFreeSpot(place, c, r)) {
      // Clearing the mark also clears it for another agent that shares the cell.
      marks[here] &= ~kMarked;
      if (canvas_) cells_[Index(place.Column, place.Row)].Draw(*canvas_);
      place.Column = static_cast<std::int16_t>(c);
      place.Row = static_cast<std::int16_t>(r);
      const std::size_t there = Spot(c, r);
      marks[there] = place.Mark;
      named[there] = i;
    }
    if (canvas_) DrawPlaced(i);
  }
  attachedCount_ = attached;
  freeCount_ = n - attached;
}

void TWorld::DrawPlaced(std::int32_t i) {
  // The object is brought to the agent's place first: drawing is its own.
  const TPlace& place = places_[static_cast<std::size_t>(i)];
  TAgent& agent = agents_[static_cast<std::size_t>(i)];
  agent.PositionX = CentreOf(place.Column);
  agent.PositionY = CentreOf(place.Row);
  agent.Draw(*canvas_);
}

// --- the attachment pass ---

void TWorld::WrapBorder() {
  std::uint8_t* const m = marks_.data();
  const std::size_t rows = static_cast<std::size_t>(rows_),
                    last = static_cast<std::size_t>(columns_);
  std::copy_n(m + rows * stride_, stride_, m);                  // above the first row: the last
  std::copy_n(m + stride_, stride_, m + (rows + 1) * stride_);  // below the last row: the first
  for (std::size_t r = 0; r < rows + 2; ++r) {
    std::uint8_t* const row = m + r * stride_;
    row[0] = row[last];
    row[last + 1] = row[1];
  }
}

void TWorld::CountCompact() {
  const std::uint8_t* const marks = marks_.data();
  std::uint8_t* const counted = counted_.data();
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(stride_);
  // One run from the first cell to the last, the border spots between the
  // rows included (their counts are not used): a single long loop, which the
  // compiler turns into vector code without a scalar tail on every row.
  const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(Spot(0, 0));
  const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(Spot(columns_ - 1, rows_ - 1));
  for (std::ptrdiff_t s = first; s <= last; ++s) {
    const std::uint8_t k = marks[s];
    const std::uint8_t around[8] = {
        marks[s - stride - 1], marks[s - stride],     marks[s - stride + 1], marks[s - 1],
        marks[s + 1],          marks[s + stride - 1], marks[s + stride],     marks[s + stride + 1]};
    // A marked neighbour of the same colour has the very same byte.
    std::uint8_t same = 0, occupied = 0;
    for (const std::uint8_t v : around) {
      same += v == k;
      occupied += v & kMarked;
    }
    counted[s] = CensusByte(same, occupied - same);
  }
}

void TWorld::KeepCensus(std::size_t end) {
  const std::uint8_t* const marks = marks_.data();
  const std::uint8_t* const counted = counted_.data();
  std::uint8_t* const census = census_.data();
  for (std::size_t s = 0; s < end; ++s) {
    // All ones for a marked cell, none for a free one: a blend without a branch.
    const auto marked = static_cast<std::uint8_t>(-(marks[s] & kMarked));
    census[s] = static_cast<std::uint8_t>((counted[s] & marked) | (census[s] & ~marked));
  }
}

void TWorld::AttachCompact() {
  WrapBorder();
  CountCompact();
  const std::uint8_t* const marks = marks_.data();
  const std::int32_t* const named = named_.data();
  const std::uint8_t* const counted = counted_.data();
  const bool* const decide = attachTable_.data();
  TPlace* const places = places_.data();
  std::uint32_t* const list = markedSpots_.data();
  const auto n = static_cast<std::uint32_t>(AgentCount());
  const std::int32_t columns = columns_;
  // The marked cells in grid order, listed without a branch: every spot is
  // written, the next one goes over it unless it is marked.
  std::size_t marked = 0;
  for (std::int32_t r = 0; r < rows_; ++r) {
    const auto first = static_cast<std::uint32_t>(Spot(0, r));
    for (std::int32_t c = 0; c < columns; ++c) {
      list[marked] = first + static_cast<std::uint32_t>(c);
      marked += marks[first + static_cast<std::uint32_t>(c)] & kMarked;
    }
  }
  // In grid order, as the rule goes: should two cells name one agent, the
  // later one decides.
  for (std::size_t k = 0; k < marked; ++k) {
    const std::uint32_t s = list[k];
    const auto agent = static_cast<std::uint32_t>(named[s]);
    if (agent >= n) {
      KeepCensus(s + 1);
      ThrowBadAgentIndex(named[s]);
    }
    places[agent].Attached = decide[counted[s]];
  }
  KeepCensus(census_.size());
}

}  // namespace travenel
