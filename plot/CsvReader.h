// CsvReader: reads a travenel-batch CSV as a stream — the header, then one
// row of numbers at a time — so that input of any length needs no more memory
// than one buffer. Anything that is not such a CSV is refused with a message
// naming the line and the column.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "travenel/plot/Columns.h"

namespace travenel {

// Input that is not a travenel-batch CSV (or cannot be read).
class EBadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "line 5, column 3 (seed): " (without a name: "line 5, column 3: ").
std::string Where(std::uint64_t line, int column, const std::string& name);

// Reads one field as the rule wants; false when it is not such a number.
// A measure without a value gives NaN.
bool ReadValue(std::string_view field, TValueRule rule, double& value);

class TCsvReader {
 public:
  // A line longer than this is not a row of the runner's (nor a header).
  static constexpr std::size_t kMaxLine = 64 * 1024;

  // `name` is how messages call the input ("standard input", a file name).
  TCsvReader(std::FILE* in, std::string name);
  TCsvReader(const TCsvReader&) = delete;
  TCsvReader& operator=(const TCsvReader&) = delete;

  // Reads the header; blank lines before it are skipped. Throws EBadInput.
  const TCsvLayout& ReadHeader();

  // The next row's values in the header's order (values is resized to the
  // column count); false after the last row. Blank lines are skipped.
  // Throws EBadInput.
  bool Next(std::vector<double>& values);

  // The number of the line read last (1 is the first line of the input).
  std::uint64_t Line() const { return line_; }
  // How many rows Next has returned.
  std::uint64_t Rows() const { return rows_; }

 private:
  // The next line without its end ('\n', "\r\n"); false at the end of input.
  bool NextLine(std::string_view& line);
  // Fills the buffer behind the unread rest; false when nothing more came.
  bool Refill();
  [[noreturn]] void FieldError(int column, std::string_view field) const;

  std::FILE* in_;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;  // unread bytes
  bool eof_ = false;
  std::uint64_t line_ = 0;
  std::uint64_t rows_ = 0;
  TCsvLayout layout_;
  std::vector<TValueRule> rules_;
};

}  // namespace travenel
