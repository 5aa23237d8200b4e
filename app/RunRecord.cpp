#include "travenel/app/RunRecord.h"

#include "travenel/sweepcsv/Columns.h"
#include "travenel/sweepcsv/Writer.h"

namespace travenel {

void TRunRecord::Start(std::int32_t agents, std::uint32_t seed) {
  agents_ = agents;
  seed_ = seed;
  steps_.clear();
  cut_ = false;
}

void TRunRecord::Add(std::int32_t threshold, std::int32_t attached, std::int32_t free) {
  if (steps_.size() == kMaxSteps) {
    cut_ = true;
    return;
  }
  steps_.push_back({threshold, attached, free});
}

std::string TRunRecord::Csv() const {
  std::string text = HeaderText(TCsvKind::PerStep, false);
  text.reserve(text.size() + steps_.size() * 32);
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    AppendStepRow(text, agents_, steps_[i].Threshold, seed_, i + 1, steps_[i].Attached,
                  steps_[i].Free);
    text += '\n';
  }
  return text;
}

}  // namespace travenel
