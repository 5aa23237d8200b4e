#include "chart/ScaleWidget.h"

ScaleWidget::ScaleWidget(QWidget* parent) : ControlWidget(std::make_unique<TScale>(), parent) {}
