// The window's command line: `--seed S` makes a run reproducible (the first
// setup uses seed S, each new setup the next one), `--agents N` and
// `--threshold T` prefill the two boxes. Written `--name value` or
// `--name=value`.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace travenel {

struct TStartOptions {
  std::optional<std::uint32_t> Seed;
  std::optional<std::int32_t> Agents;
  std::optional<std::int32_t> Threshold;
};

// A command line the window cannot start with; what() says why.
class EStartUsage : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The arguments after the program's name (the toolkit's own taken out
// already). Throws EStartUsage for an unknown option, a missing value, or a
// value that is no whole number in the option's range.
TStartOptions ParseStartOptions(const std::vector<std::string>& args);

// Takes the window's options with their values out of argv (as the toolkit
// does with its own), so that they are read before the toolkit starts and a
// bad one is told even where no display is at hand. Returns them in order.
std::vector<std::string> TakeStartOptions(int& argc, char** argv);

// "--seed S  ..." lines for the message that follows a usage error.
std::string StartUsage();

}  // namespace travenel
