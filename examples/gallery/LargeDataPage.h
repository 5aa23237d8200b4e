// LargeDataPage: the chart as a widget in a Qt layout, holding a polyline of
// up to a million points (MaxItems above the standard thousand): how long a
// repaint takes at each size, wheel zoom with back and home, a live feed that
// appends points, saving the picture, and a stand-alone scale widget that
// follows the chart's x range.
#pragma once

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

 private:
  void Fill(int points);
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
};

}  // namespace travenel
