// The chart and the scale as Qt widgets in a layout, driven by real Qt events:
// resizing, keys, the mouse and the wheel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cstdio>

#include "travenel/chart/RChartWidget.h"
#include "travenel/chart/ScaleWidget.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

struct Window {
  QWidget top;
  QVBoxLayout* layout = new QVBoxLayout(&top);  // owned by `top`
  RChartWidget* chart = new RChartWidget;
  ScaleWidget* scale = new ScaleWidget;
  Window() {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QLabel("Werte"));
    layout->addWidget(chart, 1);
    layout->addWidget(scale);
    scale->setFixedHeight(40);
    top.resize(400, 360);
    top.show();
    top.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&top));
  }
};

bool Wheel(QWidget* w, QPoint at, int delta, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                phase, false);
  QApplication::sendEvent(w, &e);
  return e.isAccepted();
}

TEST(ChartWidget, LayoutSizesTheChartAndTheScaleWithinTheChartsRules) {
  Window w;
  TRChart& c = w.chart->Chart();
  EXPECT_EQ(w.chart->sizeHint(), QSize(280, 200));
  EXPECT_EQ(QSize(c.Width(), c.Height()), w.chart->size());
  EXPECT_EQ(w.scale->Scale().Width(), 400);
  w.top.resize(520, 460);
  QApplication::processEvents();
  EXPECT_EQ(QSize(c.Width(), c.Height()), w.chart->size());
  EXPECT_EQ(w.scale->Scale().Width(), 520);
  EXPECT_EQ(w.chart->Host().size(), w.chart->size());
  // Wider rims raise the least size; a narrower widget leaves the chart at it.
  c.SetLRim(300);
  EXPECT_EQ(w.chart->minimumSizeHint().width(), 300 + 20 + 80);
  w.chart->resize(200, 300);
  EXPECT_EQ(c.Width(), 400);
  // The picture the host shows is the chart's, at the chart's size.
  EXPECT_EQ(w.chart->Host().grab().toImage().convertToFormat(QImage::Format_RGB32),
            c.ControlImage().Image());
}

TEST(ChartWidget, KeysMouseAndWheelReachTheChart) {
  Window w;
  TRChart& c = w.chart->Chart();
  c.SetLayerRanges(1, 0, 0, 100, 100);
  std::vector<std::uint16_t> keys;
  c.OnKeyDown = [&](TControl&, std::uint16_t& key, TShiftState) { keys.push_back(key); };
  w.chart->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), &w.chart->Host());
  // Arrows and Tab stay with the chart instead of moving the focus.
  for (Qt::Key k : {Qt::Key_Left, Qt::Key_Tab, Qt::Key_A})
    QTest::keyClick(QApplication::focusWidget(), k);
  EXPECT_EQ(keys, (std::vector<std::uint16_t>{vk::Left, vk::Tab, 'A'}));
  EXPECT_EQ(QApplication::focusWidget(), &w.chart->Host());

  c.SetMouseAction(maPan);
  QWidget* host = &w.chart->Host();
  QTest::mousePress(host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 80));
  for (int x : {100, 110, 120}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 80), host->mapToGlobal(QPointF(x, 80)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host, &move);
  }
  QTest::mouseRelease(host, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
  EXPECT_LT(c.Scale1X().RangeLow(), 0);
  EXPECT_EQ(c.ZoomHistoryCount(), 1);

  // The wheel: passed on while wheel zoom is off, used once it is on.
  const double span = c.Scale1X().RangeHigh() - c.Scale1X().RangeLow();
  EXPECT_FALSE(Wheel(host, QPoint(150, 100), 120));
  c.SetWheelZoom(true);
  EXPECT_TRUE(Wheel(host, QPoint(150, 100), 120));
  EXPECT_DOUBLE_EQ(c.Scale1X().RangeHigh() - c.Scale1X().RangeLow(), span * 0.8);
  c.ZoomHome();
  EXPECT_DOUBLE_EQ(c.Scale1X().RangeLow(), 0);
}

TEST(ChartWidget, TheLayoutFollowsTheLeastSize) {
  Window w;
  TRChart& c = w.chart->Chart();
  w.top.resize(200, 360);
  QApplication::processEvents();
  c.SetLRim(300);
  c.SetShadowWidth(8);
  QApplication::processEvents();
  // The window grows with the least size instead of cutting the chart off.
  EXPECT_EQ(w.chart->width(), c.Geometry().MinWidth());
  EXPECT_EQ(c.Width(), w.chart->width());
  EXPECT_EQ(w.chart->Host().width(), c.Width());
}

