// The window's chart beside QCustomPlot (Debian's libqcustomplot, adaptive
// sampling on), measured in one process: a pan move — one mouse move of a
// drag and the repaint it makes — on one polyline of a random walk from left
// to right, at the same size. Ours also at 10^7 points, and with a walk that
// wanders in x too (not x-sorted, every point mapped).
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QApplication>
#include <QMouseEvent>
#include <memory>
#include <random>

#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"

namespace travenel {

namespace {

constexpr double kYHigh = 1000;

// The walk's values; x either counts up or wanders as y does.
void Walk(int n, bool sortedX, std::vector<double>& x, std::vector<double>& y) {
  std::mt19937 rng(1);
  std::normal_distribution<double> step(0, 8);
  x.resize(static_cast<std::size_t>(n));
  y.resize(static_cast<std::size_t>(n));
  double wx = n / 2.0, wy = kYHigh / 2;
  for (std::size_t i = 0; i < x.size(); ++i) {
    wy = std::clamp(wy + step(rng), 0.0, kYHigh);
    wx = sortedX ? static_cast<double>(i) : std::clamp(wx + step(rng) * 30, 0.0, double(n));
    x[i] = wx;
    y[i] = wy;
  }
}

std::unique_ptr<TRChart> OurChart(int n, bool sortedX) {
  auto c = std::make_unique<TRChart>();
  LoadRChart1(*c);
  c->HandleNeeded();
  c->SetMaxItems(n + 1);
  c->Scale1X().SetRangeLow(0);
  c->Scale1X().SetRangeHigh(n);
  c->Scale1Y().SetRangeLow(0);
  c->Scale1Y().SetRangeHigh(kYHigh);
  c->ClearItems();
  std::vector<double> x, y;
  Walk(n, sortedX, x, y);
  c->MoveToPoint(x[0], y[0]);
  for (std::size_t i = 1; i < x.size(); ++i) c->LineTo(x[i], y[i]);
  c->SetMouseAction(maPan);
  c->Paint();
  return c;
}

void BM_OursPanMove(benchmark::State& state) {
  auto c = OurChart(static_cast<int>(state.range(0)), state.range(1) != 0);
  const TShiftState left{ssLeft};
  c->MouseDown(mbLeft, left, 150, 150);
  int x = 150;
  for (auto _ : state) {
    x = x == 150 ? 151 : 150;
    c->MouseMove(left, x, 150);
  }
  c->MouseUp(mbLeft, left, x, 150);
}
BENCHMARK(BM_OursPanMove)
    ->ArgNames({"points", "sorted"})
    ->Args({1000, 1})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Args({10000000, 1})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMicrosecond);

void SendMouse(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
  const QPointF at(x, y);
  QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

void BM_QCustomPlotPanMove(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TRChart size;
  LoadRChart1(size);
  QCustomPlot plot;
  plot.resize(size.Width(), size.Height());
  plot.setInteraction(QCP::iRangeDrag, true);
  QCPGraph* g = plot.addGraph();
  std::vector<double> x, y;
  Walk(n, true, x, y);
  g->setData(QVector<double>(x.begin(), x.end()), QVector<double>(y.begin(), y.end()), true);
  plot.xAxis->setRange(0, n);
  plot.yAxis->setRange(0, kYHigh);
  plot.replot();
  const QRect area = plot.axisRect()->rect();
  const int y0 = area.center().y(), x0 = area.center().x();
  SendMouse(plot, QEvent::MouseButtonPress, x0, y0, Qt::LeftButton);
  int at = x0;
  for (auto _ : state) {
    at = at == x0 ? x0 + 1 : x0;
    SendMouse(plot, QEvent::MouseMove, at, y0, Qt::LeftButton);
    plot.replot(QCustomPlot::rpImmediateRefresh);
  }
  SendMouse(plot, QEvent::MouseButtonRelease, at, y0, Qt::NoButton);
}
BENCHMARK(BM_QCustomPlotPanMove)
    ->ArgName("points")
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace travenel
