// Host calls of the file layer: stat, folder listing and attribute mapping.
#include "platform/HostFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Errors.h"

namespace platform {

namespace {
uint32_t StatxAt(int dirFd, const char* path, int flags, HostStatus& out) {
  struct statx sx {};
  if (::statx(dirFd, path, AT_STATX_SYNC_AS_STAT | flags, STATX_BASIC_STATS | STATX_BTIME, &sx) !=
      0)
    return Win32FromErrno(errno);
  out.isFolder = S_ISDIR(sx.stx_mode);
  out.ownerWritable = (sx.stx_mode & S_IWUSR) != 0;
  out.mode = sx.stx_mode;
  out.size = out.isFolder ? 0 : sx.stx_size;
  out.device = (static_cast<uint64_t>(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
  out.lastWriteTime = FileTimeFromUnix(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  out.lastAccessTime = FileTimeFromUnix(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
  out.creationTime = (sx.stx_mask & STATX_BTIME)
                         ? FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                         : out.lastWriteTime;
  return ERROR_SUCCESS;
}
}  // namespace

uint32_t HostStat(const std::string& path, HostStatus& out) {
  return StatxAt(AT_FDCWD, path.c_str(), 0, out);
}

uint32_t HostStatAt(int folderFd, const char* name, HostStatus& out) {
  return StatxAt(folderFd, name, 0, out);
}

uint32_t HostStatOpen(int fd, HostStatus& out) {
  return StatxAt(fd, "", AT_EMPTY_PATH, out);
}

uint32_t HostListFolder(const std::string& path,
                        const std::function<bool(std::string_view name)>& visit) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return Win32FromErrno(errno);
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name(e->d_name);
    if (name == "." || name == "..") continue;
    if (!visit(name)) break;
  }
  ::closedir(dir);
  return ERROR_SUCCESS;
}

uint32_t AttributesOf(const HostStatus& st, std::string_view name) {
  uint32_t a = 0;
  if (st.isFolder) a |= FILE_ATTRIBUTE_DIRECTORY;
  if (!st.ownerWritable) a |= FILE_ATTRIBUTE_READONLY;
  if (!name.empty() && name.front() == '.') a |= FILE_ATTRIBUTE_HIDDEN;
  return a ? a : FILE_ATTRIBUTE_NORMAL;
}

uint32_t AttributesOf(const HostStatus& st, std::string_view name, PathKind kind) {
  switch (kind) {
    case PathKind::Plain:
      return AttributesOf(st, name);
    case PathKind::DeviceRoot:
    case PathKind::RomFolder:
      return FILE_ATTRIBUTE_DIRECTORY;
    case PathKind::CardFolder:
      return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
    case PathKind::InRom:
      return (AttributesOf(st, name) & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_INROM |
             FILE_ATTRIBUTE_READONLY;
  }
  return AttributesOf(st, name);
}

FileInfo FileInfoOf(const HostStatus& st, std::string_view name, PathKind kind) {
  FileInfo info;
  info.attributes = AttributesOf(st, name, kind);
  info.size = st.size;
  info.creationTime = st.creationTime;
  info.lastAccessTime = st.lastAccessTime;
  info.lastWriteTime = st.lastWriteTime;
  return info;
}

uint32_t HostLock(int fd, LockMode mode) {
  const int op = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  while (::flock(fd, op) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return ERROR_SHARING_VIOLATION;
    // File systems without locks cannot emulate sharing; the open stands.
    return ERROR_SUCCESS;
  }
  return ERROR_SUCCESS;
}

uint32_t ProbeUnused(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ERROR_SUCCESS;
  const uint32_t rc = HostLock(fd, LockMode::Exclusive);
  ::close(fd);  // closing drops the probe's lock
  return rc;
}

}  // namespace platform
