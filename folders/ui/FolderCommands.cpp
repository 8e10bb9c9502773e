// Open and Delete of the folder program, over the list, the headers and the prompt.
#include "folders/ui/FolderCommands.h"

#include "folders/container/Container.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/VolumeList.h"
#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace folders {
namespace {

int ShowText(platform::Prompt& prompt, std::u16string_view text, uint32_t flags) {
  return prompt.Show(text, FoldersText(kIdsCaption), flags);
}

}  // namespace

std::u16string FolderBaseName(std::u16string_view path) {
  std::u16string_view name = path.substr(path.find_last_of(u"\\/") + 1);
  const size_t dot = name.find_last_of(u'.');
  return std::u16string(dot == std::u16string_view::npos ? name : name.substr(0, dot));
}

std::u16string DevicePathArgument(std::u16string_view text) {
  std::u16string path(text);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  if (path.empty() || path.front() != u'\\') path.insert(path.begin(), u'\\');
  return path;
}

bool IsDeviceFile(std::u16string_view path) {
  const uint32_t attributes = platform::GetFileAttributes(platform::ResolveDevicePath(path));
  return attributes != platform::INVALID_FILE_ATTRIBUTES &&
         (attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int ShowFoldersMessage(platform::Prompt& prompt, uint32_t id, uint32_t flags) {
  return ShowText(prompt, FoldersText(id), flags);
}

OpenResult OpenDeviceContainer(std::u16string_view path, FoldersFrontEnd& frontEnd,
                               platform::Prompt& prompt, const RefreshList& refresh) {
  if (path.size() >= kPathChars) {
    ShowText(prompt, platform::Utf8ToUtf16(kPathTooLongText),
             platform::MB_OK | platform::MB_ICONERROR);
    return OpenResult::Refused;
  }
  VolumeRecord record{};
  if (FindVolumeEntry(record, path) != kNoEntry) {
    ShowFoldersMessage(prompt, kIdsAlreadyListed, platform::MB_OK | platform::MB_ICONINFORMATION);
    return OpenResult::AlreadyListed;
  }
  record = VolumeRecord{};
  platform::CopyToField(record.path, path);
  if (ReadContainerHeader(record, path) != 1) {
    ShowFoldersMessage(prompt, kIdsNotAContainer, platform::MB_OK | platform::MB_ICONERROR);
    return OpenResult::NotAContainer;
  }
  platform::CopyToField(record.mountName, FolderBaseName(path));
  if (const uint32_t error = WriteVolumeEntry(record)) {
    ShowText(prompt, platform::Utf8ToUtf16(platform::ErrorText(error)),
             platform::MB_OK | platform::MB_ICONERROR);
    return OpenResult::Refused;
  }
  if (refresh) refresh();
  if (!frontEnd.MountDialog(record)) return OpenResult::Listed;
  if (refresh) refresh();
  return OpenResult::Mounted;
}

OpenResult OpenHostFile(std::string_view hostPath, FoldersFrontEnd& frontEnd,
                        platform::Prompt& prompt, const RefreshList& refresh) {
  const std::string devicePath = platform::DevicePathFromHost(hostPath);
  if (devicePath.empty()) {
    ShowText(prompt, platform::Utf8ToUtf16(kOutsideDeviceText),
             platform::MB_OK | platform::MB_ICONERROR);
    return OpenResult::Refused;
  }
  return OpenDeviceContainer(DevicePathArgument(platform::Utf8ToUtf16(devicePath)), frontEnd,
                             prompt, refresh);
}

DeleteResult DeleteFolder(const VolumeRow& row, platform::Prompt& prompt) {
  // The driver still writes into a mounted folder's file.
  if (row.state == VolumeState::Mounted) return DeleteResult::Mounted;
  std::u16string question = FoldersText(kIdsConfirmDelete);
  question += row.path;
  question += u"'?";
  if (ShowText(prompt, question, platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
    return DeleteResult::Declined;
  const uint32_t error = platform::DeleteFile(platform::ResolveDevicePath(row.path));
  if (error != 0 && error != platform::ERROR_FILE_NOT_FOUND &&
      error != platform::ERROR_PATH_NOT_FOUND) {
    ShowText(prompt, platform::Utf8ToUtf16(platform::ErrorText(error)),
             platform::MB_OK | platform::MB_ICONERROR);
    return DeleteResult::Failed;
  }
  DeleteVolumeEntry(row.path);
  return DeleteResult::Deleted;
}

}  // namespace folders
