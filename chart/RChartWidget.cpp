#include "travenel/chart/RChartWidget.h"

namespace travenel {

RChartWidget::RChartWidget(QWidget* parent) : ControlWidget(std::make_unique<TRChart>(), parent) {}

QSize RChartWidget::minimumSizeHint() const {
  const TChartGeometry g = Chart().Geometry();
  return QSize(g.MinWidth(), g.MinHeight());
}

}  // namespace travenel
