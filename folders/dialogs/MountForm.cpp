// The mount dialog's texts and its OK.
#include "folders/dialogs/MountForm.h"

#include "folders/volumes/CipherNames.h"
#include "folders/volumes/Mount.h"
#include "platform/DevicePath.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace folders {

std::u16string FileBaseName(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  std::u16string_view file = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = file.find_last_of(u'.');
  return std::u16string(dot == std::u16string_view::npos ? file : file.substr(0, dot));
}

std::u16string MountForm::FileName() const {
  return std::u16string(platform::FieldText(record_.path));
}

std::u16string MountForm::SizeText() const {
  platform::FileInfo info;
  if (platform::GetFileInfo(platform::ResolveDevicePath(FileName()), info) != 0 ||
      (info.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0)
    return u"0";
  return platform::Utf8ToUtf16(std::to_string(info.size / 1024)) + u" (KB)";
}

std::u16string MountForm::AlgorithmText() const {
  return DialogCipherName(record_.algorithm);
}

std::u16string MountForm::InitialMountAs() const {
  const std::u16string_view listed = platform::FieldText(record_.mountName);
  return listed.empty() ? FileBaseName(FileName()) : std::u16string(listed);
}

bool MountForm::Mount(std::u16string_view mountAs, std::u16string_view password,
                      platform::Prompt& prompt) {
  // A blank name would give the mounted folder no name at all.
  const std::u16string name =
      platform::Trim(mountAs).empty() ? InitialMountAs() : std::u16string(mountAs);
  platform::CopyToField(record_.mountName, name);
  return MountVolume(record_, password, prompt) != 0;
}

}  // namespace folders
