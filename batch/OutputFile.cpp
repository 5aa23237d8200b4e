#include "batch/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

std::string ErrorText(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

}  // namespace

TOutputFile::TOutputFile(const std::string& target) : target_(target) {
  std::vector<char> name(target.begin(), target.end());
  const std::string suffix = ".tmp-XXXXXX";
  name.insert(name.end(), suffix.begin(), suffix.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw std::runtime_error(ErrorText("--out: cannot create a file beside", target));
  tempPath_ = name.data();
  file_ = fdopen(fd, "w");
  if (!file_) {
    ::close(fd);
    std::remove(tempPath_.c_str());
    throw std::runtime_error(ErrorText("--out: cannot write", tempPath_));
  }
}

TOutputFile::~TOutputFile() {
  if (file_) std::fclose(file_);
  if (!committed_) std::remove(tempPath_.c_str());
}

void TOutputFile::Commit() {
  const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) throw std::runtime_error(ErrorText("--out: cannot write", tempPath_));
  if (std::rename(tempPath_.c_str(), target_.c_str()) != 0)
    throw std::runtime_error(ErrorText("--out: cannot replace", target_));
  committed_ = true;
}
