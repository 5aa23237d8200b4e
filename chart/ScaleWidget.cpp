#include "travenel/chart/ScaleWidget.h"

#include "travenel/ui/MouseClick.h"

namespace travenel {

namespace {

// The scale the widget shows: it tells the widget what the mouse did.
class TWidgetScale final : public TScale {
 public:
  ScaleWidget* Widget = nullptr;

  void MouseMove(TShiftState shift, int x, int y) override {
    TScale::MouseMove(shift, x, y);
    if (Widget) emit Widget->mouseMoved(ValueAt(x, y));
  }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    TScale::MouseDown(button, shift, x, y);
    click_.Press(button, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    TScale::MouseUp(button, shift, x, y);
    if (click_.Release(button, x, y) && Widget)
      emit Widget->clicked(ValueAt(x, y), QtButtonOf(button));
  }

 private:
  double ValueAt(int x, int y) const { return PixelToValue(Vertical() ? y : x); }

  TClickSpot click_;
};

}  // namespace

ScaleWidget::ScaleWidget(QWidget* parent)
    : ControlWidget(std::make_unique<TWidgetScale>(), parent) {
  static_cast<TWidgetScale&>(Scale()).Widget = this;
}

ScaleWidget::~ScaleWidget() { static_cast<TWidgetScale&>(Scale()).Widget = nullptr; }

}  // namespace travenel
