#include "travenel/ui/Application.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
#include <exception>

#include "travenel/ui/Log.h"

namespace travenel {

namespace {

bool gBoxOpen = false;

void DefaultSink(TMessageKind kind, const std::string& text) {
  const QString t = QString::fromStdString(text);
  QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  QApplication::applicationDisplayName(), t, QMessageBox::Ok);
  box.exec();
}

TMessageSink& Sink() {
  static TMessageSink sink = DefaultSink;
  return sink;
}

void Show(TMessageKind kind, const std::string& text) {
  // The flag lets callers hold their timers while a box is open.
  gBoxOpen = true;
  struct Reset {
    ~Reset() { gBoxOpen = false; }
  } reset;
  Sink()(kind, text);
}

}  // namespace

TMessageSink SetMessageSink(TMessageSink sink) {
  TMessageSink previous = Sink();
  Sink() = sink ? std::move(sink) : TMessageSink(DefaultSink);
  return previous;
}

void ShowMessage(const std::string& text) { Show(TMessageKind::Information, text); }

void ShowException(const std::string& text) { Show(TMessageKind::Error, text); }

bool MessageBoxOpen() { return gBoxOpen; }

bool RunHandler(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unbekannter Fehler");
  }
  return false;
}

TScreen& TScreen::Instance() {
  static TScreen screen;
  return screen;
}

void TScreen::RegisterCursor(TCursor number, const QCursor& cursor) {
  if (number >= 1) registered_[number] = cursor;
}

QCursor TScreen::QtCursor(TCursor number) const {
  switch (number) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: return QCursor(Qt::WaitCursor);
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: break;
  }
  const auto it = registered_.find(number);
  return it != registered_.end() ? it->second : QCursor(Qt::ArrowCursor);
}

void TScreen::SetCursor(TCursor number) {
  cursor_ = number;
  if (!qApp) return;
  if (number == crDefault) {
    if (overriding_) QApplication::restoreOverrideCursor();
    overriding_ = false;
  } else if (overriding_) {
    QApplication::changeOverrideCursor(QtCursor(number));
  } else {
    QApplication::setOverrideCursor(QtCursor(number));
    overriding_ = true;
  }
}

Q_LOGGING_CATEGORY(lcChart, "travenel.chart")

std::string RegisterAppFonts() {
  static const std::string family = RegisterAppFontsFrom(
      {"/usr/share/wine/fonts/", "/usr/share/fonts/truetype/wine/", "/usr/share/fonts/wine/"});
  return family;
}

std::string RegisterAppFontsFrom(std::initializer_list<const char*> dirs) {
  std::string family = "Tahoma";
  bool found = false;
  for (const char* dir : dirs) {
    const QString regular = QString(dir) + "tahoma.ttf";
    if (!QFile::exists(regular)) continue;
    found = QFontDatabase::addApplicationFont(regular) >= 0;
    QFontDatabase::addApplicationFont(QString(dir) + "tahomabd.ttf");
    if (found) break;
  }
  if (!found) {
    qCWarning(lcChart, "Tahoma not found (package fonts-wine); using the default sans font");
    family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString();
  }
  return family;
}

}  // namespace travenel
