#include "travenel/app/Image.h"

#include <QFrame>
#include <QPaintEvent>
#include <QPainter>

namespace travenel {

TImage::TImage(QWidget* parent) : QWidget(parent) {
  // Every pixel it shows comes from the picture: Qt need not fill the
  // parents' background below it first (that fill cost as much as the
  // picture's copy, at every step of a run).
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TImage::~TImage() = default;

TBitmap& TImage::Picture() {
  if (!picture_) {
    picture_ = std::make_unique<TBitmap>(width(), height());
    // On a scaled screen the picture has the device's pixels from the start.
    picture_->SetDeviceScale(devicePixelRatioF());
  }
  return *picture_;
}

void TImage::FitToFrame() {
  // A child sits over its parent's frame; the part over the frame is masked
  // off, so the frame shows there and the rest is the picture's alone.
  const auto* frame = qobject_cast<const QFrame*>(parentWidget());
  if (!frame) return clearMask();
  const QRect client = frame->contentsRect().translated(-pos()) & rect();
  if (client == rect())
    clearMask();
  else
    setMask(QRegion(client));
}

void TImage::resizeEvent(QResizeEvent*) { FitToFrame(); }

void TImage::moveEvent(QMoveEvent*) { FitToFrame(); }

void TImage::paintEvent(QPaintEvent* e) {
  if (picture_ && picture_->DeviceScale() != devicePixelRatioF()) {
    picture_->SetDeviceScale(devicePixelRatioF());
    if (OnRescaled) OnRescaled();
  }
  QPainter p(this);
  for (const QRect& r : e->region()) {
    if (!picture_) {
      p.fillRect(r, palette().window());
      continue;
    }
    const QImage& img = picture_->Image();
    const QRect from = picture_->Canvas().DeviceRect(Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
    if (picture_->Canvas().IsDevice())
      p.drawImage(QRectF(r), img, QRectF(from));
    else
      p.drawImage(r.topLeft(), img, r);
    // Beyond a picture smaller than the control: the window colour.
    const QRegion outside = QRegion(r) - QRegion(0, 0, picture_->Width(), picture_->Height());
    for (const QRect& o : outside) p.fillRect(o, palette().window());
  }
}

}  // namespace travenel
