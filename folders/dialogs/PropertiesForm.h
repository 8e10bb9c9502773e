// The "Properties of" dialog without a toolkit: what it shows and what OK applies.
#pragma once

#include <string>
#include <string_view>

#include "folders/dialogs/TimeoutSetting.h"
#include "folders/volumes/VolumeRecord.h"
#include "platform/Prompt.h"

namespace folders {

// PropertiesInput: the dialog's controls when OK is pressed.
struct PropertiesInput {
  std::u16string path;       // "File"
  std::u16string mountName;  // "Mount folder"
  TimeoutSetting timeout;
  bool timeoutTouched = false;  // any time-out control was changed by the user
};

// PropertiesForm: the dialog of one folder's record, which is the caller's
// and receives what OK applies.
class PropertiesForm {
 public:
  explicit PropertiesForm(VolumeRecord& record) : record_(record) {}

  // Editable: false for a mounted folder, whose path, name and time-out
  // controls are disabled.
  bool Editable() const { return record_.deviceHandle == 0; }
  // Path / MountName: the record's path and "mount as" name as the dialog opens.
  std::u16string Path() const;
  std::u16string MountName() const;
  // SizeAndCipher: size in KB + " (KB) ; " + the dialog cipher name.
  std::u16string SizeAndCipher() const;
  // Timeout: the stored time-out in its largest exact unit.
  TimeoutSetting Timeout() const { return TimeoutFromSeconds(record_.timeoutSeconds); }
  // Input: the controls as the dialog opens.
  PropertiesInput Input() const { return {Path(), MountName(), Timeout(), false}; }

  // Apply: OK. 1: the time-out checks (69, 70). 2: an edited path (a leading
  // backslash made sure of, "/" turned into backslashes) moves the file;
  // failure shows 59 + old + 60 + new + "'", success takes the new path into
  // the record and writes its entry (the old entry stays, and shows missing).
  // 3: an edited name is taken and the entry written. 4: touched time-out
  // controls write the container's time-out. Returns false when the dialog
  // stays open (steps 1 and 2), true otherwise.
  bool Apply(const PropertiesInput& input, platform::Prompt& prompt);

 private:
  VolumeRecord& record_;
};

// NormalizedFolderPath: `path` with "/" turned into backslashes and a
// leading backslash added when missing.
std::u16string NormalizedFolderPath(std::u16string_view path);

}  // namespace folders
