// Travenel: agents of two colours jump over a wrapping world and attach where
// enough neighbours share their colour.
#include <QApplication>

#include "travenel/app/CellForm.h"
#include "travenel/ui/Application.h"

using namespace travenel;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The name, not a display name: Qt appends a display name to every window
  // title, and the title bar must read the window's caption alone. Message
  // boxes take this name as their title.
  QApplication::setApplicationName(QStringLiteral("Travenel"));
  RegisterAppFonts();
  // The one main window; creating it builds the world and starts the run.
  TForm1 Form1;
  Form1.show();
  return QApplication::exec();
}
