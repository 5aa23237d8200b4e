#include "travenel/ui/ControlWidget.h"

#include "travenel/ui/Application.h"
#include "travenel/ui/Control.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

ControlWidget::ControlWidget(std::unique_ptr<TControl> control, QWidget* parent)
    : QWidget(parent), control_(std::move(control)) {
  RegisterAppFonts();  // the look the controls are made for, where the fonts are there
  hint_ = QSize(control_->Width(), control_->Height());
  // The control sits at the widget's top-left corner; attaching the host
  // creates its window, so it paints from now on.
  control_->SetBounds(0, 0, control_->Width(), control_->Height());
  host_ = std::make_unique<QtHost>(*control_, this);
  setFocusPolicy(host_->focusPolicy());
  setFocusProxy(host_.get());
  resize(hint_);
}

QWidget& ControlWidget::Host() { return *host_; }

ControlWidget::~ControlWidget() {
  host_.reset();  // detaches from the control before the control goes
}

void ControlWidget::resizeEvent(QResizeEvent*) {
  control_->SetBounds(control_->Left(), control_->Top(), width(), height());
}

}  // namespace travenel
