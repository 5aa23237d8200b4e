// Travenel: agents of two colours jump over a wrapping world and attach where
// enough neighbours share their colour.
#include <QApplication>
#include <cstdio>

#include "travenel/app/CellForm.h"
#include "travenel/app/StartOptions.h"
#include "travenel/ui/Application.h"

using namespace travenel;

int main(int argc, char** argv) {
  TStartOptions start;
  try {
    start = ParseStartOptions(TakeStartOptions(argc, argv));
  } catch (const EStartUsage& e) {
    std::fprintf(stderr, "travenel: %s\n%s", e.what(), StartUsage().c_str());
    return 2;
  }
  QApplication app(argc, argv);
  // What the toolkit did not take either is no option of ours.
  if (const QStringList rest = QApplication::arguments().mid(1); !rest.isEmpty()) {
    std::fprintf(stderr, "travenel: unbekannte Option '%s'\n%s",
                 rest.front().toLocal8Bit().constData(), StartUsage().c_str());
    return 2;
  }
  // The name, not a display name: Qt appends a display name to every window
  // title, and the title bar must read the window's caption alone. Message
  // boxes take this name as their title.
  QApplication::setApplicationName(QStringLiteral("Travenel"));
  RegisterAppFonts();
  // The one main window; creating it builds the world and starts the run.
  TForm1 Form1(start);
  Form1.show();
  return QApplication::exec();
}
