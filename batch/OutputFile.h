// A file that replaces its target only when complete: rows go to a temporary
// file beside the target, which is renamed over it by Commit. Until then (and
// if the sweep fails or is interrupted) the old file stays as it was.
//
// The target is checked before any work: only a regular file, or a name not
// yet taken, in a folder we can write, is accepted. A symbolic link is
// followed, so the file it points to is replaced and the link stays. A
// replaced file keeps its permission bits; a new one gets those the umask
// allows.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

// What a path names, with symbolic links followed.
enum class TTargetKind { Missing, RegularFile, Folder, Device, Fifo, Socket, Other };

struct TTarget {
  std::string Path;  // the path after following symbolic links
  TTargetKind Kind = TTargetKind::Missing;
};

// Follows the links of `path` (also a dangling one, to the name it points
// to); throws std::runtime_error when it cannot be looked at.
TTarget ResolveTarget(const std::string& path);

class TOutputFile {
 public:
  // Checks the target and creates the temporary file; throws
  // std::runtime_error with a message for the user when either fails.
  explicit TOutputFile(const std::string& target);
  ~TOutputFile();  // removes the temporary file unless committed
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  std::FILE* Stream() const { return file_; }
  const std::string& TempPath() const { return tempPath_; }
  // Flushes, closes and renames over the target; throws std::runtime_error on
  // failure. Should the target have become something other than a regular
  // file meanwhile, it is left alone and the rows stay in TempPath().
  void Commit();

 private:
  std::string target_, path_, tempPath_;
  std::FILE* file_ = nullptr;
  bool keepTemp_ = false;
};
