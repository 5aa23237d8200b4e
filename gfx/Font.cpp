#include "travenel/gfx/Font.h"

#include <algorithm>
#include <cmath>

namespace travenel {

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      pixelsPerInch_(other.pixelsPerInch_),
      color_(other.color_),
      style_(other.style_) {}

TFont& TFont::operator=(const TFont& other) {
  if (this == &other) return *this;
  name_ = other.name_;
  height_ = other.height_;
  pixelsPerInch_ = other.pixelsPerInch_;
  color_ = other.color_;
  style_ = other.style_;
  Changed();
  return *this;
}

void TFont::SetValues(const TFontValues& v) {
  name_ = v.Name;
  height_ = std::clamp(v.Height, 1, kMaxHeight);
  pixelsPerInch_ = std::max(v.PixelsPerInch, 1);
  color_ = v.Color;
  style_ = v.Style;
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int pixels) {
  pixels = std::clamp(pixels, 1, kMaxHeight);
  if (pixels == height_) return;
  height_ = pixels;
  Changed();
}

int TFont::Size() const {
  return static_cast<int>(std::nearbyint(static_cast<double>(height_) * 72.0 / pixelsPerInch_));
}

void TFont::SetSize(int points) {
  const double px = static_cast<double>(points) * pixelsPerInch_ / 72.0;
  // Clamp before converting so absurd sizes cannot overflow the integer.
  SetHeight(static_cast<int>(std::nearbyint(std::clamp(px, 1.0, double{kMaxHeight}))));
}

void TFont::SetPixelsPerInch(int ppi) {
  ppi = std::max(ppi, 1);
  if (ppi == pixelsPerInch_) return;
  pixelsPerInch_ = ppi;
  Changed();
}

void TFont::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

void TFont::SetStyle(TFontStyles s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}

void TFont::Changed() {
  ++generation_;
  if (OnChange) OnChange();
}

const QFont& TFont::QtFont() const {
  if (qfontGeneration_ != generation_) {
    QFont f(QString::fromStdString(name_));
    f.setPixelSize(height_);
    f.setBold(style_.Contains(fsBold));
    f.setItalic(style_.Contains(fsItalic));
    f.setUnderline(style_.Contains(fsUnderline));
    f.setStrikeOut(style_.Contains(fsStrikeOut));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    qfont_ = f;
    qfontGeneration_ = generation_;
  }
  return qfont_;
}

}  // namespace travenel
