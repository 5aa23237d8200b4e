// TImage: an image control — an off-screen bitmap of the control's own size
// that code draws on and the control shows. The bitmap is made at the first
// drawing. Inside a framed parent the picture is clipped to the parent's
// client area, so the frame stays visible.
#pragma once

#include <QWidget>
#include <memory>

#include "gfx/Bitmap.h"

class TImage : public QWidget {
 public:
  explicit TImage(QWidget* parent = nullptr);
  ~TImage() override;

  // The drawing surface; creates the bitmap with the control's size on first use.
  TBitmap& Picture();
  TCanvas& Canvas() { return Picture().Canvas(); }
  bool HasPicture() const { return picture_ != nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::unique_ptr<TBitmap> picture_;
};
