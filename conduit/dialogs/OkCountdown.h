// The self-closing countdown of a notice: "OK = " and the seconds left on the OK button.
#pragma once

#include <cstdint>
#include <string>

namespace conduit {

// kCountdownPeriodMs: one tick of a countdown's timer.
inline constexpr uint32_t kCountdownPeriodMs = 1000;

// OkCountdown: the seconds a dialog waits before it closes by itself, and
// the OK button's text that shows them. A dialog starts it when it opens,
// calls Tick once per period while it runs, and stops it when the user
// takes over.
class OkCountdown {
 public:
  // Start: runs from `seconds`. A start below 1 counts as 1: such a value
  // would never reach the closing tick and would count on below zero.
  void Start(int32_t seconds);

  // Tick: one period has passed. Returns true when the countdown has run
  // out (it was at 1), and the dialog closes; otherwise the seconds go down
  // by one. Does nothing and returns false once stopped.
  bool Tick();

  // Stop: the user took over; the button reads "OK" from now on.
  void Stop() { running_ = false; }

  bool running() const { return running_; }
  int32_t seconds() const { return seconds_; }

  // ButtonText: "OK = " and the seconds left while running, else "OK".
  std::string ButtonText() const;

 private:
  int32_t seconds_ = 0;
  bool running_ = false;
};

}  // namespace conduit
