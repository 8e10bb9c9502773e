// Stop signals through a self-pipe, so a wait on sockets can also wait for them.
#include "platform/StopSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/Errors.h"

namespace platform {
namespace {

std::atomic<bool> gStopped{false};
// Lock-free, so the handler may touch it.
std::atomic<int> gCount{0};
static_assert(std::atomic<int>::is_always_lock_free);
int gPipe[2] = {-1, -1};

void OnStopSignal(int signal) {
  const int saved = errno;
  gStopped.store(true);
  gCount.fetch_add(signal == SIGTERM ? 2 : 1);
  const char byte = 1;
  // The pipe is non-blocking: a full pipe already wakes the waiter.
  [[maybe_unused]] const auto n = write(gPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

unsigned CatchStopSignals() {
  if (gPipe[0] < 0) {
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return Win32FromErrno(errno);
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGTERM, &action, nullptr) != 0 || sigaction(SIGINT, &action, nullptr) != 0)
    return Win32FromErrno(errno);
  return 0;
}

bool StopSignalled() {
  return gStopped.load();
}

int StopSignalCount() {
  return gCount.load();
}

int StopSignalDescriptor() {
  return gPipe[0];
}

unsigned IgnoreBrokenPipe() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGPIPE, &action, nullptr) != 0) return Win32FromErrno(errno);
  return 0;
}

}  // namespace platform
