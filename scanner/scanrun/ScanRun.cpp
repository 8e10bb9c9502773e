// The run's state machine and its worker thread.
#include "scanner/scanrun/ScanRun.h"

#include <chrono>
#include <thread>

#include "platform/Power.h"
#include "scanner/scanrun/Report.h"
#include "scanner/scanrun/ScanEvents.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/walker/ScanDatabases.h"
#include "scanner/walker/WalkFiles.h"

namespace scanner {
namespace {

constexpr uint8_t kLowBatteryPercent = 20;
// How often a thread that waits for the worker serves the observers.
constexpr uint32_t kServeIntervalMs = 2;

// The scanner whose worker runs on this thread; tells a stop asked from
// inside the run (an observer, the detection dialog) from one asked from
// outside, without reading the thread handle that the starter may still be
// storing.
thread_local const Scanner* runningHere = nullptr;

void Sleep(uint32_t ms) {
  if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// FinishRun: the end of a run, done once by whichever of the worker and the
// stopping thread claims it.
void FinishRun(Scanner& scanner) {
  scanner.finishTime = GetLocalTime();
  AddResultRow(scanner, ScannerText(kMsgFinishedAt), FormatScanTime(scanner.finishTime));
  WriteReport(scanner);
  // A pause that came in while the end was being written finds no wait point
  // left; the reset event would freeze the next run before its first file.
  if (scanner.state.exchange(kIdle) == kPaused) scanner.pauseEvent.Set();
  if (scanner.notifyWindow) scanner.notifyWindow->OnState(kIdle, kRunning);
}

// WaitServing: waits until done() holds, meanwhile letting a view that runs
// on this thread handle the worker's pending calls.
template <typename Done>
void WaitServing(Scanner& scanner, Done done) {
  while (!done()) {
    if (scanner.notifyWindow) scanner.notifyWindow->OnWaitForWorker();
    if (scanner.statusWindow && scanner.statusWindow != scanner.notifyWindow)
      scanner.statusWindow->OnWaitForWorker();
    // Another process may reset the event between the stop's set and the
    // worker's wake-up; setting it again holds up nothing, since a stopped
    // run has no pause left to keep.
    if (scanner.stopRequested) scanner.pauseEvent.Set();
    Sleep(kServeIntervalMs);
  }
}

void Worker(Scanner& scanner) {
  runningHere = &scanner;
  // StartScan has taken Running already; a stop may even have followed.
  if (scanner.notifyWindow) scanner.notifyWindow->OnState(kRunning, kIdle);
  // The results page empties its list when a run starts; doing it here keeps
  // every front-end's report to this run's rows.
  if (scanner.resultList) scanner.resultList->Clear();
  scanner.files = scanner.folders = scanner.dbases = scanner.cards = 0;
  scanner.virusesFound = scanner.errors = scanner.deleted = scanner.moved = 0;
  scanner.startTime = GetLocalTime();
  AddResultRow(scanner, ScannerText(kMsgStartedAt), FormatScanTime(scanner.startTime));

  if (WalkFiles(scanner) != kScanStopped && (scanner.flags & kScanDatabases))
    ScanDatabases(scanner);

  if (!scanner.finishClaimed.exchange(true)) FinishRun(scanner);
  runningHere = nullptr;
  scanner.workerEnded = true;
}

}  // namespace

int StartScan(Scanner& scanner) {
  if (scanner.state != kIdle) return -1;
  const uint8_t battery = platform::BatteryPercent();
  if (battery != platform::BATTERY_PERCENTAGE_UNKNOWN && battery < kLowBatteryPercent) {
    const int answer =
        scanner.prompt ? scanner.prompt->Show(ScannerText(kMsgLowBattery), ScannerText(kMsgCaption),
                                              platform::MB_YESNO | platform::MB_ICONWARNING)
                       : platform::IDNO;
    if (answer != platform::IDYES) return -1;
  }
  // A previous worker that is still delivering its last state message may be
  // waiting for this very thread (a view that handles messages on it), so
  // only a worker that has ended is joined.
  if (scanner.workerThread.joinable()) {
    if (!scanner.workerEnded) return -1;
    scanner.workerThread.join();
  }
  // Running is taken here, before the thread exists, so that a second start
  // cannot slip in while the worker is on its way.
  uint32_t expected = kIdle;
  if (!scanner.state.compare_exchange_strong(expected, kRunning)) return -1;
  scanner.stopRequested = false;
  scanner.finishClaimed = false;
  scanner.workerEnded = false;
  scanner.workerThread = std::thread(Worker, std::ref(scanner));
  return 0;
}

int PauseScan(Scanner& scanner) {
  if (scanner.state != kRunning) return 0;
  scanner.pauseEvent.Reset();
  Sleep(scanner.pauseWaitMs);
  uint32_t expected = kRunning;
  if (!scanner.state.compare_exchange_strong(expected, kPaused)) {
    // The run ended (or is being stopped) meanwhile; a reset event would
    // freeze the next run before its first file.
    if (expected == kIdle) scanner.pauseEvent.Set();
    return 0;
  }
  if (scanner.notifyWindow) scanner.notifyWindow->OnState(kPaused, kRunning);
  return 1;
}

int ResumeScan(Scanner& scanner) {
  uint32_t expected = kPaused;
  if (!scanner.state.compare_exchange_strong(expected, kRunning)) return 0;
  scanner.pauseEvent.Set();
  if (scanner.notifyWindow) scanner.notifyWindow->OnState(kRunning, kPaused);
  return 1;
}

int StopScan(Scanner& scanner) {
  uint32_t previous = scanner.state;
  do {
    if (previous == kIdle) return 0;
    if (previous == kStopping) {
      // Another stop is under way; from outside the worker, return only
      // once the run has ended, as a stop does.
      if (runningHere != &scanner)
        WaitServing(scanner, [&] { return scanner.state == kIdle && scanner.workerEnded; });
      return 1;
    }
  } while (!scanner.state.compare_exchange_weak(previous, kStopping));

  if (runningHere == &scanner) {
    // Asked from the worker itself: it sees the request at its next wait
    // point and finishes the run on its way out.
    scanner.stopRequested = true;
    scanner.pauseEvent.Set();
    return 1;
  }
  scanner.pauseEvent.Reset();
  Sleep(scanner.pauseWaitMs);
  scanner.stopRequested = true;
  const bool finishHere = !scanner.finishClaimed.exchange(true);
  scanner.pauseEvent.Set();
  JoinWorker(scanner);
  if (finishHere) FinishRun(scanner);
  return 1;
}

void JoinWorker(Scanner& scanner) {
  if (runningHere == &scanner || !scanner.workerThread.joinable()) return;
  WaitServing(scanner, [&] { return scanner.workerEnded.load(); });
  scanner.workerThread.join();
}

}  // namespace scanner
