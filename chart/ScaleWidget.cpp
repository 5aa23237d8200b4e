#include "travenel/chart/ScaleWidget.h"

namespace travenel {

ScaleWidget::ScaleWidget(QWidget* parent) : ControlWidget(std::make_unique<TScale>(), parent) {}

}  // namespace travenel
