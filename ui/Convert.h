// Text to whole number and back, with the runtime's German messages.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace travenel {

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A 32-bit whole number: optional blanks around it, an optional sign, decimal
// digits. Anything else (empty text, letters, a fraction, a number outside the
// 32-bit range) throws EConvertError "'<text>' ist kein gültiger Integerwert".
std::int32_t StrToInt(const std::string& text);
// The same without throwing; false for a text that is no whole number.
bool TryStrToInt(const std::string& text, std::int32_t& value);

std::string IntToStr(std::int64_t value);

// The list error "Listenindex überschreitet das Maximum (<index>)".
EListError ListIndexError(std::int64_t index);

}  // namespace travenel
