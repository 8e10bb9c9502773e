// The state of one base download: addresses, worker, outcome, and what it reports to its window.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/Internet.h"
#include "platform/NamedEvent.h"
#include "platform/Prompt.h"

namespace scanner {

// States of UpdaterState::state.
inline constexpr int32_t kUpdaterIdle = 1;
inline constexpr int32_t kUpdaterRunning = 2;
inline constexpr int32_t kUpdaterCancelling = 3;

// Results of a download (UpdaterState::result, DownloadOne).
inline constexpr int32_t kDownloadDone = 0;          // downloaded, verified and put in place
inline constexpr int32_t kDownloadNoInternet = 1;    // the Internet handle could not be opened
inline constexpr int32_t kDownloadFailed = 2;        // address, write, page instead of a file
inline constexpr int32_t kDownloadCancelled = 3;     // cancelled or aborted
inline constexpr int32_t kDownloadBadSignature = 5;  // "Signature INVALID"

// kWrongState: what StartDownload, CancelDownload and AbortDownload return
// from a state they do not start from.
inline constexpr int kWrongState = 4;

inline constexpr size_t kMaxUrls = 10;
inline constexpr size_t kUrlChars = 260;
inline constexpr size_t kUpdaterPathChars = 260;

// kDefaultPauseMs: the wait between opening an address and reading it.
inline constexpr uint32_t kDefaultPauseMs = 5000;

// UpdaterObserver: the status text and the progress bar of the download
// dialog. Calls come synchronously from the download worker; a view on
// another thread must block the caller until it has handled the call, and
// handle such calls in OnWaitForWorker too.
class UpdaterObserver {
 public:
  virtual ~UpdaterObserver() = default;

  // OnStatusText: the address being tried.
  virtual void OnStatusText(std::u16string_view text) = 0;

  // OnProgressRange / OnProgressAdvance / OnProgressPos: the bar's range,
  // a step forward (clamped to the range by the bar) and a new position.
  virtual void OnProgressRange(int low, int high) = 0;
  virtual void OnProgressAdvance(int delta) = 0;
  virtual void OnProgressPos(int pos) = 0;

  // OnWaitForWorker: called again and again on a thread that waits for the
  // worker to end (AbortDownload, destruction). A view that hands the
  // worker's calls to that very thread serves them here. By default nothing.
  virtual void OnWaitForWorker() {}
};

// UpdaterState: one download (one per download dialog). The addresses and
// paths are set while Idle and not changed while a download runs; state and
// result may be read from any thread. Destroying it aborts a download that
// still runs and joins the worker.
struct UpdaterState {
  UpdaterState();
  ~UpdaterState();
  UpdaterState(const UpdaterState&) = delete;
  UpdaterState& operator=(const UpdaterState&) = delete;

  platform::Event cancelEvent;  // manual reset, unnamed, created signalled; reset = stop
  std::thread workerThread;
  std::atomic<int32_t> state{kUpdaterIdle};
  std::atomic<int32_t> result{kDownloadDone};
  char16_t urls[kMaxUrls][kUrlChars] = {};
  int32_t urlCount = 0;
  uint32_t frequency = 3;
  char16_t basesFolder[kUpdaterPathChars] = {};
  char16_t fileName[kUpdaterPathChars] = {};
  UpdaterObserver* statusWindow = nullptr;    // borrowed; none: not shown
  UpdaterObserver* progressWindow = nullptr;  // borrowed; none: not shown

  // What the port adds: the prompt for "Signature INVALID" (borrowed; none:
  // not shown), the pause and the network limits (tests shorten them), and
  // what AbortDownload needs to end the worker at once.
  platform::Prompt* prompt = nullptr;
  uint32_t pauseMs = kDefaultPauseMs;
  platform::InternetLimits limits;

  std::mutex mutex;                              // state changes and `session`
  platform::InternetSession* session = nullptr;  // the worker's, while it has one
  std::atomic<bool> abortRequested{false};
  platform::Event abortEvent;  // manual reset, set by AbortDownload: ends the pause
  std::atomic<bool> workerEnded{true};
};

}  // namespace scanner
