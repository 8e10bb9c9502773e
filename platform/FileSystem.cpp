// Attribute, copy, move, delete, folder and free-space operations on host files.
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Errors.h"
#include "platform/HostFiles.h"
#include "platform/PathName.h"

namespace platform {

namespace {
uint32_t Done(uint32_t code) {
  SetLastError(code);
  return code;
}

std::string_view BaseName(std::string_view host) {
  const size_t cut = host.find_last_of('/');
  return cut == host.npos ? host : host.substr(cut + 1);
}

std::string FolderOf(std::string_view host) {
  const size_t cut = host.find_last_of('/');
  if (cut == host.npos) return ".";
  return cut == 0 ? "/" : std::string(host.substr(0, cut));
}

// Refused: the code of a path that cannot be used for a change at all.
uint32_t Refused(const FilePath& p) {
  if (!p.ok()) return p.error;
  if (p.IsReadOnlyVolume() || p.IsMountPoint()) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

int Reopen(const std::string& path, int flags) {
  int fd;
  do fd = ::open(path.c_str(), flags | O_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  return fd;
}

uint32_t WriteAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return Win32FromErrno(errno);
    }
    data += w;
    n -= static_cast<size_t>(w);
  }
  return ERROR_SUCCESS;
}

// RenameNoReplace: renames only when the target does not exist; EEXIST
// otherwise, decided by the host in one step.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  // File systems without the flag: a hard link fails when the name exists.
  if (::link(from.c_str(), to.c_str()) != 0) return -1;
  ::unlink(from.c_str());
  return 0;
}

// CopyContents: the copy step of CopyFile, between two resolved files.
uint32_t CopyContents(const std::string& from, const HostStatus& fromSt, const std::string& to,
                      IfExists ifExists) {
  const int in = Reopen(from, O_RDONLY);
  if (in < 0) return Win32FromErrno(errno);
  if (const uint32_t rc = HostLock(in, LockMode::Shared); rc != ERROR_SUCCESS) {
    ::close(in);
    return rc;
  }
  std::string temp = JoinHost(FolderOf(to), ".qmcopy-XXXXXX");
  const int out = ::mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    const uint32_t rc = Win32FromErrno(errno);
    ::close(in);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : rc;
  }
  uint32_t rc = ERROR_SUCCESS;
  std::vector<uint8_t> buf(1 << 16);
  for (;;) {
    const ssize_t r = ::read(in, buf.data(), buf.size());
    if (r < 0) {
      if (errno == EINTR) continue;
      rc = Win32FromErrno(errno);
      break;
    }
    if (r == 0) break;
    if ((rc = WriteAll(out, buf.data(), static_cast<size_t>(r))) != ERROR_SUCCESS) break;
  }
  ::close(in);
  if (rc == ERROR_SUCCESS) {
    ::fchmod(out, fromSt.mode & 0777);
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0) {
      const timespec times[2] = {st.st_atim, st.st_mtim};
      ::futimens(out, times);
    }
  }
  if (::close(out) != 0 && rc == ERROR_SUCCESS) rc = Win32FromErrno(errno);
  if (rc == ERROR_SUCCESS) {
    const int moved = ifExists == IfExists::Replace ? ::rename(temp.c_str(), to.c_str())
                                                    : RenameNoReplace(temp, to);
    if (moved != 0) rc = errno == EEXIST ? ERROR_FILE_EXISTS : Win32FromErrno(errno);
  }
  if (rc != ERROR_SUCCESS) ::unlink(temp.c_str());
  return rc;
}
}  // namespace

uint32_t GetFileAttributes(const FilePath& path) {
  if (!path.ok()) {
    SetLastError(path.error);
    return INVALID_FILE_ATTRIBUTES;
  }
  HostStatus st;
  if (const uint32_t rc = HostStat(path.host, st); rc != ERROR_SUCCESS) {
    SetLastError(rc);
    return INVALID_FILE_ATTRIBUTES;
  }
  SetLastError(ERROR_SUCCESS);
  return AttributesOf(st, BaseName(path.host), path.kind);
}

uint32_t SetFileAttributes(const FilePath& path, uint32_t attributes) {
  if (const uint32_t rc = Refused(path); rc != ERROR_SUCCESS) return Done(rc);
  HostStatus st;
  if (const uint32_t rc = HostStat(path.host, st); rc != ERROR_SUCCESS) return Done(rc);
  mode_t mode = st.mode & 07777;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  else
    mode |= S_IWUSR;
  if (::chmod(path.host.c_str(), mode) != 0) return Done(Win32FromErrno(errno));
  return Done(ERROR_SUCCESS);
}

uint32_t GetFileInfo(const FilePath& path, FileInfo& out) {
  if (!path.ok()) return Done(path.error);
  HostStatus st;
  if (const uint32_t rc = HostStat(path.host, st); rc != ERROR_SUCCESS) return Done(rc);
  out = FileInfoOf(st, BaseName(path.host), path.kind);
  return Done(ERROR_SUCCESS);
}

uint32_t CopyFile(const FilePath& from, const FilePath& to, IfExists ifExists) {
  if (!from.ok()) return Done(from.error);
  if (const uint32_t rc = Refused(to); rc != ERROR_SUCCESS) return Done(rc);
  HostStatus src;
  if (const uint32_t rc = HostStat(from.host, src); rc != ERROR_SUCCESS) return Done(rc);
  if (src.isFolder) return Done(ERROR_ACCESS_DENIED);
  HostStatus dst;
  if (HostStat(to.host, dst) == ERROR_SUCCESS) {
    if (ifExists == IfExists::Fail) return Done(ERROR_FILE_EXISTS);
    if (dst.isFolder || !dst.ownerWritable) return Done(ERROR_ACCESS_DENIED);
    struct stat a {
    }, b{};
    if (::stat(from.host.c_str(), &a) == 0 && ::stat(to.host.c_str(), &b) == 0 &&
        a.st_dev == b.st_dev && a.st_ino == b.st_ino)
      return Done(ERROR_SHARING_VIOLATION);
    if (const uint32_t rc = ProbeUnused(to.host); rc != ERROR_SUCCESS) return Done(rc);
  }
  return Done(CopyContents(from.host, src, to.host, ifExists));
}

