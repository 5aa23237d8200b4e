#include "travenel/examples/gallery/ChartKit.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

#include "travenel/ui/Application.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace gallery {

namespace {

constexpr int kHeadingFontHeight = 14;

// The gallery's font, size and colour on an axis.
void StyleAxis(TScaleProps& axis) {
  TFont font;
  font.SetName(RegisterAppFonts());
  font.SetHeight(kFontHeight);
  font.SetColor(clWindowText);
  axis.SetFont(font);
}

void StyleTextLabels(TRChart& chart) {
  for (int n = 1; n <= TCustomRChart::kTextLabels; ++n) {
    TFont& f = chart.TextLabel(n).Font();
    f.SetName(RegisterAppFonts());
    f.SetHeight(kFontHeight);
  }
}

}  // namespace

int ColumnWidth(int n) { return (kPageWidth - 2 * kMargin - (n - 1) * kGap) / n; }

int ColumnLeft(int i, int n) { return kMargin + i * (ColumnWidth(n) + kGap); }

QColor QtColor(TColor c) { return QColor::fromRgb(ColorToPixel(c)); }

QLabel* AddHeading(QWidget* page, int x, int y, const QString& text) {
  auto* label = new QLabel(text, page);
  QFont f(QString::fromStdString(RegisterAppFonts()));
  f.setPixelSize(kHeadingFontHeight);
  f.setBold(true);
  label->setFont(f);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, QtColor(kHeadingColor));
  label->setPalette(pal);
  label->move(x, y);
  label->adjustSize();
  return label;
}

TGalleryPage::TGalleryPage(QWidget* parent) : QWidget(parent) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QtColor(kWindowColor));
  pal.setColor(QPalette::WindowText, QtColor(clWindowText));
  setPalette(pal);
  setAutoFillBackground(true);
}

void TGalleryPage::SetPageSize(int width, int height) {
  size_ = QSize(width, height);
  resize(size_);
  updateGeometry();
}

void SetUpChart(TRChart& c, const QRect& bounds, const std::string& caption,
                const TSetUp& configure) {
  LoadControl(c, [&] {
    c.SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    c.Font().SetName(RegisterAppFonts());
    c.Font().SetHeight(kFontHeight);
    c.SetWindColor(kWindowColor);
    c.SetCaption(caption);
    StyleAxis(c.Scale1X());
    StyleAxis(c.Scale1Y());
    StyleAxis(c.Scale2X());
    StyleAxis(c.Scale2Y());
    StyleTextLabels(c);
    // The caption is written in the font the control image holds, which the
    // last axis drawn leaves there (a maroon layer-2 axis would turn it
    // maroon from the second paint on): hand back the chart's own font.
    c.OnScalesRendered = [](TCustomRChart& chart, TCanvas& surface, int, int) {
      surface.Font() = chart.Font();
    };
    if (configure) configure(c);
  });
}

TRChart& TChartShelf::Add(const QRect& bounds, const std::string& caption, const TSetUp& configure,
                          const TSetUp& fill) {
  charts_.push_back(std::make_unique<TRChart>());
  TRChart& c = *charts_.back();
  SetUpChart(c, bounds, caption, configure);
  if (fill) fill(c);
  new QtHost(c, page_);  // owned by the page; shows the chart
  return c;
}

}  // namespace gallery

}  // namespace travenel
