// TTimer: a form's periodic timer — its Interval (milliseconds) and Enabled as
// the form stores them, and OnTimer at each tick, delivered by the message
// loop. Like the desktop timers forms were made for, it never ticks more
// often than every kMinTickMs: a shorter interval runs at that pace, so a run
// asked for at 1 ms can be watched as it goes.
#pragma once

#include <QTimer>
#include <functional>

namespace travenel {

class TTimer : public QObject {
 public:
  static constexpr int kMinTickMs = 10;

  explicit TTimer(QObject* parent = nullptr);

  // getters:
  int Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  // The pace of the ticks: Interval, or kMinTickMs when that is shorter.
  int TickInterval() const;

  // setters:
  // An interval of 0 or less never ticks, enabled or not.
  void SetInterval(int ms);
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  void Sync();

  QTimer timer_;
  int interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace travenel