TEST(ChartWidget, SignalsTellWhatTheMouseDid) {
  Window w;
  QWidget* plain = w.chart;
  ASSERT_EQ(qobject_cast<RChartWidget*>(plain), w.chart);
  EXPECT_EQ(qobject_cast<ScaleWidget*>(plain), nullptr);
  TRChart& c = w.chart->Chart();
  c.SetLayerRanges(1, 0, 0, 100, 100);
  c.SetMouseAction(maPan);
  QSignalSpy moved(w.chart, &RChartWidget::mouseMoved);
  QSignalSpy clicked(w.chart, &RChartWidget::clicked);
  QSignalSpy ranges(w.chart, &RChartWidget::rangesChanged);
  QWidget* host = &w.chart->Host();
  double x, y;
  c.PixelToWorld(1, 150, 100, x, y);
  QTest::mouseClick(host, Qt::RightButton, Qt::NoModifier, QPoint(150, 100));
  ASSERT_EQ(clicked.count(), 1);
  EXPECT_EQ(clicked[0], (QList<QVariant>{x, y, QVariant::fromValue(Qt::RightButton)}));
  QTest::mouseClick(host, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));  // on the rim
  EXPECT_EQ(clicked.count(), 1);
  QTest::mouseMove(host, QPoint(10, 100));
  ASSERT_FALSE(moved.isEmpty());
  EXPECT_FALSE(moved.last()[2].toBool());
  // A drag pans: no click, the ranges change.
  QTest::mousePress(host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 80));
  for (int px : {100, 120, 140}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(px, 80), host->mapToGlobal(QPointF(px, 80)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(host, &move);
  }
  QTest::mouseRelease(host, Qt::LeftButton, Qt::NoModifier, QPoint(140, 80));
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(ranges.count(), 2);  // the first move only notes where the drag starts
  EXPECT_TRUE(moved.last()[2].toBool());
  c.ZoomBack();
  EXPECT_EQ(ranges.count(), 3);

  // The scale tells the value under the mouse.
  TScale& s = w.scale->Scale();
  s.SetRangeHigh(10);
  QSignalSpy value(w.scale, &ScaleWidget::clicked);
  const int px = s.ValueToPixel(2.5);
  QTest::mouseClick(&w.scale->Host(), Qt::LeftButton, Qt::NoModifier, QPoint(px, 20));
  ASSERT_EQ(value.count(), 1);
  EXPECT_EQ(s.ValueToPixel(value[0][0].toDouble()), px);
  EXPECT_NEAR(value[0][0].toDouble(), 2.5, 10.0 / s.Width());
}

// What a touchpad sends: a burst of small steps. One gesture is one entry of
// the zoom history and paints once per frame, ending with its last state.
TEST(ChartWidget, AWheelBurstIsOneGestureAndPaintsOncePerFrame) {
  Window w;
  TRChart& c = w.chart->Chart();
  c.SetLayerRanges(1, 0, 0, 100, 100);
  c.SetWheelZoom(true);
  QApplication::processEvents();
  QWidget* host = &w.chart->Host();
  const int before = c.PaintCount();
  for (int i = 0; i < 30; ++i) Wheel(host, QPoint(150, 100), 15);
  EXPECT_EQ(c.PaintCount(), before);  // all in one turn of the event loop
  // The picture saved meanwhile is the last step's, and the frame then has
  // nothing left to paint.
  QTemporaryDir dir;
  c.SaveToFile(dir.filePath("burst.png").toStdString());
  EXPECT_EQ(c.PaintCount(), before + 1);
  QTest::qWait(3 * RChartWidget::kFrameMs);
  EXPECT_EQ(c.PaintCount(), before + 1);
  EXPECT_FALSE(c.PaintPending());
  EXPECT_EQ(c.ZoomHistoryCount(), 1);
  const QImage shown = c.ControlImage().Image().copy();
  c.Paint();
  EXPECT_EQ(shown, c.ControlImage().Image());  // the last step is what is shown

  // 8 ms apart, as a touchpad sends them (the count depends on the load),
  // after a pause that ends the first gesture.
  QTest::qWait(TCustomRChart::kWheelGestureMs + 50);
  const int paced = c.PaintCount();
  for (int i = 0; i < 30; ++i) {
    Wheel(host, QPoint(150, 100), -15);
    QTest::qWait(8);
  }
  QTest::qWait(3 * RChartWidget::kFrameMs);
  std::printf("repaints for 30 wheel events 8 ms apart: %d\n", c.PaintCount() - paced);
  EXPECT_LE(c.PaintCount() - paced, 30);
  EXPECT_DOUBLE_EQ(c.Scale1X().RangeHigh() - c.Scale1X().RangeLow(), 100);
  EXPECT_EQ(c.ZoomHistoryCount(), 2);
  // A touchpad's new scroll is a gesture of its own, however soon it comes.
  Wheel(host, QPoint(150, 100), 15, Qt::ScrollBegin);
  EXPECT_EQ(c.ZoomHistoryCount(), 3);
  c.ZoomBack();
  EXPECT_DOUBLE_EQ(c.Scale1X().RangeHigh() - c.Scale1X().RangeLow(), 100);
}

}  // namespace

}  // namespace travenel
