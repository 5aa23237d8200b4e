#include "travenel/examples/gallery/GalleryWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>

#include "travenel/examples/gallery/ChartsPage.h"
#include "travenel/examples/gallery/InteractivePage.h"
#include "travenel/examples/gallery/LargeDataPage.h"
#include "travenel/examples/gallery/ScalesPage.h"

namespace travenel {

namespace {

// Shows a page at the size it was laid out for, with scroll bars when the
// window is smaller. The tab widget asks every page for its size: only the
// page shown answers with its own.
class TPageScroller : public QScrollArea {
 public:
  explicit TPageScroller(QWidget* page) {
    setFrameShape(QFrame::NoFrame);
    setWidget(page);
  }
  void SetShown(bool shown) {
    shown_ = shown;
    updateGeometry();
  }
  QSize sizeHint() const override { return shown_ ? widget()->sizeHint() : minimumSizeHint(); }
  QSize minimumSizeHint() const override { return {240, 160}; }

 private:
  bool shown_ = false;
};

}  // namespace

TGalleryWindow::TGalleryWindow(int page) {
  // The whole title: a title ending in the application's display name gets nothing appended.
  setWindowTitle(QStringLiteral("Travenel gallery"));
  addTab(new TPageScroller(new TScalesPage), QStringLiteral("Scales and marks"));
  addTab(new TPageScroller(new TChartsPage), QStringLiteral("Charts"));
  addTab(new TPageScroller(new TInteractivePage), QStringLiteral("Interactive"));
  addTab(new TPageScroller(new TLargeDataPage), QStringLiteral("Large data"));
  setCurrentIndex(page);
  FitPage(page);
  new QShortcut(QKeySequence::Quit, this, [this] { close(); });  // Ctrl+Q
  connect(this, &QTabWidget::currentChanged, this, [this](int index) { FitPage(index); });
}

void TGalleryWindow::FitPage(int index) {
  for (int i = 0; i < count(); ++i) static_cast<TPageScroller*>(widget(i))->SetShown(i == index);
  QSize size = sizeHint();
  if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    size = size.boundedTo(s->availableSize());
  resize(size);
}

}  // namespace travenel
