// LargeDataPage: the chart as a widget in a Qt layout, holding a polyline of
// up to ten million points (MaxItems above the standard thousand): how long a
// repaint and a pan frame take at each size, wheel zoom with back and home, a live feed that
// appends points, saving the picture, and a stand-alone scale widget that
// follows the chart's x range.
#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "travenel/examples/gallery/ChartKit.h"

class QComboBox;
class QLabel;
class QTimer;

namespace travenel {
class RChartWidget;
class ScaleWidget;

class TLargeDataPage : public gallery::TGalleryPage {
 public:
  explicit TLargeDataPage(QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fill(int points);
  void NotePanFrame();
  void Feed();
  void MeasureRepaint();
  void FollowRange();
  void SavePicture();

  RChartWidget* chart_ = nullptr;
  ScaleWidget* scale_ = nullptr;
  QComboBox* size_ = nullptr;
  QLabel* report_ = nullptr;
  QTimer* feed_ = nullptr;
  double nextX_ = 0;
  double noise_ = 0;  // the wandering part of the signal
  // When the mouse move being handled reached the chart, and the last pan frames' times.
  std::optional<std::chrono::steady_clock::time_point> moveStart_;
  std::vector<double> panFrames_;
};

}  // namespace travenel
