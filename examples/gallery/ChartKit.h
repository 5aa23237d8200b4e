// ChartKit: what the gallery's chart pages share — the page metrics and
// colours, section headings, and a shelf that makes charts, sets them up the
// way a stored form does and shows them on a page.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "travenel/chart/rchart.h"

class QLabel;

namespace travenel {

namespace gallery {

// The pages share the width of the scales page and its spacing.
constexpr int kMargin = 12;
constexpr int kGap = 12;
constexpr int kPageWidth = 1260;
constexpr int kHeadingHeight = 22;  // from a heading's top to its section's top
constexpr int kSectionGap = 16;     // below a section, before the next heading
constexpr int kFontHeight = 11;
constexpr TColor kWindowColor = clBtnFace;
constexpr TColor kHeadingColor = 0x603000;  // a dark blue (0x00BBGGRR)
constexpr TColor kNoteColor = 0x505050;     // the names written beside the samples

// Left edge of column i of n equal columns across the page.
int ColumnLeft(int i, int n);
int ColumnWidth(int n);

QColor QtColor(TColor c);

// A bold heading in the heading colour at (x, y) of a page.
QLabel* AddHeading(QWidget* page, int x, int y, const QString& text);

// A page that keeps the size it was laid out for.
class TGalleryPage : public QWidget {
 public:
  explicit TGalleryPage(QWidget* parent);
  QSize sizeHint() const override { return size_; }
  QSize minimumSizeHint() const override { return size_; }

 protected:
  void SetPageSize(int width, int height);

 private:
  QSize size_;
};

using TSetUp = std::function<void(TRChart&)>;

// Sets a chart up inside LoadControl, as a stored form is read: first the
// values every gallery chart shares (font, window colour, caption, the axes'
// and text labels' font, the caption's font kept), then the caller's.
void SetUpChart(TRChart& c, const QRect& bounds, const std::string& caption,
                const TSetUp& configure);

// The charts of a page. Each is set up, filled, and then shown by a QtHost on
// the page, so that it paints once with everything in.
class TChartShelf {
 public:
  explicit TChartShelf(QWidget* page) : page_(page) {}

  TRChart& Add(const QRect& bounds, const std::string& caption, const TSetUp& configure,
               const TSetUp& fill = {});

 private:
  QWidget* page_;
  std::vector<std::unique_ptr<TRChart>> charts_;
};

}  // namespace gallery

}  // namespace travenel
