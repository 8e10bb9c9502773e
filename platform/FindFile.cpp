// Folder listings over readdir, with the handheld root's mounts added.
#include "platform/FindFile.h"

#include <dirent.h>

#include <cerrno>
#include <unordered_set>
#include <vector>

#include "platform/DesktopPath.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/HostFiles.h"
#include "platform/MountTable.h"
#include "platform/PathName.h"
#include "platform/Text.h"

namespace platform {

namespace {
uint32_t Done(uint32_t code) {
  SetLastError(code);
  return code;
}
}  // namespace

struct FindFile::State {
  DIR* dir = nullptr;
  std::string pattern;
  PathKind entryKind = PathKind::Plain;
  std::vector<DeviceMount> mounts;  // present mounts still to list (device root only)
  size_t nextMount = 0;
  std::unordered_set<std::string> hiddenByMounts;

  ~State() {
    if (dir) ::closedir(dir);
  }

  // Advance: the next matching entry; false at the end.
  bool Advance(FindData& out) {
    while (dir) {
      errno = 0;
      const dirent* e = ::readdir(dir);
      if (!e) {
        ::closedir(dir);
        dir = nullptr;
        break;
      }
      const std::string_view name(e->d_name);
      if (name == "." || name == "..") continue;
      if (!hiddenByMounts.empty() && hiddenByMounts.contains(FoldName(name))) continue;
      if (!MatchPattern(pattern, name)) continue;
      HostStatus st;
      // An entry that vanished or is a dangling link has nothing to report.
      if (HostStatAt(::dirfd(dir), e->d_name, st) != ERROR_SUCCESS) continue;
      static_cast<FileInfo&>(out) = FileInfoOf(st, name, entryKind);
      out.name = std::string(name);
      return true;
    }
    while (nextMount < mounts.size()) {
      const DeviceMount& m = mounts[nextMount++];
      if (!MatchPattern(pattern, m.name)) continue;
      HostStatus st;
      if (HostStat(m.hostFolder, st) != ERROR_SUCCESS) continue;
      static_cast<FileInfo&>(out) = FileInfoOf(
          st, m.name, m.kind == MountKind::Card ? PathKind::CardFolder : PathKind::RomFolder);
      out.name = m.name;
      return true;
    }
    return false;
  }
};

FindFile::FindFile() = default;
FindFile::FindFile(FindFile&&) noexcept = default;
FindFile& FindFile::operator=(FindFile&&) noexcept = default;
FindFile::~FindFile() = default;

bool FindFile::isOpen() const {
  return state_ != nullptr;
}

void FindFile::Close() {
  state_.reset();
}

uint32_t FindFile::First(const FilePath& folder, std::string_view pattern, FindData& out) {
  Close();
  if (!folder.ok()) return Done(folder.error);
  if (pattern.empty()) return Done(ERROR_FILE_NOT_FOUND);
  if (pattern.find_first_of("\\/") != pattern.npos || pattern.find('\0') != pattern.npos)
    return Done(ERROR_INVALID_NAME);
  auto state = std::make_unique<State>();
  state->dir = ::opendir(folder.host.c_str());
  if (!state->dir) {
    if (errno == ENOENT || errno == ENOTDIR) return Done(ERROR_PATH_NOT_FOUND);
    return Done(Win32FromErrno(errno));
  }
  state->pattern = std::string(pattern);
  state->entryKind = (folder.kind == PathKind::RomFolder || folder.kind == PathKind::InRom)
                         ? PathKind::InRom
                         : PathKind::Plain;
  if (folder.kind == PathKind::DeviceRoot && folder.mounts) {
    for (const auto& m : folder.mounts->mounts()) {
      HostStatus st;
      if (HostStat(m.hostFolder, st) != ERROR_SUCCESS || !st.isFolder) continue;
      state->mounts.push_back(m);
      state->hiddenByMounts.insert(FoldName(m.name));
    }
  }
  if (!state->Advance(out)) return Done(ERROR_FILE_NOT_FOUND);
  state_ = std::move(state);
  return Done(ERROR_SUCCESS);
}

uint32_t FindFile::FirstDevice(std::string_view pathAndPattern, FindData& out) {
  const auto [folder, pattern] = SplitLastComponent(pathAndPattern);
  return First(ResolveDevicePath(folder), pattern, out);
}

uint32_t FindFile::FirstDevice(std::u16string_view pathAndPattern, FindData& out) {
  return FirstDevice(Utf16ToUtf8(pathAndPattern), out);
}

uint32_t FindFile::FirstDesktop(std::string_view pathAndPattern, FindData& out) {
  auto [folder, pattern] = SplitLastComponent(pathAndPattern);
  // "C:*.txt" lists the drive's root.
  if (folder.empty() && pattern.size() >= 2 && pattern[1] == ':') {
    folder = pattern.substr(0, 2);
    pattern = pattern.substr(2);
  }
  return First(ResolveDesktopPath(folder.empty() ? std::string_view(".") : folder), pattern, out);
}

uint32_t FindFile::Next(FindData& out) {
  if (!state_) return Done(ERROR_INVALID_HANDLE);
  if (state_->Advance(out)) return Done(ERROR_SUCCESS);
  return Done(ERROR_NO_MORE_FILES);
}

}  // namespace platform
