// Secret input with the terminal's echo turned off.
#include "platform/Terminal.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "platform/Errors.h"

namespace platform {
namespace {

// EchoOff: turns the terminal's echo off for its lifetime, restoring it
// afterwards; does nothing for input that is no terminal.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (!isatty(fd_) || tcgetattr(fd_, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    active_ = tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_) tcsetattr(fd_, TCSAFLUSH, &saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

}  // namespace

uint32_t ReadSecret(std::string_view prompt, std::string* out) {
  out->clear();
  const bool terminal = isatty(STDIN_FILENO);
  if (terminal) {
    std::fprintf(stderr, "%.*s", static_cast<int>(prompt.size()), prompt.data());
    std::fflush(stderr);
  }
  EchoOff echo(STDIN_FILENO);
  bool any = false;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    any = true;
    if (c == '\n') break;
    out->push_back(static_cast<char>(c));
  }
  if (!out->empty() && out->back() == '\r') out->pop_back();
  if (!any) {
    SetLastError(ERROR_HANDLE_EOF);
    return ERROR_HANDLE_EOF;
  }
  SetLastError(0);
  return 0;
}

}  // namespace platform

namespace platform {

bool IsTerminal(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return isatty(STDIN_FILENO) != 0;
    case StandardStream::Output:
      return isatty(STDOUT_FILENO) != 0;
    case StandardStream::Error:
      return isatty(STDERR_FILENO) != 0;
  }
  return false;
}

}  // namespace platform