uint32_t MoveFile(const FilePath& from, const FilePath& to, IfExists ifExists) {
  if (const uint32_t rc = Refused(from); rc != ERROR_SUCCESS) return Done(rc);
  if (const uint32_t rc = Refused(to); rc != ERROR_SUCCESS) return Done(rc);
  HostStatus src;
  if (const uint32_t rc = HostStat(from.host, src); rc != ERROR_SUCCESS) return Done(rc);
  if (!src.isFolder)
    if (const uint32_t rc = ProbeUnused(from.host); rc != ERROR_SUCCESS) return Done(rc);
  if (from.host == to.host) {
    // The same entry: only a change of letter case is left to do.
    if (to.hostAsGiven.empty() || to.hostAsGiven == to.host) return Done(ERROR_SUCCESS);
    if (::rename(from.host.c_str(), to.hostAsGiven.c_str()) != 0)
      return Done(Win32FromErrno(errno));
    return Done(ERROR_SUCCESS);
  }
  HostStatus dst;
  const bool targetExists = HostStat(to.host, dst) == ERROR_SUCCESS;
  if (targetExists) {
    if (ifExists == IfExists::Fail) return Done(ERROR_ALREADY_EXISTS);
    if (dst.isFolder || src.isFolder || !dst.ownerWritable) return Done(ERROR_ACCESS_DENIED);
    if (const uint32_t rc = ProbeUnused(to.host); rc != ERROR_SUCCESS) return Done(rc);
  }
  const int moved = ifExists == IfExists::Replace ? ::rename(from.host.c_str(), to.host.c_str())
                                                  : RenameNoReplace(from.host, to.host);
  if (moved == 0) return Done(ERROR_SUCCESS);
  if (errno == EEXIST) return Done(ERROR_ALREADY_EXISTS);
  if (errno == ENOENT) return Done(ERROR_PATH_NOT_FOUND);
  if (errno != EXDEV) return Done(Win32FromErrno(errno));
  if (src.isFolder) return Done(ERROR_NOT_SAME_DEVICE);
  uint32_t rc = CopyContents(from.host, src, to.host, ifExists);
  if (rc == ERROR_FILE_EXISTS) rc = ERROR_ALREADY_EXISTS;
  if (rc != ERROR_SUCCESS) return Done(rc);
  if (::unlink(from.host.c_str()) != 0) {
    rc = Win32FromErrno(errno);
    ::unlink(to.host.c_str());  // one file in one place, never two
    return Done(rc);
  }
  return Done(ERROR_SUCCESS);
}

uint32_t DeleteFile(const FilePath& path) {
  if (const uint32_t rc = Refused(path); rc != ERROR_SUCCESS) return Done(rc);
  HostStatus st;
  if (const uint32_t rc = HostStat(path.host, st); rc != ERROR_SUCCESS) return Done(rc);
  if (st.isFolder || !st.ownerWritable) return Done(ERROR_ACCESS_DENIED);
  if (const uint32_t rc = ProbeUnused(path.host); rc != ERROR_SUCCESS) return Done(rc);
  if (::unlink(path.host.c_str()) != 0) return Done(Win32FromErrno(errno));
  return Done(ERROR_SUCCESS);
}

uint32_t CreateDirectory(const FilePath& path) {
  if (!path.ok()) return Done(path.error);
  HostStatus st;
  if (path.IsMountPoint() || HostStat(path.host, st) == ERROR_SUCCESS)
    return Done(ERROR_ALREADY_EXISTS);
  if (path.IsReadOnlyVolume()) return Done(ERROR_ACCESS_DENIED);
  if (::mkdir(path.host.c_str(), 0777) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Done(ERROR_PATH_NOT_FOUND);
    return Done(Win32FromErrno(errno));
  }
  return Done(ERROR_SUCCESS);
}

uint32_t RemoveDirectory(const FilePath& path) {
  if (const uint32_t rc = Refused(path); rc != ERROR_SUCCESS) return Done(rc);
  HostStatus st;
  if (const uint32_t rc = HostStat(path.host, st); rc != ERROR_SUCCESS) return Done(rc);
  if (!st.isFolder) return Done(ERROR_DIRECTORY);
  if (!st.ownerWritable) return Done(ERROR_ACCESS_DENIED);
  if (::rmdir(path.host.c_str()) != 0) {
    if (errno == EEXIST) return Done(ERROR_DIR_NOT_EMPTY);
    return Done(Win32FromErrno(errno));
  }
  return Done(ERROR_SUCCESS);
}

uint32_t GetDiskFreeSpace(const FilePath& path, DiskSpace& out) {
  if (!path.ok()) return Done(path.error);
  struct statvfs vfs {};
  if (::statvfs(path.host.c_str(), &vfs) != 0) return Done(Win32FromErrno(errno));
  const uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  out.total = static_cast<uint64_t>(vfs.f_blocks) * unit;
  if (path.IsReadOnlyVolume()) {
    out.freeToCaller = out.totalFree = 0;
  } else {
    out.freeToCaller = static_cast<uint64_t>(vfs.f_bavail) * unit;
    out.totalFree = static_cast<uint64_t>(vfs.f_bfree) * unit;
  }
  return Done(ERROR_SUCCESS);
}

}  // namespace platform
