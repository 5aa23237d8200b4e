// Records what Qt writes to the console (warnings and the like) while it lives,
// so a test can check that a case goes by without a message.
#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

class QtMessages {
 public:
  QtMessages() : previous_(qInstallMessageHandler(&Record)) { Log().clear(); }
  ~QtMessages() { qInstallMessageHandler(previous_); }
  QtMessages(const QtMessages&) = delete;
  QtMessages& operator=(const QtMessages&) = delete;

  const std::vector<std::string>& Texts() const { return Log(); }

 private:
  static std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
  }
  static void Record(QtMsgType, const QMessageLogContext&, const QString& text) {
    Log().push_back(text.toStdString());
  }
  QtMessageHandler previous_;
};
