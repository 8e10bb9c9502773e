// The stop event between zepscan processes.
#include "scanner/zepscan/StopRequest.h"

#include "platform/Errors.h"

namespace zepscan {

uint32_t StopRequest::Create() {
  event_ = platform::CreateEvent(kStopEventName, platform::EventReset::Manual,
                                 platform::EventState::Nonsignaled);
  if (!event_.valid()) return platform::GetLastError();
  // An existing event belongs to another scan; a stop meant for it before
  // this one began is not this scan's.
  if (platform::GetLastError() == platform::ERROR_ALREADY_EXISTS) event_.Reset();
  return 0;
}

bool StopRequest::Wait(uint32_t timeoutMs) const {
  return event_.valid() && event_.Wait(timeoutMs) == platform::WAIT_OBJECT_0;
}

uint32_t RequestStop() {
  platform::Event event = platform::OpenEvent(kStopEventName);
  if (!event.valid()) return platform::GetLastError();
  return event.Set();
}

bool ScanIsRunning() {
  return platform::OpenEvent(kStopEventName).valid();
}

}  // namespace zepscan
