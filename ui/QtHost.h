// QtHost: the QWidget that shows one TControl in a Qt window. It copies the
// control's window image to the screen and forwards size, mouse, key and cursor
// traffic to the control; it never draws anything of its own.
#pragma once

#include <QImage>
#include <QWidget>

#include "travenel/gfx/Types.h"

namespace travenel {

class TControl;

class QtHost : public QWidget {
 public:
  // The control must outlive the host or detach it by being destroyed first.
  explicit QtHost(TControl& control, QWidget* parent = nullptr);
  ~QtHost() override;

  TControl* Control() const { return control_; }

  // Called by the control:
  void Detach();
  void SyncGeometry();
  void SyncVisibility();
  void SyncCursor();
  void RequestPaint();
  void RequestPaint(const TRect& r);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool focusNextPrevChild(bool next) override;

 private:
  // The control's picture at the screen's device pixel ratio, drawn anew
  // whenever its window image changed; null when the control cannot draw so
  // (its window image is shown scaled then).
  const QImage& DevicePicture(double ratio);

  TControl* control_;
  QImage devicePicture_;
  qint64 deviceKey_ = 0;
  double deviceRatio_ = 1;
  bool syncing_ = false;  // geometry change started by the control itself
};

}  // namespace travenel
