#include "app/CellForm.h"

#include <QShowEvent>

#include "gfx/Color.h"
#include "ui/Application.h"

namespace {

constexpr int kOuterWidth = 800;
constexpr int kOuterHeight = 468;
constexpr int kFontPixels = 10;

QColor QtColor(TColor c) { return QColor::fromRgb(ColorToPixel(c)); }

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Travenel by Move "));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QtColor(clBtnFace));
  pal.setColor(QPalette::WindowText, QtColor(clWindowText));
  setPalette(pal);
  setAutoFillBackground(true);
  QFont f(QString::fromStdString(RegisterAppFonts()));
  f.setPixelSize(kFontPixels);
  setFont(f);
  // Until the window manager tells us its frame, the client area takes the
  // whole outer size (as it does where there is no frame at all).
  resize(kOuterWidth, kOuterHeight);
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (outerSizeFixed_) return;
  outerSizeFixed_ = true;
  // The outer size is 800 x 468: take the frame off the client area.
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.width() > 0 || frame.height() > 0)
    resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
}
