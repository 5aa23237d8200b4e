#include "travenel/plot/SummaryAggregate.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "travenel/plot/Format.h"
#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Reader.h"

namespace travenel {

TSummaryAggregate::TSummaryAggregate(int column, bool zeroMeansNever, TParamIndex params)
    : column_(column), zeroMeansNever_(zeroMeansNever), params_(params) {}

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
  TSetup& s = SetupOf(SetupKeyOf(row, params_), line);
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
    order.push_back({xAgents ? TSetupKey{key.Threshold, key.Agents, key.Params} : key, &s});
  if (xAgents)
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TSummaryCurve> curves;
  for (const auto& [key, s] : order) {
    if (curves.empty() || curves.back().Key != key.Agents) curves.push_back({key.Agents, {}, {}});
    TSummaryPoint p{key.Threshold, s->Values, s->Runs, s->Never,
                    std::vector<double>(s->Marks.begin(), s->Marks.end())};
    std::sort(p.Marks.begin(), p.Marks.end());
    curves.back().Points.push_back(std::move(p));
  }
  return curves;
}

std::vector<TSetupKey> TSummaryAggregate::Keys() const {
  std::vector<TSetupKey> keys;
  for (const auto& [key, s] : setups_) keys.push_back(key);
  return keys;
}

std::vector<TSummaryCurve> TSummaryAggregate::FinishAcross(int param) const {
  const std::vector<TSetupKey> keys = Keys();
  const bool world = param == param::kWidth || param == param::kHeight;
  const bool density = params_[param::kDensity] >= 0 &&
                       (world || param == param::kDensity);
  const auto x = [&](const TSetupKey& k) {
    return param == kAcrossThreshold ? k.Threshold
           : param == kAcrossAgents  ? k.Agents
           : world                   ? k.Params[param::kWidth] * k.Params[param::kHeight]
                                     : k.Params[static_cast<std::size_t>(param)];
  };
  // A curve's setups: the key without what goes across.
  const auto curveOf = [&](TSetupKey k) {
    if (param == kAcrossThreshold)
      k.Threshold = 0;
    else if (param == kAcrossAgents)
      k.Agents = 0;
    else if (world)
      k.Params[param::kWidth] = k.Params[param::kHeight] = 0;
    else
      k.Params[static_cast<std::size_t>(param)] = 0;
    if (density) k.Agents = 0;
    return k;
  };
  unsigned varying = VaryingParams(keys);
  varying &= ~(world                    ? unsigned{kParamWorld}
               : param == param::kJump  ? unsigned{kParamJump}
               : param == param::kShare ? unsigned{kParamShare}
               : param == param::kDensity ? unsigned{kParamDensity}
                                          : 0u);
  std::vector<std::pair<std::pair<TSetupKey, double>, const TSetup*>> order;
  for (const auto& [key, s] : setups_) order.push_back({{curveOf(key), x(key)}, &s});
  std::sort(order.begin(), order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::set<double> agents, thresholds;
  for (const TSetupKey& k : keys) {
    agents.insert(k.Agents);
    thresholds.insert(k.Threshold);
  }
  std::vector<TSummaryCurve> curves;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto& [id, s] = order[i];
    if (i == 0 || order[i - 1].first.first != id.first) {
      TSummaryCurve c;
      c.Key = static_cast<double>(curves.size());
      std::string label = ParamsText(id.first, varying);
      const auto add = [&](const std::string& part) {
        label = part + (label.empty() ? "" : " \xC2\xB7 " + label);
      };
      if (thresholds.size() > 1 && param != kAcrossThreshold)
        add("threshold " + NumberText(id.first.Threshold));
      if (!density && agents.size() > 1 && param != kAcrossAgents)
        add(NumberText(id.first.Agents) + " agents");
      c.Label = label.empty() ? "mean" : label;
      curves.push_back(std::move(c));
    }
    TSummaryPoint p{id.second, s->Values, s->Runs, s->Never,
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
