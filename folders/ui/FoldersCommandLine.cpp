// Parsing and carrying out the folder program's command line.
#include "folders/ui/FoldersCommandLine.h"

#include <limits>
#include <optional>

#include "folders/dialogs/FolderLocations.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/ui/CreationWorkers.h"
#include "folders/ui/FolderCommands.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeRefresh.h"
#include "platform/Text.h"

namespace folders {
namespace {

// LeadingNumber: the decimal digits at the start of the text, as a wide
// atoi reads them (0 when none, saturated when too large).
uint32_t LeadingNumber(std::u16string_view text) {
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + static_cast<uint64_t>(c - u'0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(value);
}

// FolderFreeBytes: the free space of the volume that holds the file's folder.
std::optional<uint64_t> FolderFreeBytes(std::u16string_view path) {
  const size_t slash = path.find_last_of(u'\\');
  return LocationFreeBytes(slash == std::u16string_view::npos ? u"" : path.substr(0, slash));
}

std::optional<VolumeRow> RowOf(std::u16string_view path) {
  for (VolumeRow& row : RefreshVolumeList())
    if (platform::EqualsIgnoreCase(row.path, path)) return std::move(row);
  return std::nullopt;
}

int Create(const FoldersCommandLine& line, FoldersFrontEnd& frontEnd, platform::Prompt& prompt,
           std::mutex& creationLock) {
  NewFolderRequest request;
  if (!frontEnd.NewFolderSheet(u"New Folder", line.path, request)) return 1;
  request.sizeKb = line.sizeKb;
  if (request.sizeKb < 256) {
    ShowFoldersMessage(prompt, kIdsSizeTooSmall, platform::MB_OK | platform::MB_ICONERROR);
    return 1;
  }
  // The sheet checked the free space for its own size, not for this one; an
  // unchecked size would fill the whole volume before the write failed.
  if (FolderFreeBytes(platform::FieldText(request.record.path)).value_or(0) <=
      uint64_t{request.sizeKb} * 1024) {
    ShowFoldersMessage(prompt, kIdsNoFreeSpace, platform::MB_OK | platform::MB_ICONERROR);
    return 1;
  }
  std::lock_guard<std::mutex> hold(creationLock);
  return CreateFolder(request, prompt) == 0 ? 0 : 1;
}

int Mount(const FoldersCommandLine& line, FoldersFrontEnd& frontEnd, platform::Prompt& prompt) {
  std::optional<VolumeRow> row = RowOf(line.path);
  if (!row) {
    const OpenResult opened = OpenDeviceContainer(line.path, frontEnd, prompt, [] {});
    RefreshVolumeList();
    return opened == OpenResult::Mounted ? 0 : 1;
  }
  if (row->state == VolumeState::Missing) {
    ShowFoldersMessage(prompt, kIdsNotAContainer, platform::MB_OK | platform::MB_ICONERROR);
    return 1;
  }
  // A second device over the same file would let two drivers write into it.
  if (row->state == VolumeState::Mounted) return 1;
  const bool mounted = frontEnd.MountDialog(row->record);
  RefreshVolumeList();
  return mounted ? 0 : 1;
}

}  // namespace

FoldersCommandLine ParseFoldersCommandLine(std::u16string_view text) {
  text = platform::Trim(text);
  FoldersCommandLine line;
  if (text.empty()) return line;
  std::u16string_view path = text;
  if (text.starts_with(u"-u:")) {
    line.form = CommandForm::Unmount;
    path = text.substr(3);
  } else if (text.starts_with(u"-c:")) {
    line.form = CommandForm::Create;
    path = text.substr(3);
    const size_t colon = path.find_last_of(u':');
    if (colon != std::u16string_view::npos) {
      line.sizeKb = LeadingNumber(path.substr(colon + 1));
      path = path.substr(0, colon);
    }
  } else {
    line.form = CommandForm::Mount;
  }
  line.path = DevicePathArgument(path);
  return line;
}

int RunFoldersCommandLine(const FoldersCommandLine& line, FoldersFrontEnd& frontEnd,
                          platform::Prompt& prompt, std::mutex& creationLock) {
  if (line.form == CommandForm::None) return 0;
  if (!IsDeviceFile(line.path)) {
    ShowFoldersMessage(prompt, kIdsFileNotFound, platform::MB_OK | platform::MB_ICONERROR);
    return 1;
  }
  switch (line.form) {
    case CommandForm::Unmount: {
      RefreshVolumeList();  // the entry's handle must be the driver's, not a stale one
      const int released = UnmountVolume(line.path);
      RefreshVolumeList();
      return released == 1 ? 0 : 1;
    }
    case CommandForm::Create:
      return Create(line, frontEnd, prompt, creationLock);
    default:
      return Mount(line, frontEnd, prompt);
  }
}

}  // namespace folders
