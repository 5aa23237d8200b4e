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
#include <cstring>
#include <stdexcept>

#include "travenel/sim/agenten.h"

namespace travenel {

namespace {

// How many agents ahead the passes ask for cells.
constexpr std::size_t kAhead = 16;
// About how many cells' decisions the attachment pass takes in one run.
constexpr std::size_t kDecidedBytes = 16384;
// From this many cells, and up to this jump, the movement pass asks for the
// tiles of free agents ahead (the bits of 2^23 cells take a megabyte).
constexpr std::size_t kTilesAheadCells = std::size_t{1} << 23;
constexpr std::int32_t kTilesAheadJump = 16;
// How many jumps the movement pass keeps waiting for their cells' bytes.
constexpr std::size_t kWaiting = 4;

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
  // The bits go by tiles of 8 x 8 cells, a word each, tile after tile along
  // a row of tiles: the cells a jump may reach lie in a few cache lines.
  const std::int32_t tilesAcross = (config_.Columns + 7) / 8;
  markedBits_.assign(static_cast<std::size_t>(tilesAcross) * ((config_.Rows + 7) / 8) + 1, 0);
  const std::int32_t jump = config_.Jump;
  for (std::int32_t k = -jump; k <= config_.Columns + jump; ++k) {
    const std::int32_t c = k < 0                  ? k + config_.Columns
                           : k >= config_.Columns ? k - config_.Columns
                                                  : k;
    columnBits_.push_back(static_cast<std::uint32_t>((c >> 3) << 6 | (c & 7)));
  }
  for (std::int32_t k = -jump; k <= config_.Rows + jump; ++k) {
    const std::int32_t r = k < 0 ? k + config_.Rows : k >= config_.Rows ? k - config_.Rows : k;
    rowBits_.push_back(static_cast<std::uint32_t>((r >> 3) * tilesAcross) << 6 |
                       static_cast<std::uint32_t>((r & 7) << 3));
  }
}

void THeadlessWorld::Setup(std::int64_t agents, std::uint32_t seed) {
  if (const std::string problem = config_.Problem(agents); !problem.empty())
    throw std::invalid_argument(problem);
  std::fill(marks_.begin(), marks_.end(), 0);
  std::fill(markedBits_.begin(), markedBits_.end(), 0);
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

bool THeadlessWorld::AnyCandidateUnmarked(std::int32_t c, std::int32_t r,
                                          std::int64_t marked) const {
  if (marked == static_cast<std::int64_t>(cells_)) return false;
  // Offsets -Jump .. Jump + 1; on a small world they wrap onto cells seen
  // already, which need no second look.
  const std::int32_t span = 2 * config_.Jump + 2;
  const std::int32_t across = std::min(span, config_.Columns), down = std::min(span, config_.Rows);
  const std::uint32_t* const columnBit = columnBits_.data() + config_.Jump;
  const std::uint32_t* const rowBit = rowBits_.data() + config_.Jump;
  for (std::int32_t dy = 0; dy < down; ++dy)
    for (std::int32_t dx = 0; dx < across; ++dx) {
      const std::uint32_t bit = rowBit[r - config_.Jump + dy] + columnBit[c - config_.Jump + dx];
      if (((markedBits_[bit >> 6] >> (bit & 63)) & 1) == 0) return true;
    }
  return false;
}

namespace {

// What the search for a free cell reads, held in locals for the pass: the
// grid is bytes, and a write to bytes may alias anything the compiler would
// otherwise have to reload from the world after each one.
struct TSearch {
  const std::uint64_t* Marked;     // a bit a cell
  const std::uint32_t* ColumnBit;  // at offset 0
  const std::uint32_t* RowBit;
  std::int32_t Jump, Columns, Rows;
};

// TWorld's search: four tries looked at at once, their draws worked out
// ahead from the seed (the same draws in the same order), the first that hits
// an unmarked cell taken. Returns the number of tries made up to the hit
// (its offsets in c and r, folded onto the grid), or 0 when none of the
// kTriesBeforeCheck tries hit.
constexpr int kTogether = 4;

[[gnu::always_inline]] inline int SearchFreeSpot(const TSearch& g, std::uint32_t& seed,
                                                 std::int32_t& c, std::int32_t& r) {
  static constexpr auto kLeaps = [] {
    std::array<TRandom::TLeap, 2 * kTogether + 1> leaps;
    for (int k = 0; k <= 2 * kTogether; ++k) leaps[static_cast<std::size_t>(k)] = TRandom::Leap(k);
    return leaps;
  }();
  for (int made = 0; made < THeadlessWorld::kTriesBeforeCheck; made += kTogether) {
    std::int32_t dx[kTogether], dy[kTogether];
    int hit = kTogether;
    for (int j = kTogether - 1; j >= 0; --j) {
      const auto k = static_cast<std::size_t>(2 * j);
      dx[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 1]), -g.Jump, g.Jump);
      dy[j] = TAgent::OffsetOfDraw(TRandom::After(seed, kLeaps[k + 2]), -g.Jump, g.Jump);
      const std::uint32_t bit = g.RowBit[r + dy[j]] + g.ColumnBit[c + dx[j]];
      hit = Choose(((g.Marked[bit >> 6] >> (bit & 63)) & 1) == 0, j, hit);
    }
    if (hit < kTogether) {
      seed = TRandom::After(seed, kLeaps[static_cast<std::size_t>(2 * hit + 2)]);
      c += dx[hit];
      r += dy[hit];
      c += g.Columns *
           (static_cast<std::int32_t>(c < 0) - static_cast<std::int32_t>(c >= g.Columns));
      r += g.Rows * (static_cast<std::int32_t>(r < 0) - static_cast<std::int32_t>(r >= g.Rows));
      return made + hit + 1;
    }
    seed = TRandom::After(seed, kLeaps[2 * kTogether]);
  }
  return 0;
}

}  // namespace

