// The command line's and "Open..."'s dialogs shown as the Qt folder dialogs.
#pragma once

#include "folders/dialogs/FolderDialogs.h"
#include "folders/ui/FoldersFrontEnd.h"
#include "platform/Prompt.h"

class QWidget;

namespace folders {

// QtFrontEnd: forwards to FolderDialogs.h with `parent` (may be null) and
// `prompt`; both are borrowed.
class QtFrontEnd final : public FoldersFrontEnd {
 public:
  QtFrontEnd(QWidget* parent, platform::Prompt& prompt) : parent_(parent), prompt_(prompt) {}

  bool NewFolderSheet(std::u16string_view caption, std::u16string_view initialPath,
                      NewFolderRequest& request) override {
    return RunNewFolderSheet(parent_, prompt_, caption, initialPath, request);
  }
  bool MountDialog(VolumeRecord& record) override {
    return RunMountDialog(parent_, prompt_, record);
  }

 private:
  QWidget* parent_;
  platform::Prompt& prompt_;
};

}  // namespace folders
