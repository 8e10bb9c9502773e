// The stop event between zepscan processes.
#include "scanner/zepscan/StopRequest.h"

#include <utility>

#include "platform/Errors.h"

namespace zepscan {

uint32_t StopRequest::Create() {
  platform::Event event = platform::CreateEvent(kStopEventName, platform::EventReset::Manual,
                                                platform::EventState::Nonsignaled);
  if (!event.valid()) return platform::GetLastError();
  // An existing event is held by a live scan (the last holder's end removes
  // it); sharing it would let one stop request end both scans, and resetting
  // it would lose a stop meant for the other.
  if (platform::GetLastError() == platform::ERROR_ALREADY_EXISTS)
    return platform::ERROR_ALREADY_EXISTS;
  event_ = std::move(event);
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
