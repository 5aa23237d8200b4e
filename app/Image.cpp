#include "app/Image.h"

#include <QFrame>
#include <QPaintEvent>
#include <QPainter>

TImage::TImage(QWidget* parent) : QWidget(parent) {}

TImage::~TImage() = default;

TBitmap& TImage::Picture() {
  if (!picture_) picture_ = std::make_unique<TBitmap>(width(), height());
  return *picture_;
}

void TImage::paintEvent(QPaintEvent* e) {
  if (!picture_) return;
  QPainter p(this);
  QRect visible = e->rect();
  // A child sits over its parent's frame; keep to the parent's client area.
  if (const auto* frame = qobject_cast<const QFrame*>(parentWidget()))
    visible &= frame->contentsRect().translated(-pos());
  if (visible.isEmpty()) return;
  p.setClipRect(visible);
  p.drawImage(visible.topLeft(), picture_->Image(), visible);
}
