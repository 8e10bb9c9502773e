// The properties dialog's texts and its OK.
#include "folders/dialogs/PropertiesForm.h"

#include <algorithm>

#include "folders/container/Container.h"
#include "folders/dialogs/DialogMessage.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/CipherNames.h"
#include "folders/volumes/VolumeList.h"
#include "platform/DevicePath.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace folders {

std::u16string NormalizedFolderPath(std::u16string_view path) {
  std::u16string normal(path);
  // Every "/" and not only a leading one: the list names entries by the path
  // with backslashes, and the other commands write them that way.
  std::replace(normal.begin(), normal.end(), u'/', u'\\');
  if (normal.empty() || normal.front() != u'\\') normal.insert(normal.begin(), u'\\');
  return normal;
}

std::u16string PropertiesForm::Path() const {
  return std::u16string(platform::FieldText(record_.path));
}

std::u16string PropertiesForm::MountName() const {
  return std::u16string(platform::FieldText(record_.mountName));
}

std::u16string PropertiesForm::SizeAndCipher() const {
  return platform::Utf8ToUtf16(std::to_string(record_.sizeKb)) + u" (KB) ; " +
         DialogCipherName(record_.algorithm);
}

bool PropertiesForm::Apply(const PropertiesInput& input, platform::Prompt& prompt) {
  if (!CheckTimeout(input.timeout, prompt)) return false;

  const std::u16string oldPath = Path();
  if (input.path != oldPath) {
    const std::u16string newPath = NormalizedFolderPath(input.path);
    if (newPath != oldPath) {
      // A path the record cannot hold is refused like a failed move.
      const uint32_t error =
          newPath.size() >= kPathChars
              ? 206
              : platform::MoveFile(platform::ResolveDevicePath(oldPath),
                                   platform::ResolveDevicePath(newPath), platform::IfExists::Fail);
      if (error != 0) {
        ShowFoldersMessage(prompt, FoldersText(kIdsMoveFailedStart) + oldPath +
                                       FoldersText(kIdsMoveFailedMiddle) + newPath + u"'");
        return false;
      }
      platform::CopyToField(record_.path, newPath);
      WriteVolumeEntry(record_);
    }
  }
  if (input.mountName != MountName()) {
    platform::CopyToField(record_.mountName, input.mountName);
    WriteVolumeEntry(record_);
  }
  if (input.timeoutTouched) {
    const uint32_t seconds = static_cast<uint32_t>(input.timeout.Seconds());
    if (WriteContainerTimeout(record_, seconds) == 1) record_.timeoutSeconds = seconds;
  }
  return true;
}

}  // namespace folders
