#include "travenel/gfx/Glyphs.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <map>

namespace travenel {

namespace glyphs {

FontGlyphs::FontGlyphs(const QFont& font) : font_(font) {
  const QFontMetrics fm(font_);
  ascent_ = fm.ascent();
  height_ = fm.height();
}

const Glyph& FontGlyphs::Get(char32_t c) {
  if (c < 128) {
    if (!asciiReady_[c]) {
      ascii_[c] = Render(c);
      asciiReady_[c] = true;
    }
    return ascii_[c];
  }
  auto it = others_.find(c);
  if (it == others_.end()) it = others_.emplace(c, Render(c)).first;
  return it->second;
}

Glyph FontGlyphs::Render(char32_t c) const {
  Glyph g;
  const QString s = QString::fromUcs4(&c, 1);
  const QFontMetrics fm(font_);
  g.Advance = fm.horizontalAdvance(s);
  if (!Masked()) return g;
  // Render with room around the pen point for overhangs, then keep the inked box.
  const int pad = height_ + 2;
  QImage img(g.Advance + 2 * pad, height_ + 2 * pad, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setFont(font_);
    p.setPen(Qt::white);
    p.drawText(pad, pad + ascent_, s);
  }
  int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(row[x]) != 0) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  }
  if (x1 < 0) return g;  // a blank
  g.Left = x0 - pad;
  g.Top = y0 - pad;
  g.W = x1 - x0 + 1;
  g.H = y1 - y0 + 1;
  g.Coverage.resize(static_cast<std::size_t>(g.W) * g.H);
  for (int y = 0; y < g.H; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y0 + y));
    for (int x = 0; x < g.W; ++x) g.Coverage[static_cast<std::size_t>(y) * g.W + x] = static_cast<std::uint8_t>(qAlpha(row[x0 + x]));
  }
  return g;
}

const std::string& FontGlyphs::SpriteKey(std::string_view text, std::uint32_t ink,
                                         std::uint32_t background) {
  spriteKey_.assign(text);
  spriteKey_.append(reinterpret_cast<const char*>(&ink), sizeof ink);
  spriteKey_.append(reinterpret_cast<const char*>(&background), sizeof background);
  return spriteKey_;
}

const TextSprite* FontGlyphs::FindSprite(std::string_view text, std::uint32_t ink,
                                         std::uint32_t background) {
  const auto it = sprites_.find(SpriteKey(text, ink, background));
  return it == sprites_.end() ? nullptr : &it->second;
}

void FontGlyphs::KeepSprite(std::string_view text, std::uint32_t ink, std::uint32_t background,
                            TextSprite sprite) {
  const std::size_t pixels = sprite.Pixels.size();
  if (pixels > kMaxSpritePixels) return;
  if (sprites_.size() >= kMaxSprites || spritePixels_ + pixels > kMaxSpritePixels) {
    sprites_.clear();
    spritePixels_ = 0;
  }
  if (sprites_.try_emplace(SpriteKey(text, ink, background), std::move(sprite)).second)
    spritePixels_ += pixels;
}

FontGlyphs& For(const QFont& font) {
  thread_local std::map<QString, std::unique_ptr<FontGlyphs>> cache;
  const QString key = font.key();
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, std::make_unique<FontGlyphs>(font)).first;
  return *it->second;
}

}  // namespace glyphs

}  // namespace travenel
