#include "travenel/plot/Page.h"

#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/PictureFile.h"

namespace travenel {

namespace {

constexpr int kTitleHeight = 17;
constexpr int kLineGap = 6;
constexpr int kNoteHeight = 11;
constexpr int kLegendSwatch = 22;
constexpr int kLegendGap = 6;           // swatch to text
constexpr int kLegendSpace = 20;        // between entries
const std::string kDot = " \xC2\xB7 ";  // a middle dot

int TextHeightOf(const TFont& font) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = font;
  return scratch.Canvas().TextHeight("Ag");
}

int TextWidthOf(const std::string& text, const TFont& font) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = font;
  return scratch.Canvas().TextWidth(text);
}

TFont TitleFont() { return PlotFont(kTitleHeight, kTextColor, true); }
TFont CaptionFont() { return PlotFont(kCaptionFontHeight, kNoteColor); }
TFont NoteFont() { return PlotFont(kNoteHeight, kNoteColor); }

// Text cut short with "..." to fit (never inside a UTF-8 character).
std::string Shortened(const std::string& text, const TFont& font, int width) {
  if (TextWidthOf(text, font) <= width) return text;
  std::string s = text;
  while (!s.empty()) {
    s.pop_back();
    while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80) s.pop_back();
    if (!s.empty() && static_cast<unsigned char>(s.back()) >= 0xC0) s.pop_back();
    if (TextWidthOf(s + "...", font) <= width) return s + "...";
  }
  return "";
}

std::vector<std::string> NoteLines(const std::string& note, int width) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t nl = note.find('\n', from);
    for (const std::string& l : TPage::Wrap(note.substr(from, nl - from), " ", NoteFont(), width))
      lines.push_back(l);
    if (nl == std::string::npos) break;
    from = nl + 1;
  }
  return lines;
}

// At most maxLines (0: any) lines; a cut shows as "..." on the last.
std::vector<std::string> Limited(std::vector<std::string> lines, int maxLines, const TFont& font,
                                 int width) {
  if (maxLines > 0 && static_cast<int>(lines.size()) > maxLines) {
    lines.resize(static_cast<std::size_t>(maxLines));
    lines.back() = Shortened(lines.back() + "...", font, width);
  }
  return lines;
}

template <class T>
std::vector<T> First(std::vector<T> lines, int maxLines) {
  if (maxLines > 0 && static_cast<int>(lines.size()) > maxLines)
    lines.resize(static_cast<std::size_t>(maxLines));
  return lines;
}

int EntryWidth(const TLegendEntry& e) {
  return kLegendSwatch + kLegendGap + TextWidthOf(e.Text, PlotFont(kCaptionFontHeight));
}

}  // namespace

std::vector<std::string> TPage::Wrap(const std::string& text, const std::string& sep,
                                     const TFont& font, int width) {
  if (text.empty()) return {};
  std::vector<std::string> lines;
  std::string line;
  bool first = true;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(sep, from);
    const std::string piece = text.substr(from, at - from);
    if (first) {
      line = piece;
      first = false;
    } else if (TextWidthOf(line + sep + piece, font) <= width) {
      line += sep + piece;
    } else {
      lines.push_back(Shortened(line, font, width));
      line = piece;
    }
    if (at == std::string::npos) break;
    from = at + sep.size();
  }
  lines.push_back(Shortened(line, font, width));
  return lines;
}

std::vector<std::vector<TLegendEntry>> TPage::LegendLines(const std::vector<TLegendEntry>& legend,
                                                          int width) {
  std::vector<std::vector<TLegendEntry>> lines;
  int x = 0;
  for (const TLegendEntry& e : legend) {
    TLegendEntry entry = e;
    const int w = EntryWidth(entry);
    if (lines.empty() || (x > 0 && x + w > width)) {
      lines.emplace_back();
      x = 0;
    }
    if (w > width)
      entry.Text =
          Shortened(entry.Text, PlotFont(kCaptionFontHeight), width - kLegendSwatch - kLegendGap);
    lines.back().push_back(entry);
    x += w + kLegendSpace;
  }
  return lines;
}

TPage::TPage(int width, int height) : bitmap_(width, height), bodyBottom_(height - kMargin) {
  TCanvas& c = bitmap_.Canvas();
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  c.FillRect(Rect(0, 0, width, height));
}

int TPage::HeaderHeight(int width, const std::string& title, const std::string& caption,
                        const std::vector<TLegendEntry>& legend, int maxLines) {
  const int room = width - 2 * kMargin;
  int h = kMargin;
  h += static_cast<int>(First(Wrap(title, " ", TitleFont(), room), maxLines).size()) *
       (TextHeightOf(TitleFont()) + kLineGap);
  h += static_cast<int>(First(Wrap(caption, kDot, CaptionFont(), room), maxLines).size()) *
       (TextHeightOf(CaptionFont()) + kLineGap);
  h += static_cast<int>(First(LegendLines(legend, room), maxLines).size()) *
       (TextHeightOf(PlotFont(kCaptionFontHeight)) + kLineGap);
  return h;
}

