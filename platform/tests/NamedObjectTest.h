// Test fixture for named events and semaphores: a private home per test, and child processes.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "platform/testing/TempFolder.h"

namespace platform {

// NamedObjectTest: each test runs in its own QM_HOME, so its names are its own.
class NamedObjectTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("QM_HOME", home_.c_str(), 1); }
  void TearDown() override { ::unsetenv("QM_HOME"); }

  // Child: runs body in a new process, which exits with its result.
  static pid_t Child(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
  }

  // ExitCode: the child's exit code; -1 when it was killed or did not end
  // within the limit (it is then killed).
  static int ExitCode(pid_t pid, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
      if (waitpid(pid, &status, WNOHANG) == pid)
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }

  // Kill: ends a child at once, as a crash would.
  static void Kill(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  // Holder: runs body in a new process and returns its id once body has
  // called the `hold` it is given. `hold(ok)` reports ok into *reported and
  // keeps the process, with all that body holds, until it is killed; a body
  // that returns or dies first reports false.
  using Hold = std::function<void(bool ok)>;
  static pid_t Holder(const std::function<void(const Hold& hold)>& body, bool* reported) {
    int ready[2];
    *reported = false;
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
      close(ready[0]);
      auto tell = [&](bool ok) {
        const char c = ok ? 'y' : 'n';
        const ssize_t n = write(ready[1], &c, 1);
        static_cast<void>(n);  // a lost report reads as a failure
      };
      body([&](bool ok) {
        tell(ok);
        for (;;) pause();
      });
      tell(false);
      _exit(1);
    }
    close(ready[1]);
    char c = 0;
    *reported = pid > 0 && read(ready[0], &c, 1) == 1 && c == 'y';
    close(ready[0]);
    return pid;
  }

  // Sleeping: true once the thread or process is blocked in the kernel.
  static bool Sleeping(const std::string& statPath) {
    for (int i = 0; i < 2000; ++i) {
      std::ifstream in(statPath);
      std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const auto close = all.rfind(')');
      if (close != std::string::npos && close + 2 < all.size() && all[close + 2] == 'S')
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  // SegmentExists: whether the host holds the shared segment of a name.
  static bool SegmentExists(const std::string& segmentName) {
    return std::filesystem::exists("/dev/shm" + segmentName);
  }

  testing::TempFolder folder_{"qm_named"};
  std::filesystem::path home_ = folder_.path();
};

}  // namespace platform