bool THeadlessWorld::MoveAgents() {
  static_assert(kTriesBeforeCheck % kTogether == 0);
  const std::uint32_t step = ++step_;
  std::uint8_t* const marks = marks_.data();
  TPlace* const places = places_.data();
  const std::uint8_t* const flags = flags_.data();
  std::uint32_t* const stamps = stamps_.data();
  const std::size_t n = places_.size();
  const std::size_t stride = stride_;
  std::uint64_t* const bits = markedBits_.data();
  const std::int32_t jump = config_.Jump;
  const std::uint32_t* const columnBit = columnBits_.data() + jump;
  const std::uint32_t* const rowBit = rowBits_.data() + jump;
  const auto bitOf = [columnBit, rowBit](TPlace p) { return rowBit[p.Row] + columnBit[p.Column]; };
  const auto setBit = [bits](std::uint32_t bit) {
    bits[bit >> 6] |= std::uint64_t{1} << (bit & 63);
  };
  const TSearch search{bits, columnBit, rowBit, jump, config_.Columns, config_.Rows};
  // On a world whose bits outgrow the second-level cache, the tiles a free
  // agent's tries fall in are asked for ahead: its rows a tile apart, at both
  // ends of its columns (a jump too long for that goes without).
  const bool tilesAhead = cells_ >= kTilesAheadCells && jump <= kTilesAheadJump;
  const auto spotOf = [stride](TPlace p) {
    return (std::size_t{p.Row} + 1) * stride + std::size_t{p.Column} + 1;
  };
  constexpr auto kColourBits = static_cast<std::uint8_t>(kMarked | kWhite);
  // The byte of a cell an agent jumps to is far off in a large grid: it is
  // asked for when the cell is found and written a few agents later, when it
  // has come. Until then only the bits know of the jump; an agent whose own
  // cell still waits for its byte has the waiting bytes written first.
  constexpr std::size_t kNone = SIZE_MAX;
  std::size_t waiting[kWaiting];
  std::uint8_t waitingMark[kWaiting];
  std::fill_n(waiting, kWaiting, kNone);
  std::size_t slot = 0;  // the oldest
  const auto arrive = [&](std::size_t k) {
    const std::size_t there = waiting[k];
    if (there == kNone) return;
    marks[there] = static_cast<std::uint8_t>((marks[there] & ~kColourBits) | waitingMark[k]);
    if (marks[there] < (kCrowd - 1) * kOneAgent)
      marks[there] = static_cast<std::uint8_t>(marks[there] + kOneAgent);
    else
      ArriveInCrowd(there);
    waiting[k] = kNone;
  };
  const auto arriveAll = [&] {
    for (std::size_t k = 0; k < kWaiting; ++k) arrive((slot + k) % kWaiting);
  };
  std::uint32_t seed = random_.Seed();
  std::int64_t marked = markedCells_;
  std::int64_t attached = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) {
      const TPlace ahead = places[i + kAhead];
      Prefetch(&marks[spotOf(ahead)]);
      if (tilesAhead && (flags[i + kAhead] & kAttachedFlag) == 0)
        for (std::int32_t dy = -jump; dy < jump + 9; dy += 8) {
          const std::uint32_t row = rowBit[ahead.Row + std::min(dy, jump + 1)];
          Prefetch(&bits[(row + columnBit[ahead.Column - jump]) >> 6]);
          Prefetch(&bits[(row + columnBit[ahead.Column + jump + 1]) >> 6]);
        }
    }
    const TPlace place = places[i];
    const std::size_t here = spotOf(place);
    bool wait = false;
    for (const std::size_t w : waiting) wait |= w == here;
    if (wait) arriveAll();
    const auto mark = static_cast<std::uint8_t>(kMarked | (flags[i] & kWhite));
    if ((flags[i] & kAttachedFlag) != 0) {
      marked += 1 - (marks[here] & kMarked);
      marks[here] = static_cast<std::uint8_t>((marks[here] & ~kColourBits) | mark);
      setBit(bitOf(place));
      stamps[i] = step;
      ++attached;
      continue;
    }
    std::int32_t c = place.Column, r = place.Row;
    if (SearchFreeSpot(search, seed, c, r) == 0) {
      // After a run of failures, the one check whether any candidate is
      // unmarked at all: while one is, the outcome is that of unbounded
      // retrying; an agent boxed in on every side stays.
      if (!AnyCandidateUnmarked(c, r, marked)) continue;
      while (SearchFreeSpot(search, seed, c, r) == 0) {
      }
    }
    // Clearing the mark also clears it for another agent that shares the cell.
    marked -= marks[here] & kMarked;
    marks[here] = static_cast<std::uint8_t>(marks[here] & ~kMarked);
    const std::uint32_t left = bitOf(place);
    bits[left >> 6] &= ~(std::uint64_t{1} << (left & 63));
    if (marks[here] < kCrowd * kOneAgent)
      marks[here] = static_cast<std::uint8_t>(marks[here] - kOneAgent);
    else
      LeaveCrowd(here);
    places[i] = {static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(r)};
    const std::size_t there = spotOf(places[i]);
    setBit(bitOf(places[i]));
    Prefetch(&marks[there]);
    arrive(slot);
    waiting[slot] = there;
    waitingMark[slot] = mark;
    slot = (slot + 1) % kWaiting;
    ++marked;
    stamps[i] = step;
  }
  arriveAll();
  random_.SetSeed(seed);
  markedCells_ = marked;
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
  // With n occupied neighbours the share grows with the same-coloured ones,
  // so the decision is "at least leastSame_[n] of them" (9: never).
  for (int all = 0; all <= 8; ++all) {
    int least = 9;
    for (int same = all; same >= 0; --same)
      if (attachTable_[static_cast<std::size_t>(same | (all - same) << 4)]) least = same;
    leastSame_[static_cast<std::size_t>(all)] = static_cast<std::uint8_t>(least);
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

bool THeadlessWorld::DecisionAt(std::size_t spot) const {
  const std::uint8_t* const m = marks_.data() + spot;
  const auto stride = static_cast<std::ptrdiff_t>(stride_);
  const std::uint8_t around[8] = {m[-stride - 1], m[-stride],    m[-stride + 1], m[-1],
                                  m[1],           m[stride - 1], m[stride],      m[stride + 1]};
  const std::uint8_t own = m[0] & (kMarked | kWhite);
  std::uint8_t same = 0, occupied = 0;
  for (const std::uint8_t v : around) {
    same += (v & (kMarked | kWhite)) == own;
    occupied += v & kMarked;
  }
  return attachTable_[static_cast<std::size_t>(same | (occupied - same) << 4)];
}

namespace {

// The decision of every cell of a row (1 or 0) from its census, for
// a row of the grid with a border: `least` is leastSame_.
void DecideRow(const std::uint8_t* __restrict m, std::uint8_t* __restrict out,
               std::ptrdiff_t columns, std::ptrdiff_t stride, const std::uint8_t* least) {
  constexpr auto kColourBits =
      static_cast<std::uint8_t>(THeadlessWorld::kMarked | THeadlessWorld::kWhite);
  // Without a branch, so that the compiler takes many cells at once.
  for (std::ptrdiff_t c = 0; c < columns; ++c) {
    const std::uint8_t own = m[c] & kColourBits;
    const std::uint8_t around[8] = {m[c - stride - 1], m[c - stride],    m[c - stride + 1],
                                    m[c - 1],          m[c + 1],         m[c + stride - 1],
                                    m[c + stride],     m[c + stride + 1]};
    std::uint8_t same = 0, occupied = 0;
    for (const std::uint8_t v : around) {
      same = static_cast<std::uint8_t>(same + ((v & kColourBits) == own));
      occupied = static_cast<std::uint8_t>(occupied + (v & THeadlessWorld::kMarked));
    }
    std::uint8_t attach = 0;
    for (std::uint8_t all = 0; all <= 8; ++all)
      attach = static_cast<std::uint8_t>(attach | ((occupied == all) & (same >= least[all])));
    out[c] = attach;
  }
}

}  // namespace

void THeadlessWorld::DecideEveryCell() {
  const auto columns = static_cast<std::size_t>(config_.Columns);
  const auto rows = static_cast<std::size_t>(config_.Rows);
  const std::size_t words = VerdictWords();
  // Rows are decided a block at a time, as one long run through the grid
  // (the border cells between the rows included): on a narrow world a run
  // per row would be mostly its start and its end.
  const std::size_t blockRows = std::max<std::size_t>(1, kDecidedBytes / stride_);
  rowScratch_.resize(blockRows * stride_ + words * kVerdictsPerWord);
  verdicts_.resize(words * rows);
  for (std::size_t r0 = 0; r0 < rows; r0 += blockRows) {
    const std::size_t count = std::min(blockRows, rows - r0);
    const std::uint8_t* const first = marks_.data() + Spot(0, static_cast<std::int32_t>(r0));
    DecideRow(first, rowScratch_.data(),
              static_cast<std::ptrdiff_t>((count - 1) * stride_ + columns),
              static_cast<std::ptrdiff_t>(stride_), leastSame_.data());
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint8_t* const row = first + k * stride_;
      std::uint8_t* const verdict = rowScratch_.data() + k * stride_;
      // No branches, as above. What lies past the row's end is of no cell.
      for (std::size_t c = 0; c < columns; ++c) {
        const auto marked = static_cast<std::uint8_t>(row[c] & kMarked);
        const auto alone = static_cast<std::uint8_t>(row[c] / kOneAgent == 1);
        verdict[c] =
            static_cast<std::uint8_t>(marked * (kShared + alone * (kAlone - kShared + verdict[c])));
      }
      std::uint64_t* const out = verdicts_.data() + (r0 + k) * words;
      for (std::size_t w = 0; w < words; ++w) {
        std::uint64_t word = 0;
        for (std::size_t j = 0; j < kVerdictsPerWord / 8; ++j) {
          // Eight verdicts of a byte each to sixteen bits, by halves.
          std::uint64_t x;
          std::memcpy(&x, verdict + w * kVerdictsPerWord + 8 * j, sizeof x);
          x = (x | x >> 6) & 0x000F000F000F000Fu;
          x = (x | x >> 12) & 0x000000FF000000FFu;
          x = (x | x >> 24) & 0xFFFFu;
          word |= x << (16 * j);
        }
        out[w] = word;
      }
    }
  }
}

