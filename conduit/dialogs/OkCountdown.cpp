// The countdown's ticks and its button text.
#include "conduit/dialogs/OkCountdown.h"

namespace conduit {

void OkCountdown::Start(int32_t seconds) {
  seconds_ = seconds < 1 ? 1 : seconds;
  running_ = true;
}

bool OkCountdown::Tick() {
  if (!running_) return false;
  if (seconds_ <= 1) {
    running_ = false;
    return true;
  }
  --seconds_;
  return false;
}

std::string OkCountdown::ButtonText() const {
  if (!running_) return "OK";
  return "OK = " + std::to_string(seconds_);
}

}  // namespace conduit
