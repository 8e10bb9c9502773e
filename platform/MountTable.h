// The handheld's mount table: storage cards and ROM folders shown at the root.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// MountKind: a storage card (a writable host folder whose root-level folder
// carries the temporary attribute) or a ROM folder (read-only, in-ROM files).
enum class MountKind : uint8_t { Card, Rom };

// DeviceMount: one root-level name and the host folder behind it.
struct DeviceMount {
  MountKind kind = MountKind::Card;
  std::string name;        // as shown at the root, e.g. "Storage Card"
  std::string hostFolder;  // absolute host path
};

// MountTable: the handheld root folder's host path and its mounts, an
// immutable snapshot shared by every resolution that started with it.
class MountTable {
 public:
  MountTable(std::string deviceRoot, std::vector<DeviceMount> mounts);

  const std::string& deviceRoot() const { return deviceRoot_; }
  const std::vector<DeviceMount>& mounts() const { return mounts_; }

  // Find: the mount named `name`, matched exactly first and then regardless
  // of letter case; nullptr when there is none.
  const DeviceMount* Find(std::string_view name) const;

 private:
  std::string deviceRoot_;
  std::vector<DeviceMount> mounts_;
};

// ParseMountArgument: reads "NAME=DIR" (as given to a front-end's --card option)
// into `out`. A relative DIR is taken relative to `baseFolder` (the current
// folder when empty). Returns 0, or ERROR_INVALID_NAME (123) when NAME is
// empty, ".", "..", or holds a separator or a character Windows forbids in
// names, or ERROR_INVALID_PARAMETER (87) when "=" or DIR is missing; `out` is
// unchanged on failure.
uint32_t ParseMountArgument(std::string_view text, MountKind kind, DeviceMount& out,
                            std::string_view baseFolder = {});

// ParseMountConfig: reads the mount file's text. Each line is empty, a
// comment starting with "#", or "card NAME=DIR" / "rom NAME=DIR". Bad lines
// are skipped; `firstBadLine` (when given) receives the number of the first
// one, or 0. A later line for the same name (any letter case) replaces an
// earlier one.
std::vector<DeviceMount> ParseMountConfig(std::string_view text, std::string_view baseFolder,
                                          size_t* firstBadLine = nullptr);

// CurrentMountTable: the snapshot in force: the device root
// StatePath("QM_DEVICE_ROOT", "device"), the mounts of the file
// StatePath("QM_DEVICE_MOUNTS", "device-mounts.conf") (read once per file
// path; a missing file means no mounts), then the mounts added with
// AddDeviceMount, which replace file entries of the same name. Never null.
std::shared_ptr<const MountTable> CurrentMountTable();

// AddDeviceMount: adds a mount for the rest of this run (not stored). Returns
// 0, or ERROR_INVALID_NAME (123) for a name ParseMountArgument would refuse, or
// ERROR_INVALID_PARAMETER (87) for an empty host folder.
uint32_t AddDeviceMount(const DeviceMount& mount);

// ResetDeviceMounts: forgets the mounts added in this run and the file read
// so far; the next CurrentMountTable reads the file again.
void ResetDeviceMounts();

}  // namespace platform