int TPage::FooterHeight(int width, const std::string& note) {
  const int n = static_cast<int>(NoteLines(note, width - 2 * kMargin).size());
  return kMargin + (n > 0 ? n * TextHeightOf(NoteFont()) + kLineGap : 0);
}

void TPage::Write(TCanvas& c, int x, int y, const std::string& text, const TFont& font) {
  c.Font() = font;
  c.Brush.Style = bsClear;
  c.TextOut(x, y, text);
}

void TPage::SetHeader(const std::string& title, const std::string& caption,
                      const std::vector<TLegendEntry>& legend, int maxLines) {
  title_ = title;
  caption_ = caption;
  legend_ = legend;
  maxLines_ = maxLines;
  bodyTop_ = DrawHeader(bitmap_.Canvas());
}

int TPage::DrawHeader(TCanvas& c) const {
  const int room = bitmap_.Width() - 2 * kMargin;
  int y = kMargin;
  for (const std::string& line :
       Limited(Wrap(title_, " ", TitleFont(), room), maxLines_, TitleFont(), room)) {
    Write(c, kMargin, y, line, TitleFont());
    y += TextHeightOf(TitleFont()) + kLineGap;
  }
  for (const std::string& line :
       Limited(Wrap(caption_, kDot, CaptionFont(), room), maxLines_, CaptionFont(), room)) {
    Write(c, kMargin, y, line, CaptionFont());
    y += TextHeightOf(CaptionFont()) + kLineGap;
  }
  const int h = TextHeightOf(PlotFont(kCaptionFontHeight));
  for (const std::vector<TLegendEntry>& line : First(LegendLines(legend_, room), maxLines_)) {
    const int mid = y + h / 2;
    int x = kMargin;
    for (const TLegendEntry& e : line) {
      c.Pen.Color = e.Color;
      c.Pen.Style = e.Dashed ? psDash : psSolid;
      if (e.Swatch == TSwatch::Line || e.Swatch == TSwatch::LineAndMark) {
        c.Pen.Width = e.Dashed ? 1 : 2;
        c.MoveTo(x, mid);
        c.LineTo(x + kLegendSwatch, mid);
        c.Pen.Width = 1;
        c.Pen.Style = psSolid;
      }
      if (e.Swatch == TSwatch::Band) {
        c.Brush.Style = bsSolid;
        c.Brush.Color = e.Color;
        c.FillRect(Rect(x, mid - 4, x + kLegendSwatch, mid + 5));
      }
      if (e.Swatch == TSwatch::Mark || e.Swatch == TSwatch::LineAndMark)
        DrawMark(c, e.MarkType, x + kLegendSwatch / 2, mid);
      x += kLegendSwatch + kLegendGap;
      const TFont f = PlotFont(kCaptionFontHeight, e.TextColor);
      Write(c, x, y, e.Text, f);
      x += c.TextWidth(e.Text) + kLegendSpace;
    }
    y += h + kLineGap;
  }
  return y;
}

void TPage::SetFooter(const std::string& note) {
  note_ = note;
  bodyBottom_ = DrawFooter(bitmap_.Canvas());
}

int TPage::DrawFooter(TCanvas& c) const {
  const int height = bitmap_.Height();
  const std::vector<std::string> lines = NoteLines(note_, bitmap_.Width() - 2 * kMargin);
  if (lines.empty()) return bodyBottom_;
  const TFont f = NoteFont();
  const int h = TextHeightOf(f), n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i)
    Write(c, kMargin, height - kMargin - (n - i) * h, lines[static_cast<std::size_t>(i)], f);
  return height - kMargin - n * h - kLineGap;
}

void TPage::Put(TRChart& chart, int left, int top) {
  puts_.push_back({&chart, left, top});
  bitmap_.Canvas().Draw(left, top, ChartPicture(chart));
}

void TPage::DrawOn(TCanvas& c) const {
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  c.FillRect(Rect(0, 0, bitmap_.Width(), bitmap_.Height()));
  DrawHeader(c);
  DrawFooter(c);
  for (const TPut& p : puts_) {
    const std::unique_ptr<TCanvas> part =
        c.Part(Bounds(p.Left, p.Top, p.Chart->Width(), p.Chart->Height()));
    if (!part || !p.Chart->RenderOn(*part, false)) c.Draw(p.Left, p.Top, ChartPicture(*p.Chart));
  }
}

void TPage::Save(const std::string& path, double scale) const {
  if (PictureFormatOf(path) == TPictureFormat::Raster && scale == 1) return bitmap_.SaveToFile(path);
  SavePicture(path, bitmap_.Width(), bitmap_.Height(), scale, [this](TCanvas& c) { DrawOn(c); });
}

}  // namespace travenel
