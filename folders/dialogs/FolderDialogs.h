// The folder program's modal dialogs, as the main window and the command line open them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "folders/dialogs/NewFolderRequest.h"
#include "folders/volumes/VolumeRecord.h"
#include "platform/Prompt.h"

class QWidget;

namespace folders {

// RunNewFolderSheet: shows the two-page sheet under `caption` ("New folder"
// from the menu, "New Folder" from the command line) with `initialPath` (a
// handheld path, may be empty) preset in name, location and folder. Every
// check and message happens inside. Returns true when the sheet closed with
// neither page marked, a non-empty password and at least 256 KB; `request`
// is then filled, otherwise untouched.
bool RunNewFolderSheet(QWidget* parent, platform::Prompt& prompt, std::u16string_view caption,
                       std::u16string_view initialPath, NewFolderRequest& request);

// RunMountDialog: the mount dialog for `record` (as read from its entry).
// OK stores the "mount as" name into the record and mounts; the dialog
// closes only on success. Returns true when mounted (the record then holds
// the device handle); false when cancelled.
bool RunMountDialog(QWidget* parent, platform::Prompt& prompt, VolumeRecord& record);

// RunChangePasswordDialog: the change-password dialog; after its checks it
// closes and the container is re-keyed with a progress indication, a failure
// shown on `prompt`. Returns the re-keying result (0 success) or 1 when
// cancelled before re-keying.
int RunChangePasswordDialog(QWidget* parent, platform::Prompt& prompt, const VolumeRecord& record);

// RunPropertiesDialog: "Properties of" for `record`; OK applies the move, the
// name change and the time-out as far as they succeed. Returns true when OK
// closed it (the list may have changed), false when cancelled.
bool RunPropertiesDialog(QWidget* parent, platform::Prompt& prompt, VolumeRecord& record);

// SaveDialogScreenshots: renders each dialog, filled with `sample`, into
// `folder` as folders-new-folder.png, folders-new-encryption.png,
// folders-mount.png, folders-password.png and folders-properties.png.
// Returns the number of files written.
int SaveDialogScreenshots(const std::string& folder, const VolumeRecord& sample);

}  // namespace folders
