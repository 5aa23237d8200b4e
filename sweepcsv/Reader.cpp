#include "travenel/sweepcsv/Reader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "travenel/sweepcsv/Number.h"

namespace travenel {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// Steps above this would lose their last digits in a double.
constexpr double kMaxWhole = 9007199254740992.0;  // 2^53
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool AllEmpty(const std::vector<std::string_view>& fields) {
  return std::all_of(fields.begin(), fields.end(), [](std::string_view f) { return f.empty(); });
}

// The separator a header line uses: the most frequent of ',', ';' and tab
// outside quotes (a ',' on a tie: the runner's own).
char SeparatorOf(std::string_view line) {
  int comma = 0, semicolon = 0, tab = 0;
  bool quoted = false;
  for (char ch : line) {
    if (ch == '"') quoted = !quoted;
    if (quoted) continue;
    comma += ch == ',';
    semicolon += ch == ';';
    tab += ch == '\t';
  }
  if (semicolon > comma && semicolon >= tab) return ';';
  if (tab > comma && tab > semicolon) return '\t';
  return ',';
}

}  // namespace

bool ReadValue(std::string_view field, TValueRule rule, double& value, bool decimalComma) {
  field = Trim(field);
  if (rule == TValueRule::Measure && field.empty()) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (rule == TValueRule::Paused && field.empty()) {
    value = 0;
    return true;
  }
  // R writes a missing value as NA.
  if (rule == TValueRule::Measure && field == "NA") {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (!ReadNumber(field, value, decimalComma)) return false;
  if (std::isnan(value)) return rule == TValueRule::Measure;
  if (!std::isfinite(value)) return false;
  if (rule == TValueRule::Whole || rule == TValueRule::Paused)
    return value >= 0 && value <= kMaxWhole && value == std::floor(value);
  return true;
}

bool SplitFields(std::string_view line, char sep, std::vector<std::string_view>& fields,
                 std::string& scratch) {
  fields.clear();
  scratch.clear();
  scratch.reserve(line.size());
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || (line[i] == '\t' && sep != '\t'))) ++i;
    if (i < line.size() && line[i] == '"') {
      const std::size_t from = scratch.size();
      for (++i;; ++i) {
        if (i >= line.size()) return false;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            scratch += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        scratch += line[i];
      }
      fields.push_back(Trim(std::string_view(scratch).substr(from)));
      // Only blanks may follow the closing quote before the separator.
      while (i < line.size() && line[i] != sep) {
        if (line[i] != ' ' && line[i] != '\t') return false;
        ++i;
      }
    } else {
      const std::size_t end = std::min(line.find(sep, i), line.size());
      fields.push_back(Trim(line.substr(i, end - i)));
      i = end;
    }
    if (i >= line.size()) return true;
    ++i;  // the separator
  }
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
  // A byte-order mark, as some editors write (and again where files were joined).
  if (line.substr(0, 3) == kByteOrderMark) line.remove_prefix(3);
  return true;
}

void TCsvReader::Split(std::string_view line) {
  if (!SplitFields(line, sep_, fields_, scratch_))
    throw EBadInput("line " + std::to_string(line_) + ": a quote '\"' is not closed");
}

const TCsvLayout& TCsvReader::ReadHeader() {
  std::string_view line;
  do {
    if (!NextLine(line))
      throw EBadInput(name_ + " is empty: no header line (travenel-batch writes one first)");
  } while (Trim(line).empty());
  // Excel's own line naming the separator, before the header.
  if (line.size() == 5 && line.substr(0, 4) == "sep=") {
    const char sep = line[4];
    do {
      if (!NextLine(line)) throw EBadInput(name_ + " has no header line after its 'sep=' line");
    } while (Trim(line).empty());
    sep_ = sep;
  } else {
    sep_ = SeparatorOf(line);
  }
  // With ',' between the fields a ',' cannot be a decimal point.
  decimalComma_ = sep_ != ',';
  header_.assign(line);
  Split(line);
  headerFields_.assign(fields_.begin(), fields_.end());
  layout_ = LayoutFromHeader(fields_, line_);
  rules_.clear();
  for (int to : layout_.Source) rules_.push_back(to < 0 ? TValueRule::Number : layout_.Rule(to));
  return layout_;
}

void TCsvReader::FieldError(int field, std::string_view text) const {
  const int to = layout_.Source[static_cast<std::size_t>(field)];
  const std::string& name = layout_.Names[static_cast<std::size_t>(to)];
  std::string what;
  switch (layout_.Rule(to)) {
    case TValueRule::Whole: what = "is not a whole number of 0 or more"; break;
    case TValueRule::Paused: what = "is not a step (nor empty: never paused)"; break;
    case TValueRule::Measure: what = "is not a number (nor empty)"; break;
    default: what = "is not a number"; break;
  }
  throw EBadInput(Where(line_, field + 1, name) + "'" + Shown(text) + "' " + what);
}

bool TCsvReader::Next(std::vector<double>& values) {
  const std::size_t count = layout_.Source.size();
  values.resize(static_cast<std::size_t>(layout_.Count()));
  std::string_view line;
  for (;;) {
    if (!NextLine(line)) return false;
    if (Trim(line).empty() || line == header_) continue;
    Split(line);
    // Rows of empty fields, as spreadsheets leave at the end.
    if (AllEmpty(fields_)) continue;
    // A row that names the key columns: the header again (where outputs
    // were joined, perhaps quoted otherwise), or another output's. Rows of
    // numbers start with a digit, a sign or a point, which no name does.
    const char first = fields_[0].empty() ? '\0' : fields_[0][0];
    if (!((first >= '0' && first <= '9') || first == '-' || first == '.') &&
        std::find(fields_.begin(), fields_.end(), kStepColumns[col::kAgents]) != fields_.end() &&
        std::find(fields_.begin(), fields_.end(), kStepColumns[col::kSeed]) != fields_.end()) {
      if (std::equal(fields_.begin(), fields_.end(), headerFields_.begin(), headerFields_.end()))
        continue;
      throw EBadInput("line " + std::to_string(line_) +
                      ": a header other than the first one (outputs with other columns joined?)");
    }
    break;
  }
  if (fields_.size() < count)
    throw EBadInput(
        Where(line_, static_cast<int>(fields_.size()) + 1,
              layout_.Source[fields_.size()] >= 0
                  ? layout_.Names[static_cast<std::size_t>(layout_.Source[fields_.size()])]
                  : "") +
        "missing: the row has " + std::to_string(fields_.size()) + " fields, the header " +
        std::to_string(count));
  if (fields_.size() > count &&
      !std::all_of(fields_.begin() + static_cast<std::ptrdiff_t>(count), fields_.end(),
                   [](std::string_view f) { return f.empty(); }))
    throw EBadInput("line " + std::to_string(line_) + ": " + std::to_string(fields_.size()) +
                    " fields where the header has " + std::to_string(count));
  for (std::size_t i = 0; i < count; ++i) {
    const int to = layout_.Source[i];
    if (to < 0) continue;
    double& v = values[static_cast<std::size_t>(to)];
    if (!ReadValue(fields_[i], rules_[i], v, decimalComma_))
      FieldError(static_cast<int>(i), fields_[i]);
    if (std::fabs(v) >= kMaxMagnitude)
      throw EBadInput(
          Where(line_, static_cast<int>(i) + 1, layout_.Names[static_cast<std::size_t>(to)]) + "'" +
          Shown(fields_[i]) + "' is too large to plot (at most " + ShortestText(kMaxMagnitude) +
          " either way)");
  }
  ++rows_;
  return true;
}

}  // namespace travenel
