#include "travenel/ui/Control.h"

#include <algorithm>

#include "travenel/gfx/PictureFile.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

TControl::TControl(Kind kind) : kind_(kind) {}

TControl::~TControl() {
  if (host_) host_->Detach();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const bool resized = width != width_ || height != height_;
  if (!resized && left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized && windowImageRetained_) windowImage_.SetSize(width, height);
  if (host_) host_->SyncGeometry();
  if (resized) Resized();
}

void TControl::SetWindowImageRetained(bool retained) {
  if (retained == windowImageRetained_) return;
  windowImageRetained_ = retained;
  if (retained)
    windowImage_.SetSize(width_, height_);
  else
    windowImage_.SetSize(0, 0);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (host_) host_->SyncVisibility();
  Invalidate();
}

void TControl::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (host_) host_->SyncCursor();
}

void TControl::HandleNeeded() {
  if (handleAllocated_) return;
  handleAllocated_ = true;
  CreateWnd();
}

void TControl::Invalidate() {
  paintPending_ = true;
  if (host_) host_->RequestPaint();
}

void TControl::Repaint() {
  paintPending_ = true;
  PaintWindow();
  Present();
}

void TControl::PaintIfPending() {
  if (!paintPending_) return;
  PaintWindow();
  Present();
}

void TControl::Present() {
  if (host_) host_->RequestPaint();
}

const TBitmap& TControl::CurrentPicture() {
  HandleNeeded();
  PaintWindow();
  return windowImage_;
}

void TControl::SaveToFile(const std::string& path) {
  if (PictureFormatOf(path) != TPictureFormat::Raster) return SaveToFile(path, 1);
  CurrentPicture().SaveToFile(path);
}

void TControl::SaveToFile(const std::string& path, double scale) {
  if (PictureFormatOf(path) == TPictureFormat::Raster && scale == 1) return SaveToFile(path);
  const TBitmap& picture = CurrentPicture();
  SavePicture(path, picture.Width(), picture.Height(), scale, [this](TCanvas& c) {
    if (!RenderOn(c, false)) c.StretchDraw(Rect(0, 0, c.Width(), c.Height()), windowImage_);
  });
}

bool TControl::RenderOn(TCanvas&, bool) { return false; }

void TControl::Present(const TRect& r) {
  if (host_ && r.Width() > 0 && r.Height() > 0) host_->RequestPaint(r);
}

void TControl::PaintWindow() {
  if (!paintPending_) return;
  paintPending_ = false;
  if (kind_ == Kind::Graphic) {
    // A window-less control has no background of its own: its parent's shows.
    TCanvas& c = Canvas();
    c.Brush.Style = bsSolid;
    c.Brush.Color = parentColor_;
    c.FillRect(ClientRect());
  }
  Paint();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TControl::KeyDown(std::uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
}

void TControl::KeyUp(std::uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
}

void TControl::AttachHost(QtHost* host) {
  host_ = host;
  if (host_) HandleNeeded();
}

}  // namespace travenel
