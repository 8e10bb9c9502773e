// The install queue's walk over the Palm Desktop's users through its two libraries.
#include "installqueue/InstallQueue.h"

#include <cstdio>

#include "installqueue/PalmDesktopApi.h"
#include "platform/Errors.h"
#include "platform/Module.h"

namespace installqueue {

namespace {

constexpr size_t kPathSize = 260;

// LibraryPath: "<dir>\<name>", cut to the path buffer as the format was.
std::string LibraryPath(const char* dir, const char* name) {
  char path[kPathSize];
  std::snprintf(path, sizeof path, "%s\\%s", dir, name);
  return path;
}

struct DesktopFunctions {
  UmGetUserCountFn userCount = nullptr;
  UmGetUserIDFn userId = nullptr;
  UmGetUserNameFn userName = nullptr;
  PltInstallFileFn installFile = nullptr;
};

int32_t QueueForEveryUser(const DesktopFunctions& f, const char* filePath) {
  // No users: nothing to queue, which is not a failure.
  int32_t result = 0;
  const int16_t count = f.userCount();
  for (int16_t index = 0; index < count; ++index) {
    uint32_t id = 0;
    if (const int32_t rc = f.userId(index, &id); rc != 0) return rc;
    char name[kUserNameBufferSize] = {};
    uint32_t size = kUserNameBufferSize;
    if (const int32_t rc = f.userName(id, name, &size); rc <= 0) return rc;
    // A name the library left without a terminator is cut at the buffer.
    name[kUserNameBufferSize - 1] = '\0';
    result = f.installFile(name, filePath);
    if (result != 0 && result != kInstallAlreadyQueued) return result;
  }
  return result;
}

}  // namespace

int32_t QueueFileOnHandheld(const char* desktopDir, const char* userName, const char* filePath) {
  if (desktopDir == nullptr || filePath == nullptr)
    return static_cast<int32_t>(platform::ERROR_INVALID_PARAMETER);
  platform::Module userData;
  if (const uint32_t rc = userData.Load(LibraryPath(desktopDir, "UserData.dll")); rc != 0)
    return static_cast<int32_t>(rc);
  platform::Module instaide;
  if (const uint32_t rc = instaide.Load(LibraryPath(desktopDir, "Instaide.dll")); rc != 0)
    return static_cast<int32_t>(rc);  // userData unloads on the way out

  DesktopFunctions f;
  f.userCount = userData.Function<UmGetUserCountFn>("UmGetUserCount");
  f.userId = userData.Function<UmGetUserIDFn>("UmGetUserID");
  f.userName = userData.Function<UmGetUserNameFn>("UmGetUserName");
  f.installFile = instaide.Function<PltInstallFileFn>("PltInstallFile");
  if (!f.userCount || !f.userId || !f.userName || !f.installFile) return kMissingFunction;
  if (userName != nullptr) return f.installFile(userName, filePath);
  return QueueForEveryUser(f, filePath);
}

}  // namespace installqueue
