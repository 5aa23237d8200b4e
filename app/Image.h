// TImage: an image control — an off-screen bitmap of the control's own size
// that code draws on and the control shows. The bitmap is made at the first
// drawing. Inside a framed parent the control shows only within the parent's
// client area, so the frame stays visible. What it shows it paints whole:
// nothing behind it is painted first.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "travenel/gfx/Bitmap.h"

namespace travenel {

class TImage : public QWidget {
 public:
  explicit TImage(QWidget* parent = nullptr);
  ~TImage() override;

  // The drawing surface; creates the bitmap with the control's size on first use.
  TBitmap& Picture();
  TCanvas& Canvas() { return Picture().Canvas(); }
  bool HasPicture() const { return picture_ != nullptr; }

  // Called when the picture had to start anew at another device scale (the
  // window went to a screen of another device pixel ratio): whoever draws on
  // it draws it all again.
  std::function<void()> OnRescaled;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;

 private:
  // Keeps the control to its parent frame's client area.
  void FitToFrame();

  std::unique_ptr<TBitmap> picture_;
};

}  // namespace travenel
