// Travenel: agents of two colours jump over a wrapping world and attach where
// enough neighbours share their colour.
#include <QApplication>

#include "app/CellForm.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Travenel"));
  RegisterAppFonts();
  TForm1 form;
  form.show();
  return QApplication::exec();
}
