// The device-manager calls, forwarded to the service over its local socket;
// the service is started on demand when nothing answers there.
#include "platform/DeviceManager.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/DeviceMessage.h"
#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/LocalChannel.h"
#include "platform/Module.h"

extern char** environ;

namespace platform {
namespace {

constexpr const char* kServiceProgram = "qmdevmgr";
// How long a started service may take to listen, and how often to look. A
// service that listens at once costs nothing of it; a loaded machine running
// sanitizer builds needs the margin.
constexpr auto kStartWait = std::chrono::milliseconds(15000);
constexpr auto kStartPoll = std::chrono::milliseconds(10);
// A driver's initialisation may take a while (it opens the container), but a
// service that stops answering must not hang the program for ever.
constexpr uint32_t kReplyTimeoutMs = 60000;

bool IsProgram(const std::string& path) {
  return access(path.c_str(), X_OK) == 0;
}

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

// ServiceProgramPath: QM_DEVICE_MANAGER_PROGRAM, else qmdevmgr beside the
// running program, else in SUITE_BIN, else on PATH; empty when none exists.
std::string ServiceProgramPath() {
  if (const char* p = Env("QM_DEVICE_MANAGER_PROGRAM")) return p;
  std::string candidate = ProgramFolder() + "/" + kServiceProgram;
  if (IsProgram(candidate)) return candidate;
  if (const char* bin = Env("SUITE_BIN")) {
    candidate = std::string(bin) + "/" + kServiceProgram;
    if (IsProgram(candidate)) return candidate;
  }
  if (const char* path = Env("PATH")) {
    std::string_view rest(path);
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      const auto dir = rest.substr(0, colon);
      if (!dir.empty()) {
        candidate = std::string(dir) + "/" + kServiceProgram;
        if (IsProgram(candidate)) return candidate;
      }
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  return {};
}

// kPathVariables: the environment variables that hold host paths the
// service resolves as the caller does; kPathListVariables hold ':' lists.
constexpr const char* kPathVariables[] = {"QM_HOME",
                                          "QM_DEVICE_ROOT",
                                          "QM_DEVICE_MOUNTS",
                                          "QM_DEVICE_REGISTRY",
                                          "QM_DEVICE_MANAGER_SOCKET",
                                          "QM_OBJECT_STORE",
                                          "QM_DESKTOP_REGISTRY",
                                          "XDG_DATA_HOME",
                                          "HOME",
                                          "SUITE_BIN"};
constexpr const char* kPathListVariables[] = {"QM_MODULE_PATH"};

bool IsDriveVariable(std::string_view name) {
  // QM_DRIVE_C and the other drive letters.
  return name.size() == 10 && name.starts_with("QM_DRIVE_") &&
         ((name[9] >= 'A' && name[9] <= 'Z') || (name[9] >= 'a' && name[9] <= 'z'));
}

std::string Absolute(std::string_view path) {
  if (path.empty() || path.front() == '/') return std::string(path);
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(std::filesystem::path(path), ec);
  if (ec) return std::string(path);
  std::string normal = absolute.lexically_normal().string();
  if (normal.size() > 1 && normal.back() == '/') normal.pop_back();  // "./" gives "/x/"
  return normal;
}

// ServiceEnvironment: the caller's environment with every relative path in
// it made absolute: the service works from "/", and must still find the
// caller's home, device root, registry and socket.
std::vector<std::string> ServiceEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const auto eq = entry.find('=');
    if (eq == std::string_view::npos) {
      env.emplace_back(entry);
      continue;
    }
    const std::string_view name = entry.substr(0, eq);
    const std::string_view value = entry.substr(eq + 1);
    const auto is = [&](const auto& names) {
      return std::find(std::begin(names), std::end(names), name) != std::end(names);
    };
    std::string fixed(name);
    fixed += '=';
    if (is(kPathVariables) || IsDriveVariable(name)) {
      fixed += Absolute(value);
    } else if (is(kPathListVariables)) {
      std::string_view rest = value;
      for (bool first = true;; first = false) {
        const auto colon = rest.find(':');
        if (!first) fixed += ':';
        fixed += Absolute(rest.substr(0, colon));
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
      }
    } else {
      fixed += value;
    }
    env.push_back(std::move(fixed));
  }
  return env;
}

// StartService: starts the service (as "--on-demand", so that it ends when
// it is idle and holds nothing) detached from the caller (its own session,
// standard streams on /dev/null, adopted by init through a short-lived
// intermediate) with the caller's environment, relative paths in it made
// absolute, so that it serves the same home, device root and registry.
// Returns 0 or the code of the failed start.
uint32_t StartService() {
  const std::string found = ServiceProgramPath();
  if (found.empty() || !IsProgram(found)) return ERROR_FILE_NOT_FOUND;
  // Everything the child needs is made before fork: after it, in a caller
  // with threads, only async-signal-safe calls are allowed.
  const std::string program = Absolute(found);
  static char onDemand[] = "--on-demand";
  char* const argv[] = {const_cast<char*>(program.c_str()), onDemand, nullptr};
  std::vector<std::string> environment = ServiceEnvironment();
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return Win32FromErrno(errno);
  if (report[1] <= 2) {
    // A caller without standard streams: keep the report pipe clear of them.
    const int moved = fcntl(report[1], F_DUPFD_CLOEXEC, 3);
    const int err = errno;
    close(report[1]);
    report[1] = moved;
    if (moved < 0) {
      close(report[0]);
      return Win32FromErrno(err);
    }
  }
  const pid_t child = fork();
  if (child < 0) {
    const uint32_t code = Win32FromErrno(errno);
    close(report[0]);
    close(report[1]);
    return code;
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    close(report[0]);
    setsid();
    const pid_t service = fork();
    if (service < 0) {
      // Reported like a failed exec: an empty pipe would read as a start.
      const int err = errno;
      [[maybe_unused]] const auto n = write(report[1], &err, sizeof err);
      _exit(127);
    }
    if (service > 0) _exit(0);
    sigset_t all;
    sigemptyset(&all);
    sigprocmask(SIG_SETMASK, &all, nullptr);
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
      if (null > 2) close(null);
    }
    // Nothing else of the caller's (its files, sockets, pipes) may stay open
    // in a process that outlives it; only the report pipe is kept.
    const unsigned keep = static_cast<unsigned>(report[1]);
    if (keep > 3) close_range(3, keep - 1, 0);
    close_range(keep + 1, ~0u, 0);
    // The service must not keep a folder of the caller busy.
    [[maybe_unused]] const int rc = chdir("/");
    execve(argv[0], argv, envp.data());
    const int err = errno;
    [[maybe_unused]] const auto n = write(report[1], &err, sizeof err);
    _exit(127);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t got;
  do {
    got = read(report[0], &err, sizeof err);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return got == static_cast<ssize_t>(sizeof err) ? Win32FromErrno(err) : 0;
}

// WhenAbsent: whether a call starts the service when nothing listens.
enum class WhenAbsent { Start, Fail };

// StartLock: the lock file next to the socket that one starting client holds
// while it starts the service and waits for it, so that clients arriving at
// once start one service between them rather than one each (the extra ones
// would find the listener taken and end, but possibly only much later).
class StartLock {
 public:
  explicit StartLock(const std::string& socketPath) {
    fd_ = open((socketPath + ".start").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    const auto until = std::chrono::steady_clock::now() + 2 * kStartWait;
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > until) {
        close(fd_);
        fd_ = -1;
        return;
      }
      std::this_thread::sleep_for(kStartPoll);
    }
  }
  ~StartLock() {
    if (fd_ >= 0) close(fd_);
  }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// ConnectOrStart: a connection to the service, starting it when nothing
// listens and `absent` allows. ERROR_NOT_READY (21) when it cannot be reached.
uint32_t ConnectOrStart(LocalConnection& c, WhenAbsent absent) {
  const std::string path = DeviceManagerSocketPath();
  uint32_t rc = c.Connect(path);
  if (rc != ERROR_FILE_NOT_FOUND || absent == WhenAbsent::Fail)
    return rc == 0 ? 0 : ERROR_NOT_READY;
  const auto slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && EnsureFolder(path.substr(0, slash)) != 0)
    return ERROR_NOT_READY;
  const StartLock lock(path);
  if (!lock.held()) return ERROR_NOT_READY;
  // Another client may have started it while this one waited for the lock.
  if ((rc = c.Connect(path)) != ERROR_FILE_NOT_FOUND) return rc == 0 ? 0 : ERROR_NOT_READY;
  if (StartService() != 0) return ERROR_NOT_READY;
  const auto until = std::chrono::steady_clock::now() + kStartWait;
  while ((rc = c.Connect(path)) == ERROR_FILE_NOT_FOUND && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(kStartPoll);
  return rc == 0 ? 0 : ERROR_NOT_READY;
}

// Exchange: one request and its reply. Returns 0 or the code of a failed
// exchange (ERROR_NOT_READY when the service is not there or went away).
uint32_t Exchange(const DeviceRequest& request, DeviceReply& reply,
                  WhenAbsent absent = WhenAbsent::Start) {
  const std::vector<uint8_t> message = EncodeRequest(request);
  // A service started on demand ends when idle; one that ended just as this
  // call connected drops the connection unanswered, with nothing loaded, so
  // the call is made once more (to a new service when needed).
  for (int attempt = 0; attempt < 2; ++attempt) {
    LocalConnection c;
    c.SetTimeout(kReplyTimeoutMs);
    if (const uint32_t rc = ConnectOrStart(c, absent)) return rc;
    std::vector<uint8_t> bytes;
    uint32_t rc = c.Send(message);
    if (rc == 0) rc = c.Receive(bytes);
    if (rc == ERROR_BROKEN_PIPE) continue;
    if (rc != 0 || DecodeReply(bytes, reply) != 0) return ERROR_NOT_READY;
    return 0;
  }
  return ERROR_NOT_READY;
}

// Call: an exchange whose reply error becomes the thread's last error. A
// request the service would refuse to decode is refused here with 87.
uint32_t Call(const DeviceRequest& request, DeviceReply& reply) {
  const bool fits = request.name.size() <= kMaxDeviceText &&
                    request.file.size() <= kMaxDeviceText && request.data.size() <= kMaxDeviceData;
  uint32_t rc = fits ? Exchange(request, reply) : ERROR_INVALID_PARAMETER;
  if (rc == 0) rc = reply.error;
  SetLastError(rc);
  return rc;
}

}  // namespace

DeviceHandle RegisterDevice(std::u16string_view prefix, uint32_t index, std::u16string_view dllName,
                            std::span<const uint8_t> info) {
  DeviceRequest request;
  request.op = DeviceOp::Register;
  request.name = prefix;
  request.file = dllName;
  request.args[0] = index;
  request.data.assign(info.begin(), info.end());
  DeviceReply reply;
  if (Call(request, reply) != 0) return 0;
  return reply.value;
}

bool DeregisterDevice(DeviceHandle handle) {
  DeviceRequest request;
  request.op = DeviceOp::Deregister;
  request.args[0] = handle;
  DeviceReply reply;
  return Call(request, reply) == 0;
}

DeviceHandle ActivateDeviceEx(std::u16string_view registryKey, std::span<const uint8_t> info) {
  DeviceRequest request;
  request.op = DeviceOp::Activate;
  request.name = registryKey;
  request.data.assign(info.begin(), info.end());
  DeviceReply reply;
  if (Call(request, reply) != 0) return 0;
  return reply.value;
}

bool DeactivateDevice(DeviceHandle handle) {
  return DeregisterDevice(handle);
}

uint32_t PlatformMajorVersion() {
  const char* v = Env("QM_DEVICE_OS_VERSION");
  if (!v) return 4;
  char* end = nullptr;
  errno = 0;
  const unsigned long n = std::strtoul(v, &end, 10);
  if (errno != 0 || end == v || *end != '\0' || n > 0xFFFFFFFFul || *v == '-') return 4;
  return static_cast<uint32_t>(n);
}

Device::Device(Device&& other) noexcept : id_(other.id_) {
  other.id_ = 0;
}

Device& Device::operator=(Device&& other) noexcept {
  if (this != &other) {
    Close();
    id_ = other.id_;
    other.id_ = 0;
  }
  return *this;
}

Device::~Device() {
  Close();
}

uint32_t Device::Open(std::u16string_view name, uint32_t access, uint32_t share,
                      uint32_t attributes) {
  Close();
  DeviceRequest request;
  request.op = DeviceOp::Open;
  request.name = name;
  request.args[0] = access;
  request.args[1] = share;
  request.args[2] = attributes;
  DeviceReply reply;
  if (const uint32_t rc = Call(request, reply)) return rc;
  id_ = reply.value;
  return 0;
}

uint32_t Device::IoControl(uint32_t code, std::span<uint8_t> input, std::span<uint8_t> output,
                           uint32_t& returned) {
  returned = 0;
  if (id_ == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR_INVALID_HANDLE;
  }
  if (input.size() > kMaxDeviceData || output.size() > kMaxDeviceData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR_INVALID_PARAMETER;
  }
  DeviceRequest request;
  request.op = DeviceOp::IoControl;
  request.args[0] = id_;
  request.args[1] = code;
  request.args[2] = static_cast<uint32_t>(output.size());
  request.data.assign(input.begin(), input.end());
  DeviceReply reply;
  const uint32_t rc = Call(request, reply);
  // The driver may have written either buffer even when it fails.
  std::copy_n(reply.data.begin(), std::min(reply.data.size(), input.size()), input.begin());
  std::copy_n(reply.output.begin(), std::min(reply.output.size(), output.size()), output.begin());
  returned = std::min<uint32_t>(reply.value, static_cast<uint32_t>(output.size()));
  return rc;
}

void Device::Close() {
  if (id_ == 0) return;
  DeviceRequest request;
  request.op = DeviceOp::Close;
  request.args[0] = id_;
  id_ = 0;
  DeviceReply reply;
  const uint32_t saved = GetLastError();
  // A service that is gone took its opens with it; closing starts nothing.
  Exchange(request, reply, WhenAbsent::Fail);
  SetLastError(saved);
}

std::string DeviceManagerSocketPath() {
  return StatePath("QM_DEVICE_MANAGER_SOCKET", "devicemanager.sock");
}

}  // namespace platform
