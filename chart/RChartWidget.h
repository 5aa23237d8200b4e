// RChartWidget: a TRChart as a Qt widget. A program shows a chart with
//
//   auto* w = new RChartWidget(parent);   // or in a layout
//   w->Chart().MoveToPoint(0, 0);
//   w->Chart().LineTo(1, 1);
//   w->Chart().ShowItems();
//
// and reaches every chart property through Chart(). The widget's size is the
// chart's (above the least size its rims and shadow need).
#pragma once

#include "travenel/chart/rchart.h"
#include "travenel/ui/ControlWidget.h"

namespace travenel {

class RChartWidget : public ControlWidget {
 public:
  explicit RChartWidget(QWidget* parent = nullptr);

  TRChart& Chart() { return static_cast<TRChart&>(Control()); }
  const TRChart& Chart() const { return static_cast<const TRChart&>(Control()); }

  // The least size of the chart's rims and shadow.
  QSize minimumSizeHint() const override;
};

}  // namespace travenel
