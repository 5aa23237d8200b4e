// A file that replaces its target only when complete: rows go to a temporary
// file beside the target, which is renamed over it by Commit. Until then (and
// if the sweep fails or is interrupted) the old file stays as it was.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

class TOutputFile {
 public:
  // Creates the temporary file; throws std::runtime_error when it cannot.
  explicit TOutputFile(const std::string& target);
  ~TOutputFile();  // removes the temporary file unless committed
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  std::FILE* Stream() const { return file_; }
  const std::string& TempPath() const { return tempPath_; }
  // Flushes, closes and renames over the target; throws std::runtime_error on failure.
  void Commit();

 private:
  std::string target_, tempPath_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};
