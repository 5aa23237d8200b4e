#include "travenel/plot/StepAggregate.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "travenel/plot/Format.h"

namespace travenel {

namespace {

// Steps up to this have a bit each; later ones (rare: files cut by hand)
// are listed.
constexpr std::uint64_t kBitSteps = std::uint64_t{1} << 24;

}  // namespace

std::size_t TStepAggregate::TRunHash::operator()(const TRunKey& k) const {
  const std::hash<double> h;
  std::size_t v = h(k.Setup.Agents);
  v = v * 1000003u ^ h(k.Setup.Threshold);
  for (double p : k.Setup.Params) v = v * 1000003u ^ h(p);
  return v * 1000003u ^ h(k.Seed);
}

TParamIndex ParamIndexOf(const TCsvLayout& layout) {
  TParamIndex index;
  for (std::size_t i = 0; i < index.size(); ++i) index[i] = layout.Find(kParamColumns[i]);
  return index;
}

TSetupKey SetupKeyOf(const std::vector<double>& row, const TParamIndex& index) {
  TSetupKey key{row[col::kAgents], row[col::kThreshold], {}};
  for (std::size_t i = 0; i < index.size(); ++i)
    if (index[i] >= 0) key.Params[i] = row[static_cast<std::size_t>(index[i])];
  return key;
}

unsigned PresentParams(const TParamIndex& index) {
  return (index[param::kWidth] >= 0 || index[param::kHeight] >= 0 ? kParamWorld : 0u) |
         (index[param::kJump] >= 0 ? kParamJump : 0u) |
         (index[param::kShare] >= 0 ? kParamShare : 0u) |
         (index[param::kDensity] >= 0 ? kParamDensity : 0u);
}

namespace {

constexpr std::pair<int, unsigned> kParamBitOf[] = {{param::kWidth, kParamWorld},
                                                    {param::kHeight, kParamWorld},
                                                    {param::kJump, kParamJump},
                                                    {param::kShare, kParamShare},
                                                    {param::kDensity, kParamDensity}};

const std::string kMiddleDot = " \xC2\xB7 ";

std::string WorldText(const TSetupKey& k) {
  return NumberText(k.Params[param::kWidth]) + "x" + NumberText(k.Params[param::kHeight]);
}

}  // namespace

unsigned VaryingParams(const std::vector<TSetupKey>& keys) {
  unsigned bits = 0;
  for (const TSetupKey& k : keys)
    for (const auto& [i, bit] : kParamBitOf)
      if (k.Params[static_cast<std::size_t>(i)] != keys[0].Params[static_cast<std::size_t>(i)])
        bits |= bit;
  return bits;
}

std::string ParamsText(const TSetupKey& key, unsigned varying) {
  std::string s;
  const auto add = [&](const std::string& part) { s += (s.empty() ? "" : kMiddleDot) + part; };
  if (varying & kParamWorld) add("world " + WorldText(key));
  if (varying & kParamJump) add("jump " + NumberText(key.Params[param::kJump]));
  if (varying & kParamShare) add("share " + NumberText(key.Params[param::kShare]) + "%");
  if (varying & kParamDensity) add("density " + NumberText(key.Params[param::kDensity]) + "%");
  return s;
}

std::string ParamsRange(const std::vector<TSetupKey>& keys, unsigned present) {
  if (keys.empty()) return "";
  std::string s;
  const auto add = [&](const std::string& part) { s += (s.empty() ? "" : kMiddleDot) + part; };
  if (present & kParamWorld) {
    // By cells, the smallest to the largest.
    const auto cells = [](const TSetupKey& k) {
      return k.Params[param::kWidth] * k.Params[param::kHeight];
    };
    const auto [lo, hi] = std::minmax_element(
        keys.begin(), keys.end(), [&](const auto& a, const auto& b) { return cells(a) < cells(b); });
    add("world " + WorldText(*lo) + (cells(*lo) == cells(*hi) && WorldText(*lo) == WorldText(*hi)
                                         ? ""
                                         : " to " + WorldText(*hi)));
  }
  for (const auto& [i, bit, name, unit] :
       {std::tuple{param::kJump, kParamJump, "jump ", ""},
        {param::kShare, kParamShare, "share ", "%"},
        {param::kDensity, kParamDensity, "density ", "%"}})
    if (present & bit) {
      std::vector<double> values;
      for (const TSetupKey& k : keys) values.push_back(k.Params[static_cast<std::size_t>(i)]);
      std::sort(values.begin(), values.end());
      values.erase(std::unique(values.begin(), values.end()), values.end());
      add(name + ValuesText(values) + unit);
    }
  return s;
}

TStepAggregate::TStepAggregate(std::vector<int> columns, TParamIndex params)
    : columns_(std::move(columns)), params_(params) {}

std::size_t TStepAggregate::SetupOf(const TSetupKey& key) {
  if (const auto it = index_.find(key); it != index_.end()) return it->second;
  setups_.push_back({});
  setups_.back().Key = key;
  index_.emplace(key, setups_.size() - 1);
  return setups_.size() - 1;
}

std::size_t TStepAggregate::RunOf(const TRunKey& key, std::uint64_t line) {
  // The runner writes a run's rows together: most rows are of the last run.
  if (lastRun_ != SIZE_MAX && key == lastKey_) return lastRun_;
  auto it = runIndex_.find(key);
  if (it == runIndex_.end()) {
    TRun r;
    r.Setup = static_cast<std::uint32_t>(SetupOf(key.Setup));
    ++setups_[r.Setup].Runs;
    r.FirstLine = line;
    runs_.push_back(std::move(r));
    last_.resize(last_.size() + columns_.size(), std::numeric_limits<double>::quiet_NaN());
    lastAt_.resize(lastAt_.size() + columns_.size(), 0);
    it = runIndex_.emplace(key, runs_.size() - 1).first;
  }
  lastKey_ = key;
  lastRun_ = it->second;
  return lastRun_;
}

bool TStepAggregate::MarkSeen(std::size_t i, std::uint64_t step) {
  if (step >= kBitSteps) return far_.insert({i, step}).second;
  TRun& r = runs_[i];
  const std::uint64_t bit = std::uint64_t{1} << (step % 64);
  std::uint64_t* word;
  if (step < 128) {
    word = &r.Near[step / 64];
  } else {
    const std::size_t w = static_cast<std::size_t>(step / 64 - 2);
    if (r.Seen.size() <= w) r.Seen.resize(w + 1);
    word = &r.Seen[w];
  }
  if (*word & bit) return false;
  *word |= bit;
  return true;
}

void TStepAggregate::Widen(TSetup& s) {
  const std::size_t nc = columns_.size();
  const std::size_t bins = s.Rows.size() / nc, merged = (bins + 1) / 2;
  for (std::size_t b = 0; b < merged; ++b)
    for (std::size_t c = 0; c < nc; ++c) {
      TStat rows = s.Rows[2 * b * nc + c], ended = s.Ended[2 * b * nc + c];
      if (2 * b + 1 < bins) {
        rows.Merge(s.Rows[(2 * b + 1) * nc + c]);
        ended.Merge(s.Ended[(2 * b + 1) * nc + c]);
      }
      s.Rows[b * nc + c] = rows;
      s.Ended[b * nc + c] = ended;
    }
  s.Rows.resize(merged * nc);
  s.Ended.resize(merged * nc);
  s.Width *= 2;
}

std::size_t TStepAggregate::BinOf(TSetup& s, std::uint64_t step) {
  while (step / s.Width >= kMaxBins) Widen(s);
  const std::size_t bin = static_cast<std::size_t>(step / s.Width);
  const std::size_t need = (bin + 1) * columns_.size();
  if (s.Rows.size() < need) {
    s.Rows.resize(need);
    s.Ended.resize(need);
  }
  return bin;
}

void TStepAggregate::Add(const std::vector<double>& row, std::uint64_t line) {
  const TRunKey key{SetupKeyOf(row, params_), row[col::kSeed]};
  const auto step = static_cast<std::uint64_t>(row[col::kStep]);
  const std::size_t run = RunOf(key, line);
  TRun& r = runs_[run];
  const bool first = r.LastLine == 0;
  if (!MarkSeen(run, step)) {
    std::uint64_t earlier = 0;
    if (r.Contiguous && step >= r.FirstStep && step <= r.PrevStep)
      earlier = r.FirstLine + (step - r.FirstStep);
    const std::string world = ParamsText(key.Setup, PresentParams(params_));
    throw EDuplicateRow("line " + std::to_string(line) + ": " +
                            (world.empty() ? "" : world + kMiddleDot) + "agents " +
                            NumberText(key.Setup.Agents) + ", threshold " +
                            NumberText(key.Setup.Threshold) + ", seed " +
                            NumberText(key.Seed) + ", step " + std::to_string(step) +
                            " is given twice (line " +
                            (earlier ? std::to_string(earlier) : std::string("?")) + " and line " +
                            std::to_string(line) + ")",
                        earlier, line);
  }
  if (first) {
    r.FirstStep = step;
  } else if (line != r.LastLine + 1 || step != r.PrevStep + 1) {
    r.Contiguous = false;
  }
  r.LastLine = line;
  r.PrevStep = step;
  r.LastStep = first ? step : std::max(r.LastStep, step);

  TSetup& s = setups_[r.Setup];
  const std::size_t nc = columns_.size();
  const std::size_t base = BinOf(s, step) * nc;
  double* last = &last_[run * nc];
  std::uint64_t* lastAt = &lastAt_[run * nc];
  for (std::size_t c = 0; c < nc; ++c) {
    const double v = row[static_cast<std::size_t>(columns_[c])];
    if (std::isnan(v)) continue;  // a measure without a value
    s.Rows[base + c].Add(v);
    if (std::isnan(last[c]) || step >= lastAt[c]) {
      last[c] = v;
      lastAt[c] = step;
    }
  }
  s.FirstStep = std::min(s.FirstStep, step);
  s.LastStep = std::max(s.LastStep, step);
}

std::vector<TStepSetup> TStepAggregate::Finish() {
  const std::size_t nc = columns_.size();
  // Each run counts with its last values after its last step.
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    TSetup& s = setups_[runs_[i].Setup];
    const std::size_t bin = BinOf(s, runs_[i].LastStep);
    for (std::size_t c = 0; c < nc; ++c)
      if (!std::isnan(last_[i * nc + c])) s.Ended[bin * nc + c].Add(last_[i * nc + c]);
  }
  std::vector<TStepSetup> out;
  for (const auto& [key, i] : index_) {
    const TSetup& s = setups_[i];
    TStepSetup setup{key, s.Runs, std::vector<std::vector<TStepPoint>>(nc)};
    const std::size_t bins = s.Rows.size() / nc;
    for (std::size_t c = 0; c < nc; ++c) {
      TStat carried;  // the last values of the runs that ended in earlier bins
      for (std::size_t b = 0; b < bins; ++b) {
        const std::uint64_t lo = std::max<std::uint64_t>(b * s.Width, s.FirstStep);
        const std::uint64_t hi = std::min<std::uint64_t>((b + 1) * s.Width - 1, s.LastStep);
        if (lo <= hi) {
          TStat p = s.Rows[b * nc + c];
          p.MergeRepeated(carried, hi - lo + 1);
          if (p.N > 0)
            setup.Curves[c].push_back(
                {(static_cast<double>(lo) + static_cast<double>(hi)) / 2, p.Mean(), p.Min, p.Max});
        }
        carried.Merge(s.Ended[b * nc + c]);
      }
    }
    out.push_back(std::move(setup));
  }
  return out;
}

}  // namespace travenel
