// ScaleWidget: a stand-alone TScale as a Qt widget; Scale() gives its
// properties.
#pragma once

#include "travenel/chart/Scale.h"
#include "travenel/ui/ControlWidget.h"

namespace travenel {

class ScaleWidget : public ControlWidget {
 public:
  explicit ScaleWidget(QWidget* parent = nullptr);

  TScale& Scale() { return static_cast<TScale&>(Control()); }
  const TScale& Scale() const { return static_cast<const TScale&>(Control()); }
};

}  // namespace travenel
