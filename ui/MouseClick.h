// A click as the widgets report it: a press and release of one button at one
// spot (within Qt's drag distance), and the Qt name of a button.
#pragma once

#include <QApplication>
#include <cstdlib>

#include "travenel/ui/Input.h"

namespace travenel {

class TClickSpot {
 public:
  void Press(TMouseButton button, int x, int y) {
    pressed_ = true;
    button_ = button;
    x_ = x;
    y_ = y;
  }
  // Whether this release ends a click.
  bool Release(TMouseButton button, int x, int y) {
    const bool click =
        pressed_ && button == button_ &&
        std::abs(static_cast<long long>(x) - x_) + std::abs(static_cast<long long>(y) - y_) <=
            QApplication::startDragDistance();
    pressed_ = false;
    return click;
  }

 private:
  bool pressed_ = false;
  TMouseButton button_ = mbLeft;
  int x_ = 0, y_ = 0;
};

inline Qt::MouseButton QtButtonOf(TMouseButton b) {
  switch (b) {
    case mbRight: return Qt::RightButton;
    case mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
  }
}

}  // namespace travenel
