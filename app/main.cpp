// Travenel: agents of two colours jump over a wrapping world and attach where
// enough neighbours share their colour.
#include <QApplication>

#include "app/CellForm.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Travenel"));
  RegisterAppFonts();
  // The one main window; creating it builds the world and starts the run.
  TForm1 Form1;
  Form1.show();
  return QApplication::exec();
}
