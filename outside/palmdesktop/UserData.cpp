// UserData: the Palm Desktop's user library as a stand-in over the users in the desktop registry.
#include <algorithm>
#include <cstring>
#include <string>

#include "installqueue/PalmDesktopApi.h"
#include "outside/palmdesktop/LeakCheckPause.h"
#include "outside/palmdesktop/PalmUsers.h"

#define PALM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Results of the stand-in besides success.
constexpr int32_t kNoSuchUser = -1;
constexpr int32_t kBadArgument = -2;
constexpr int32_t kBufferTooSmall = -3;

// Presence: notes each load and unload of the library in the call log.
struct Presence {
  Presence() { palmdesktop::LogCall("UserData loaded"); }
  ~Presence() { palmdesktop::LogCall("UserData unloaded"); }
} gPresence;

}  // namespace

PALM_EXPORT int16_t UmGetUserCount() {
  const palmdesktop::LeakCheckPause pause;
  const auto users = palmdesktop::ListUsers();
  palmdesktop::LogCall("UmGetUserCount -> " + std::to_string(users.size()));
  return static_cast<int16_t>(std::min<size_t>(users.size(), 0x7FFF));
}

PALM_EXPORT int32_t UmGetUserID(int16_t index, uint32_t* userId) {
  const palmdesktop::LeakCheckPause pause;
  palmdesktop::LogCall("UmGetUserID " + std::to_string(index));
  if (userId == nullptr || index < 0) return kBadArgument;
  const auto users = palmdesktop::ListUsers();
  if (static_cast<size_t>(index) >= users.size() || !users[index].hasId) return kNoSuchUser;
  *userId = users[index].id;
  return 0;
}

#ifndef PALMDESKTOP_WITHOUT_USER_NAME
// UmGetUserName: the name's length in bytes (> 0) on success; *size becomes
// the bytes needed with the terminator when the buffer is too small.
PALM_EXPORT int32_t UmGetUserName(uint32_t userId, char* buffer, uint32_t* size) {
  const palmdesktop::LeakCheckPause pause;
  palmdesktop::LogCall("UmGetUserName " + std::to_string(userId));
  if (buffer == nullptr || size == nullptr) return kBadArgument;
  for (const auto& user : palmdesktop::ListUsers()) {
    if (!user.hasId || user.id != userId) continue;
    if (user.name.size() + 1 > *size) {
      *size = static_cast<uint32_t>(user.name.size() + 1);
      return kBufferTooSmall;
    }
    std::memcpy(buffer, user.name.c_str(), user.name.size() + 1);
    *size = static_cast<uint32_t>(user.name.size() + 1);
    return static_cast<int32_t>(user.name.size());
  }
  return kNoSuchUser;
}
#endif
