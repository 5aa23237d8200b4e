// TControl: the small control model the chart and the scale are written against
// — bounds, visibility, font, the loading and designing states, painting into a
// retained window image, mouse and key hooks and a cursor — shown on screen by
// a QtHost.
#pragma once

#include <functional>
#include <string>

#include "travenel/gfx/Bitmap.h"
#include "travenel/gfx/Font.h"
#include "travenel/gfx/Types.h"
#include "travenel/ui/Input.h"

namespace travenel {

class QtHost;

class TControl {
 public:
  enum class Kind { Windowed, Graphic };  // Graphic: window-less, drawn over its parent

  explicit TControl(Kind kind);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  // getters:
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  TRect ClientRect() const { return Rect(0, 0, width_, height_); }
  bool Visible() const { return visible_; }
  bool Windowed() const { return kind_ == Kind::Windowed; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  TCursor Cursor() const { return cursor_; }

  // setters:
  // Every change of position or size goes through SetBounds; negative sizes become 0.
  // Any size is taken; one whose window image cannot be allocated (see
  // TBitmap::SetSize) leaves the image empty, so the control shows nothing
  // until a size that fits comes.
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetVisible(bool visible);
  void SetCursor(TCursor cursor);

  // Component states. Loading is set while stored property values are applied;
  // designing only ever by tests (there is no form designer).
  bool Loading() const { return loading_; }
  bool Designing() const { return designing_; }
  void SetLoading(bool loading) { loading_ = loading; }
  void SetDesigning(bool designing) { designing_ = designing; }
  // Told once the stored values are in.
  virtual void Loaded() {}

  // The window: a windowed control gets it when a host is attached, or when
  // HandleNeeded is called (tests do that without a host).
  bool HandleAllocated() const { return handleAllocated_; }
  void HandleNeeded();

  // Painting. The window image is the control's surface, kept at its size; the
  // host only ever copies it to the screen.
  TBitmap& WindowImage() { return windowImage_; }
  const TBitmap& WindowImage() const { return windowImage_; }
  TCanvas& Canvas() { return windowImage_.Canvas(); }
  // What shows behind a window-less control (its parent's colour).
  TColor ParentColor() const { return parentColor_; }
  void SetParentColor(TColor c) { parentColor_ = c; }

  // Paint later: the host repaints at its next paint (for a window-less control
  // first the parent's background, then Paint).
  void Invalidate();
  // Paint now, the same way, and present the result.
  void Repaint();
  // Show the window image as it is now (after painting into it directly).
  void Present();
  // The same where only the part r of the window image has changed.
  void Present(const TRect& r);
  bool PaintPending() const { return paintPending_; }
  // Marks a paint as due without asking the host for it: the caller runs it
  // with PaintIfPending when it sees fit (reading the picture runs it first).
  void DeferPaint() { paintPending_ = true; }
  // Runs a paint still due and presents it.
  void PaintIfPending();
  // Writes the control's picture as the screen shows it (a paint still due is
  // run first; a control without a window gets one) to a PNG or BMP file,
  // replacing an old file only once the new one is complete. Throws
  // EWriteError when the file cannot be written.
  virtual void SaveToFile(const std::string& path);
  // The same by the name's suffix: PNG and BMP at scale times the pixels per
  // side, SVG and PDF as vectors laid out as on screen (logical pixels); at
  // scale 1 a PNG or BMP is what SaveToFile(path) writes. Throws EWriteError
  // for bad names and unknown suffixes, leaving an old file as it was.
  void SaveToFile(const std::string& path, double scale);
  // Draws the control's picture anew on a device canvas of the control's size
  // (a screen at a device pixel ratio above 1, a vector file) with the same
  // routines that paint the window image; `screen` adds what only the screen
  // shows (outlines being dragged). False when the control has no such
  // drawing: its window image is then shown (and saved) scaled.
  virtual bool RenderOn(TCanvas& surface, bool screen);

  // Which keys the control handles itself (DLGC_WANTARROWS | DLGC_WANTTAB).
  virtual int DialogCode() const { return 0; }

  // Input hooks; the defaults fire the matching events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The wheel turned by delta (120 a notch, away from the user positive) with
  // the cursor at (x, y); true when the control used it.
  virtual bool MouseWheel(TShiftState, int /*delta*/, int /*x*/, int /*y*/) { return false; }
  virtual void Click();
  virtual void DblClick();
  virtual void KeyDown(std::uint16_t& key, TShiftState shift);
  virtual void KeyUp(std::uint16_t& key, TShiftState shift);

  std::function<void(TControl& sender)> OnClick;
  std::function<void(TControl& sender)> OnDblClick;
  std::function<void(TControl& sender, TMouseButton, TShiftState, int x, int y)> OnMouseDown;
  std::function<void(TControl& sender, TShiftState, int x, int y)> OnMouseMove;
  std::function<void(TControl& sender, TMouseButton, TShiftState, int x, int y)> OnMouseUp;
  std::function<void(TControl& sender, std::uint16_t& key, TShiftState)> OnKeyDown;
  std::function<void(TControl& sender, std::uint16_t& key, TShiftState)> OnKeyUp;

  QtHost* Host() const { return host_; }

 protected:
  // Draws the control on Canvas().
  virtual void Paint() {}
  // Runs when the window comes into being.
  virtual void CreateWnd() {}
  // A control that only ever draws on another control's surface keeps no
  // window image: while not retained the image stays empty whatever the size.
  void SetWindowImageRetained(bool retained);

  // Runs after the size changed (the window image already has the new size).
  // By default the control paints again later; one that repaints on its own
  // when its bounds change overrides it, so it is not painted twice.
  virtual void Resized() { Invalidate(); }

  // The window image, brought up to date, for saving.
  const TBitmap& CurrentPicture();

 private:
  friend class QtHost;
  void AttachHost(QtHost* host);
  // Runs a pending paint (erasing first for a window-less control).
  void PaintWindow();

  Kind kind_;
  std::string name_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool loading_ = false;
  bool designing_ = false;
  bool handleAllocated_ = false;
  bool paintPending_ = false;
  bool windowImageRetained_ = true;
  TColor parentColor_ = clBtnFace;
  TCursor cursor_ = crDefault;
  TFont font_;
  TBitmap windowImage_;
  QtHost* host_ = nullptr;
};

// Applies stored property values the way a stored form is read: the control is
// loading while `apply` runs, then told that loading has finished.
template <class Apply>
void LoadControl(TControl& control, Apply&& apply) {
  control.SetLoading(true);
  try {
    apply();
  } catch (...) {
    control.SetLoading(false);
    throw;
  }
  control.SetLoading(false);
  control.Loaded();
}

}  // namespace travenel
