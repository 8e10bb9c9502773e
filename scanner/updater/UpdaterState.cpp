// The state of one base download; its end never leaves a worker behind.
#include "scanner/updater/UpdaterState.h"

#include "scanner/updater/Download.h"

namespace scanner {

UpdaterState::UpdaterState()
    : cancelEvent(
          platform::CreateEvent(platform::EventReset::Manual, platform::EventState::Signaled)),
      abortEvent(
          platform::CreateEvent(platform::EventReset::Manual, platform::EventState::Nonsignaled)) {}

UpdaterState::~UpdaterState() {
  AbortDownload(*this);
  if (workerThread.joinable()) workerThread.join();
}

}  // namespace scanner
