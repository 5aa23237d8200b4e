#include "travenel/app/StartOptions.h"

#include <charconv>
#include <limits>

#include "travenel/sim/World.h"

namespace travenel {

namespace {

// Decimal digits with an optional '-', nothing else: read the same under
// every locale.
std::int64_t ReadValue(const std::string& name, const std::string& text, std::int64_t low,
                       std::int64_t high) {
  std::int64_t v = 0;
  const char* const end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, v);
  if (text.empty() || error != std::errc() || ptr != end || v < low || v > high)
    throw EStartUsage(name + ": '" + text + "' ist keine ganze Zahl von " + std::to_string(low) +
                      " bis " + std::to_string(high));
  return v;
}

bool IsStartOption(const std::string& name) {
  return name == "--seed" || name == "--agents" || name == "--threshold";
}

}  // namespace

std::vector<std::string> TakeStartOptions(int& argc, char** argv) {
  std::vector<std::string> taken;
  int kept = argc > 0 ? 1 : 0;
  for (int i = kept; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t equals = arg.find('=');
    if (!IsStartOption(arg.substr(0, equals))) {
      argv[kept++] = argv[i];
      continue;
    }
    taken.push_back(arg);
    if (equals == std::string::npos && i + 1 < argc) taken.emplace_back(argv[++i]);
  }
  argc = kept;
  if (argc >= 0) argv[argc] = nullptr;
  return taken;
}

TStartOptions ParseStartOptions(const std::vector<std::string>& args) {
  TStartOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i], value;
    const std::size_t equals = name.find('=');
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (!IsStartOption(name)) throw EStartUsage("unbekannte Option '" + name + "'");
    if (equals == std::string::npos) {
      if (i + 1 == args.size()) throw EStartUsage(name + ": Wert fehlt");
      value = args[++i];
    }
    if (name == "--seed")
      o.Seed = static_cast<std::uint32_t>(
          ReadValue(name, value, 0, std::numeric_limits<std::uint32_t>::max()));
    else if (name == "--agents")
      o.Agents = static_cast<std::int32_t>(ReadValue(name, value, 0, TWorld::kMaxAgents));
    else
      o.Threshold =
          static_cast<std::int32_t>(ReadValue(name, value, std::numeric_limits<std::int32_t>::min(),
                                              std::numeric_limits<std::int32_t>::max()));
  }
  return o;
}

std::string StartUsage() {
  return "Aufruf: travenel [--seed S] [--agents N] [--threshold T]\n"
         "  --seed S       Startwert des ersten Setups (0 bis 4294967295), jedes neue Setup den "
         "nächsten\n"
         "  --agents N     Anzahl Agenten für Setup (0 bis " +
         std::to_string(TWorld::kMaxAgents) +
         ")\n"
         "  --threshold T  Schwellenwert\n";
}

}  // namespace travenel
