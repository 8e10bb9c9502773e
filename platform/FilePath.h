// A file-system location resolved to the host, as every file operation takes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class MountTable;

// PathKind: what a resolved location is in the handheld's view; decides the
// attributes a mount adds and which changes are refused.
enum class PathKind : uint8_t {
  Plain,       // an ordinary host file or folder (desktop, device RAM, card contents)
  DeviceRoot,  // the handheld's root folder "\"; its listing adds the mounts
  CardFolder,  // the root-level folder of a storage card (temporary, 0x100)
  RomFolder,   // the root-level folder of a ROM mount (read-only)
  InRom,       // anything below a ROM mount (in-ROM 0x40, read-only)
};

// FilePath: the result of resolving a handheld or desktop path. `host` is the
// host path (UTF-8) that operations use; when `error` is not 0 the path could
// not be resolved and every operation reports that code. The last component
// need not exist: it keeps the spelling the caller gave unless an entry of
// another letter case exists, in which case `host` names that entry and
// `hostAsGiven` keeps the caller's spelling (a case-only rename uses it).
struct FilePath {
  std::string host;
  std::string hostAsGiven;
  uint32_t error = 0;
  PathKind kind = PathKind::Plain;
  // The mounts shown in the device root's listing; set only for DeviceRoot.
  std::shared_ptr<const MountTable> mounts;

  bool ok() const { return error == 0; }
  // IsReadOnlyVolume: true where nothing may be created, written or removed.
  bool IsReadOnlyVolume() const { return kind == PathKind::RomFolder || kind == PathKind::InRom; }
  // IsMountPoint: the root, a card or a ROM folder itself, which cannot be
  // removed, renamed or replaced.
  bool IsMountPoint() const {
    return kind == PathKind::DeviceRoot || kind == PathKind::CardFolder ||
           kind == PathKind::RomFolder;
  }
};

// HostFilePath: a FilePath for a host path used as it is (tests, tools).
inline FilePath HostFilePath(std::string hostPath) {
  FilePath p;
  p.host = std::move(hostPath);
  return p;
}

}  // namespace platform
