// The Palm Desktop's users, folder and sync types in the desktop registry, and the stand-ins' call
// log.
#include "outside/palmdesktop/PalmUsers.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"

namespace palmdesktop {

namespace {

using platform::RegAccess;
using platform::RegKey;

platform::HKEY CurrentUser() {
  return platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_CURRENT_USER);
}

std::string UserKeyPath(std::string_view user) {
  return std::string(kUsersKey) + "\\" + std::string(user);
}

bool ValidUserName(std::string_view name) {
  return !name.empty() && name.size() < 64 && name != "." && name != ".." &&
         name.find('\\') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

std::vector<PalmUser> ListUsers() {
  std::vector<PalmUser> users;
  RegKey key;
  if (key.Open(CurrentUser(), kUsersKey, RegAccess::Read) != 0) return users;
  std::vector<std::string> names;
  key.SubKeyNames(&names);
  for (const auto& name : names) {
    PalmUser user;
    user.name = name;
    RegKey userKey;
    if (userKey.Open(key.handle(), name, RegAccess::Read) == 0)
      user.hasId = userKey.QueryDword(kUserIdValue, &user.id) == 0;
    users.push_back(user);
  }
  return users;
}

uint32_t AddUser(std::string_view name) {
  if (!ValidUserName(name)) return platform::ERROR_INVALID_NAME;
  uint32_t largest = 0;
  for (const auto& user : ListUsers()) {
    if (user.name == name) return platform::ERROR_ALREADY_EXISTS;
    if (user.hasId) largest = std::max(largest, user.id);
  }
  RegKey key;
  if (const uint32_t rc = key.Create(CurrentUser(), UserKeyPath(name)); rc != 0) return rc;
  return key.SetDword(kUserIdValue, largest + 1);
}

std::string DesktopFolder() {
  RegKey key;
  if (key.Open(CurrentUser(), kCoreKey, RegAccess::Read) != 0) return {};
  return key.StringOr(kDesktopPathValue, "");
}

uint32_t SetDesktopFolder(std::string_view desktopPath) {
  RegKey key;
  if (const uint32_t rc = key.Create(CurrentUser(), kCoreKey); rc != 0) return rc;
  return key.SetString(kDesktopPathValue, desktopPath);
}

std::string UserFolder(std::string_view user) {
  const std::string folder = DesktopFolder();
  if (folder.empty()) return {};
  return folder + "\\" + std::string(user);
}

uint32_t ReadSyncTypes(std::string_view user, SyncTypes& out) {
  RegKey key;
  if (const uint32_t rc = key.Open(CurrentUser(), UserKeyPath(user), RegAccess::Read); rc != 0)
    return rc;
  out.standing = static_cast<int32_t>(key.DwordOr(kSyncTypeValue, 0));
  out.next = static_cast<int32_t>(key.DwordOr(kNextSyncTypeValue, out.standing));
  return 0;
}

uint32_t WriteSyncTypes(std::string_view user, int32_t syncType, SyncTypeScope scope) {
  RegKey key;
  if (const uint32_t rc = key.Open(CurrentUser(), UserKeyPath(user), RegAccess::All); rc != 0)
    return rc;
  if (scope == SyncTypeScope::NextOnly)
    return key.SetDword(kNextSyncTypeValue, static_cast<uint32_t>(syncType));
  if (const uint32_t rc = key.SetDword(kSyncTypeValue, static_cast<uint32_t>(syncType)); rc != 0)
    return rc;
  key.DeleteValue(kNextSyncTypeValue);
  return 0;
}

uint32_t ClearNextSyncType(std::string_view user) {
  RegKey key;
  if (const uint32_t rc = key.Open(CurrentUser(), UserKeyPath(user), RegAccess::All); rc != 0)
    return rc;
  const uint32_t rc = key.DeleteValue(kNextSyncTypeValue);
  return rc == platform::ERROR_FILE_NOT_FOUND ? 0 : rc;
}

void LogCall(std::string_view line) {
  const char* path = std::getenv("QM_PALMDESKTOP_LOG");
  if (path == nullptr || *path == '\0') return;
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  platform::File file;
  if (file.Open(platform::HostFilePath(path), platform::GENERIC_WRITE,
                platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                platform::Disposition::OpenAlways) != 0)
    return;
  file.Seek(0, platform::SeekOrigin::End);
  std::string text(line);
  text += '\n';
  size_t written = 0;
  file.Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), written);
}

}  // namespace palmdesktop
