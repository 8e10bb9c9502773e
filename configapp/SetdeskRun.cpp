// The order of Setdesk's start and end.
#include "configapp/SetdeskRun.h"

#include "configapp/SetdeskStrings.h"

namespace configapp {

int RunSetdesk(palmsettings::PalmSettings& record, ModalDialog& dialog, platform::Prompt& prompt) {
  using palmsettings::PalmSettings;
  if (record.Load() == PalmSettings::kKeyNotOpened) {
    // The record is not loaded again: it already holds the defaults. Only
    // the default file list is taken over, since the record's own list is
    // empty and saving it would delete the File values just written.
    if (record.CreateDefaults() != PalmSettings::kKeyNotCreated && record.fileList == nullptr) {
      palmsettings::AppendEntry(record.fileList, palmsettings::kDefaultFile1);
      palmsettings::AppendEntry(record.fileList, palmsettings::kDefaultFile2);
    }
  }
  record.NoTasksKey = record.HasTasksKey() == 0 ? 1 : 0;
  if (dialog.DoModal() != platform::IDOK) return kSetdeskDone;
  if (record.Save() == 0) return kSetdeskDone;
  prompt.Show(kNotSavedText, SetdeskText(record, kIdsCaption),
              platform::MB_OK | platform::MB_ICONERROR);
  return kSetdeskNotSaved;
}

}  // namespace configapp