void THeadlessWorld::UpdateAttachment(std::int32_t threshold) {
  SetAttachTable(threshold);
  WrapBorder();
  const std::uint8_t* const marks = marks_.data();
  const TPlace* const places = places_.data();
  std::uint8_t* const flags = flags_.data();
  const std::size_t n = places_.size(), stride = stride_;
  const auto spotOf = [stride](TPlace p) {
    return (std::size_t{p.Row} + 1) * stride + std::size_t{p.Column} + 1;
  };
  const auto claim = [&](std::size_t i) {
    claims_.push_back(
        {static_cast<std::uint32_t>(spotOf(places[i])), stamps_[i], static_cast<std::uint32_t>(i)});
  };
  const auto decide = [flags](std::size_t i, bool attach) {
    flags[i] =
        static_cast<std::uint8_t>((flags[i] & ~kAttachedFlag) | (attach ? kAttachedFlag : 0));
  };
  claims_.clear();
  // Every agent on a marked cell is named by it when it sits there alone;
  // shared cells are settled afterwards. No agent is named by two cells, so
  // the order of the decisions does not matter.
  if (n * kSweepAgents >= cells_) {
    // A crowded world takes the census of every cell in one sweep, and each
    // agent reads its cell's verdict: two bits a cell stay in the caches
    // where the grid's bytes do not.
    DecideEveryCell();
    const std::uint64_t* const verdicts = verdicts_.data();
    const std::size_t words = VerdictWords();
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t column = places[i].Column;
      const auto verdict =
          static_cast<std::uint8_t>((verdicts[places[i].Row * words + column / kVerdictsPerWord] >>
                                     (2 * (column % kVerdictsPerWord))) &
                                    3);
      if (verdict == kShared) claim(i);
      // Without a branch on the decision, which is a toss-up.
      const auto alone = static_cast<std::uint8_t>(verdict >> 1);
      flags[i] = static_cast<std::uint8_t>((flags[i] & ~(kAttachedFlag * alone)) |
                                           kAttachedFlag * (verdict & alone & 1));
    }
  } else {
    // A sparse one takes the census where agents are.
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kAhead < n) {
        const std::uint8_t* ahead = marks + spotOf(places[i + kAhead]);
        Prefetch(ahead - stride);
        Prefetch(ahead);
        Prefetch(ahead + stride);
      }
      const std::size_t spot = spotOf(places[i]);
      const std::uint8_t b = marks[spot];
      if ((b & kMarked) == 0) continue;
      if (b / kOneAgent != 1)
        claim(i);
      else
        decide(i, DecisionAt(spot));
    }
  }
  // Of the agents on a shared marked cell, the cell names the one that
  // marked it last: the latest step, and in it the latest in the list.
  std::sort(claims_.begin(), claims_.end(), [](const TClaim& a, const TClaim& b) {
    return a.Spot != b.Spot     ? a.Spot < b.Spot
           : a.Stamp != b.Stamp ? a.Stamp < b.Stamp
                                : a.Agent < b.Agent;
  });
  for (std::size_t k = 0; k < claims_.size(); ++k)
    if (k + 1 == claims_.size() || claims_[k + 1].Spot != claims_[k].Spot)
      decide(claims_[k].Agent, DecisionAt(claims_[k].Spot));
}

}  // namespace travenel
