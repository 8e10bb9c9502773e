// Reporting helpers shared by the walker and the run.
#include "scanner/scanrun/ScanEvents.h"

#include <chrono>
#include <thread>

namespace scanner {

void SendProgress(Scanner& scanner, uint32_t first, uint32_t second) {
  if (scanner.notifyWindow) scanner.notifyWindow->OnProgress(first, second);
}

void SetStatusText(Scanner& scanner, std::u16string_view text) {
  if (scanner.statusWindow) scanner.statusWindow->OnStatusText(text);
}

void AddResultRow(Scanner& scanner, std::u16string_view object, std::u16string_view result) {
  if (scanner.resultList) scanner.resultList->AddRow(object, result, 1);
}

void ErrorPause(const Scanner& scanner) {
  if (scanner.errorPauseMs)
    std::this_thread::sleep_for(std::chrono::milliseconds(scanner.errorPauseMs));
}

bool WaitForGo(Scanner& scanner) {
  if (scanner.stopRequested) return false;
  scanner.pauseEvent.Wait(platform::INFINITE);
  return !scanner.stopRequested;
}

}  // namespace scanner
