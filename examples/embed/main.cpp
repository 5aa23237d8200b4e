// travenel-embed: a window of another program with a chart of Travenel's
// library, fed by a timer: a wandering signal drawn as one long polyline,
// zoomed with the wheel and panned with the mouse, with buttons back and home
// and the position under the mouse.
//
//   travenel-embed [--quit-after MS] [--save FILE]
//
// --quit-after ends the program after MS milliseconds (with --save, writing
// the chart's picture first); it fails when the chart never painted.
#include <travenel/chart/RChartWidget.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr int kFeedIntervalMs = 20;
constexpr int kPointsPerTick = 200;

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption quitAfter("quit-after", "Quit after MS milliseconds.", "MS");
  const QCommandLineOption save("save", "Save the chart's picture to FILE on quitting.", "FILE");
  parser.addOption(quitAfter);
  parser.addOption(save);
  parser.process(app);

  QWidget window;
  window.setWindowTitle("A chart in another program");
  auto* layout = new QVBoxLayout(&window);
  auto* chart = new travenel::RChartWidget;
  auto* buttons = new QHBoxLayout;
  auto* back = new QPushButton("Back");
  auto* home = new QPushButton("Home");
  auto* info = new QLabel;
  buttons->addWidget(back);
  buttons->addWidget(home);
  buttons->addWidget(info, 1);
  layout->addWidget(chart, 1);
  layout->addLayout(buttons);

  travenel::TRChart& c = chart->Chart();
  c.SetCaption("wheel: zoom  |  drag: pan");
  c.SetMaxItems(1000000);
  c.SetWheelZoom(true);
  c.SetMouseAction(travenel::maPan);
  c.SetMouseCursorFixed(false);
  c.SetLayerRanges(1, 0, -3, 100000, 3);
  c.SetDataColor(travenel::clNavy);
  c.MoveToPoint(0, 0);
  QObject::connect(back, &QPushButton::clicked, [&c] { c.ZoomBack(); });
  QObject::connect(home, &QPushButton::clicked, [&c] { c.ZoomHome(); });
  auto* where = new QLabel;
  buttons->addWidget(where);
  QObject::connect(
      chart, &travenel::RChartWidget::mouseMoved, [where](double x, double y, bool inside) {
        where->setText(inside ? QString("x %1  y %2").arg(x, 0, 'f', 0).arg(y, 0, 'f', 2)
                              : QString());
      });

  std::mt19937 rng(7);
  std::normal_distribution<double> noise(0, 0.15);
  int n = 0;
  QTimer feed;
  QObject::connect(&feed, &QTimer::timeout, [&] {
    if (c.ItemCount() + kPointsPerTick > c.MaxItems()) return feed.stop();
    for (int i = 0; i < kPointsPerTick; ++i, ++n)
      c.LineTo(n, std::sin(n / 3000.0) * 2 + noise(rng));
    c.ShowItems();
    info->setText(QString("%1 points").arg(c.ItemCount()));
  });
  feed.start(kFeedIntervalMs);

  if (parser.isSet(quitAfter)) {
    QTimer::singleShot(parser.value(quitAfter).toInt(), [&] {
      if (parser.isSet(save)) c.SaveToFile(parser.value(save).toStdString());
      std::printf("%d points, %d repaints\n", c.ItemCount(), c.PaintCount());
      app.exit(c.PaintCount() > 0 && c.ItemCount() > 1 ? 0 : 1);
    });
  }
  window.resize(640, 420);
  window.show();
  return QApplication::exec();
}
