// The fetch thread's loop over addresses and files.
#include "update/fetch/FetchLoop.h"

#include <string>

#include "platform/DesktopPath.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "update/fetch/FetchFile.h"
#include "update/fetch/FetchPaths.h"

namespace update {

namespace {

bool Cancelled(const FetchContext& context) {
  return context.control != nullptr && context.control->cancelled();
}

}  // namespace

int FetchLoop(palmsettings::PalmSettings& record, const FetchContext& context) {
  for (palmsettings::SettingsEntry* f = record.fileList; f; f = f->next) f->received = 0;
  const std::string_view updateFolder = platform::FieldText(record.UpdateFolder);
  const std::string folder = DownloadFolder(updateFolder);
  if (!folder.empty()) {
    // A fresh installation has neither folder yet; failures show as files
    // that cannot be created.
    platform::CreateDirectory(platform::ResolveDesktopPath(updateFolder));
    platform::CreateDirectory(platform::ResolveDesktopPath(folder));
  }
  for (const palmsettings::SettingsEntry* a = record.addressList; a; a = a->next) {
    if (Cancelled(context)) break;
    const std::string_view address = palmsettings::EntryName(*a);
    if (record.statusWindow != nullptr) record.statusWindow->SetText(address);
    for (palmsettings::SettingsEntry* f = record.fileList; f; f = f->next) {
      if (Cancelled(context)) break;
      FetchPaths paths;
      if (!FormFetchPaths(address, folder, palmsettings::EntryName(*f), paths)) continue;
      if (FetchFile(paths.source, paths.target, paths.temporary, record, context) == kFetchOk)
        f->received = 1;
    }
  }
  return 0;
}

}  // namespace update
