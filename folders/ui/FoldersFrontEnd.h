// The dialogs the folder program's commands need from whatever shows them.
#pragma once

#include <string_view>

#include "folders/dialogs/NewFolderRequest.h"
#include "folders/volumes/VolumeRecord.h"

namespace folders {

// FoldersFrontEnd: the modal dialogs that the command line and "Open..." open;
// the Qt program forwards to FolderDialogs.h, tests script them.
class FoldersFrontEnd {
 public:
  virtual ~FoldersFrontEnd() = default;

  // NewFolderSheet: the new-folder sheet under `caption` with `initialPath`
  // preset; true with `request` filled when it was confirmed.
  virtual bool NewFolderSheet(std::u16string_view caption, std::u16string_view initialPath,
                              NewFolderRequest& request) = 0;

  // MountDialog: the mount dialog for `record`; true when it mounted the
  // folder (the record then holds the handle), false when cancelled.
  virtual bool MountDialog(VolumeRecord& record) = 0;
};

}  // namespace folders
