// The chart and the scale as Qt widgets in a layout, driven by real Qt events:
// resizing, keys, the mouse and the wheel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

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

bool Wheel(QWidget* w, QPoint at, int delta) {
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
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

}  // namespace

}  // namespace travenel
