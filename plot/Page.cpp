#include "travenel/plot/Page.h"

#include "travenel/chart/ulxbase_draw.h"
#include "travenel/gfx/PictureFile.h"

namespace travenel {

namespace {

constexpr int kTitleHeight = 17;
constexpr int kLineGap = 6;
constexpr int kNoteHeight = 11;
constexpr int kLegendSwatch = 22;
constexpr int kLegendGap = 6;     // swatch to text
constexpr int kLegendSpace = 20;  // between entries

int TextHeightOf(const TFont& font) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font() = font;
  return scratch.Canvas().TextHeight("Ag");
}

}  // namespace

TPage::TPage(int width, int height) : bitmap_(width, height), bodyBottom_(height - kMargin) {
  TCanvas& c = bitmap_.Canvas();
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  c.FillRect(Rect(0, 0, width, height));
}

int TPage::HeaderHeight(bool title, bool caption, bool legend) {
  int h = kMargin;
  if (title) h += TextHeightOf(PlotFont(kTitleHeight, kTextColor, true)) + kLineGap;
  if (caption) h += TextHeightOf(PlotFont(kCaptionFontHeight)) + kLineGap;
  if (legend) h += TextHeightOf(PlotFont(kCaptionFontHeight)) + kLineGap;
  return h;
}

int TPage::FooterHeight(int noteLines) {
  return kMargin + (noteLines > 0 ? noteLines * TextHeightOf(PlotFont(kNoteHeight)) + kLineGap : 0);
}

void TPage::Write(TCanvas& c, int x, int y, const std::string& text, const TFont& font) {
  c.Font() = font;
  c.Brush.Style = bsClear;
  c.TextOut(x, y, text);
}

void TPage::SetHeader(const std::string& title, const std::string& caption,
                      const std::vector<TLegendEntry>& legend) {
  title_ = title;
  caption_ = caption;
  legend_ = legend;
  bodyTop_ = DrawHeader(bitmap_.Canvas());
}

int TPage::DrawHeader(TCanvas& c) const {
  int y = kMargin;
  if (!title_.empty()) {
    const TFont f = PlotFont(kTitleHeight, kTextColor, true);
    Write(c, kMargin, y, title_, f);
    y += TextHeightOf(f) + kLineGap;
  }
  if (!caption_.empty()) {
    const TFont f = PlotFont(kCaptionFontHeight, kNoteColor);
    Write(c, kMargin, y, caption_, f);
    y += TextHeightOf(f) + kLineGap;
  }
  if (!legend_.empty()) {
    const int h = TextHeightOf(PlotFont(kCaptionFontHeight));
    const int mid = y + h / 2;
    int x = kMargin;
    for (const TLegendEntry& e : legend_) {
      c.Pen.Color = e.Color;
      c.Pen.Style = psSolid;
      if (e.Swatch == TSwatch::Line || e.Swatch == TSwatch::LineAndMark) {
        c.Pen.Width = 2;
        c.MoveTo(x, mid);
        c.LineTo(x + kLegendSwatch, mid);
        c.Pen.Width = 1;
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
  if (note_.empty()) return height - kMargin;
  std::vector<std::string> lines(1);
  for (char ch : note_) {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back() += ch;
  }
  const TFont f = PlotFont(kNoteHeight, kNoteColor);
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
    if (part)
      DrawChart(*p.Chart, *part);
    else
      c.Draw(p.Left, p.Top, ChartPicture(*p.Chart));
  }
}

void TPage::Save(const std::string& path, double scale) const {
  if (PictureFormatOf(path) == TPictureFormat::Raster && scale == 1) return bitmap_.SaveToFile(path);
  SavePicture(path, bitmap_.Width(), bitmap_.Height(), scale, [this](TCanvas& c) { DrawOn(c); });
}

}  // namespace travenel
