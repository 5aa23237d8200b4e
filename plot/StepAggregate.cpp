#include "travenel/plot/StepAggregate.h"

#include <cmath>
#include <limits>

#include "travenel/plot/Columns.h"
#include "travenel/plot/CsvReader.h"
#include "travenel/plot/Format.h"

namespace travenel {

TStepAggregate::TStepAggregate(std::vector<int> columns)
    : columns_(std::move(columns)),
      runLast_(columns_.size(), std::numeric_limits<double>::quiet_NaN()) {}

std::size_t TStepAggregate::SetupOf(const TSetupKey& key, std::uint64_t line) {
  if (const auto it = index_.find(key); it != index_.end()) return it->second;
  if (setups_.size() == kMaxSetups)
    throw EBadInput("line " + std::to_string(line) + ": setup agents " + NumberText(key.Agents) +
                    ", threshold " + NumberText(key.Threshold) + " is one more than the " +
                    std::to_string(kMaxSetups) +
                    " setups one picture of per-step curves can show; plot a part of the sweep "
                    "(e.g. picked with grep) or its --summary");
  setups_.push_back({});
  setups_.back().Key = key;
  index_.emplace(key, setups_.size() - 1);
  return setups_.size() - 1;
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

void TStepAggregate::EndRun() {
  if (!inRun_) return;
  TSetup& s = setups_[runSetup_];
  const std::size_t bin = BinOf(s, runStep_);
  for (std::size_t c = 0; c < columns_.size(); ++c)
    if (!std::isnan(runLast_[c])) s.Ended[bin * columns_.size() + c].Add(runLast_[c]);
  inRun_ = false;
}

void TStepAggregate::Add(const std::vector<double>& row, std::uint64_t line) {
  const TSetupKey key{row[col::kAgents], row[col::kThreshold]};
  const double seed = row[col::kSeed];
  const auto step = static_cast<std::uint64_t>(row[col::kStep]);
  if (!inRun_ || key != runKey_ || seed != runSeed_ || step <= runStep_) {
    EndRun();
    runSetup_ = SetupOf(key, line);
    ++setups_[runSetup_].Runs;
    inRun_ = true;
    runKey_ = key;
    runSeed_ = seed;
    std::fill(runLast_.begin(), runLast_.end(), std::numeric_limits<double>::quiet_NaN());
  }
  TSetup& s = setups_[runSetup_];
  const std::size_t base = BinOf(s, step) * columns_.size();
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const double v = row[static_cast<std::size_t>(columns_[c])];
    if (std::isnan(v)) continue;  // a measure without a value
    s.Rows[base + c].Add(v);
    runLast_[c] = v;
  }
  s.FirstStep = std::min(s.FirstStep, step);
  s.LastStep = std::max(s.LastStep, step);
  runStep_ = step;
}

std::vector<TStepSetup> TStepAggregate::Finish() {
  EndRun();
  const std::size_t nc = columns_.size();
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
