// posix_spawn behind a short-lived intermediate process.
//
// The program is started by a forked intermediate that exits at once, so the
// program is adopted by init (or the nearest subreaper), which reaps it: no
// zombie is left, no SIGCHLD handling is imposed on the caller, and no reaper
// thread outlives a caller that is itself a module about to be unloaded. The
// intermediate passes posix_spawn's result back through a pipe.
#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/Errors.h"
#include "platform/Text.h"

extern char** environ;

namespace platform {
namespace {

uint32_t Fail(uint32_t code) {
  SetLastError(code);
  return code;
}

bool EndsWithExe(std::string_view name) {
  return name.size() > 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".exe");
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// CheckProgram: the Windows result for a program path that will not start.
uint32_t CheckProgram(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      const auto parent = std::filesystem::path(path).parent_path();
      if (!parent.empty() && !Exists(parent.string())) return ERROR_PATH_NOT_FOUND;
      return ERROR_FILE_NOT_FOUND;
    }
    return Win32FromErrno(errno);
  }
  if (S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
  if (access(path.c_str(), X_OK) != 0) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
};

}  // namespace

std::string ProgramHostPath(std::string_view program) {
  std::string path(program);
  if (!EndsWithExe(path)) return path;
  std::string stripped = path.substr(0, path.size() - 4);
  if (!Exists(stripped) && Exists(path)) return path;
  return stripped;
}

uint32_t StartProcess(std::string_view program, std::string_view workingDirectory,
                      const std::vector<std::string>& arguments) {
  const std::string path = ProgramHostPath(program);
  if (path.empty()) return Fail(ERROR_FILE_NOT_FOUND);
  if (const uint32_t r = CheckProgram(path); r != ERROR_SUCCESS) return Fail(r);
  const std::string dir(workingDirectory);
  if (!dir.empty()) {
    struct stat st {};
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  }

  // Everything the intermediate needs is built before the fork.
  SpawnSetup setup;
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&setup.actions, dir.c_str());
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &all);
  posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Fail(SetLastErrorFromErrno());
  const pid_t middle = fork();
  if (middle < 0) {
    const uint32_t r = Win32FromErrno(errno);
    close(fds[0]);
    close(fds[1]);
    return Fail(r);
  }
  if (middle == 0) {
    close(fds[0]);
    pid_t child;
    int r = posix_spawn(&child, path.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
    ssize_t ignored = write(fds[1], &r, sizeof r);
    (void)ignored;
    _exit(0);
  }
  close(fds[1]);
  int spawnResult = 0;
  ssize_t got;
  do {
    got = read(fds[0], &spawnResult, sizeof spawnResult);
  } while (got < 0 && errno == EINTR);
  close(fds[0]);
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (got != static_cast<ssize_t>(sizeof spawnResult)) return Fail(ERROR_GEN_FAILURE);
  return Fail(Win32FromErrno(spawnResult));
}

}  // namespace platform
