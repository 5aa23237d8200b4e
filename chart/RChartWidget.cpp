#include "travenel/chart/RChartWidget.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "travenel/ui/MouseClick.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

// The chart the widget shows: it tells the widget what the mouse did, and
// leaves the paints of mouse and wheel bursts to the next frame.
class TWidgetChart final : public TRChart {
 public:
  TWidgetChart() {
    frame_.setSingleShot(true);
    QObject::connect(&frame_, &QTimer::timeout, [this] { PaintIfPending(); });
  }

  RChartWidget* Widget = nullptr;

  void Paint() override {
    lastPaint_.restart();
    TRChart::Paint();
  }

  void MouseMove(TShiftState shift, int x, int y) override {
    TRChart::MouseMove(shift, x, y);
    if (!Widget) return;
    double wx, wy;
    PixelToWorld(ActiveLayer(), x, y, wx, wy);
    emit Widget->mouseMoved(wx, wy, Geometry().InChartArea(x, y));
  }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    TRChart::MouseDown(button, shift, x, y);
    click_.Press(button, x, y);
  }

  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    TRChart::MouseUp(button, shift, x, y);
    if (!click_.Release(button, x, y) || !Widget || !Geometry().InChartArea(x, y)) return;
    double wx, wy;
    PixelToWorld(ActiveLayer(), x, y, wx, wy);
    emit Widget->clicked(wx, wy, QtButtonOf(button));
  }

  void NoteLeastSize() { least_ = Widget->minimumSizeHint(); }

 protected:
  void ZoomPanned() override {
    if (Widget) emit Widget->rangesChanged();
  }
  void CrossHairMoved(int n) override {
    if (Widget) emit Widget->crossHairMoved(n);
  }
  void TextLabelMoved(int n) override {
    if (Widget) emit Widget->textLabelMoved(n);
  }
  void LeastSizeChanged() override {
    if (!Widget || Widget->minimumSizeHint() == least_) return;
    NoteLeastSize();
    Widget->updateGeometry();
  }
  // The change is shown at the next frame: a burst of events that comes
  // faster paints once, with the state its last event left.
  void PaintMouseChange() override {
    DeferPaint();
    if (frame_.isActive()) return;
    const qint64 since = lastPaint_.isValid() ? lastPaint_.elapsed() : RChartWidget::kFrameMs;
    frame_.start(static_cast<int>(
        std::clamp<qint64>(RChartWidget::kFrameMs - since, 0, RChartWidget::kFrameMs)));
  }

 private:
  QTimer frame_;
  QElapsedTimer lastPaint_;
  TClickSpot click_;
  QSize least_;
};

TWidgetChart& WidgetChart(RChartWidget& w) { return static_cast<TWidgetChart&>(w.Chart()); }

}  // namespace

RChartWidget::RChartWidget(QWidget* parent)
    : ControlWidget(std::make_unique<TWidgetChart>(), parent) {
  TWidgetChart& c = WidgetChart(*this);
  c.Widget = this;
  c.NoteLeastSize();
  c.SetWheelGestureMs(TCustomRChart::kWheelGestureMs);
  Host().installEventFilter(this);
}

RChartWidget::~RChartWidget() { WidgetChart(*this).Widget = nullptr; }

QSize RChartWidget::minimumSizeHint() const {
  const TChartGeometry g = Chart().Geometry();
  return QSize(g.MinWidth(), g.MinHeight());
}

bool RChartWidget::eventFilter(QObject* watched, QEvent* event) {
  // A touchpad that begins to scroll begins a gesture of its own, however
  // soon after the last one.
  if (watched == &Host() && event->type() == QEvent::Wheel &&
      static_cast<QWheelEvent*>(event)->phase() == Qt::ScrollBegin)
    Chart().EndWheelGesture();
  return ControlWidget::eventFilter(watched, event);
}

}  // namespace travenel
