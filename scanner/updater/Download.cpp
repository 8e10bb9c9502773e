// Starting, cancelling and aborting a base download, and the worker that tries each address.
#include "scanner/updater/Download.h"

#include <chrono>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Text.h"
#include "scanner/updater/DownloadOne.h"

namespace scanner {
namespace {

constexpr auto kWorkerPoll = std::chrono::milliseconds(10);

// Finish: the worker's end: the result, the bar back to 0, then Idle, after
// which the worker touches nothing that a closing dialog owns.
void Finish(UpdaterState& updater, int32_t result) {
  if (updater.progressWindow) updater.progressWindow->OnProgressPos(0);
  std::lock_guard<std::mutex> lock(updater.mutex);
  updater.result = result;
  updater.state = kUpdaterIdle;
}

// WaitForWorker: waits until the worker has returned, serving the observers
// meanwhile, and joins it.
void WaitForWorker(UpdaterState& updater) {
  while (!updater.workerEnded) {
    if (updater.statusWindow) updater.statusWindow->OnWaitForWorker();
    if (updater.progressWindow && updater.progressWindow != updater.statusWindow)
      updater.progressWindow->OnWaitForWorker();
    std::this_thread::sleep_for(kWorkerPoll);
  }
  // Under the lock, so that two waiting threads do not both join; the worker
  // needs the lock no more once it has ended.
  std::lock_guard<std::mutex> lock(updater.mutex);
  if (updater.workerThread.joinable()) updater.workerThread.join();
}

}  // namespace

int StartDownload(UpdaterState& updater) {
  std::lock_guard<std::mutex> lock(updater.mutex);
  if (updater.state != kUpdaterIdle) return kWrongState;
  // The previous worker set Idle as its last act and only returns now.
  if (updater.workerThread.joinable()) updater.workerThread.join();
  updater.abortRequested = false;
  updater.abortEvent.Reset();
  updater.cancelEvent.Set();
  // Running before the thread exists: a worker that ends at once must find
  // it so, or its Idle would be overwritten and the dialog never close.
  updater.state = kUpdaterRunning;
  updater.workerEnded = false;
  try {
    updater.workerThread = std::thread([&updater] {
      DownloadWorker(updater);
      updater.workerEnded = true;
    });
  } catch (const std::system_error&) {
    updater.workerEnded = true;
    updater.result = kDownloadFailed;
    updater.state = kUpdaterIdle;
    return static_cast<int>(platform::ERROR_NOT_ENOUGH_MEMORY);
  }
  return 0;
}

int CancelDownload(UpdaterState& updater) {
  std::lock_guard<std::mutex> lock(updater.mutex);
  if (updater.state != kUpdaterRunning) return kWrongState;
  updater.cancelEvent.Reset();
  updater.state = kUpdaterCancelling;
  return 0;
}

int AbortDownload(UpdaterState& updater) {
  {
    std::lock_guard<std::mutex> lock(updater.mutex);
    const int32_t state = updater.state;
    if (state != kUpdaterRunning && state != kUpdaterCancelling) return kWrongState;
    updater.abortRequested = true;
    updater.abortEvent.Set();
    // Wakes the wait before the next address; the abort flag decides.
    updater.cancelEvent.Set();
    if (updater.session) updater.session->Cancel();
  }
  if (updater.workerThread.get_id() == std::this_thread::get_id()) return 0;
  WaitForWorker(updater);
  std::lock_guard<std::mutex> lock(updater.mutex);
  updater.state = kUpdaterIdle;
  return 0;
}

void DownloadWorker(UpdaterState& updater) {
  {
    // Set by StartDownload already; a direct call starts from Idle.
    std::lock_guard<std::mutex> lock(updater.mutex);
    if (updater.state == kUpdaterIdle) updater.state = kUpdaterRunning;
  }
  const std::u16string folder(platform::FieldText(updater.basesFolder));
  const std::u16string file(platform::FieldText(updater.fileName));
  const std::u16string temp = folder + kTempFileName;

  // Without an address nothing was downloaded, which is no success.
  int32_t result = updater.urlCount > 0 ? kDownloadDone : kDownloadFailed;
  for (int32_t i = 0; i < updater.urlCount && i < static_cast<int32_t>(kMaxUrls); ++i) {
    if (updater.cancelEvent.Wait(kCancelWaitMs) != platform::WAIT_OBJECT_0 ||
        updater.abortRequested) {
      result = kDownloadCancelled;
      break;
    }
    const std::u16string url(platform::FieldText(updater.urls[i]));
    if (updater.statusWindow) updater.statusWindow->OnStatusText(url);
    result = DownloadOne(updater, url + file, folder + file, temp);
    if (result == kDownloadDone || result == kDownloadNoInternet) break;
    if (updater.abortRequested) {
      result = kDownloadCancelled;
      break;
    }
  }
  Finish(updater, result);
}

}  // namespace scanner
