// The mount dialog without a toolkit: what it shows and what OK does.
#pragma once

#include <string>
#include <string_view>

#include "folders/volumes/VolumeRecord.h"
#include "platform/Prompt.h"

namespace folders {

// MountForm: the mount dialog of one folder's record (as read from its
// entry); the record is the caller's and receives the "mount as" name and,
// once mounted, the device handle.
class MountForm {
 public:
  explicit MountForm(VolumeRecord& record) : record_(record) {}

  // FileName: the container's path, shown under "File name".
  std::u16string FileName() const;
  // SizeText: the file's current size in KB followed by " (KB)", or "0" when
  // the file cannot be opened.
  std::u16string SizeText() const;
  // AlgorithmText: the cipher's main-list name, "???" for a number without one.
  std::u16string AlgorithmText() const;
  // InitialMountAs: the entry's "mount as" name or, when that is empty, the
  // file's base name without extension.
  std::u16string InitialMountAs() const;

  // Mount: stores `mountAs` (the initial name when it is left blank) in the
  // record and mounts with `password`; a failure has been shown on `prompt`.
  // Returns true when mounted (the dialog may close).
  bool Mount(std::u16string_view mountAs, std::u16string_view password, platform::Prompt& prompt);

 private:
  VolumeRecord& record_;
};

// FileBaseName: the last component of a handheld path without its extension.
std::u16string FileBaseName(std::u16string_view path);

}  // namespace folders
