#include "travenel/sim/WorldConfig.h"

#include <charconv>
#include <cmath>

namespace travenel {

namespace {

std::string Number(std::int64_t v) { return std::to_string(v); }

// Shortest text that reads back as the same double, with '.' whatever the locale.
std::string Decimal(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

}  // namespace

std::string TWorldConfig::Problem(std::int64_t agents) const {
  const std::string world = "world " + Number(Columns) + "x" + Number(Rows);
  if (Columns < kMinSide || Columns > kMaxSide || Rows < kMinSide || Rows > kMaxSide)
    return world + ": sides from " + Number(kMinSide) + " to " + Number(kMaxSide);
  if (Cells() > kMaxCells) return world + ": more than " + Number(kMaxCells) + " cells";
  // The fold of a jump onto the grid is taken once: the farthest offset,
  // Jump + 1, must stay below a side.
  const std::int32_t side = Columns < Rows ? Columns : Rows;
  if (Jump < 0 || Jump > side - 1)
    return "jump " + Number(Jump) + ": from 0 to " + Number(side - 1) + " on a " + world;
  if (Share && !(std::isfinite(*Share) && *Share >= 0 && *Share <= 100))
    return "share " + Decimal(*Share) + ": a percent from 0 to 100";
  if (agents < 0 || agents > MaxAgents())
    return Number(agents) + " agents: from 0 to " + Number(MaxAgents()) + " on a " + world;
  return "";
}

}  // namespace travenel
