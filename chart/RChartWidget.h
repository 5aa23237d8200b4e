// RChartWidget: a TRChart as a Qt widget. A program shows a chart with
//
//   auto* w = new RChartWidget(parent);   // or in a layout
//   w->Chart().MoveToPoint(0, 0);
//   w->Chart().LineTo(1, 1);
//   w->Chart().ShowItems();
//
// and reaches every chart property through Chart(). The widget's size is the
// chart's (above the least size its rims and shadow need; the layout is told
// when that changes).
//
// What the mouse does to the chart comes out as signals, beside the chart's
// own handlers (OnZoomPan ...), which stay free for the program. Pans and
// zooms made by dragging or with the wheel are painted once per frame of the
// screen, and a wheel gesture (steps less than 300 ms apart, or one scroll of
// a touchpad) is one entry of the zoom history.
#pragma once

#include "travenel/chart/rchart.h"
#include "travenel/ui/ControlWidget.h"

namespace travenel {

class RChartWidget : public ControlWidget {
  Q_OBJECT

 public:
  explicit RChartWidget(QWidget* parent = nullptr);
  ~RChartWidget() override;

  TRChart& Chart() { return static_cast<TRChart&>(Control()); }
  const TRChart& Chart() const { return static_cast<const TRChart&>(Control()); }

  // The least size of the chart's rims and shadow.
  QSize minimumSizeHint() const override;

  // Repaints for a burst of mouse or wheel events come at most this often.
  static constexpr int kFrameMs = 16;

 signals:
  // The ranges changed by a pan or zoom with the mouse or the wheel, or by
  // ZoomBack and ZoomHome (not by the program's own range setters).
  void rangesChanged();
  // The mouse moved: the world position under it on the active layer, and
  // whether it is inside the chart area.
  void mouseMoved(double x, double y, bool inChartArea);
  // A press and release of a button at one spot inside the chart area, at
  // the world position on the active layer.
  void clicked(double x, double y, Qt::MouseButton button);
  // A cross-hair (1 .. 4) or a text label (1 .. 20) was dragged.
  void crossHairMoved(int n);
  void textLabelMoved(int n);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace travenel
