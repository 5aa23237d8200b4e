#include "batch/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <random>
#include <vector>

namespace {

// Links followed before giving up, as the kernel does.
constexpr int kMaxLinks = 40;

std::string ErrorText(const std::string& what, const std::string& path, int error) {
  return what + " '" + path + "': " + std::strerror(error);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

TTargetKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return TTargetKind::RegularFile;
  if (S_ISDIR(mode)) return TTargetKind::Folder;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return TTargetKind::Device;
  if (S_ISFIFO(mode)) return TTargetKind::Fifo;
  if (S_ISSOCK(mode)) return TTargetKind::Socket;
  return TTargetKind::Other;
}

const char* KindText(TTargetKind kind) {
  switch (kind) {
    case TTargetKind::Folder: return "is a folder";
    case TTargetKind::Device: return "is a device";
    case TTargetKind::Fifo: return "is a FIFO (named pipe)";
    case TTargetKind::Socket: return "is a socket";
    default: return "is not a regular file";
  }
}

std::string ReadLink(const std::string& path) {
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
  if (n < 0) throw std::runtime_error(ErrorText("--out: cannot read the link", path, errno));
  if (static_cast<std::size_t>(n) == buf.size())
    throw std::runtime_error(ErrorText("--out: cannot read the link", path, ENAMETOOLONG));
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

// Creates a new file "<path>.tmp-XXXXXX" with the given mode (less the
// umask, as for any new file). Returns -1 with errno set when it cannot.
int CreateBeside(const std::string& path, mode_t mode, std::string& created) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::minstd_rand pick(
      static_cast<unsigned>(getpid()) ^
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = path + ".tmp-";
    for (int i = 0; i < 6; ++i) name += kChars[pick() % (sizeof kChars - 1)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
      created = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

TTarget ResolveTarget(const std::string& path) {
  std::string p = path;
  for (int links = 0;; ++links) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0) {
      if (errno == ENOENT) return {p, TTargetKind::Missing};
      throw std::runtime_error(ErrorText("--out: cannot use", path, errno));
    }
    if (!S_ISLNK(st.st_mode)) return {p, KindOf(st.st_mode)};
    if (links == kMaxLinks) throw std::runtime_error(ErrorText("--out: cannot use", path, ELOOP));
    const std::string link = ReadLink(p);
    p = link.rfind('/', 0) == 0 ? link : FolderOf(p) + "/" + link;
  }
}

TOutputFile::TOutputFile(const std::string& target) : target_(target) {
  if (!target.empty() && target.back() == '/')
    throw std::runtime_error("--out: '" + target + "' names a folder, not a file");
  const TTarget resolved = ResolveTarget(target);
  if (resolved.Kind != TTargetKind::Missing && resolved.Kind != TTargetKind::RegularFile) {
    std::string text = "--out: '" + target + "' ";
    if (resolved.Path != target) text += "leads to '" + resolved.Path + "', which ";
    throw std::runtime_error(text + KindText(resolved.Kind) + ", not a file");
  }
  path_ = resolved.Path;

  struct stat old {};
  const bool replacing =
      resolved.Kind == TTargetKind::RegularFile && ::stat(path_.c_str(), &old) == 0;
  const int fd = CreateBeside(path_, replacing ? 0600 : 0666, tempPath_);
  if (fd < 0)
    throw std::runtime_error(ErrorText("--out: cannot create a file beside", target, errno));
  if (replacing) {
    // Owner first: changing it may clear the set-id bits put back next.
    if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
        fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not allowed to give the file away: it stays ours, like any new file.
    }
    if (fchmod(fd, old.st_mode & 07777) != 0) {
      const int error = errno;
      ::close(fd);
      std::remove(tempPath_.c_str());
      throw std::runtime_error(ErrorText("--out: cannot set the permissions of", tempPath_, error));
    }
  }
  file_ = fdopen(fd, "w");
  if (!file_) {
    const int error = errno;
    ::close(fd);
    std::remove(tempPath_.c_str());
    throw std::runtime_error(ErrorText("--out: cannot write", tempPath_, error));
  }
}

TOutputFile::~TOutputFile() {
  if (file_) std::fclose(file_);
  if (!keepTemp_) std::remove(tempPath_.c_str());
}

void TOutputFile::Commit() {
  bool written = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  int error = errno;
  if (std::fclose(file_) != 0 && written) {
    written = false;
    error = errno;
  }
  file_ = nullptr;
  if (!written) throw std::runtime_error(ErrorText("--out: cannot write", tempPath_, error));
  // The check before the sweep may be long past: never rename over a device,
  // a folder or whatever else has taken the name since.
  struct stat now;
  if (::lstat(path_.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) {
    keepTemp_ = true;
    throw std::runtime_error("--out: '" + path_ + "' " + KindText(KindOf(now.st_mode)) +
                             " now; left it alone, the rows are in '" + tempPath_ + "'");
  }
  if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    keepTemp_ = true;
    throw std::runtime_error(ErrorText("--out: cannot replace", path_, errno) +
                             "; the rows are in '" + tempPath_ + "'");
  }
  keepTemp_ = true;
}
