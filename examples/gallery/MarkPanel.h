// MarkPanel: a control that shows every data mark of the chart library — the
// 48 shapes and a few character marks — each with its number beneath it.
#pragma once

#include <string>

#include "travenel/gfx/Color.h"
#include "travenel/ui/Control.h"

namespace travenel {

class TMarkPanel : public TControl {
 public:
  static constexpr int kShapeMarks = 48;
  static constexpr int kColumns = 24;
  static constexpr int kCellHeight = 38;
  static constexpr int kCharMarks[] = {48, 65, 77, 120, 0xA7, 0xB0, 0x80};

  explicit TMarkPanel(const std::string& fontName);

  // The height that shows every mark; the marks spread over the width given.
  static int NeededHeight();

 protected:
  void Paint() override { PaintOn(Canvas()); }
  // On a scaled screen: the same drawing at the device's resolution.
  bool RenderOn(TCanvas& surface, bool) override {
    PaintOn(surface);
    return true;
  }

 private:
  void PaintOn(TCanvas& c);

  std::string fontName_;
};

}  // namespace travenel
