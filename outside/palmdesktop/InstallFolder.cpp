// Queuing files in the users' install folders and listing them.
#include "outside/palmdesktop/InstallFolder.h"

#include <algorithm>

#include "installqueue/PalmDesktopApi.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "platform/DesktopPath.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/FindFile.h"
#include "platform/Home.h"
#include "platform/PathName.h"

namespace palmdesktop {

namespace {

// EnsureDesktopFolder: creates a desktop folder and the folders on its way
// that are missing (an existing one is found regardless of letter case);
// `out` receives the resolved folder. Returns 0 or a Win32 code.
uint32_t EnsureDesktopFolder(std::string_view desktopPath, platform::FilePath& out) {
  size_t at = desktopPath.find_first_of("\\/", 3);
  for (;;) {
    out = platform::ResolveDesktopPath(desktopPath.substr(0, at));
    if (!out.ok()) return out.error;
    platform::FileInfo info;
    if (platform::GetFileInfo(out, info) != 0) {
      if (const uint32_t rc = platform::CreateDirectory(out); rc != 0) return rc;
    } else if (!(info.attributes & platform::FILE_ATTRIBUTE_DIRECTORY)) {
      return platform::ERROR_PATH_NOT_FOUND;
    }
    if (at == std::string_view::npos) return 0;
    at = desktopPath.find_first_of("\\/", at + 1);
  }
}

}  // namespace

std::string InstallFolderOf(std::string_view user) {
  const std::string folder = UserFolder(user);
  return folder.empty() ? folder : folder + "\\Install";
}

int32_t QueueInstall(const char* userName, const char* filePath) {
  if (userName == nullptr || filePath == nullptr) return kInstallBadArgument;
  const auto [folder, fileName] = platform::SplitLastComponent(filePath);
  if (!platform::IsValidName(fileName)) return kInstallBadArgument;
  const auto users = ListUsers();
  if (std::none_of(users.begin(), users.end(),
                   [&](const PalmUser& u) { return u.name == userName; }))
    return kInstallNoSuchUser;
  const std::string queue = InstallFolderOf(userName);
  if (queue.empty()) return kInstallNoDesktopFolder;

  const platform::FilePath source = platform::ResolveDesktopPath(filePath);
  if (!source.ok()) return static_cast<int32_t>(source.error);
  platform::FileInfo info;
  if (const uint32_t rc = platform::GetFileInfo(source, info); rc != 0)
    return static_cast<int32_t>(rc);

  platform::FilePath target;
  if (const uint32_t rc = EnsureDesktopFolder(queue, target); rc != 0)
    return static_cast<int32_t>(rc);
  const uint32_t rc =
      platform::CopyFile(source, platform::HostFilePath(platform::JoinHost(target.host, fileName)),
                         platform::IfExists::Fail);
  if (rc == platform::ERROR_FILE_EXISTS) return kInstallAlreadyQueued;
  return static_cast<int32_t>(rc);
}

std::vector<std::string> QueuedFiles(std::string_view user) {
  std::vector<std::string> files;
  const std::string queue = InstallFolderOf(user);
  if (queue.empty()) return files;
  const platform::FilePath folder = platform::ResolveDesktopPath(queue);
  if (!folder.ok()) return files;
  platform::FindFile find;
  platform::FindData data;
  for (uint32_t rc = find.First(folder, "*", data); rc == 0; rc = find.Next(data))
    if (!(data.attributes & platform::FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(platform::JoinHost(folder.host, data.name));
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace palmdesktop
