// Data marks: glyphs, shapes, printer variants and character marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ostream>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/Bitmap.h"

namespace travenel {

namespace {

constexpr TColor kInk = clNavy;
constexpr TColor kBrush = clYellow;
constexpr int kSize = 32, kCx = 16, kCy = 16;

using PixelSet = std::set<std::pair<int, int>>;

// Offsets from the centre of every pixel that is not white.
PixelSet Changed(const TCanvas& c, int cx = kCx, int cy = kCy) {
  PixelSet s;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixels(x, y) != clWhite) s.insert({x - cx, y - cy});
  return s;
}

PixelSet MarkPixels(std::uint8_t type, bool printer = false) {
  TBitmap b(kSize, kSize);
  TCanvas& c = b.Canvas();
  c.SetPrinter(printer);
  c.Pen.Color = kInk;
  DrawMark(c, type, kCx, kCy);
  return Changed(c);
}

// '#' pixels of a picture whose centre is at (cx, cy) of the picture.
PixelSet FromArt(const std::vector<std::string>& art, int cx, int cy) {
  PixelSet s;
  for (int r = 0; r < static_cast<int>(art.size()); ++r)
    for (int k = 0; k < static_cast<int>(art[r].size()); ++k)
      if (art[r][k] == '#') s.insert({k - cx, r - cy});
  return s;
}

bool IsSubset(const PixelSet& a, const PixelSet& b) {
  for (const auto& p : a)
    if (!b.count(p)) return false;
  return true;
}

// ---------------------------------------------------------------- pictures

struct MarkArt {
  int Type;
  bool Printer;
  std::vector<std::string> Art;
  int Cx, Cy;  // the mark's centre within Art
};

void PrintTo(const MarkArt& m, std::ostream* os) {
  *os << "mark " << m.Type << (m.Printer ? " on printer" : " on screen");
}

class MarkPicture : public ::testing::TestWithParam<MarkArt> {};

TEST_P(MarkPicture, SetsExactlyThePicturedPixelsInThePenColour) {
  const MarkArt& m = GetParam();
  TBitmap b(kSize, kSize);
  TCanvas& c = b.Canvas();
  c.SetPrinter(m.Printer);
  c.Pen.Color = kInk;
  DrawMark(c, static_cast<std::uint8_t>(m.Type), kCx, kCy);
  EXPECT_EQ(Changed(c), FromArt(m.Art, m.Cx, m.Cy));
  for (const auto& [dx, dy] : Changed(c)) EXPECT_EQ(c.Pixels(kCx + dx, kCy + dy), kInk);
}

const std::vector<std::string> kChecker = {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.",
                                           "#.#.#.#", ".#.#.#.", "#.#.#.#"};

INSTANTIATE_TEST_SUITE_P(
    ScreenGlyphs, MarkPicture,
    ::testing::Values(
        MarkArt{1, false, {".......", ".......", "...#...", "..###..", "...#...", ".......", "......."}, 3, 3},
        MarkArt{2, false, {".......", "...#...", "...#...", ".#####.", "...#...", "...#...", "......."}, 3, 3},
        MarkArt{3, false, {"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}, 3, 3},
        MarkArt{4, false, {".......", ".......", "..#.#..", "...#...", "..#.#..", ".......", "......."}, 3, 3},
        MarkArt{5, false, {".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."}, 3, 3},
        MarkArt{6, false, {"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"}, 3, 3},
        MarkArt{18, false, kChecker, 3, 3},
        MarkArt{25, false, {"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"}, 3, 3}));

// On paper the same marks are lines (end pixel left out) and dots.
INSTANTIATE_TEST_SUITE_P(
    PrinterGlyphs, MarkPicture,
    ::testing::Values(
        MarkArt{1, true, {"..#..", "..#..", "####.", "..#..", "....."}, 2, 2},
        MarkArt{2, true, {"...#...", "...#...", "...#...", "######.", "...#...", "...#...", "......."}, 3, 3},
        MarkArt{3, true, {"....#....", "....#....", "....#....", "....#....", "########.", "....#....",
                          "....#....", "....#....", "........."}, 4, 4},
        MarkArt{4, true, {"#....", ".#.#.", "..#..", ".#.#.", "#...."}, 2, 2},
        MarkArt{5, true, {"#......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#......"}, 3, 3},
        MarkArt{6, true, {"#........", ".#.....#.", "..#...#..", "...#.#...", "....#....", "...#.#...",
                          "..#...#..", ".#.....#.", "#........"}, 4, 4},
        MarkArt{18, true, kChecker, 3, 3},
        MarkArt{25, true, {"##.....", "###.##.", ".#####.", "..###..", ".#####.", "###.##.", "##....."}, 3, 3}));

INSTANTIATE_TEST_SUITE_P(
    Shapes, MarkPicture,
    ::testing::Values(
        MarkArt{0, false, {"#"}, 0, 0},
        MarkArt{7, false, {"###", "###", "###"}, 1, 1},
        MarkArt{9, false, {"#######", "#######", "#######", "#######", "#######", "#######", "#######"}, 3, 3},
        MarkArt{10, false, {"###", "#.#", "###"}, 1, 1},
        MarkArt{12, false, {"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "#######"}, 3, 3},
        MarkArt{13, false, {".#.", "###", ".#."}, 1, 1},
        MarkArt{15, false, {"...#...", "..###..", ".#####.", "#######", ".#####.", "..###..", "...#..."}, 3, 3},
        MarkArt{19, false, {"...#...", "..#.#..", ".#...#.", "#.....#", ".#...#.", "..#.#..", "...#..."}, 3, 3},
        MarkArt{20, false, {"...#...", "..#.#..", ".#...#."}, 3, 0},
        MarkArt{22, false, {".#...#.", "..#.#..", "...#..."}, 3, 2},
        MarkArt{29, false, {"#####", ".###.", "..#.."}, 2, 0},
        MarkArt{31, false, {"#####", ".#.#.", "..#.."}, 2, 0},
        MarkArt{37, false, {"...#...", "...#...", "...#...", "...#...", "...#...", "...#...", "...#...",
                            "#######"}, 3, 7},
        MarkArt{38, false, {"#######", "...#...", "...#...", "...#...", "#######"}, 3, 2},
        MarkArt{40, false, {"....##", "..##.#", "##...#", "..##.#", "....##"}, 2, 2},
        MarkArt{41, false, {"....##", "..####", "######", "..####", "....##"}, 2, 2}),
    [](const auto& info) { return "Mark" + std::to_string(info.param.Type); });

TEST(DrawMark, PlusOnScreenIsThirteenPixels) {
  const PixelSet s = MarkPixels(3);
  EXPECT_EQ(s.size(), 13u);
  for (const auto& [dx, dy] : s) EXPECT_TRUE(dx == 0 || dy == 0) << dx << "," << dy;
}

TEST(DrawMark, FilledSquareCoversTheCentreAndKeepsTheBrushColour) {
  TBitmap b(kSize, kSize);
  TCanvas& c = b.Canvas();
  c.Pen.Color = kInk;
  c.Brush.Color = kBrush;
  DrawMark(c, 7, kCx, kCy);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(c.Pixels(kCx + dx, kCy + dy), kInk) << dx << "," << dy;
  EXPECT_EQ(Changed(c).size(), 9u);
  EXPECT_EQ(c.Brush.Color, kBrush);
}

// Every outlined figure is the rim of its filled partner: same box, so the
// outline lies inside the filled one and the filled one has an inside.
TEST(DrawMark, OpenFiguresAreTheRimsOfTheirFilledPartners) {
  const std::pair<int, int> pairs[] = {{10, 7},  {11, 8},  {12, 9},  {19, 15}, {16, 26}, {17, 24},
                                       {27, 28}, {31, 29}, {32, 30}, {33, 34}, {35, 36}, {40, 41},
                                       {42, 43}, {44, 45}, {46, 47}};
  for (const auto& [open, filled] : pairs) {
    const PixelSet o = MarkPixels(static_cast<std::uint8_t>(open));
    const PixelSet f = MarkPixels(static_cast<std::uint8_t>(filled));
    EXPECT_TRUE(IsSubset(o, f)) << open << " in " << filled;
    EXPECT_GT(f.size(), o.size()) << open << " vs " << filled;
  }
}

TEST(DrawMark, CirclesFillTheirBoundingBoxes) {
  struct Box { int Type, L, T, R, B; };  // R, B excluded
  for (const Box& k : {Box{16, -2, -2, 3, 3}, Box{17, -3, -3, 4, 4}, Box{24, -3, -3, 4, 4},
                       Box{26, -2, -2, 3, 3}, Box{27, -2, -2, 2, 2}, Box{28, -2, -2, 2, 2}}) {
    const PixelSet s = MarkPixels(static_cast<std::uint8_t>(k.Type));
    ASSERT_FALSE(s.empty()) << k.Type;
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (const auto& [dx, dy] : s) {
      l = std::min(l, dx), r = std::max(r, dx), t = std::min(t, dy), b = std::max(b, dy);
    }
    EXPECT_EQ(l, k.L) << k.Type;
    EXPECT_EQ(t, k.T) << k.Type;
    EXPECT_EQ(r, k.R - 1) << k.Type;
    EXPECT_EQ(b, k.B - 1) << k.Type;
  }
  // The circle with a cross: the open circle of the same box plus both lines.
  const PixelSet crossed = MarkPixels(39);
  EXPECT_TRUE(IsSubset(MarkPixels(17), crossed));
  for (int d = -3; d <= 3; ++d) {
    EXPECT_TRUE(crossed.count({d, 0})) << d;
    EXPECT_TRUE(crossed.count({0, d})) << d;
  }
}

// ---------------------------------------------------------------- state

// Marks whose figure is outlined or filled, so the brush is used; the others
// (a pixel, glyphs, bare lines) leave the brush alone entirely.
bool UsesBrush(int type) {
  if (type == 0 || (type >= 1 && type <= 6) || type == 18 || type == 25) return false;
  if ((type >= 20 && type <= 23) || type == 37 || type == 38) return false;
  return true;
}

class EveryShapeMark : public ::testing::TestWithParam<int> {};

TEST_P(EveryShapeMark, StaysNearItsCentreInThePenColourAndRestoresTheBrush) {
  const int type = GetParam();
  for (bool printer : {false, true}) {
    for (TBrushStyle style : {bsSolid, bsClear}) {
      TBitmap b(kSize, kSize);
      TCanvas& c = b.Canvas();
      c.SetPrinter(printer);
      c.Pen = TPen{kInk, psSolid, 1, pmCopy};
      c.Brush = TBrush{kBrush, style};
      DrawMark(c, static_cast<std::uint8_t>(type), kCx, kCy);
      const PixelSet s = Changed(c);
      EXPECT_FALSE(s.empty());
      for (const auto& [dx, dy] : s) {
        EXPECT_TRUE(dx >= -4 && dx <= 4 && dy >= -7 && dy <= 4) << dx << "," << dy;
        // Filled figures take the pen colour, never the caller's brush.
        EXPECT_EQ(c.Pixels(kCx + dx, kCy + dy), kInk) << dx << "," << dy;
      }
      EXPECT_EQ(c.Brush.Color, kBrush);
      EXPECT_EQ(c.Brush.Style, UsesBrush(type) ? bsSolid : style) << "printer " << printer;
      EXPECT_EQ(c.Pen.Color, kInk);
      EXPECT_EQ(c.Pen.Style, psSolid);
      EXPECT_EQ(c.Pen.Mode, pmCopy);
      // Filled figures are filled whatever brush style the caller had.
      if (style == bsClear) {
        EXPECT_EQ(s, MarkPixels(static_cast<std::uint8_t>(type), printer));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Types0To47, EveryShapeMark, ::testing::Range(0, kFirstCharMark));

TEST(DrawMark, PrinterChangesOnlyTheGlyphMarks) {
  for (int type = 0; type < kFirstCharMark; ++type) {
    const bool glyph = (type >= 1 && type <= 6) || type == 18 || type == 25;
    const bool same = MarkPixels(static_cast<std::uint8_t>(type), true) ==
                      MarkPixels(static_cast<std::uint8_t>(type), false);
    // The checkerboard is the one glyph whose dots match its pattern.
    EXPECT_EQ(same, !glyph || type == 18) << type;
  }
}

TEST(DrawGlyph, SetsPixelsEvenWithAnXorPenAndIgnoresUnknownGlyphs) {
  TBitmap b(kSize, kSize);
  TCanvas& c = b.Canvas();
  c.Pen.Mode = pmXor;
  DrawGlyph(c, 6, kCx, kCy, clRed);
  DrawGlyph(c, 6, kCx, kCy, clRed);  // setting twice is not toggling
  EXPECT_EQ(Changed(c).size(), 13u);
  EXPECT_EQ(c.Pixels(kCx - 3, kCy - 3), clRed);
  for (int g : {-1, 0, 7, 17, 26, 1000}) DrawGlyph(c, g, 4, 4, clBlack);
  EXPECT_EQ(Changed(c).size(), 13u);
}

TEST(DrawMark, FarAwayCentresAreHarmless) {
  TBitmap b(8, 8);
  for (int type = 0; type < 256; ++type)
    for (auto [x, y] : {std::pair{INT_MAX, INT_MAX}, std::pair{INT_MIN, INT_MIN}, std::pair{INT_MAX, INT_MIN}})
      DrawMark(b.Canvas(), static_cast<std::uint8_t>(type), x, y);
  EXPECT_TRUE(Changed(b.Canvas()).empty());
}

TEST(DrawMark, MarksAtTheEdgeAreClipped) {
  TBitmap b(8, 8);
  b.Canvas().Pen.Color = kInk;
  DrawMark(b.Canvas(), 9, 0, 0);  // 7 x 7 square around the corner pixel
  EXPECT_EQ(Changed(b.Canvas(), 0, 0).size(), 16u);
}

// ---------------------------------------------------------------- characters

// A character mark is its text at the point that centres the text's box.
void ExpectCentredText(std::uint8_t type, const std::string& text, bool printer) {
  TBitmap mark(60, 60), ref(60, 60);
  for (TBitmap* b : {&mark, &ref}) {
    b->Canvas().SetPrinter(printer);
    b->Canvas().Font().SetHeight(20);
    b->Canvas().Font().SetColor(clBlack);
    b->Canvas().Brush.Color = clSilver;
  }
  DrawMark(mark.Canvas(), type, 30, 31);
  const int w = ref.Canvas().TextWidth(text), h = ref.Canvas().TextHeight(text);
  ASSERT_GT(w, 0);
  ref.Canvas().TextOut(30 - w / 2, 31 - h / 2, text);
  EXPECT_TRUE(mark.Image() == ref.Image()) << int(type);
  // The box really is centred: its silver background spans w x h around the point.
  EXPECT_EQ(mark.Canvas().Pixels(30 - w / 2, 31 - h / 2), clSilver);
  EXPECT_EQ(mark.Canvas().Pixels(30 - w / 2 - 1, 31), clWhite);
  EXPECT_EQ(mark.Canvas().Pixels(30 - w / 2 + w, 31), clWhite);
  bool ink = false;
  for (int y = 0; y < 60 && !ink; ++y)
    for (int x = 0; x < 60 && !ink; ++x) {
      const TColor px = mark.Canvas().Pixels(x, y);
      ink = px != clWhite && px != clSilver;
    }
  EXPECT_TRUE(ink) << int(type);
}

TEST(DrawMark, CharacterMarksAreCentredText) {
  ExpectCentredText(65, "A", false);
  ExpectCentredText(65, "A", true);
  ExpectCentredText(48, "0", false);
  ExpectCentredText(0x80, "\u20AC", false);  // euro sign of the Western code page
  ExpectCentredText(0xB0, "\u00B0", false);  // degree sign
}

TEST(DrawMark, LetterAShowsInTheFontColour) {
  TBitmap b(60, 60);
  TCanvas& c = b.Canvas();
  c.Font().SetHeight(24);
  c.Font().SetColor(clRed);
  c.Brush.Style = bsClear;
  DrawMark(c, 65, 30, 30);
  int ink = 0, left = INT_MAX, right = INT_MIN;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      if (c.Pixels(x, y) != clWhite) {
        ++ink;
        left = std::min(left, x), right = std::max(right, x);
      }
  EXPECT_GT(ink, 20);
  // The glyph's ink sits about the point, not beside it.
  EXPECT_LT(left, 30);
  EXPECT_GT(right, 30);
  EXPECT_EQ(c.Brush.Style, bsClear);
}

}  // namespace

}  // namespace travenel
