// travenel-gallery: shows the chart library's scales and marks in one window.
#include <QApplication>

#include "examples/gallery/Gallery.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Travenel gallery"));
  RegisterAppFonts();
  TGallery gallery;
  gallery.show();
  return QApplication::exec();
}
