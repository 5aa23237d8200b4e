// TFont: the font of a drawing surface or a control — name, character height in
// pixels (or size in points at the font's pixels per inch), colour and style set —
// with a change notification.
#pragma once

#include <QFont>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "travenel/gfx/Color.h"

namespace travenel {

enum TFontStyle : std::uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };

// A set of TFontStyle values; empty is regular.
struct TFontStyles {
  std::uint8_t Bits = 0;

  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) Bits |= static_cast<std::uint8_t>(1u << s);
  }
  constexpr bool Contains(TFontStyle s) const { return (Bits >> s) & 1u; }
  constexpr bool Empty() const { return Bits == 0; }
  constexpr bool operator==(const TFontStyles&) const = default;
};

// The values of a font, without its change notification: cheap to copy and compare.
struct TFontValues {
  std::string Name;
  int Height = 0;
  int PixelsPerInch = 0;
  TColor Color = 0;
  TFontStyles Style;
  bool operator==(const TFontValues&) const = default;
};

class TFont {
 public:
  static constexpr int kScreenPixelsPerInch = 96;
  // The largest character height: thousands of times that of text on screen,
  // far beyond any surface, and well inside the pixel sizes (below 2^16) that
  // the font engine renders; larger ones would come out at a default size.
  static constexpr int kMaxHeight = 32767;

  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);  // copies the values and fires OnChange, not the handler

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);

  // Character height in pixels (the em size); 1 .. kMaxHeight.
  int Height() const { return height_; }
  void SetHeight(int pixels);

  // Size in points at PixelsPerInch(): reading and writing convert through it.
  int Size() const;
  void SetSize(int points);

  // Only the point-to-pixel conversion depends on it; changing it keeps Height().
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi);

  TColor Color() const { return color_; }
  void SetColor(TColor c);

  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles s);

  void Assign(const TFont& other) { *this = other; }
  TFontValues Values() const { return {name_, height_, pixelsPerInch_, color_, style_}; }
  // Takes the values over and fires OnChange once, as an assignment does.
  void SetValues(const TFontValues& v);
  // Same name, height, pixels per inch, colour and style (the handler aside).
  bool SameValues(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ &&
           pixelsPerInch_ == other.pixelsPerInch_ && color_ == other.color_ &&
           style_ == other.style_;
  }

  // Fired after any change of a value.
  std::function<void()> OnChange;

  // The Qt font for these values; cached until the next change.
  const QFont& QtFont() const;
  // Bumped on every change, so users of the font can keep derived data (metrics).
  std::uint64_t Generation() const { return generation_; }

 private:
  void Changed();

  std::string name_ = "Tahoma";
  int height_ = 11;
  int pixelsPerInch_ = kScreenPixelsPerInch;
  TColor color_ = clWindowText;
  TFontStyles style_;
  std::uint64_t generation_ = 1;
  mutable QFont qfont_;
  mutable std::uint64_t qfontGeneration_ = 0;
};

}  // namespace travenel
