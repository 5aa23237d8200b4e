// Glyph cache of the drawing surface: each character of a font is rendered
// once by Qt into a coverage mask, then blended straight into image pixels.
// Text on the chart is short and repeated at every repaint, and opening a
// QPainter per text costs more than drawing all its glyphs this way.
#pragma once

#include <QFont>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace travenel {

namespace glyphs {

struct Glyph {
  int Advance = 0;
  int Left = 0, Top = 0;  // mask position relative to the pen point and the text's top
  int W = 0, H = 0;
  std::vector<std::uint8_t> Coverage;  // W * H, row by row
};

// A text as TextOut leaves it on a box of one colour: every pixel of the box.
struct TextSprite {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Pixels;  // W * H, row by row
};

// The glyphs of one font.
class FontGlyphs {
 public:
  // Fonts up to this line height keep coverage masks. A mask is rendered with
  // room for overhangs all round, so its cost grows with the square of the
  // height; larger text is drawn by the painter, clipped to what is visible,
  // and its glyphs keep only their advance.
  static constexpr int kMaxMaskHeight = 512;

  explicit FontGlyphs(const QFont& font);
  const Glyph& Get(char32_t c);
  int Ascent() const { return ascent_; }
  int Height() const { return height_; }
  bool Masked() const { return height_ <= kMaxMaskHeight; }
  const QFont& Font() const { return font_; }

  // Texts already blended onto a plain box. Labels are drawn again and again
  // on the same background, and blending their glyphs is most of what
  // drawing text costs: a kept text is copied instead. The store is bounded;
  // when full it starts again. Every font of the thread has one (a quarter
  // of a megabyte at most): a chart's labels and caption take a few
  // thousand pixels.
  static constexpr std::size_t kMaxSprites = 256;
  static constexpr std::size_t kMaxSpritePixels = std::size_t{1} << 16;  // all of them together
  const TextSprite* FindSprite(std::string_view text, std::uint32_t ink, std::uint32_t background);
  void KeepSprite(std::string_view text, std::uint32_t ink, std::uint32_t background,
                  TextSprite sprite);

 private:
  Glyph Render(char32_t c) const;
  // The store's key: the text, then the ink and background pixels.
  const std::string& SpriteKey(std::string_view text, std::uint32_t ink, std::uint32_t background);

  QFont font_;
  int ascent_ = 0, height_ = 0;
  Glyph ascii_[128];
  bool asciiReady_[128] = {};
  std::unordered_map<char32_t, Glyph> others_;
  std::unordered_map<std::string, TextSprite> sprites_;
  std::size_t spritePixels_ = 0;
  std::string spriteKey_;
};

// The glyphs of a font, shared by every surface of this thread.
FontGlyphs& For(const QFont& font);

// Decodes UTF-8 (invalid bytes become U+FFFD) and calls f for each code point.
template <class F>
void ForEachCodePoint(std::string_view s, F&& f) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t c = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b >> 5) == 0x6 || (b >> 4) == 0xE || (b >> 3) == 0x1E) {
      len = (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : 4;
      if (i + len <= s.size()) {
        c = b & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; k < len; ++k) {
          const auto cb = static_cast<unsigned char>(s[i + k]);
          if ((cb >> 6) != 0x2) {
            c = 0xFFFD;
            len = k;
            break;
          }
          c = (c << 6) | (cb & 0x3F);
        }
      } else {
        len = s.size() - i;
      }
    }
    f(c);
    i += len;
  }
}

}  // namespace glyphs

}  // namespace travenel
