// Where a sweep's rows go, every write checked. The rows of each run are
// printed into memory and reach the file or pipe in large writes of whole
// runs, through write(2) itself: the C library's own buffering drops a
// buffer whose write failed, and a later flush then succeeds, so rows would
// go missing without a word. After a failed write the writer knows exactly
// which rows are in the file and can take back a run cut in two.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace travenel {

// A write that failed: the message names the destination and the error.
class EWrite : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRowWriter {
 public:
  // Writes to descriptor `fd`; with fd < 0 to `stream` (a stream without a
  // descriptor, as in tests) through the C library, its errors checked.
  // `name` is what messages call the destination.
  TRowWriter(int fd, std::FILE* stream, std::string name);
  ~TRowWriter();
  TRowWriter(const TRowWriter&) = delete;
  TRowWriter& operator=(const TRowWriter&) = delete;

  // The stream a run's rows are printed to; EndRun() closes the run.
  std::FILE* Rows() const { return rows_; }
  void EndRun();
  // A line that is no row of a run (the header).
  void AddHeader(const std::string& line);

  // True when enough waits in memory, or long enough, to be written.
  bool Due() const;
  // Writes what waits; throws EWrite and keeps nothing more once one failed.
  void Flush();
  bool Failed() const { return failed_; }

  // What reached the destination: whole runs and their rows, and the rows
  // of a run cut in two that did (0 once it is taken back).
  std::uint64_t RunsWritten() const { return runs_; }
  std::uint64_t RowsWritten() const { return rowsWritten_ + cutRows_; }
  // After a failed write: truncates a run cut in two off a regular file
  // (not one opened for appending, which others may share). False when a
  // part of a run stays (a pipe), true when none does.
  bool TakeBackCutRun();

 private:
  struct TMark {
    std::size_t End;     // in pending_
    std::uint64_t Rows;  // of the run; the header counts as no run
    bool Run;
  };
  static ssize_t Print(void* self, const char* data, std::size_t size);
  void Written(std::size_t n);

  int fd_;
  std::FILE* stream_;
  std::string name_;
  std::FILE* rows_ = nullptr;  // prints into pending_
  std::string pending_;
  std::vector<TMark> marks_;
  std::uint64_t runs_ = 0, rowsWritten_ = 0, cutRows_ = 0, cutBytes_ = 0;
  bool failed_ = false;
  std::chrono::steady_clock::time_point lastFlush_ = std::chrono::steady_clock::now();
};

}  // namespace travenel
