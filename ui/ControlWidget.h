// ControlWidget: a plain Qt widget that owns one TControl and shows it filling
// the widget, so a program places the control in layouts like any widget. Its
// size is handed to the control through the control's own resize rules (a
// control may keep a larger minimum); focus, keys, mouse, wheel and cursors
// reach the control through the QtHost inside.
#pragma once

#include <QWidget>
#include <memory>

namespace travenel {

class QtHost;
class TControl;

class ControlWidget : public QWidget {
  Q_OBJECT

 public:
  ControlWidget(std::unique_ptr<TControl> control, QWidget* parent = nullptr);
  ~ControlWidget() override;

  TControl& Control() { return *control_; }
  const TControl& Control() const { return *control_; }
  // The widget inside that shows the control and takes its input (where a
  // program sends mouse and wheel events of its own).
  QWidget& Host();

  // The control's size when the widget was made.
  QSize sizeHint() const override { return hint_; }

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  std::unique_ptr<TControl> control_;
  std::unique_ptr<QtHost> host_;  // a child widget, gone before the control
  QSize hint_;
};

}  // namespace travenel
