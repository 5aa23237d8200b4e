// travenel-plot: draws a CSV of travenel-batch as a PNG picture, offscreen,
// with the program's own chart control.
#include <QApplication>
#include <QByteArray>

#include "travenel/plot/Plot.h"

namespace travenel {

namespace {

QtMessageHandler gQtHandler = nullptr;

// Without a desktop session Qt complains that it has no runtime folder, which
// drawing into images never needs.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  gQtHandler(type, context, message);
}

}  // namespace

}  // namespace travenel

using namespace travenel;

int main(int argc, char** argv) {
  gQtHandler = qInstallMessageHandler(QuietHandler);
  // No display is needed: the charts paint into images.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt sees only the program's name, so that no argument is taken as one of its own.
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunPlot(args, stdin, stdout, stderr);
}
