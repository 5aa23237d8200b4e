#include "travenel/batch/OutputFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>

#include "travenel/batch/RowWriter.h"

namespace travenel {

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
  if (S_ISCHR(mode)) return TTargetKind::Device;
  if (S_ISBLK(mode)) return TTargetKind::BlockDevice;
  if (S_ISFIFO(mode)) return TTargetKind::Fifo;
  if (S_ISSOCK(mode)) return TTargetKind::Socket;
  return TTargetKind::Other;
}

const char* KindText(TTargetKind kind) {
  switch (kind) {
    case TTargetKind::Folder: return "is a folder";
    case TTargetKind::Device: return "is a device";
    case TTargetKind::BlockDevice: return "is a block device (a disk)";
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

// Rows reach the disk about once a second (a power cut loses no more): a
// sync per run would cost more than many runs.
constexpr auto kSyncEvery = std::chrono::seconds(1);

// A new name (the partial file, its record, the replaced target) survives a
// power cut only once its folder is synced too.
void SyncFolderOf(const std::string& path) {
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);  // best effort: the name is there either way
  ::close(dir);
}

// flock() refused for want of support, not because another process holds
// the lock: common on cluster scratch file systems.
bool LocksUnsupported(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL ||
         error == ENOSYS;
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
  path_ = resolved.Path;
  if (resolved.Kind == TTargetKind::Device) {
    // Nothing to replace: the rows go straight to it.
    device_ = true;
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) throw std::runtime_error(ErrorText("--out: cannot write", target, errno));
    return;
  }
  if (resolved.Kind != TTargetKind::Missing && resolved.Kind != TTargetKind::RegularFile) {
    std::string text = "--out: '" + target + "' ";
    if (resolved.Path != target) text += "leads to '" + resolved.Path + "', which ";
    throw std::runtime_error(text + KindText(resolved.Kind) + ", not a file");
  }
  partialPath_ = path_ + ".partial";
  infoPath_ = partialPath_ + ".info";
  struct stat old {};
  targetExisted_ = resolved.Kind == TTargetKind::RegularFile && ::stat(path_.c_str(), &old) == 0;
  oldMode_ = old.st_mode & 07777;
  oldUid_ = old.st_uid;
  oldGid_ = old.st_gid;

  // Take the partial file: the lock keeps a second sweep off the same target,
  // and a name that has changed hands while we waited is taken anew.
  for (int attempt = 0; fd_ < 0; ++attempt) {
    createdPartial_ = true;
    int fd = ::open(partialPath_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
      createdPartial_ = false;
      fd = ::open(partialPath_.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0)
      throw std::runtime_error(ErrorText("--out: cannot create a file beside", target, errno));
    // Refused after creating it: leave no trace.
    const auto refuse = [&](const std::string& why) {
      ::close(fd);
      if (createdPartial_) std::remove(partialPath_.c_str());
      throw std::runtime_error(why);
    };
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode))
      refuse("--out: '" + partialPath_ + "' " + KindText(KindOf(held.st_mode)) +
             ", not the rows of a sweep; remove it first");
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (error == EWOULDBLOCK) {
        ::close(fd);  // another process's file now, created or not
        throw std::runtime_error("--out: another travenel-batch is writing '" + target +
                                 "' (its rows go to '" + partialPath_ + "')");
      }
      if (!LocksUnsupported(error)) refuse(ErrorText("--out: cannot lock", partialPath_, error));
      unlocked_ = true;
    }
    if (::stat(partialPath_.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
        named.st_dev == held.st_dev) {
      fd_ = fd;
      partialBytes_ = static_cast<std::uint64_t>(held.st_size);
      partialMode_ = held.st_mode & 07777;
    } else {
      ::close(fd);
      if (attempt == 10)
        throw std::runtime_error("--out: '" + partialPath_ + "' keeps changing; try again");
    }
  }
  // A record is written only while its partial file exists; without one it
  // is left from the moment between the end of a sweep (or its discarding)
  // and the record's removal, and speaks of nothing.
  if (createdPartial_) ::unlink(infoPath_.c_str());
}

TOutputFile::~TOutputFile() {
  Close();
  // Refused before it was used: leave no trace.
  if (createdPartial_ && !started_) std::remove(partialPath_.c_str());
}

int TOutputFile::Close() {
  if (fd_ < 0) return 0;
  const int closed = ::close(fd_);
  fd_ = -1;
  return closed;
}

std::FILE* TOutputFile::ReadPartial() {
  const int fd = ::dup(fd_);
  std::FILE* f = fd >= 0 ? fdopen(fd, "r") : nullptr;
  if (!f || std::fseek(f, 0, SEEK_SET) != 0) {
    if (f)
      std::fclose(f);
    else if (fd >= 0)
      ::close(fd);
    throw std::runtime_error(ErrorText("--resume: cannot read", partialPath_, errno));
  }
  return f;
}

