#include "travenel/plot/CsvReader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace travenel {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// Steps above this would lose their last digits in a double.
constexpr double kMaxWhole = 9007199254740992.0;  // 2^53

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Blank(std::string_view line) { return Trim(line).empty(); }

// Plain whole numbers, which is nearly every field the runner writes, are read
// here; from_chars takes the rest.
bool ReadNumber(std::string_view s, double& value) {
  const char* p = s.data();
  const char* end = p + s.size();
  if (p == end) return false;
  bool negative = *p == '-';
  const char* digits = negative ? p + 1 : p;
  if (digits != end && end - digits <= 15) {
    std::int64_t v = 0;
    const char* q = digits;
    for (; q != end && *q >= '0' && *q <= '9'; ++q) v = v * 10 + (*q - '0');
    if (q == end) {
      value = static_cast<double>(negative ? -v : v);
      return true;
    }
  }
  const auto [ptr, ec] = std::from_chars(p, end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::string Where(std::uint64_t line, int column, const std::string& name) {
  std::string s = "line " + std::to_string(line) + ", column " + std::to_string(column);
  if (!name.empty()) s += " (" + name + ")";
  return s + ": ";
}

bool ReadValue(std::string_view field, TValueRule rule, double& value) {
  field = Trim(field);
  if (rule == TValueRule::Measure && field.empty()) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (rule == TValueRule::Paused && field.empty()) {
    value = 0;
    return true;
  }
  if (!ReadNumber(field, value)) return false;
  if (std::isnan(value)) return rule == TValueRule::Measure;
  if (!std::isfinite(value)) return false;
  if (rule == TValueRule::Whole || rule == TValueRule::Paused)
    return value >= 0 && value <= kMaxWhole && value == std::floor(value);
  return true;
}

TCsvReader::TCsvReader(std::FILE* in, std::string name)
    : in_(in), name_(std::move(name)), buffer_(kBufferSize) {}

bool TCsvReader::Refill() {
  if (eof_) return false;
  // Keep the unread rest at the front, then read behind it.
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, in_);
  end_ += n;
  if (n == 0) {
    if (std::ferror(in_))
      throw EBadInput("cannot read " + name_ + ": " + std::strerror(errno ? errno : EIO));
    eof_ = true;
    return false;
  }
  return true;
}

bool TCsvReader::NextLine(std::string_view& line) {
  std::size_t searched = begin_;
  for (;;) {
    const void* nl = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (nl) {
      const std::size_t at =
          static_cast<std::size_t>(static_cast<const char*>(nl) - buffer_.data());
      line = std::string_view(buffer_.data() + begin_, at - begin_);
      begin_ = at + 1;
      break;
    }
    if (end_ - begin_ > kMaxLine)
      throw EBadInput("line " + std::to_string(line_ + 1) + ": longer than " +
                      std::to_string(kMaxLine) + " characters; not a CSV of travenel-batch");
    const std::size_t unread = end_ - begin_;
    if (!Refill()) {
      if (unread == 0) return false;
      // The last line has no line end.
      line = std::string_view(buffer_.data() + begin_, end_ - begin_);
      begin_ = end_;
      break;
    }
    searched = begin_ + unread;
  }
  ++line_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

const TCsvLayout& TCsvReader::ReadHeader() {
  std::string_view line;
  do {
    if (!NextLine(line))
      throw EBadInput(name_ + " is empty: no header line (travenel-batch writes one first)");
  } while (Blank(line));
  // A byte-order mark, as some editors write.
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(Trim(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  layout_ = LayoutFromHeader(fields, line_);
  rules_.clear();
  for (int i = 0; i < layout_.Count(); ++i) rules_.push_back(layout_.Rule(i));
  return layout_;
}

void TCsvReader::FieldError(int column, std::string_view field) const {
  const std::size_t i = static_cast<std::size_t>(column);
  std::string what;
  switch (rules_[i]) {
    case TValueRule::Whole: what = "is not a whole number of 0 or more"; break;
    case TValueRule::Paused: what = "is not a step (nor empty: never paused)"; break;
    case TValueRule::Measure: what = "is not a number (nor empty)"; break;
    default: what = "is not a number"; break;
  }
  std::string shown(Trim(field).substr(0, 40));
  throw EBadInput(Where(line_, column + 1, layout_.Names[i]) + "'" + shown + "' " + what);
}

bool TCsvReader::Next(std::vector<double>& values) {
  const int count = layout_.Count();
  values.resize(static_cast<std::size_t>(count));
  std::string_view line;
  do {
    if (!NextLine(line)) return false;
  } while (line.empty() || Blank(line));
  int column = 0;
  std::size_t start = 0;
  for (;; ++column) {
    const std::size_t comma = line.find(',', start);
    if (column == count) {
      int fields = count + 1;
      for (std::size_t p = comma; p != std::string_view::npos; p = line.find(',', p + 1)) ++fields;
      throw EBadInput("line " + std::to_string(line_) + ": " + std::to_string(fields) +
                      " fields where the header has " + std::to_string(count));
    }
    const std::string_view field = line.substr(start, comma - start);
    if (!ReadValue(field, rules_[static_cast<std::size_t>(column)],
                   values[static_cast<std::size_t>(column)]))
      FieldError(column, field);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (column + 1 < count)
    throw EBadInput(Where(line_, column + 2, layout_.Names[static_cast<std::size_t>(column + 1)]) +
                    "missing: the row has " + std::to_string(column + 1) + " fields, the header " +
                    std::to_string(count));
  ++rows_;
  return true;
}

}  // namespace travenel
