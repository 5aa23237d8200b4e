// A host program that has global names of its own which Travenel's library
// also uses (inside its namespace): both must link into one program, and the
// chart must draw while the host's own functions keep their meaning.
#include <travenel/chart/RChartWidget.h>
#include <travenel/chart/ScaleWidget.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cstdio>
#include <string>

struct TColor {
  int Red = 0, Green = 0, Blue = 0;
};
struct TFont {
  std::string Name = "host";
};
struct TTimer {
  int Interval = 0;
};

int hostMessages = 0;
void ShowMessage(const std::string& text) {
  ++hostMessages;
  std::printf("host message: %s\n", text.c_str());
}
int StrToInt(const std::string& text) { return static_cast<int>(text.size()); }
int Random(int range) { return range - 1; }

namespace {

int failures = 0;
void Expect(bool ok, const char* what) {
  if (ok) return;
  ++failures;
  std::printf("FAILED: %s\n", what);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const TColor hostColor{1, 2, 3};
  const TFont hostFont;
  const TTimer hostTimer{5};
  ShowMessage("the host's own");
  Expect(hostMessages == 1 && StrToInt("four") == 4 && Random(10) == 9,
         "the host's functions are its own");
  Expect(hostColor.Blue == 3 && hostFont.Name == "host" && hostTimer.Interval == 5,
         "the host's types are its own");

  travenel::RChartWidget chart;
  QWidget* plain = &chart;
  Expect(qobject_cast<travenel::RChartWidget*>(plain) == &chart, "the chart widget is a QObject");
  int rangeChanges = 0;
  QObject::connect(&chart, &travenel::RChartWidget::rangesChanged, [&] { ++rangeChanges; });
  travenel::TRChart& c = chart.Chart();
  c.SetLayerRanges(1, 0, 0, 10, 10);
  c.SetDataColor(travenel::clRed);
  c.AddLine(0, 5, 10, 5);
  c.ShowItems();
  travenel::ScaleWidget scale;
  scale.Scale().SetRangeHigh(1);
  chart.show();
  scale.show();
  QApplication::processEvents();

  QTemporaryDir dir;
  const std::string file = dir.filePath("clash.png").toStdString();
  c.SaveToFile(file);
  const QImage picture(QString::fromStdString(file));
  Expect(!picture.isNull(), "the chart's picture is saved");
  // The line runs across the middle of the chart area.
  const travenel::TPoint mid = c.WorldToPixel(1, 5, 5);
  Expect(picture.pixelColor(mid.X, mid.Y) == QColor(Qt::red), "the line is drawn");
  Expect(hostMessages == 1, "the library never called the host's ShowMessage");
  c.SetWheelZoom(true);
  QWheelEvent wheel(QPointF(mid.X, mid.Y), chart.mapToGlobal(QPointF(mid.X, mid.Y)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart.Host(), &wheel);
  Expect(rangeChanges == 1, "a zoom with the wheel is signalled");

  if (failures) return 1;
  std::printf("host names and the library's live side by side\n");
  return 0;
}
