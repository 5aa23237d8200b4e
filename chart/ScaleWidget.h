// ScaleWidget: a stand-alone TScale as a Qt widget; Scale() gives its
// properties, and the mouse over it comes out as signals.
#pragma once

#include "travenel/chart/Scale.h"
#include "travenel/ui/ControlWidget.h"

namespace travenel {

class ScaleWidget : public ControlWidget {
  Q_OBJECT

 public:
  explicit ScaleWidget(QWidget* parent = nullptr);
  ~ScaleWidget() override;

  TScale& Scale() { return static_cast<TScale&>(Control()); }
  const TScale& Scale() const { return static_cast<const TScale&>(Control()); }

 signals:
  // The value the mouse points at along the axis.
  void mouseMoved(double value);
  // A press and release of a button at one spot, at the value there.
  void clicked(double value, Qt::MouseButton button);
};

}  // namespace travenel
