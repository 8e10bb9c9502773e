// Starting, cancelling and aborting a base download, and the worker that tries each address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner/updater/UpdaterState.h"

namespace scanner {

// kTempFileName: the download's temporary file inside the base folder.
inline constexpr char16_t kTempFileName[] = u"tempfile.dat";

// kCancelWaitMs: how long the worker waits on cancelEvent before each address.
inline constexpr uint32_t kCancelWaitMs = 500;

// StartDownload: from Idle only (else kWrongState): sets cancelEvent, sets
// Running and starts the worker. Collects the worker of the previous
// download first. Returns 0; when no thread can be started the state goes
// back to Idle with result kDownloadFailed and ERROR_NOT_ENOUGH_MEMORY (8)
// is returned.
int StartDownload(UpdaterState& updater);

// CancelDownload: from Running only (else kWrongState): resets cancelEvent
// and sets Cancelling. The attempt in progress runs to its end; the worker
// ends with result kDownloadCancelled before the next address. Returns 0.
int CancelDownload(UpdaterState& updater);

// AbortDownload: from Running or Cancelling (else kWrongState): ends the
// worker at once: the pause and the transfer in progress are cut short, the
// temporary file is removed and nothing replaces the base unless it already
// had. Waits for the worker (serving the observers' OnWaitForWorker) and
// joins it, so the state is Idle on return; result is kDownloadCancelled
// unless the download had completed. Called by the worker itself (from an
// observer or the prompt) it only asks and returns. Returns 0.
int AbortDownload(UpdaterState& updater);

// DownloadWorker: the worker's loop, on the calling thread: each address in
// turn, after a wait of kCancelWaitMs on cancelEvent, with DownloadOne; stops
// at kDownloadDone or kDownloadNoInternet. Stores the result (kDownloadFailed
// when no address is configured), puts the progress bar to 0 and then, as its
// last act, sets Idle.
void DownloadWorker(UpdaterState& updater);

}  // namespace scanner
