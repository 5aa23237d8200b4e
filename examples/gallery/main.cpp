// travenel-gallery: shows the chart library's scales, marks and charts, and
// lets a person try the chart's mouse actions.
//
//   travenel-gallery [--page N]   opens on page N: 0 scales and marks (the
//                                 default), 1 charts, 2 interactive, 3 large
//                                 data
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "travenel/examples/gallery/GalleryWindow.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

// The page asked for on the command line, or -1 after printing why it is unusable.
int PageOption(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("The chart library's gallery."));
  parser.addHelpOption();
  const QCommandLineOption page(
      QStringLiteral("page"),
      QStringLiteral("Open on page N: 0 scales and marks, 1 charts, 2 interactive, 3 large data."),
      QStringLiteral("N"), QStringLiteral("0"));
  parser.addOption(page);
  parser.process(app);  // --help and unknown options end the program here
  bool ok = false;
  const int n = parser.value(page).toInt(&ok);
  if (!ok || n < 0 || n >= TGalleryWindow::kPageCount) {
    std::fprintf(stderr, "travenel-gallery: --page takes 0, 1, 2 or 3, not \"%s\"\n",
                 qPrintable(parser.value(page)));
    return -1;
  }
  return n;
}

}  // namespace

}  // namespace travenel

using namespace travenel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Travenel gallery"));
  const int page = PageOption(app);
  if (page < 0) return 2;
  RegisterAppFonts();
  TGalleryWindow window(page);
  window.show();
  return QApplication::exec();
}
