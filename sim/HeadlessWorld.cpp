// The two passes of a headless world. They follow TWorld's compact passes
// (see WorldCompact.cpp for why they avoid branches on random outcomes); what
// differs is the size (the jump is a number, cells are counted by spot and
// agents by place) and that nothing is ever drawn.
//
// On a large world the grid no longer fits the first caches and the agents'
// cells are in random order: every pass reads ahead, asking for the cells of
// agents a few places on while it works on the current one.
#include "travenel/sim/HeadlessWorld.h"

#include <algorithm>
#include <stdexcept>

#include "travenel/sim/agenten.h"

namespace travenel {

namespace {

// How many agents ahead the passes ask for cells.
constexpr std::size_t kAhead = 16;

template <class T>
T Choose(bool pick, T a, T b) {
  return static_cast<T>(b ^ ((a ^ b) & (T{0} - static_cast<T>(pick))));
}

void Prefetch(const void* p) { __builtin_prefetch(p, 1, 1); }

}  // namespace

THeadlessWorld::THeadlessWorld(const TWorldConfig& config) : config_(config) {
  if (const std::string problem = config.Problem(); !problem.empty())
    throw std::invalid_argument(problem);
  stride_ = static_cast<std::size_t>(config_.Columns) + 2;
  cells_ = static_cast<std::size_t>(config_.Cells());
  marks_.assign(stride_ * (static_cast<std::size_t>(config_.Rows) + 2), 0);
  const std::int32_t jump = config_.Jump;
  for (std::int32_t k = -jump; k <= config_.Columns + jump; ++k)
    columnSpots_.push_back(k < 0 ? k + config_.Columns + 1
                                 : k >= config_.Columns ? k - config_.Columns + 1
                                                        : k + 1);
  for (std::int32_t k = -jump; k <= config_.Rows + jump; ++k) {
    const std::int32_t r = k < 0 ? k + config_.Rows : k >= config_.Rows ? k - config_.Rows : k;
    rowSpots_.push_back((r + 1) * static_cast<std::int32_t>(stride_));
  }
}

void THeadlessWorld::Setup(std::int64_t agents, std::uint32_t seed) {
  if (const std::string problem = config_.Problem(agents); !problem.empty())
    throw std::invalid_argument(problem);
  std::fill(marks_.begin(), marks_.end(), 0);
  crowds_.clear();
  const auto n = static_cast<std::size_t>(agents);
  places_.assign(n, TPlace{});
  flags_.assign(n, 0);
  stamps_.assign(n, 0);
  claims_.clear();
  step_ = 0;
  markedCells_ = 0;
  attachedCount_ = freeCount_ = 0;
  random_.SetSeed(seed);
  const std::optional<double> share = config_.Share;
  for (std::size_t i = 0; i < n; ++i) {
    // Three draws per agent, in this order: column, row, colour.
    const std::int32_t c = random_.Below(config_.Columns);
    const std::int32_t r = random_.Below(config_.Rows);
    const bool white = share ? random_.Real() * 100.0 < *share : random_.Below(2) != 0;
    places_[i] = {static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(r)};
    flags_[i] = white ? kWhite : 0;
    Arrive(Spot(c, r));
  }
}

std::int64_t THeadlessWorld::AgentsOn(std::int32_t c, std::int32_t r) const {
  const std::size_t spot = Spot(c, r);
  const std::int32_t field = marks_[spot] / kOneAgent;
  return field < kCrowd ? field : crowds_.at(spot);
}

void THeadlessWorld::ArriveInCrowd(std::size_t spot) {
  if (marks_[spot] / kOneAgent == kCrowd - 1) {
    marks_[spot] = static_cast<std::uint8_t>(marks_[spot] + kOneAgent);
    crowds_[spot] = kCrowd;
  } else {
    ++crowds_[spot];
  }
}

void THeadlessWorld::LeaveCrowd(std::size_t spot) {
  if (--crowds_[spot] == kCrowd - 1) {
    crowds_.erase(spot);
    marks_[spot] = static_cast<std::uint8_t>(marks_[spot] - kOneAgent);
  }
}

// --- the movement pass ---

bool THeadlessWorld::AnyCandidateUnmarked(std::int32_t c, std::int32_t r) const {
  if (markedCells_ == static_cast<std::int64_t>(cells_)) return false;
  // Offsets -Jump .. Jump + 1; on a small world they wrap onto cells seen
  // already, which need no second look.
  const std::int32_t span = 2 * config_.Jump + 2;
  const std::int32_t across = std::min(span, config_.Columns), down = std::min(span, config_.Rows);
  const std::int32_t* const columnSpot = columnSpots_.data() + config_.Jump;
  const std::int32_t* const rowSpot = rowSpots_.data() + config_.Jump;
  for (std::int32_t dy = 0; dy < down; ++dy)
    for (std::int32_t dx = 0; dx < across; ++dx) {
      const std::size_t spot = static_cast<std::size_t>(rowSpot[r - config_.Jump + dy]) +
                               static_cast<std::size_t>(columnSpot[c - config_.Jump + dx]);
      if ((marks_[spot] & kMarked) == 0) return true;
    }
  return false;
}

bool THeadlessWorld::FindFreeSpot(std::int32_t& c, std::int32_t& r) {
  // TWorld's search: four tries looked at at once, their draws worked out
  // ahead from the seed, the first that hits an unmarked cell taken.
  constexpr int kTogether = 4;
  static_assert(kTriesBeforeCheck % kTogether == 0);
  static constexpr auto kLeaps = [] {
    std::array<TRandom::TLeap, 2 * kTogether + 1> leaps;
    for (int k = 0; k <= 2 * kTogether; ++k) leaps[static_cast<std::size_t>(k)] = TRandom::Leap(k);
    return leaps;
  }();
  const std::int32_t jump = config_.Jump;
  const std::uint8_t* const marks = marks_.data();
  const std::int32_t* const columnSpot = columnSpots_.data() + jump;
  const std::int32_t* const rowSpot = rowSpots_.data() + jump;
  std::uint32_t seed = random_.Seed();
  for (int made = 0;; made += kTogether) {
    if (made == kTriesBeforeCheck && !AnyCandidateUnmarked(c, r)) {
      random_.SetSeed(seed);
      return false;
    }
    std::int32_t dx[kTogether], dy[kTogether];
    int hit = kTogether;
    for (int j = kTogether - 1; j >= 0; --j) {
      const auto k = static_cast<std::size_t>(2 * j);
      dx[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 1]), -jump, jump);
      dy[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 2]), -jump, jump);
      hit = Choose((marks[rowSpot[r + dy[j]] + columnSpot[c + dx[j]]] & kMarked) == 0, j, hit);
    }
    if (hit < kTogether) {
      random_.SetSeed(TRandom::After(seed, kLeaps[static_cast<std::size_t>(2 * hit + 2)]));
      c += dx[hit];
      r += dy[hit];
      c += config_.Columns * (static_cast<std::int32_t>(c < 0) -
                              static_cast<std::int32_t>(c >= config_.Columns));
      r += config_.Rows * (static_cast<std::int32_t>(r < 0) -
                           static_cast<std::int32_t>(r >= config_.Rows));
      return true;
    }
    seed = TRandom::After(seed, kLeaps[2 * kTogether]);
  }
}

