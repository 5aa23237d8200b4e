// Page: the picture travenel-plot writes — a title, a line with the sweep's
// ranges, an optional legend line, the charts below, and a note at the
// bottom — composed on one bitmap and saved as a whole. The page keeps what
// it holds, so that it can be drawn again on a surface at a scale or into a
// vector file by the same routines.
#pragma once

#include <string>
#include <vector>

#include "travenel/gfx/Bitmap.h"
#include "travenel/plot/PlotChart.h"

namespace travenel {

class TPage {
 public:
  static constexpr int kMargin = 12;

  TPage(int width, int height);

  // Writes the header lines at the top (empty ones take no room); the
  // legend entries go on lines after them. Text wider than the page wraps
  // (the title at blanks, the caption at its dots), and what still does not
  // fit is cut short with "...".
  // With maxLines, each of the three takes at most that many lines (the
  // last one cut short with "...", legend entries beyond left out).
  void SetHeader(const std::string& title, const std::string& caption,
                 const std::vector<TLegendEntry>& legend = {}, int maxLines = 0);
  // A note in small letters at the bottom; '\n' starts another line, and
  // long lines wrap.
  void SetFooter(const std::string& note);

  // Where the charts go: below the header, above the footer.
  TRect Body() const { return Rect(kMargin, bodyTop_, bitmap_.Width() - kMargin, bodyBottom_); }

  // Puts a chart's picture onto the page with its top-left at (left, top).
  // The chart must outlive the page (it is drawn again for other surfaces).
  void Put(TRChart& chart, int left, int top);

  TBitmap& Bitmap() { return bitmap_; }
  // As PNG (or BMP, by the name's suffix) at scale times the pixels, or as
  // SVG or PDF (vectors); an old file is replaced only once the new one is
  // complete. Throws EWriteError. At scale 1 a PNG is the page's bitmap.
  void Save(const std::string& path, double scale = 1) const;

  // Draws the whole page on a surface of its size.
  void DrawOn(TCanvas& c) const;

  // How much room the header and the footer take on a page of this width.
  static int HeaderHeight(int width, const std::string& title, const std::string& caption,
                          const std::vector<TLegendEntry>& legend = {}, int maxLines = 0);
  static int FooterHeight(int width, const std::string& note);

  // Text in lines of at most `width` pixels: pieces between the separators
  // go on a line while they fit; a piece too wide alone is cut short.
  static std::vector<std::string> Wrap(const std::string& text, const std::string& sep,
                                       const TFont& font, int width);
  // The legend entries on lines of at most `width` pixels.
  static std::vector<std::vector<TLegendEntry>> LegendLines(const std::vector<TLegendEntry>& legend,
                                                            int width);

 private:
  struct TPut {
    TRChart* Chart;
    int Left, Top;
  };
  static void Write(TCanvas& c, int x, int y, const std::string& text, const TFont& font);
  // Each returns where the body starts (header) or ends (footer).
  int DrawHeader(TCanvas& c) const;
  int DrawFooter(TCanvas& c) const;

  TBitmap bitmap_;
  std::string title_, caption_, note_;
  std::vector<TLegendEntry> legend_;
  int maxLines_ = 0;
  std::vector<TPut> puts_;
  int bodyTop_ = kMargin;
  int bodyBottom_;
};

}  // namespace travenel
