#include "travenel/sweepcsv/Columns.h"

#include <algorithm>

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

template <std::size_t N>
int IndexIn(const std::array<std::string_view, N>& names, std::string_view name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

template <std::size_t N>
int Hits(const std::vector<std::string_view>& fields, const std::array<std::string_view, N>& base) {
  int n = 0;
  for (std::string_view name : base)
    if (std::find(fields.begin(), fields.end(), name) != fields.end()) ++n;
  return n;
}

}  // namespace

std::string MeasureName(TCsvKind kind, std::string_view measure) {
  return (kind == TCsvKind::Summary ? std::string(kFinalPrefix) : std::string()) +
         std::string(measure);
}

std::string HeaderText(TCsvKind kind, bool measures, unsigned params) {
  std::string s =
      kind == TCsvKind::PerStep ? Joined(kStepColumns, ",") : Joined(kSummaryColumns, ",");
  if (measures)
    for (std::string_view m : kMeasureColumns) {
      s += ',';
      s += MeasureName(kind, m);
    }
  const auto add = [&](std::string_view name) {
    s += ',';
    s += name;
  };
  if (params & kParamWorld) add(kParamColumns[0]), add(kParamColumns[1]);
  if (params & kParamJump) add(kParamColumns[2]);
  if (params & kParamShare) add(kParamColumns[3]);
  if (params & kParamDensity) add(kParamColumns[4]);
  return s + "\n";
}

std::string Shown(std::string_view field) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (unsigned char ch : field.substr(0, 40)) {
    if (ch < 0x20 || ch == 0x7F) {
      s += "\\x";
      s += kHex[ch >> 4];
      s += kHex[ch & 15];
    } else {
      s += static_cast<char>(ch);
    }
  }
  return s;
}

std::string Where(std::uint64_t line, int column, const std::string& name) {
  std::string s = "line " + std::to_string(line) + ", column " + std::to_string(column);
  if (!name.empty()) s += " (" + name + ")";
  return s + ": ";
}

int TCsvLayout::Find(std::string_view name) const {
  const auto it = std::find(Names.begin(), Names.end(), name);
  return it == Names.end() ? -1 : static_cast<int>(it - Names.begin());
}

bool TCsvLayout::IsParam(int index) const {
  return index >= BaseCount() &&
         IndexIn(kParamColumns, Names[static_cast<std::size_t>(index)]) >= 0;
}

TValueRule TCsvLayout::Rule(int index) const {
  if (IsParam(index)) return TValueRule::Number;
  if (index >= BaseCount()) return TValueRule::Measure;
  if (Kind == TCsvKind::PerStep)
    return index == col::kStep ? TValueRule::Whole : TValueRule::Number;
  if (index == col::kPausedAt) return TValueRule::Paused;
  return index == col::kStepsRun ? TValueRule::Whole : TValueRule::Number;
}

std::string KnownMeasureList(TCsvKind kind) {
  std::string list;
  for (std::string_view m : kMeasureColumns)
    list += (list.empty() ? "" : ", ") + MeasureName(kind, m);
  return list;
}

TCsvLayout LayoutFromHeader(const std::vector<std::string_view>& fields, std::uint64_t line) {
  const int stepHits = Hits(fields, kStepColumns), runHits = Hits(fields, kSummaryColumns);
  TCsvLayout layout;
  layout.Kind = runHits > stepHits ? TCsvKind::Summary : TCsvKind::PerStep;
  const bool perStep = layout.Kind == TCsvKind::PerStep;
  const int base = layout.BaseCount();
  const std::string expected = "a header names the columns '" + Joined(kStepColumns, ",") +
                               "' (rows per step) or '" + Joined(kSummaryColumns, ",") +
                               "' (rows per run), in any order";
  if (std::max(stepHits, runHits) == 0)
    throw EBadInput("line " + std::to_string(line) + ": no header: " + expected + ", not '" +
                    Shown(fields.empty() ? "" : fields[0]) + "'");
  layout.Names.resize(static_cast<std::size_t>(base));
  for (int i = 0; i < base; ++i)
    layout.Names[static_cast<std::size_t>(i)] = perStep
                                                    ? kStepColumns[static_cast<std::size_t>(i)]
                                                    : kSummaryColumns[static_cast<std::size_t>(i)];
  std::vector<int> firstField(static_cast<std::size_t>(base), -1);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view name = fields[i];
    int to = perStep ? IndexIn(kStepColumns, name) : IndexIn(kSummaryColumns, name);
    const bool measure = perStep
                             ? IndexIn(kMeasureColumns, name) >= 0
                             : name.starts_with(kFinalPrefix) &&
                                   IndexIn(kMeasureColumns, name.substr(kFinalPrefix.size())) >= 0;
    const bool param = IndexIn(kParamColumns, name) >= 0;
    if (to < 0 && (measure || param)) {
      to = layout.Find(name);
      if (to < 0) {
        layout.Names.emplace_back(name);
        to = layout.Count() - 1;
      } else {
        to = -2;  // a measure seen before
      }
    } else if (to >= 0 && firstField[static_cast<std::size_t>(to)] >= 0) {
      to = -2;
    }
    if (to == -2)
      throw EBadInput(Where(line, static_cast<int>(i) + 1, "") + "column '" + Shown(name) +
                      "' appears twice");
    if (to >= 0 && to < base) firstField[static_cast<std::size_t>(to)] = static_cast<int>(i);
    // Empty names stand for the empty columns a spreadsheet leaves at the end.
    if (to < 0 && !name.empty()) layout.Ignored.push_back(Shown(name));
    layout.Source.push_back(to);
  }
  for (int i = 0; i < base; ++i)
    if (firstField[static_cast<std::size_t>(i)] < 0)
      throw EBadInput("line " + std::to_string(line) + ": column '" +
                      layout.Names[static_cast<std::size_t>(i)] + "' missing: " + expected);
  return layout;
}

}  // namespace travenel
