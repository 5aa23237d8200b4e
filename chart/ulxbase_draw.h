// Frame and mark drawing of the chart library's base unit: a rectangle outline,
// 3-D frames of two rings, a frame by frame-style ordinal, the chart's data
// marks (48 shapes and character marks) and the 7 x 7 pixel glyphs some marks
// use. Stateless routines that draw with the surface's current pen, brush and
// font; the frame style is a byte so this header needs nothing from the unit's
// enumerations.
#pragma once

#include <array>
#include <cstdint>

#include "travenel/gfx/Canvas.h"
#include "travenel/gfx/Color.h"

namespace travenel {

// Marks drawn pixel by pixel: one 7 x 7 pattern per mark type (index = mark
// type, 1..25; entries without a glyph mark are empty). Rows run top to bottom;
// in a row byte bit 0 is the rightmost column (x + 3), bit 6 the leftmost
// (x - 3), bit 7 is unused.
inline constexpr int kGlyphRows = 7;
using TGlyph = std::array<std::uint8_t, kGlyphRows>;
extern const std::array<TGlyph, 26> GlyphTable;

// Mark types 0..47 are shapes; from this one on a mark is the character with
// the mark type's code.
inline constexpr int kFirstCharMark = 48;

// Lines to (left, bottom), (right, bottom), (right, top) and back to
// (left, top) in the current pen; the closed path draws every corner.
void DrawRectOutline(TCanvas& canvas, int left, int top, int right, int bottom);

// Two rings, the outer on the rectangle's edge, the inner one pixel inside:
// c1 outer left and top, c2 outer right and bottom, c3 and c4 the same sides of
// the inner ring. The pen is left in c4.
void DrawFrame3D(TCanvas& canvas, int left, int top, int right, int bottom, TColor c1, TColor c2,
                 TColor c3, TColor c4);

// A frame by frame-style ordinal (fsNone 0, fsSimple 1, fsLowered 2, fsRaised 3,
// fsEmbossed 4, fsEngraved 5); only the low seven bits of the byte count and
// other values draw nothing. The pen keeps the colour of the last ring drawn.
void DrawFrameStyled(TCanvas& canvas, std::uint8_t style, int left, int top, int right, int bottom,
                     TColor highlight, TColor light, TColor shadow, TColor dark, TColor simple);

// A data mark centred on (x, y). Types 0..47 are shapes in the pen colour (the
// brush colour is put back afterwards, outlined figures leave the brush solid);
// 48 and above the character of that code in the surface's font, centred.
// On a printer surface the glyph marks are drawn with lines and dots instead.
void DrawMark(TCanvas& canvas, std::uint8_t markType, int x, int y);

// Sets the pixels of glyph `glyph` (1..25) around the centre (x, y) to
// `color`; pen and brush are not touched. Other glyph numbers draw nothing.
void DrawGlyph(TCanvas& canvas, int glyph, int x, int y, TColor color);

}  // namespace travenel
