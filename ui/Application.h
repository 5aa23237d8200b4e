// Application services the controls and the window rely on: the modal message
// box, the report of an exception that left an event handler, application-wide
// cursors, and the fonts registered at start-up. Tests replace the message
// sink to record texts instead of opening dialogs.
#pragma once

#include <QCursor>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>

#include "travenel/ui/Input.h"

namespace travenel {

enum class TMessageKind { Information, Error };

// Where message boxes go. The default opens a modal box with one OK button.
using TMessageSink = std::function<void(TMessageKind kind, const std::string& text)>;
// Installs a sink (an empty one restores the default) and returns the previous.
TMessageSink SetMessageSink(TMessageSink sink);

// A modal information box with one OK button.
void ShowMessage(const std::string& text);
// The application's default handler for an exception that left an event
// handler: shows its message modally, then the program goes on.
void ShowException(const std::string& text);

// True while a message box opened by ShowMessage or ShowException is open.
bool MessageBoxOpen();

// Runs an event handler, reporting any exception with ShowException.
// Returns false if the handler ended with an exception.
bool RunHandler(const std::function<void()>& handler);

// Application-wide cursors: numbers 1 and up can be registered with an image;
// a number without one shows the default cursor.
class TScreen {
 public:
  static TScreen& Instance();

  void RegisterCursor(TCursor number, const QCursor& cursor);
  bool CursorRegistered(TCursor number) const { return registered_.count(number) != 0; }
  QCursor QtCursor(TCursor number) const;

  // The current application-wide cursor; crDefault lets every control show its own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor number);

 private:
  std::map<TCursor, QCursor> registered_;
  TCursor cursor_ = crDefault;
  bool overriding_ = false;
};

// Registers Tahoma from the system's Wine fonts, once; the default sans font
// stands in when it is missing. Returns the family name to use.
std::string RegisterAppFonts();
// The same from the first of these folders that has tahoma.ttf, each time;
// a missing font is reported through the log (Log.h).
std::string RegisterAppFontsFrom(std::initializer_list<const char*> dirs);

}  // namespace travenel
