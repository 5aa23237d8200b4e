// Reader: reads a travenel-batch CSV as a stream — the header, then one row
// of numbers at a time — so that input of any length needs no more memory
// than one buffer. It takes the file as the runner wrote it and as
// spreadsheets, R and `cat` hand it back: quoted fields, columns in any
// order, ';' with decimal commas, CRLF, a byte-order mark, no last line end,
// rows of empty fields, and the header again where two outputs were joined.
// Anything else is refused with a message naming the line and the column.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "travenel/sweepcsv/Columns.h"

namespace travenel {

// Reads one field as the rule wants; false when it is not such a number.
// A measure without a value gives NaN.
bool ReadValue(std::string_view field, TValueRule rule, double& value, bool decimalComma = false);

// Values at or beyond this size are refused: no axis of the picture could
// label them, and sums of them would overflow.
inline constexpr double kMaxMagnitude = 1e15;

// Splits a line at `sep` into fields, quotes taken off ("" inside quotes is
// one quote) and blanks around them trimmed. Unquoted text goes into
// `scratch`, which must not grow while the fields are used (it is reserved
// here). False when a quote is not closed.
bool SplitFields(std::string_view line, char sep, std::vector<std::string_view>& fields,
                 std::string& scratch);

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

  // The next row's values in the layout's order (values is resized to its
  // column count); false after the last row. Blank lines, rows of empty
  // fields and repeats of the header are skipped. Throws EBadInput.
  bool Next(std::vector<double>& values);

  // The number of the line read last (1 is the first line of the input).
  std::uint64_t Line() const { return line_; }
  // How many rows Next has returned.
  std::uint64_t Rows() const { return rows_; }
  // The field separator the header showed: ',', ';' or a tab.
  char Separator() const { return sep_; }

 private:
  // The next line without its end ('\n', "\r\n"); false at the end of input.
  bool NextLine(std::string_view& line);
  // Fills the buffer behind the unread rest; false when nothing more came.
  bool Refill();
  void Split(std::string_view line);
  [[noreturn]] void FieldError(int field, std::string_view text) const;

  std::FILE* in_;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;  // unread bytes
  bool eof_ = false;
  std::uint64_t line_ = 0;
  std::uint64_t rows_ = 0;
  char sep_ = ',';
  bool decimalComma_ = false;
  std::string header_;  // the header line as it came, to know its repeats
  std::vector<std::string> headerFields_;
  TCsvLayout layout_;
  std::vector<TValueRule> rules_;  // by field of the file
  std::vector<std::string_view> fields_;
  std::string scratch_;
};

}  // namespace travenel