std::FILE* TOutputFile::ReadTarget() const {
  return targetExisted_ ? std::fopen(path_.c_str(), "r") : nullptr;
}

std::optional<std::string> TOutputFile::ReadInfo() const {
  std::FILE* f = std::fopen(infoPath_.c_str(), "r");
  if (!f) {
    if (errno == ENOENT) return std::nullopt;
    throw std::runtime_error(ErrorText("--resume: cannot read", infoPath_, errno));
  }
  std::string text;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  std::fclose(f);
  return text;
}

void TOutputFile::Start(const std::string& info) {
  // The record first, whole or not at all: a partial file is only ever read
  // beside the record of the sweep that wrote it.
  const std::string fresh = infoPath_ + ".new";
  std::FILE* f = std::fopen(fresh.c_str(), "w");
  bool written = f && std::fwrite(info.data(), 1, info.size(), f) == info.size() &&
                 std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
  int error = errno;
  if (f && std::fclose(f) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written || std::rename(fresh.c_str(), infoPath_.c_str()) != 0) {
    if (written) error = errno;
    std::remove(fresh.c_str());
    throw std::runtime_error(ErrorText("--out: cannot write", infoPath_, error));
  }
  started_ = true;
  if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) < 0)
    throw std::runtime_error(ErrorText("--out: cannot write", partialPath_, errno));
  // The partial file keeps the mode it was created with until it is
  // committed: one the user may not write (a read-only target's) would keep
  // --resume from taking it up again.
  SyncFolderOf(partialPath_);
  lastSync_ = std::chrono::steady_clock::now();
}

void TOutputFile::Continue(std::uint64_t bytes) {
  started_ = true;
  if (::ftruncate(fd_, static_cast<off_t>(bytes)) != 0 || ::fsync(fd_) != 0 ||
      ::lseek(fd_, static_cast<off_t>(bytes), SEEK_SET) < 0)
    throw std::runtime_error(ErrorText("--out: cannot write", partialPath_, errno));
  lastSync_ = std::chrono::steady_clock::now();
}

void TOutputFile::Written() {
  if (device_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastSync_ < kSyncEvery) return;
  lastSync_ = now;
  if (::fdatasync(fd_) != 0) throw EWrite(ErrorText("cannot write", partialPath_, errno));
}

void TOutputFile::Keep() {
  if (fd_ < 0) return;
  const bool synced = device_ || ::fsync(fd_) == 0;
  const int error = errno;
  const bool closed = Close() == 0;
  if (!synced || !closed)
    throw std::runtime_error(
        ErrorText("--out: cannot write", partialPath_, synced ? errno : error));
}

void TOutputFile::Discard() {
  Close();
  if (device_) return;
  std::remove(partialPath_.c_str());
  std::remove(infoPath_.c_str());
}

void TOutputFile::Commit() {
  if (device_) {
    if (Close() != 0) throw EWrite(ErrorText("cannot write", path_, errno));
    return;
  }
  if (::fsync(fd_) != 0) throw EWrite(ErrorText("cannot write", partialPath_, errno));
  if (targetExisted_) {
    // Owner first: changing it may clear the set-id bits put back next.
    if ((oldUid_ != geteuid() || oldGid_ != getegid()) && fchown(fd_, oldUid_, oldGid_) != 0) {
      // Not allowed to give the file away: it stays ours, like any new file.
    }
    if (fchmod(fd_, oldMode_) != 0)
      throw std::runtime_error(
          ErrorText("--out: cannot set the permissions of", partialPath_, errno) +
          "; the rows are in it");
  }
  // The check before the sweep may be long past: never rename over a device,
  // a folder or whatever else has taken the name since. The lock is held
  // until the rename is done.
  // Left in place, the rows get back the mode they were written with, so
  // --resume can still open them.
  const auto keep = [&](const std::string& why) {
    if (targetExisted_) fchmod(fd_, partialMode_);
    throw std::runtime_error(why + "; the rows are in '" + partialPath_ + "'");
  };
  struct stat now;
  if (::lstat(path_.c_str(), &now) == 0 && !S_ISREG(now.st_mode))
    keep("--out: '" + path_ + "' " + KindText(KindOf(now.st_mode)) + " now; left it alone");
  if (std::rename(partialPath_.c_str(), path_.c_str()) != 0)
    keep(ErrorText("--out: cannot replace", path_, errno));
  std::remove(infoPath_.c_str());
  SyncFolderOf(path_);
  Close();
}

}  // namespace travenel
