// The one scan object: options, counters, times, the worker and its pause event.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/NamedEvent.h"
#include "platform/Prompt.h"
#include "scanner/scanrun/DetectionDialog.h"
#include "scanner/scanrun/ResultList.h"
#include "scanner/scanrun/ScanObserver.h"
#include "scanner/scanrun/SystemTime.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// Scan option bits of Scanner::flags.
inline constexpr uint32_t kScanAllFiles = 0x1;
inline constexpr uint32_t kScanOnlyPrograms = 0x2;
inline constexpr uint32_t kScanUserMask = 0x4;
inline constexpr uint32_t kScanExcludeMask = 0x8;
inline constexpr uint32_t kScanRomFiles = 0x10;
inline constexpr uint32_t kScanCards = 0x20;
inline constexpr uint32_t kScanDatabases = 0x40;
inline constexpr uint32_t kCreateReport = 0x100;
inline constexpr uint32_t kAppendReport = 0x200;
inline constexpr uint32_t kCopyToInfected = 0x400;
inline constexpr uint32_t kDeleteInfected = 0x1000;
inline constexpr uint32_t kAskUser = 0x2000;
inline constexpr uint32_t kDefaultScanFlags = 0x23E1;

// ScanState: the values of Scanner::state.
enum ScanState : uint32_t { kIdle = 1, kRunning = 2, kPaused = 3, kStopping = 4 };

// kPauseEventName: the event any process may reset to pause a running scan.
inline constexpr char kPauseEventName[] = "ZEPSCANPAUSE";

// kScanStopped: what the walk returns when a stop ended it at a wait point.
inline constexpr int kScanStopped = -2;

inline constexpr size_t kPathChars = 260;
inline constexpr size_t kMaskChars = 128;

// Scanner: the program's one scan object. Options and paths are set before a
// run and not changed while one is active. The counters are written by the
// thread that runs the scan; another thread reads them only inside an
// observer call. Destroying it stops a run that is still active.
struct Scanner {
  Scanner();
  ~Scanner();
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  int32_t files = 0;         // files scanned (opened and searched)
  int32_t folders = 0;       // folders walked
  int32_t dbases = 0;        // databases visited
  int32_t cards = 0;         // card and network folders entered
  int32_t virusesFound = 0;  // infected objects found
  int32_t errors = 0;        // objects that could not be opened, copied or deleted
  int32_t deleted = 0;       // files and records deleted
  int32_t moved = 0;         // files and records copied to the Infected folder
  SystemTime startTime;
  SystemTime finishTime;
  std::thread workerThread;
  platform::Event pauseEvent;  // "ZEPSCANPAUSE", manual reset, created signalled
  std::atomic<uint32_t> state{kIdle};
  ScanObserver* notifyWindow = nullptr;  // progress and state messages; borrowed
  ScanObserver* statusWindow = nullptr;  // the status text; borrowed
  ResultList* resultList = nullptr;      // borrowed; none: no rows and no report
  uint32_t flags = kDefaultScanFlags;
  char16_t szBasePath[kPathChars] = {};
  char16_t reportPath[kPathChars] = u"/My Documents/ZEPReport.txt";
  char16_t infectedPath[kPathChars] = {};
  char16_t userMask[kMaskChars] = {};
  char16_t excludeMask[kMaskChars] = {};

  // What the port adds: the loaded base (borrowed, read only), the dialogs
  // (borrowed; no detection dialog keeps the configured actions, no prompt
  // answers questions with No), the stop request, and the two waits, which
  // tests shorten.
  const VirusBase* base = nullptr;
  DetectionDialog* detectionDialog = nullptr;
  platform::Prompt* prompt = nullptr;
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> finishClaimed{false};  // the run's end is being done by someone
  std::atomic<bool> workerEnded{true};     // the worker has returned and only awaits its join
  uint32_t errorPauseMs = 100;  // sleep after every error, so errors do not flood the list
  uint32_t pauseWaitMs = 500;   // time given to the worker to reach its wait point
};

}  // namespace scanner
