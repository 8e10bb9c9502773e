// What the scan run tells its window: progress, state changes and the object being scanned.
#pragma once

#include <cstdint>
#include <string_view>

namespace scanner {

// Object kinds and events of a progress message; the first parameter is
// (kind << 16) | event.
enum ProgressKind : uint32_t { kKindFile = 1, kKindDatabase = 2, kKindCard = 3, kKindFolder = 5 };
enum ProgressEvent : uint32_t { kEventVisited = 1, kEventHandled = 2, kEventError = 0x63 };

constexpr uint32_t ProgressCode(ProgressKind kind, ProgressEvent event) {
  return (uint32_t{kind} << 16) | event;
}

inline constexpr uint32_t kProgressFolder = ProgressCode(kKindFolder, kEventVisited);     // 0x50001
inline constexpr uint32_t kProgressCard = ProgressCode(kKindCard, kEventVisited);         // 0x30001
inline constexpr uint32_t kProgressFile = ProgressCode(kKindFile, kEventVisited);         // 0x10001
inline constexpr uint32_t kProgressFileError = ProgressCode(kKindFile, kEventError);      // 0x10063
inline constexpr uint32_t kProgressFileHandled = ProgressCode(kKindFile, kEventHandled);  // 0x10002
inline constexpr uint32_t kProgressDatabase =
    ProgressCode(kKindDatabase, kEventVisited);  // 0x20001
inline constexpr uint32_t kProgressDatabaseError = ProgressCode(kKindDatabase, kEventError);
inline constexpr uint32_t kProgressRecordHandled = ProgressCode(kKindDatabase, kEventHandled);

// ScanObserver: the window side of a run. Every call comes synchronously
// from the thread that runs the scan (the worker, or the thread that stops
// it), so the counters of the Scanner may be read inside a call; a view on
// another thread must block the caller until it has handled the call, and
// handle such calls in OnWaitForWorker too.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;

  // OnProgress: the progress message: `first` is (kind << 16) | event,
  // `second` an error code or 0.
  virtual void OnProgress(uint32_t first, uint32_t second) = 0;

  // OnState: the state message with the new and the previous state.
  virtual void OnState(uint32_t newState, uint32_t oldState) = 0;

  // OnStatusText: the path or database name now being scanned ("" clears).
  virtual void OnStatusText(std::u16string_view text) = 0;

  // OnWaitForWorker: called again and again on a thread that waits for the
  // worker to end (StopScan, the Scanner's destruction). A view that hands
  // the worker's calls to that very thread serves them here (processes its
  // pending events); otherwise the worker, blocked in such a call, could
  // never end. By default nothing.
  virtual void OnWaitForWorker() {}
};

}  // namespace scanner
