// The desktop's base stamp and the install pass.
#include "conduit/sync/InstallPass.h"

#include "conduit/pdb/BackupPurge.h"
#include "conduit/pdb/HandheldBase.h"
#include "conduit/pdb/InstallDatabase.h"
#include "conduit/pdb/PdbImage.h"
#include "platform/Text.h"
#include "update/fetch/FetchPaths.h"

namespace conduit {

std::string UpdateFilePath(const palmsettings::PalmSettings& record, std::string_view name) {
  const std::string_view folder = platform::FieldText(record.UpdateFolder);
  if (folder.empty()) return {};
  std::string path(folder);
  path += '\\';
  path += name;
  return path;
}

uint32_t DesktopStamp(const palmsettings::PalmSettings& record) {
  const std::string path = UpdateFilePath(record, kBaseFileName);
  PdbImage image;
  if (path.empty() || ReadPdbImage(path, image) != 0) return 0;
  const PdbRecord* first = FindRecord(image, 0, 0);
  // A record shorter than the stamp reads as zeros past its end, as its
  // buffer holds them.
  return first ? BaseStamp(first->data) : 0;
}

int32_t RunInstallPass(const ConduitLink& link, const palmsettings::PalmSettings& record,
                       palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text) {
  text.SetText(kInstallingText);
  int32_t result = 0;
  for (const palmsettings::SettingsEntry* entry = record.fileList; entry; entry = entry->next) {
    const std::string_view name = palmsettings::EntryName(*entry);
    const std::string path = UpdateFilePath(record, name);
    if (!update::IsPlainFileName(name) || path.empty()) {
      AddLogLine(link, kLogCannotOpenPdb);
      result = -2;
      continue;
    }
    // The file is read once for the name of its database; InstallDatabase
    // reads it again and reports a file that cannot be read.
    PdbImage image;
    ReadPdbImage(path, image);
    const std::string databaseName = image.Name();
    if (InstallDatabase(link, path.c_str(), databaseName.c_str(), &bar) != 0) result = -2;
  }
  PurgeBackupCopies(link, record);
  return result;
}

}  // namespace conduit
