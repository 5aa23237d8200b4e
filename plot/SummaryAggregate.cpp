#include "travenel/plot/SummaryAggregate.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "travenel/plot/Format.h"
#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Reader.h"

namespace travenel {

TSummaryAggregate::TSummaryAggregate(int column, bool zeroMeansNever)
    : column_(column), zeroMeansNever_(zeroMeansNever) {}

TSummaryAggregate::TSetup& TSummaryAggregate::SetupOf(const TSetupKey& key, std::uint64_t line) {
  if (last_ && key == lastKey_) return *last_;
  auto it = setups_.find(key);
  if (it == setups_.end()) {
    if (setups_.size() == kMaxSetups)
      throw EBadInput("line " + std::to_string(line) + ": setup agents " + NumberText(key.Agents) +
                      ", threshold " + NumberText(key.Threshold) + " is one more than the " +
                      std::to_string(kMaxSetups) +
                      " setups one picture can show; plot a part of the sweep");
    it = setups_.emplace(key, TSetup{}).first;
  }
  last_ = &it->second;  // map nodes stay where they are
  lastKey_ = key;
  return *last_;
}

void TSummaryAggregate::Add(const std::vector<double>& row, std::uint64_t line) {
  TSetup& s = SetupOf({row[col::kAgents], row[col::kThreshold]}, line);
  ++s.Runs;
  const double v = row[static_cast<std::size_t>(column_)];
  if (std::isnan(v)) return;  // a measure without a value
  if (zeroMeansNever_ && v == 0) {
    ++s.Never;
    return;
  }
  s.Values.Add(v);
  if (s.Marks.size() < kMaxMarksPerSetup && marks_ < kMaxMarks) {
    if (s.Marks.insert(v).second) ++marks_;
  } else if (!s.Marks.count(v)) {
    marksDropped_ = true;
  }
}

std::vector<TSummaryCurve> TSummaryAggregate::Finish(bool xAgents) const {
  // The setups in the order of the curves' key, then x.
  std::vector<std::pair<TSetupKey, const TSetup*>> order;
  for (const auto& [key, s] : setups_)
    order.push_back({xAgents ? TSetupKey{key.Threshold, key.Agents} : key, &s});
  if (xAgents)
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TSummaryCurve> curves;
  for (const auto& [key, s] : order) {
    if (curves.empty() || curves.back().Key != key.Agents) curves.push_back({key.Agents, {}});
    TSummaryPoint p{key.Threshold, s->Values, s->Runs, s->Never,
                    std::vector<double>(s->Marks.begin(), s->Marks.end())};
    std::sort(p.Marks.begin(), p.Marks.end());
    curves.back().Points.push_back(std::move(p));
  }
  return curves;
}

std::size_t TSummaryAggregate::AgentCounts() const {
  std::size_t n = 0;
  double last = 0;
  for (const auto& [key, s] : setups_)
    if (n == 0 || key.Agents != last) {
      ++n;
      last = key.Agents;
    }
  return n;
}

std::size_t TSummaryAggregate::Thresholds() const {
  std::set<double> t;
  for (const auto& [key, s] : setups_) t.insert(key.Threshold);
  return t.size();
}

}  // namespace travenel
