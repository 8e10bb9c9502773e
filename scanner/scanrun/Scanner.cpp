// Construction and destruction of the scan object.
#include "scanner/scanrun/Scanner.h"

#include "scanner/scanrun/ScanRun.h"

namespace scanner {

Scanner::Scanner()
    : pauseEvent(platform::CreateEvent(kPauseEventName, platform::EventReset::Manual,
                                       platform::EventState::Signaled)) {}

Scanner::~Scanner() {
  StopScan(*this);
  if (workerThread.joinable()) workerThread.join();
}

}  // namespace scanner
