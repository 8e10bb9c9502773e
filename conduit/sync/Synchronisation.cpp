// One synchronisation, step by step.
#include "conduit/sync/Synchronisation.h"

#include <string>

#include "conduit/dialogs/ConduitStrings.h"
#include "conduit/dialogs/NoticeDialog.h"
#include "conduit/dialogs/SyncActionDialog.h"
#include "conduit/pdb/ConduitLink.h"
#include "conduit/pdb/HandheldBase.h"
#include "conduit/sync/ConduitLogLines.h"
#include "conduit/sync/InstallPass.h"
#include "conduit/sync/StartDownloader.h"

namespace conduit {

namespace {

// kIncompleteSeconds: how long the notice of an incomplete fetch stays.
constexpr int32_t kIncompleteSeconds = 5;

// HandheldReader: ReadHandheldBase over the session's link, as the sync-time
// dialog asks for it.
HandheldBaseReader HandheldReader(const ConduitLink& link) {
  return [&link](uint32_t& stamp, std::string* dateText) {
    char date[kDateTextSize] = {};
    const int count = ReadHandheldBase(link, stamp, dateText ? date : nullptr);
    if (dateText && count >= 0) *dateText = date;
    return static_cast<int32_t>(count);
  };
}

bool Unregister(const SyncEnvironment& environment, SyncConduitHandle handle,
                const ConduitLink& link) {
  if (environment.sync->UnRegisterConduit(handle) == kSyncOk) return true;
  AddLogLine(link, kLogCannotUnregister);
  return false;
}

// FetchNow: "Now": the fetch in the progress dialog (or the no-address box),
// then the downloads promoted; the notice when not all of them arrived.
void FetchNow(palmsettings::PalmSettings& record, SyncEnvironment& environment) {
  {
    UpdateProgressDialog dialog(record, environment.ui.prompt(), UpdateProgressDialog::kModeFetch,
                                {}, environment.progress);
    environment.ui.Run(dialog);
  }
  if (record.PromoteDownloads() == 0) {
    NoticeDialog notice(ConduitText(record, kIdsErrorCaption), ConduitText(record, kIdsIncomplete),
                        kIncompleteSeconds);
    environment.ui.Run(notice);
  }
}

// StartIfDue: "On schedule": the downloader when an update is due and the
// control centre does not schedule the updates itself.
void StartIfDue(const palmsettings::PalmSettings& record, SyncEnvironment& environment) {
  const int64_t now = environment.now ? environment.now() : SystemTime();
  if (!UpdateIsDue(record, now) || record.NoTasksKey != 1) return;
  const uint32_t code = environment.start ? environment.start(record) : StartDownloader(record);
  if (code != 0) {
    NoticeDialog notice(kStartFailedCaption, StartFailedText(code), kStartFailedSeconds);
    environment.ui.Run(notice);
  }
}

// InstallIfNewer: the install check, and the install pass when the desktop's
// base is newer. Returns the pass's result, 0 when none ran.
int32_t InstallIfNewer(palmsettings::PalmSettings& record, SyncEnvironment& environment,
                       const ConduitLink& link, uint32_t handheldStamp) {
  if (!(handheldStamp < DesktopStamp(record))) return 0;
  UpdateProgressDialog dialog(
      record, environment.ui.prompt(), UpdateProgressDialog::kModeInstall,
      [&](palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text) {
        return RunInstallPass(link, record, bar, text);
      },
      environment.progress);
  environment.ui.Run(dialog);
  return dialog.installResult();
}

}  // namespace

int32_t Synchronise(palmsettings::PalmSettings& record, SyncEnvironment& environment,
                    ConduitProgressFn progress, const ConduitSyncProperties* properties) {
  if (progress == nullptr || properties == nullptr) return kSyncRefused;
  const ConduitLink link{environment.sync, environment.log, &environment.ui.prompt()};
  if (properties->syncType == kSyncTypeDoNothing) {
    AddLogLine(link, kLogDoNothing);
    return kSyncDone;
  }
  SyncConduitHandle handle = 0;
  if (environment.sync == nullptr || !environment.sync->loaded() ||
      environment.sync->RegisterConduit(&handle) != kSyncOk) {
    AddLogLine(link, kLogCannotRegister);
    return kSyncRefused;
  }

  if (record.Load() == palmsettings::PalmSettings::kKeyNotOpened) {
    record.CreateDefaults();
    // The record then holds what was stored (File1, File2), which the Save
    // at the end writes back rather than deleting.
    record.Load();
  }

  // The action starts "On schedule" at every synchronisation.
  int32_t action = kActionOnSchedule;
  uint32_t handheldStamp = 0;
  if (record.SyncShowDlg != 0) {
    SyncActionDialog dialog(record, HandheldReader(link));
    environment.ui.Run(dialog);
    action = dialog.action();
    handheldStamp = dialog.handheldStamp();
  } else {
    HandheldReader(link)(handheldStamp, nullptr);
  }

  if (action == kActionCancelled)
    return Unregister(environment, handle, link) ? kSyncDone : kSyncErrors;
  if (action == kActionNow)
    FetchNow(record, environment);
  else if (action == kActionOnSchedule)
    StartIfDue(record, environment);

  int32_t result = InstallIfNewer(record, environment, link, handheldStamp);
  if (!Unregister(environment, handle, link)) result = kSyncErrors;
  record.Save();
  AddLogLine(link, result == kSyncDone ? kLogOk : kLogErrors);
  return result;
}

}  // namespace conduit
