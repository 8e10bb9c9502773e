// Construction and destruction of the scan object.
#include "scanner/scanrun/Scanner.h"

#include "scanner/scanrun/ScanRun.h"

namespace scanner {

Scanner::Scanner()
    : pauseEvent(platform::CreateEvent(kPauseEventName, platform::EventReset::Manual,
                                       platform::EventState::Signaled)) {}

Scanner::~Scanner() {
  StopScan(*this);
  // A worker still delivering its last message may need this thread to serve it.
  JoinWorker(*this);
}

}  // namespace scanner
