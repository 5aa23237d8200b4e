// Loaded with LD_PRELOAD into travenel-batch by write_faults_test.sh, to
// fail its writes for real:
//   TRAVENEL_FAIL_WRITE=N:ERRNO  the N-th write(2) outside standard error
//     writes half of its bytes, the next one fails with ERRNO (a number);
//     later ones succeed again, as on a disk whose space came back.
//   TRAVENEL_FAIL_FLOCK=ERRNO    every flock(2) fails with ERRNO.
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace {

std::atomic<long> gWrites{0};

long EnvNumber(const char* name, int field) {
  const char* text = std::getenv(name);
  for (int i = 0; text && i < field; ++i) {
    while (*text && *text != ':') ++text;
    if (*text) ++text;
  }
  return text && *text ? std::strtol(text, nullptr, 10) : 0;
}

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  using TWrite = ssize_t (*)(int, const void*, size_t);
  static const TWrite real = reinterpret_cast<TWrite>(dlsym(RTLD_NEXT, "write"));
  const long n = EnvNumber("TRAVENEL_FAIL_WRITE", 0);
  if (fd != STDERR_FILENO && n > 0) {
    const long k = ++gWrites;
    if (k == n && size > 1) return real(fd, data, size / 2);
    if (k == n + 1 || (k == n && size <= 1)) {
      errno = static_cast<int>(EnvNumber("TRAVENEL_FAIL_WRITE", 1));
      return -1;
    }
  }
  return real(fd, data, size);
}

extern "C" int flock(int fd, int operation) {
  using TFlock = int (*)(int, int);
  static const TFlock real = reinterpret_cast<TFlock>(dlsym(RTLD_NEXT, "flock"));
  if (const long e = EnvNumber("TRAVENEL_FAIL_FLOCK", 0)) {
    errno = static_cast<int>(e);
    return -1;
  }
  return real(fd, operation);
}
