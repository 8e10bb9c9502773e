// Deleting the update files' old copies from the user's HotSync backup folder, depth first.
#include "conduit/pdb/BackupPurge.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/DesktopPath.h"
#include "platform/FileSystem.h"
#include "platform/FindFile.h"
#include "platform/PathName.h"

namespace conduit {

namespace {

constexpr int kMaxDepth = 64;

bool Listed(const std::vector<std::string>& names, const std::string& name) {
  for (const auto& n : names)
    if (n == name) return true;
  return false;
}

// PurgeFolder: deletes the listed files in a host folder and below; the
// number deleted. Names are gathered before anything is deleted, so the
// listing never sees its own changes.
int PurgeFolder(const std::string& folder, const std::vector<std::string>& names, int depth) {
  std::vector<std::string> subfolders;
  std::vector<std::string> doomed;
  platform::FindFile find;
  platform::FindData data;
  for (uint32_t rc = find.First(platform::HostFilePath(folder), "*", data); rc == 0;
       rc = find.Next(data)) {
    if (data.name == "." || data.name == "..") continue;
    if (data.attributes & platform::FILE_ATTRIBUTE_DIRECTORY)
      subfolders.push_back(data.name);
    else if (Listed(names, data.name))
      doomed.push_back(data.name);
  }
  find.Close();
  int deleted = 0;
  for (const auto& sub : subfolders)
    if (depth < kMaxDepth)
      deleted += PurgeFolder(platform::JoinHost(folder, sub), names, depth + 1);
  for (const auto& name : doomed)
    if (platform::DeleteFile(platform::HostFilePath(platform::JoinHost(folder, name))) == 0)
      ++deleted;
  return deleted;
}

}  // namespace

int PurgeBackupCopies(const ConduitLink& link, const palmsettings::PalmSettings& settings) {
  SyncUserIdentity identity{};
  if (link.sync->ReadUserID(&identity) != 0) return -1;
  const std::string user(identity.userName, strnlen(identity.userName, sizeof identity.userName));
  // The name becomes a folder name: one that could climb out of the Palm
  // Desktop folder is not used.
  if (!platform::IsValidName(user)) return -1;

  std::vector<std::string> names;
  for (const auto* entry = settings.fileList; entry != nullptr; entry = entry->next)
    names.emplace_back(palmsettings::EntryName(*entry));

  // Without a Palm Desktop folder the path would start at the root of the
  // current drive: there is no backup folder to purge then.
  if (settings.DesktopPath[0] == '\0') return -2;
  const std::string backup = std::string(settings.DesktopPath) + "\\" + user + "\\backup\\";
  const platform::FilePath folder = platform::ResolveDesktopPath(backup);
  if (!folder.ok()) return -2;
  platform::FileInfo info;
  if (platform::GetFileInfo(folder, info) != 0 ||
      !(info.attributes & platform::FILE_ATTRIBUTE_DIRECTORY))
    return -2;
  return PurgeFolder(folder.host, names, 0);
}

}  // namespace conduit
