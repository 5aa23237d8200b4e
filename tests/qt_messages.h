// Records what Qt writes to the console (warnings and the like) while it lives,
// so a test can check that a case goes by without a message.
#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

namespace travenel {

class QtMessages {
 public:
  QtMessages() : previous_(qInstallMessageHandler(&Record)) { texts_.clear(); }
  ~QtMessages() { qInstallMessageHandler(previous_); }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  static void Record(QtMsgType, const QMessageLogContext&, const QString& text) {
    texts_.push_back(text.toStdString());
  }
  static inline std::vector<std::string> texts_;
  QtMessageHandler previous_;
};

}  // namespace travenel
