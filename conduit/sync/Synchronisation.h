// OpenConduit's work: one synchronisation from registration to the log line.
#pragma once

#include <cstdint>
#include <functional>

#include "conduit/dialogs/ConduitUi.h"
#include "conduit/dialogs/UpdateProgressDialog.h"
#include "conduit/sync/DueTime.h"
#include "outside/hotsync/ConduitApi.h"
#include "outside/hslog20/HsLog20Library.h"
#include "outside/sync20/Sync20Library.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// OpenConduit's results.
inline constexpr int32_t kSyncDone = 0;
inline constexpr int32_t kSyncRefused = -1;  // no callback, no properties, or not registered
inline constexpr int32_t kSyncErrors = -2;   // not unregistered, or a database not installed

// SyncEnvironment: what a synchronisation works through besides the settings
// record; borrowed for one call.
struct SyncEnvironment {
  ConduitUi& ui;
  // sync: the sync manager library; null or unloaded counts as a failed
  // registration.
  const sync20::Sync20Library* sync = nullptr;
  // log: the HotSync log; null when it did not load (nothing is logged).
  const hslog20::HsLog20Library* log = nullptr;
  // now: the clock of the due-time check; SystemTime when empty.
  Clock now = {};
  // progress: the "Now" fetch's limits.
  ProgressOptions progress = {};
  // start: starts the downloader; StartDownloader when empty.
  std::function<uint32_t(const palmsettings::PalmSettings&)> start = {};
};

// Synchronise: OpenConduit. Without a progress callback (or sync
// properties) returns kSyncRefused at once. Sync type 6 only logs
// "configured to Do Nothing" and returns 0: no registration, no settings.
// Otherwise: registers (kSyncRefused and "Unable to register conduit" when
// that fails); loads the settings, creating the defaults when the key is
// missing and loading what they stored (so the record holds the default
// file list and the end of the run does not delete it again); runs the sync-time dialog when
// SyncShowDlg is set (else reads the handheld base and keeps "On schedule"); and then:
//  - Cancel: unregisters and returns 0 (kSyncErrors and "Unable to
//    unregister conduit" when that fails); nothing saved, no end line;
//  - Now: the fetch in the progress dialog, the downloads promoted, and the
//    5-second notice 203/202 when not all arrived;
//  - On schedule: when the due time has come and the "Tasks" subkey is
//    absent, starts the downloader (a start that fails shows the 10-second
//    notice "GetLastError() == " and the code, and the run goes on);
// and for both the install check: when the handheld's base stamp is lower
// than that of "ZEPDB.pdb" in the update folder, the install pass in the
// progress dialog. A handheld base that could not be read counts as stamp 0,
// so a newer desktop base is tried and its failure reported. Then
// unregisters, saves the settings, and logs "OK Quillmark QRX for PalmOS"
// for result 0 or "Errors - Quillmark QRX for PalmOS". Returns kSyncDone or
// kSyncErrors.
int32_t Synchronise(palmsettings::PalmSettings& record, SyncEnvironment& environment,
                    ConduitProgressFn progress, const ConduitSyncProperties* properties);

}  // namespace conduit
