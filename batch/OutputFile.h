// Where --out writes. A file is replaced only when the sweep completes: the
// rows go to "<file>.partial" beside it, which is renamed over it at the end.
// Until then (and if the sweep fails or is interrupted) the old file stays as
// it was, and the partial file, with "<file>.partial.info" naming the sweep,
// lets --resume continue where the sweep stopped. A character device such as
// /dev/null is simply written to. The rows are written to Fd() through a
// TRowWriter, which checks every write.
//
// The target is checked before any work: a regular file, a name not yet
// taken, or a character device, in a folder we can write. A symbolic link is
// followed, so the file it points to is replaced and the link stays. A
// replaced file keeps its permission bits (given to the rows as they replace
// it); a new one gets those the umask allows.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace travenel {

// What a path names, with symbolic links followed.
enum class TTargetKind { Missing, RegularFile, Folder, Device, BlockDevice, Fifo, Socket, Other };

struct TTarget {
  std::string Path;  // the path after following symbolic links
  TTargetKind Kind = TTargetKind::Missing;
};

// Follows the links of `path` (also a dangling one, to the name it points
// to); throws std::runtime_error when it cannot be looked at.
TTarget ResolveTarget(const std::string& path);

class TOutputFile {
 public:
  // Checks the target and, for a file, takes the partial file for this
  // process (another process writing the same target is refused; where the
  // file system has no locks it is taken without). Throws
  // std::runtime_error with a message for the user; nothing is left behind.
  explicit TOutputFile(const std::string& target);
  ~TOutputFile();  // closes; the files stay as they are
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  bool IsDevice() const { return device_; }
  bool TargetExisted() const { return targetExisted_; }
  const std::string& PartialPath() const { return partialPath_; }
  const std::string& InfoPath() const { return infoPath_; }
  // Bytes in the partial file before this process touched it.
  std::uint64_t PartialBytes() const { return partialBytes_; }
  // Taken without a lock: the file system has none.
  bool Unlocked() const { return unlocked_; }
  // The partial file as it was, for reading; its info file's text, if any.
  std::FILE* ReadPartial();
  std::optional<std::string> ReadInfo() const;
  // The target as it was, for reading; null when there was none.
  std::FILE* ReadTarget() const;

  // Starts the partial file anew, after recording `info` beside it.
  void Start(const std::string& info);
  // Keeps the first `bytes` of the partial file and writes after them.
  void Continue(std::uint64_t bytes);

  // Where the rows are written, at the end of those kept.
  int Fd() const { return fd_; }
  // After rows were written: they reach the disk about once a second, so a
  // power cut loses at most the last moments. Throws EWrite.
  void Written();
  // Syncs, gives the rows the target's mode, renames the partial file over
  // the target and removes the info; throws std::runtime_error (EWrite for
  // a failed write) on failure. Should the target have become something
  // other than a regular file meanwhile, it is left alone and the rows stay
  // in PartialPath().
  void Commit();
  // Syncs and closes; the partial and info files stay for --resume.
  void Keep();
  // Removes the partial and the info file.
  void Discard();

 private:
  int Close();  // once: the number may be another file's afterwards

  std::string target_, path_, partialPath_, infoPath_;
  bool device_ = false, targetExisted_ = false, createdPartial_ = false, started_ = false;
  bool unlocked_ = false;
  int fd_ = -1;
  std::uint64_t partialBytes_ = 0;
  unsigned oldMode_ = 0, oldUid_ = 0, oldGid_ = 0, partialMode_ = 0600;
  std::chrono::steady_clock::time_point lastSync_;
};

}  // namespace travenel
