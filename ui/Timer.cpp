#include "travenel/ui/Timer.h"

#include <algorithm>

namespace travenel {

TTimer::TTimer(QObject* parent) : QObject(parent) {
  // Steady ticks at the pace asked: the coarse default lets 10 ms drift by 5 %.
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) OnTimer();
  });
  Sync();
}

int TTimer::TickInterval() const { return std::max(interval_, kMinTickMs); }

void TTimer::SetInterval(int ms) {
  interval_ = ms;
  Sync();
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Sync();
}

void TTimer::Sync() {
  // Setting the interval restarts a running timer: only when it changes.
  if (timer_.interval() != TickInterval()) timer_.setInterval(TickInterval());
  if (enabled_ && interval_ > 0) {
    if (!timer_.isActive()) timer_.start();
  } else {
    timer_.stop();
  }
}

}  // namespace travenel
