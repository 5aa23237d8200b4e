// The chart's own cursor pictures, registered as application cursors 1 to 4:
// an open hand for panning and a magnifier for each of the three zoom modes
// (with a window, with up/down arrows for zooming by dragging, and with a
// window and a cross for the zoom window that keeps the axes' directions).
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "travenel/chart/rchart.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

constexpr int kCursorSize = 32;

QPixmap Blank() {
  QPixmap pm(kCursorSize, kCursorSize);
  pm.fill(Qt::transparent);
  return pm;
}

// Outlined in black and filled white, so the picture shows on any background.
void Outlined(QPainter& p, const QPainterPath& path) {
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(Qt::white);
  p.drawPath(path);
}

QPixmap HandPicture() {
  QPixmap pm = Blank();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath hand;
  hand.addRoundedRect(QRectF(8, 13, 16, 14), 4, 4);  // palm
  for (int i = 0; i < 4; ++i)
    hand.addRoundedRect(QRectF(8.5 + i * 4, 4 + (i % 3), 3.5, 12), 1.7, 1.7);
  hand.addRoundedRect(QRectF(3, 14, 8, 4), 2, 2);  // thumb
  Outlined(p, hand.simplified());
  return pm;
}

// A magnifier with its lens centred at (12, 12); the lens is left for a symbol.
void Magnifier(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath handle;
  handle.moveTo(18, 20);
  handle.lineTo(28, 30);
  handle.lineTo(30, 28);
  handle.lineTo(20, 18);
  handle.closeSubpath();
  Outlined(p, handle);
  QPainterPath lens;
  lens.addEllipse(QPointF(12, 12), 9, 9);
  Outlined(p, lens);
}

QPixmap ZoomWindowPicture() {
  QPixmap pm = Blank();
  QPainter p(&pm);
  Magnifier(p);
  p.setPen(QPen(Qt::black, 1, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(7.5, 8.5, 9, 7));
  return pm;
}

QPixmap ZoomDragPicture() {
  QPixmap pm = Blank();
  QPainter p(&pm);
  Magnifier(p);
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(QPointF(12, 6), QPointF(12, 18));
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygonF({QPointF(9, 9), QPointF(12, 5.5), QPointF(15, 9)}));
  p.drawPolygon(QPolygonF({QPointF(9, 15), QPointF(12, 18.5), QPointF(15, 15)}));
  return pm;
}

QPixmap ZoomWindowPosPicture() {
  QPixmap pm = Blank();
  QPainter p(&pm);
  Magnifier(p);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(7.5, 8.5, 9, 7));
  p.drawLine(QPointF(12, 6), QPointF(12, 18));
  p.drawLine(QPointF(6, 12), QPointF(18, 12));
  return pm;
}

}  // namespace

void RegisterChartCursors() {
  static bool registered = false;
  // Pictures need the application's GUI; without one the numbers keep the default cursor.
  if (registered || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  registered = true;
  TScreen& screen = TScreen::Instance();
  screen.RegisterCursor(TCustomRChart::kCursorHand, QCursor(HandPicture(), 15, 15));
  screen.RegisterCursor(TCustomRChart::kCursorZoomWindow, QCursor(ZoomWindowPicture(), 12, 12));
  screen.RegisterCursor(TCustomRChart::kCursorZoomDrag, QCursor(ZoomDragPicture(), 12, 12));
  screen.RegisterCursor(TCustomRChart::kCursorZoomWindowPos,
                        QCursor(ZoomWindowPosPicture(), 12, 12));
}

}  // namespace travenel
