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

  // The queue folder may not exist yet: its parent folders are made on the
  // host once the desktop path resolves as far as it can.
  platform::FilePath target = platform::ResolveDesktopPath(queue);
  if (!target.ok() && target.error == platform::ERROR_PATH_NOT_FOUND) {
    const platform::FilePath desktop = platform::ResolveDesktopPath(DesktopFolder());
    if (!desktop.ok()) return static_cast<int32_t>(desktop.error);
    platform::EnsureFolder(platform::JoinHost(desktop.host, userName) + "/Install");
    target = platform::ResolveDesktopPath(queue);
  }
  if (!target.ok()) return static_cast<int32_t>(target.error);
  if (const uint32_t rc = platform::EnsureFolder(target.host); rc != 0)
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
