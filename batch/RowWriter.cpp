#include "travenel/batch/RowWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace travenel {

namespace {

// Rows reach the destination at least this often (a killed process loses no
// more), or once this much waits: large writes cost little.
constexpr auto kFlushEvery = std::chrono::milliseconds(20);
constexpr std::size_t kFlushBytes = 1 << 16;
// write(2) moves at most about this much at once anyway.
constexpr std::size_t kMostAtOnce = std::size_t{1} << 30;

}  // namespace

TRowWriter::TRowWriter(int fd, std::FILE* stream, std::string name)
    : fd_(fd), stream_(stream), name_(std::move(name)) {
  cookie_io_functions_t io{};
  io.write = &TRowWriter::Print;
  rows_ = fopencookie(this, "w", io);
  if (!rows_) throw std::bad_alloc();
  std::setvbuf(rows_, nullptr, _IOFBF, 1 << 14);
}

TRowWriter::~TRowWriter() {
  if (rows_) std::fclose(rows_);
}

ssize_t TRowWriter::Print(void* self, const char* data, std::size_t size) {
  static_cast<TRowWriter*>(self)->pending_.append(data, size);
  return static_cast<ssize_t>(size);
}

void TRowWriter::EndRun() {
  std::fflush(rows_);  // into pending_: cannot fail but for memory
  const std::size_t from = marks_.empty() ? 0 : marks_.back().End;
  marks_.push_back(
      {pending_.size(),
       static_cast<std::uint64_t>(
           std::count(pending_.begin() + static_cast<std::ptrdiff_t>(from), pending_.end(), '\n')),
       true});
}

void TRowWriter::AddHeader(const std::string& line) {
  std::fflush(rows_);
  pending_ += line;
  marks_.push_back({pending_.size(), 0, false});
}

bool TRowWriter::Due() const {
  return pending_.size() >= kFlushBytes ||
         std::chrono::steady_clock::now() - lastFlush_ >= kFlushEvery;
}

void TRowWriter::Flush() {
  lastFlush_ = std::chrono::steady_clock::now();
  if (failed_ || pending_.empty()) return;
  std::size_t done = 0;
  int error = 0;
  if (fd_ >= 0) {
    while (done < pending_.size()) {
      const ssize_t n =
          ::write(fd_, pending_.data() + done, std::min(pending_.size() - done, kMostAtOnce));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errno : EIO;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
  } else if (std::fwrite(pending_.data(), 1, pending_.size(), stream_) != pending_.size() ||
             std::fflush(stream_) != 0) {
    // How much of it the stream passed on is not known: count none.
    error = errno != 0 ? errno : EIO;
  } else {
    done = pending_.size();
  }
  Written(error ? (fd_ >= 0 ? done : 0) : done);
  if (error) {
    failed_ = true;
    throw EWrite("cannot write " + name_ + ": " + std::strerror(error));
  }
  pending_.clear();
  marks_.clear();
}

void TRowWriter::Written(std::size_t n) {
  std::size_t whole = 0;
  for (const TMark& m : marks_) {
    if (m.End > n) break;
    runs_ += m.Run;
    rowsWritten_ += m.Rows;
    whole = m.End;
  }
  cutBytes_ = n - whole;
  cutRows_ = static_cast<std::uint64_t>(
      std::count(pending_.begin() + static_cast<std::ptrdiff_t>(whole),
                 pending_.begin() + static_cast<std::ptrdiff_t>(n), '\n'));
}

bool TRowWriter::TakeBackCutRun() {
  if (cutBytes_ == 0) return true;
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const int flags = ::fcntl(fd_, F_GETFL);
  const off_t at = ::lseek(fd_, 0, SEEK_CUR);
  if (flags < 0 || (flags & O_APPEND) || at < static_cast<off_t>(cutBytes_) ||
      ::ftruncate(fd_, at - static_cast<off_t>(cutBytes_)) != 0)
    return false;
  ::lseek(fd_, at - static_cast<off_t>(cutBytes_), SEEK_SET);
  cutBytes_ = cutRows_ = 0;
  return true;
}

}  // namespace travenel
