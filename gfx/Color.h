// Colour values of the drawing surface: 0x00BBGGRR, red in the low byte.
// A value whose top byte is 0xFF names a system colour by the index in its low
// byte; ColorToRGB resolves it from a fixed table of classic desktop values, so
// pictures never depend on the theme of the machine they are drawn on.
#pragma once

#include <cstdint>

namespace travenel {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours (top byte 0xFF, index in the low byte).
constexpr TColor clScrollBar = 0xFF000000;
constexpr TColor clBackground = 0xFF000001;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowFrame = 0xFF000006;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clGrayText = 0xFF000011;
constexpr TColor clBtnText = 0xFF000012;
constexpr TColor clBtnHighlight = 0xFF000014;
constexpr TColor cl3DDkShadow = 0xFF000015;
constexpr TColor cl3DLight = 0xFF000016;

constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

// The plain 0x00BBGGRR value of c: system colours looked up, the top byte of
// any other value dropped.
TColor ColorToRGB(TColor c);

// The grey level g (0..255, only the low byte counts) as a colour.
constexpr TColor GreyColor(int g) { return static_cast<TColor>(g & 0xFF) * 0x010101u; }

constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
         (static_cast<TColor>(b & 0xFF) << 16);
}

// Conversions between TColor and the 0xAARRGGBB pixels of the images.
constexpr std::uint32_t RgbToPixel(TColor rgb) {
  return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr TColor PixelToRgb(std::uint32_t px) {
  return ((px >> 16) & 0xFF) | (px & 0xFF00) | ((px & 0xFF) << 16);
}
inline std::uint32_t ColorToPixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

}  // namespace travenel
