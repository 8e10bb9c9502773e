// PalmSettings::PromoteDownloads: a complete set of downloads becomes the current update.
#include <string>
#include <string_view>

#include "palmsettings/PalmSettings.h"
#include "platform/DesktopPath.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace palmsettings {

namespace {

// IsPlainFileName: a name that stays inside its folder. The names come from
// the registry; one with a separator, a drive or ".." would move files
// elsewhere on the disk.
bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

int PalmSettings::PromoteDownloads() {
  for (const SettingsEntry* e = fileList; e; e = e->next)
    if (e->received != 1) return 0;
  const std::string_view folder = platform::FieldText(UpdateFolder);
  if (folder.empty()) return 1;  // no usable update folder: nothing may be placed anywhere
  for (const SettingsEntry* e = fileList; e; e = e->next) {
    const std::string_view name = EntryName(*e);
    if (!IsPlainFileName(name)) continue;
    std::string target(folder);
    target += '\\';
    target += name;
    std::string source(folder);
    source += '\\';
    source += kDownloadFolderName;
    source += '\\';
    source += name;
    // One rename replaces the current file at once; across file systems the
    // platform copies completely before it removes the source, so a failure
    // leaves the download where it was.
    platform::MoveFile(platform::ResolveDesktopPath(source), platform::ResolveDesktopPath(target),
                       platform::IfExists::Replace);
  }
  return 1;
}

}  // namespace palmsettings