bool THeadlessWorld::MoveAgents() {
  ++step_;
  std::uint8_t* const marks = marks_.data();
  TPlace* const places = places_.data();
  const std::uint8_t* const flags = flags_.data();
  std::uint32_t* const stamps = stamps_.data();
  const std::size_t n = places_.size();
  constexpr auto kColourBits = static_cast<std::uint8_t>(kMarked | kWhite);
  std::int64_t attached = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) Prefetch(&marks[Spot(places[i + kAhead].Column, places[i + kAhead].Row)]);
    TPlace& place = places[i];
    const std::size_t here = Spot(place.Column, place.Row);
    const auto mark = static_cast<std::uint8_t>(kMarked | (flags[i] & kWhite));
    if ((flags[i] & kAttachedFlag) != 0) {
      markedCells_ += 1 - (marks[here] & kMarked);
      marks[here] = static_cast<std::uint8_t>((marks[here] & ~kColourBits) | mark);
      stamps[i] = step_;
      ++attached;
    } else if (std::int32_t c = place.Column, r = place.Row; FindFreeSpot(c, r)) {
      // Clearing the mark also clears it for another agent that shares the cell.
      markedCells_ -= marks[here] & kMarked;
      marks[here] = static_cast<std::uint8_t>(marks[here] & ~kMarked);
      Leave(here);
      place = {static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(r)};
      const std::size_t there = Spot(c, r);
      marks[there] = static_cast<std::uint8_t>((marks[there] & ~kColourBits) | mark);
      Arrive(there);
      ++markedCells_;
      stamps[i] = step_;
    }
  }
  attachedCount_ = attached;
  freeCount_ = static_cast<std::int64_t>(n) - attached;
  return freeCount_ > 0;
}

