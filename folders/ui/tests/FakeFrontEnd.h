// A scripted stand-in for the folder dialogs, for tests of the commands' logic.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "folders/ui/FoldersFrontEnd.h"
#include "folders/volumes/Mount.h"
#include "platform/Prompt.h"
#include "platform/Text.h"

namespace folders::testing {

// FakeFrontEnd: the sheet answers with `sheetAnswer` (nullopt: cancelled);
// the mount dialog mounts with `password` when set, else is cancelled. Both
// record what they were shown.
class FakeFrontEnd final : public FoldersFrontEnd {
 public:
  explicit FakeFrontEnd(platform::Prompt& prompt) : prompt_(prompt) {}

  bool NewFolderSheet(std::u16string_view caption, std::u16string_view initialPath,
                      NewFolderRequest& request) override {
    sheetCaptions.emplace_back(caption);
    sheetPaths.emplace_back(initialPath);
    if (!sheetAnswer) return false;
    request = *sheetAnswer;
    return true;
  }

  bool MountDialog(VolumeRecord& record) override {
    mountDialogs.emplace_back(platform::FieldText(record.path));
    if (!password) return false;
    return MountVolume(record, *password, prompt_) != 0;
  }

  std::optional<NewFolderRequest> sheetAnswer;
  std::optional<std::u16string> password;
  std::vector<std::u16string> sheetCaptions, sheetPaths, mountDialogs;

 private:
  platform::Prompt& prompt_;
};

}  // namespace folders::testing
