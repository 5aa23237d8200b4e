#include "travenel/plot/Columns.h"

#include <algorithm>

#include "travenel/plot/CsvReader.h"

namespace travenel {

namespace {

template <std::size_t N>
std::string Joined(const std::array<std::string_view, N>& names, const char* sep) {
  std::string s;
  for (std::string_view n : names) {
    if (!s.empty()) s += sep;
    s += n;
  }
  return s;
}

// How many leading fields match a list of base columns.
template <std::size_t N>
std::size_t Matching(const std::vector<std::string_view>& fields,
                     const std::array<std::string_view, N>& base) {
  std::size_t i = 0;
  while (i < fields.size() && i < N && fields[i] == base[i]) ++i;
  return i;
}

}  // namespace

int TCsvLayout::Find(std::string_view name) const {
  const auto it = std::find(Names.begin(), Names.end(), name);
  return it == Names.end() ? -1 : static_cast<int>(it - Names.begin());
}

TValueRule TCsvLayout::Rule(int index) const {
  if (index >= BaseCount()) return TValueRule::Measure;
  if (Kind == TCsvKind::PerStep)
    return index == col::kStep ? TValueRule::Whole : TValueRule::Number;
  if (index == col::kPausedAt) return TValueRule::Paused;
  return index == col::kStepsRun ? TValueRule::Whole : TValueRule::Number;
}

namespace {

std::string MeasureName(TCsvKind kind, std::string_view measure) {
  return (kind == TCsvKind::Summary ? std::string(kFinalPrefix) : std::string()) +
         std::string(measure);
}

}  // namespace

std::string KnownMeasureList(TCsvKind kind) {
  std::string list;
  for (std::string_view m : kMeasureColumns)
    list += (list.empty() ? "" : ", ") + MeasureName(kind, m);
  return list;
}

TCsvLayout LayoutFromHeader(const std::vector<std::string_view>& fields, std::uint64_t line) {
  const std::string perStep = Joined(kStepColumns, ","), perRun = Joined(kSummaryColumns, ",");
  const std::size_t stepMatch = Matching(fields, kStepColumns);
  const std::size_t runMatch = Matching(fields, kSummaryColumns);
  TCsvLayout layout;
  layout.Kind = runMatch > stepMatch ? TCsvKind::Summary : TCsvKind::PerStep;
  const std::size_t base = static_cast<std::size_t>(layout.BaseCount());
  const std::size_t matched = std::max(stepMatch, runMatch);
  if (matched < base) {
    const std::string expected =
        "a header starts '" + perStep + "' (rows per step) or '" + perRun + "' (rows per run)";
    if (matched >= fields.size())
      throw EBadInput(Where(line, static_cast<int>(matched) + 1, "") + "missing: " + expected);
    if (matched == 0)
      throw EBadInput("line " + std::to_string(line) + ": no header: " + expected + ", not '" +
                      std::string(fields.empty() ? "" : fields[0]) + "'");
    throw EBadInput(Where(line, static_cast<int>(matched) + 1, "") + "unknown column '" +
                    std::string(fields[matched]) + "': " + expected);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string name(fields[i]);
    if (i >= base) {
      if (std::none_of(kMeasureColumns.begin(), kMeasureColumns.end(),
                       [&](std::string_view m) { return MeasureName(layout.Kind, m) == name; }))
        throw EBadInput(Where(line, static_cast<int>(i) + 1, "") + "unknown column '" + name +
                        "' (after the base columns come the measures " +
                        KnownMeasureList(layout.Kind) + ")");
      if (layout.Find(name) >= 0)
        throw EBadInput(Where(line, static_cast<int>(i) + 1, "") + "column '" + name +
                        "' appears twice");
    }
    layout.Names.push_back(name);
  }
  return layout;
}

}  // namespace travenel
