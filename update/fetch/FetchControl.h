// Stopping and pausing a running fetch from another thread, without killing or suspending it.
#pragma once

#include <condition_variable>
#include <mutex>

namespace platform {
class InternetSession;
}

namespace update {

// FetchControl: the cooperative stand-in for terminating and suspending the
// fetch thread. Cancel ends the transfer under way at once (through its
// internet session) and makes every later step give up; Pause holds the
// fetch at its next read until Resume or Cancel. Every member may be called
// from any thread.
class FetchControl {
 public:
  FetchControl() = default;
  FetchControl(const FetchControl&) = delete;
  FetchControl& operator=(const FetchControl&) = delete;

  // Cancel: stops the fetch for good; releases a paused fetch.
  void Cancel();
  bool cancelled() const;

  // Pause / Resume: close and open the gate that the fetch passes between
  // reads. Pausing a fetch that is in the middle of a read takes effect
  // after that read.
  void Pause();
  void Resume();
  bool paused() const;

  // PassGate: waits while paused; returns false once cancelled.
  bool PassGate();

  // Attach / Detach: the session of the transfer under way, so that Cancel
  // can cancel it; Detach before the session goes. Attaching after Cancel
  // cancels the session at once.
  void Attach(platform::InternetSession* session);
  void Detach();

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool cancelled_ = false;
  bool paused_ = false;
  platform::InternetSession* session_ = nullptr;
};

}  // namespace update
