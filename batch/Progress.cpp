#include "travenel/batch/Progress.h"

#include <algorithm>
#include <cmath>

namespace travenel {

namespace {

// A redrawn line only once the sweep has taken a second, so short sweeps stay
// quiet; then five redraws a second. A log gets a line every ten seconds.
constexpr double kTerminalDelay = 1.0, kTerminalEvery = 0.2, kLogEvery = 10.0;

}  // namespace

std::string Grouped(std::uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Duration(double seconds) {
  const auto s = static_cast<long long>(std::llround(std::max(seconds, 0.0)));
  char buf[64];
  if (s < 60)
    std::snprintf(buf, sizeof buf, "%lld s", s);
  else if (s < 3600)
    std::snprintf(buf, sizeof buf, "%lld min %02lld s", s / 60, s % 60);
  else
    std::snprintf(buf, sizeof buf, "%lld h %02lld min", s / 3600, s / 60 % 60);
  return buf;
}

std::string ProgressText(std::uint64_t done, std::uint64_t total, double runsPerSecond,
                         double elapsed, double left) {
  char rate[32];
  std::snprintf(rate, sizeof rate, runsPerSecond < 10 ? "%.1f" : "%.0f", runsPerSecond);
  std::string text = Grouped(done) + "/" + Grouped(total) + " runs, " + rate + " runs/s, " +
                     Duration(elapsed) + " elapsed";
  if (done < total)
    text += left >= 0 ? ", about " + Duration(left) + " left" : ", time left unknown";
  return text;
}

TTimeLeft::TTimeLeft(std::vector<double> left)
    : left_(left.empty() ? std::vector<double>{0.0} : std::move(left)), spent_(left_.size()) {}

void TTimeLeft::EndSetup(double now) {
  current_.Seconds = now - currentStart_;
  if (current_.Cost > 0) {
    spent_[group_].Seconds += current_.Seconds;
    spent_[group_].Cost += current_.Cost;
  }
  current_ = {};
  currentStart_ = now;
}

double TTimeLeft::Left(double now) const {
  if (done_ <= 0 || now <= 0) return -1;
  // Groups not yet seen go at the pace of the sweep so far.
  const double overall = now / done_;
  double left = 0;
  for (std::size_t g = 0; g < left_.size(); ++g) {
    if (left_[g] <= 0) continue;
    TSpent s = spent_[g];
    // The setup in progress counts with the rest of its group, so a setup
    // just begun does not swing the estimate on its first runs.
    if (g == group_ && current_.Cost > 0) {
      s.Seconds += now - currentStart_;
      s.Cost += current_.Cost;
    }
    left += left_[g] * (s.Cost > 0 ? s.Seconds / s.Cost : overall);
  }
  return left;
}

TProgress::TProgress(std::FILE* err, TStyle style, std::uint64_t done, std::uint64_t total,
                     double doneCost, double totalCost, std::vector<double> groupCost)
    : err_(err),
      style_(style),
      startDone_(done),
      done_(done),
      total_(total),
      timeLeft_(groupCost.empty() ? std::vector<double>{totalCost - doneCost}
                                  : std::move(groupCost)) {}

TProgress::~TProgress() {
  if (style_ == TStyle::Off) return;
  const double elapsed = Elapsed();
  // The last state: on a terminal only if the line was drawn at all; in a
  // log always, so it ends with the sweep's pace.
  if (style_ == TStyle::Log || shownWidth_ > 0) Show(elapsed);
  if (style_ == TStyle::Terminal && shownWidth_ > 0) std::fputc('\n', err_);
  std::fflush(err_);
}

void TProgress::Check() {
  sinceCheck_ = 0;
  const double elapsed = Elapsed();
  // Read the clock about every millisecond, whatever a run takes.
  const double gap = elapsed - lastCheck_;
  lastCheck_ = elapsed;
  if (gap < 0.0005)
    checkEvery_ = std::min<std::uint32_t>(checkEvery_ * 2, 1u << 16);
  else if (gap > 0.002 && checkEvery_ > 1)
    checkEvery_ /= 2;
  if (style_ == TStyle::Terminal
          ? elapsed >= kTerminalDelay && elapsed - lastShown_ >= kTerminalEvery
          : elapsed - lastShown_ >= kLogEvery) {
    lastShown_ = elapsed;
    Show(elapsed);
  }
}

void TProgress::Show(double elapsed) {
  const double rate = elapsed > 0 ? static_cast<double>(done_ - startDone_) / elapsed : 0;
  const std::string text = ProgressText(done_, total_, rate, elapsed, timeLeft_.Left(elapsed));
  if (style_ == TStyle::Terminal) {
    // Blanks over whatever is left of a longer line before.
    const std::size_t pad = shownWidth_ > text.size() ? shownWidth_ - text.size() : 0;
    std::fprintf(err_, "\r%s%*s", text.c_str(), static_cast<int>(pad), "");
    shownWidth_ = text.size();
  } else {
    std::fprintf(err_, "travenel-batch: %s\n", text.c_str());
  }
  std::fflush(err_);
}

}  // namespace travenel
