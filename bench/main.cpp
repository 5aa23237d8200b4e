// main() of every benchmark: text drawing needs a QApplication (fonts), on the
// offscreen platform unless another is asked for.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "travenel/ui/Application.h"

using namespace travenel;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterAppFonts();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
