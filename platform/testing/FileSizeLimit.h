// A process-wide limit on the size of files written, for tests of a disk that fills up.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

namespace platform::testing {

// FileSizeLimit: while it lives, a write that would take a file past `bytes`
// writes what fits and then fails (as on a full disk) instead of killing the
// process; the earlier limit and signal handling come back when it goes.
// Process-wide: for tests that write from one test at a time.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes) {
    ok_ = ::getrlimit(RLIMIT_FSIZE, &saved_) == 0;
    savedSignal_ = ::signal(SIGXFSZ, SIG_IGN);
    if (!ok_) return;
    rlimit limited = saved_;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    ok_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    if (ok_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, savedSignal_);
  }

  // ok: whether the limit is in force.
  bool ok() const { return ok_; }

 private:
  rlimit saved_{};
  void (*savedSignal_)(int) = SIG_DFL;
  bool ok_ = false;
};

}  // namespace platform::testing