// --- the attachment pass ---

void THeadlessWorld::SetAttachTable(std::int32_t threshold) {
  if (attachTableValid_ && attachThreshold_ == threshold) return;
  // s / (s + o) * 100 as a double, as the rule states it (and TWorld's table).
  const double t = threshold;
  for (int s = 0; s < 16; ++s)
    for (int o = 0; o < 16; ++o) {
      const double share = s + o <= 0 ? 0.0 : static_cast<double>(s) / (s + o) * 100.0;
      attachTable_[static_cast<std::size_t>(s | o << 4)] = share > t;
    }
  attachThreshold_ = threshold;
  attachTableValid_ = true;
}

void THeadlessWorld::WrapBorder() {
  std::uint8_t* const m = marks_.data();
  const auto rows = static_cast<std::size_t>(config_.Rows),
             last = static_cast<std::size_t>(config_.Columns);
  std::copy_n(m + rows * stride_, stride_, m);
  std::copy_n(m + stride_, stride_, m + (rows + 1) * stride_);
  for (std::size_t r = 0; r < rows + 2; ++r) {
    std::uint8_t* const row = m + r * stride_;
    row[0] = row[last];
    row[last + 1] = row[1];
  }
}

void THeadlessWorld::Decide(std::size_t spot, std::uint32_t agent) {
  const std::uint8_t* const m = marks_.data() + spot;
  const auto stride = static_cast<std::ptrdiff_t>(stride_);
  const std::uint8_t around[8] = {m[-stride - 1], m[-stride], m[-stride + 1], m[-1],
                                  m[1],           m[stride - 1], m[stride], m[stride + 1]};
  const std::uint8_t own = m[0] & (kMarked | kWhite);
  std::uint8_t same = 0, occupied = 0;
  for (const std::uint8_t v : around) {
    same += (v & (kMarked | kWhite)) == own;
    occupied += v & kMarked;
  }
  const bool attach = attachTable_[static_cast<std::size_t>(same | (occupied - same) << 4)];
  std::uint8_t& f = flags_[agent];
  f = static_cast<std::uint8_t>((f & ~kAttachedFlag) | (attach ? kAttachedFlag : 0));
}

void THeadlessWorld::UpdateAttachment(std::int32_t threshold) {
  SetAttachTable(threshold);
  WrapBorder();
  const std::uint8_t* const marks = marks_.data();
  const TPlace* const places = places_.data();
  const std::size_t n = places_.size();
  const auto stride = static_cast<std::ptrdiff_t>(stride_);
  claims_.clear();
  // Every agent on a marked cell is named by it when it sits there alone;
  // shared cells are settled afterwards. No agent is named by two cells, so
  // the order of the decisions does not matter.
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) {
      const std::uint8_t* ahead =
          marks + Spot(places[i + kAhead].Column, places[i + kAhead].Row);
      Prefetch(ahead - stride);
      Prefetch(ahead);
      Prefetch(ahead + stride);
    }
    const std::size_t spot = Spot(places[i].Column, places[i].Row);
    const std::uint8_t b = marks[spot];
    if ((b & kMarked) == 0) continue;
    if (b / kOneAgent == 1)
      Decide(spot, static_cast<std::uint32_t>(i));
    else
      claims_.push_back({static_cast<std::uint32_t>(spot), stamps_[i], static_cast<std::uint32_t>(i)});
  }
  // Of the agents on a shared marked cell, the cell names the one that
  // marked it last: the latest step, and in it the latest in the list.
  std::sort(claims_.begin(), claims_.end(), [](const TClaim& a, const TClaim& b) {
    return a.Spot != b.Spot ? a.Spot < b.Spot
                            : a.Stamp != b.Stamp ? a.Stamp < b.Stamp : a.Agent < b.Agent;
  });
  for (std::size_t k = 0; k < claims_.size(); ++k)
    if (k + 1 == claims_.size() || claims_[k + 1].Spot != claims_[k].Spot)
      Decide(claims_[k].Spot, claims_[k].Agent);
}

}  // namespace travenel
