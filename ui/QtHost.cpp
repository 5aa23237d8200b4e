#include "travenel/ui/QtHost.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <utility>

#include "travenel/gfx/PictureFile.h"
#include "travenel/ui/Application.h"
#include "travenel/ui/Control.h"

namespace travenel {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s;
  if (mods & Qt::ShiftModifier) s.Include(ssShift);
  if (mods & Qt::AltModifier) s.Include(ssAlt);
  if (mods & Qt::ControlModifier) s.Include(ssCtrl);
  if (buttons & Qt::LeftButton) s.Include(ssLeft);
  if (buttons & Qt::RightButton) s.Include(ssRight);
  if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

bool ButtonOf(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
  }
}

// Qt key → classic virtual key code (letters and digits coincide).
std::uint16_t VirtualKeyOf(int key) {
  switch (key) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt: return vk::Menu;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    default: break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::uint16_t>(vk::F1 + (key - Qt::Key_F1));
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return static_cast<std::uint16_t>(key);
  return 0;
}

}  // namespace

QtHost::QtHost(TControl& control, QWidget* parent) : QWidget(parent), control_(&control) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  if (control.Windowed()) setFocusPolicy(Qt::StrongFocus);
  control.AttachHost(this);
  SyncGeometry();
  SyncVisibility();
  SyncCursor();
}

QtHost::~QtHost() {
  if (control_) control_->AttachHost(nullptr);
}

void QtHost::Detach() { control_ = nullptr; }

void QtHost::SyncGeometry() {
  if (!control_) return;
  syncing_ = true;
  setGeometry(control_->Left(), control_->Top(), control_->Width(), control_->Height());
  syncing_ = false;
}

void QtHost::SyncVisibility() {
  // A hidden control still shows while it is being designed.
  if (control_) setVisible(control_->Visible() || control_->Designing());
}

void QtHost::SyncCursor() {
  if (control_) setCursor(TScreen::Instance().QtCursor(control_->Cursor()));
}

void QtHost::RequestPaint() { update(); }

void QtHost::RequestPaint(const TRect& r) {
  // Coordinates beyond the widget are cut by Qt; the size fits in an int
  // once it is clipped to the control's.
  const QRect wanted(QPoint(r.Left, r.Top), QPoint(ClampToInt32(std::int64_t{r.Right} - 1),
                                                   ClampToInt32(std::int64_t{r.Bottom} - 1)));
  update(wanted & rect());
}

bool QtHost::event(QEvent* e) {
  // Exceptions must not cross Qt's event loop: report them and go on.
  bool result = false;
  RunHandler([&] { result = QWidget::event(e); });
  return result;
}

void QtHost::paintEvent(QPaintEvent* e) {
  if (!control_) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    return;
  }
  control_->PaintWindow();
  // Read only: the image's cache key, which changes with every write, stays.
  const QImage& img = std::as_const(*control_).WindowImage().Image();
  // An empty image (no size, or one too large to allocate) shows nothing. The
  // painter is not even begun: on a window too large for its own backing
  // store Qt would only complain.
  if (img.isNull()) return;
  QPainter p(this);
  // On a scaled screen the control draws at the device's resolution; mouse
  // positions and everything else stay in logical pixels.
  const double ratio = devicePixelRatioF();
  if (ratio != 1) {
    const QImage& device = DevicePicture(ratio);
    if (!device.isNull()) {
      for (const QRect& r : e->region()) {
        const QRectF from(r.left() * ratio, r.top() * ratio, r.width() * ratio, r.height() * ratio);
        p.drawImage(QRectF(r), device, from);
      }
      return;
    }
  }
  // Only what was asked for is copied (the rest of the screen is as it was).
  for (const QRect& r : e->region()) p.drawImage(r.topLeft(), img, r);
}

const QImage& QtHost::DevicePicture(double ratio) {
  const TControl& control = *control_;
  const qint64 key = control.WindowImage().Image().cacheKey();
  if (key == deviceKey_ && ratio == deviceRatio_ &&
      (devicePicture_.isNull() ||
       devicePicture_.deviceIndependentSize().toSize() == QSize(control.Width(), control.Height())))
    return devicePicture_;
  bool drawn = false;
  devicePicture_ = RenderScaled(control.Width(), control.Height(), ratio,
                                [&](TCanvas& c) { drawn = control_->RenderOn(c, true); });
  if (!drawn) devicePicture_ = QImage();
  deviceKey_ = key;
  deviceRatio_ = ratio;
  return devicePicture_;
}

void QtHost::resizeEvent(QResizeEvent*) {
  if (!control_ || syncing_) return;
  if (width() != control_->Width() || height() != control_->Height())
    control_->SetBounds(x(), y(), width(), height());
}

void QtHost::moveEvent(QMoveEvent*) {
  if (!control_ || syncing_) return;
  if (x() != control_->Left() || y() != control_->Top())
    control_->SetBounds(x(), y(), control_->Width(), control_->Height());
}

void QtHost::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!control_ || !ButtonOf(e->button(), b)) return;
  const QPoint p = e->position().toPoint();
  control_->MouseDown(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void QtHost::mouseMoveEvent(QMouseEvent* e) {
  if (!control_) return;
  const QPoint p = e->position().toPoint();
  control_->MouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void QtHost::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!control_ || !ButtonOf(e->button(), b)) return;
  const QPoint p = e->position().toPoint();
  control_->MouseUp(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
  // A click is a left press and release inside the control.
  if (control_ && b == mbLeft && rect().contains(p)) control_->Click();
}

void QtHost::mouseDoubleClickEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!control_ || !ButtonOf(e->button(), b)) return;
  TShiftState s = ShiftOf(e->modifiers(), e->buttons());
  s.Include(ssDouble);
  if (b == mbLeft) control_->DblClick();
  const QPoint p = e->position().toPoint();
  if (control_) control_->MouseDown(b, s, p.x(), p.y());
}

void QtHost::enterEvent(QEnterEvent*) {
  if (control_) control_->MouseEnter();
}

void QtHost::leaveEvent(QEvent*) {
  if (control_) control_->MouseLeave();
}

void QtHost::wheelEvent(QWheelEvent* e) {
  const QPoint p = e->position().toPoint();
  // What the control does not use goes on to the parent (a scroll area).
  if (!control_ || !control_->MouseWheel(ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(),
                                         p.x(), p.y()))
    e->ignore();
}

void QtHost::keyPressEvent(QKeyEvent* e) {
  std::uint16_t key = VirtualKeyOf(e->key());
  if (!control_ || key == 0) return QWidget::keyPressEvent(e);
  control_->KeyDown(key, ShiftOf(e->modifiers(), Qt::NoButton));
}

void QtHost::keyReleaseEvent(QKeyEvent* e) {
  std::uint16_t key = VirtualKeyOf(e->key());
  if (!control_ || key == 0) return QWidget::keyReleaseEvent(e);
  control_->KeyUp(key, ShiftOf(e->modifiers(), Qt::NoButton));
}

bool QtHost::focusNextPrevChild(bool next) {
  // A control that claims Tab gets it as a key instead of losing the focus.
  if (control_ && (control_->DialogCode() & DLGC_WANTTAB)) return false;
  return QWidget::focusNextPrevChild(next);
}

}  // namespace travenel
