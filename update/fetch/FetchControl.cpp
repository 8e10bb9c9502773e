// The cancel flag and pause gate of a fetch.
#include "update/fetch/FetchControl.h"

#include "platform/Internet.h"

namespace update {

void FetchControl::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  cancelled_ = true;
  if (session_ != nullptr) session_->Cancel();
  changed_.notify_all();
}

bool FetchControl::cancelled() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelled_;
}

void FetchControl::Pause() {
  std::lock_guard<std::mutex> lock(mutex_);
  paused_ = true;
}

void FetchControl::Resume() {
  std::lock_guard<std::mutex> lock(mutex_);
  paused_ = false;
  changed_.notify_all();
}

bool FetchControl::paused() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return paused_;
}

bool FetchControl::PassGate() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return cancelled_ || !paused_; });
  return !cancelled_;
}

void FetchControl::Attach(platform::InternetSession* session) {
  std::lock_guard<std::mutex> lock(mutex_);
  session_ = session;
  if (cancelled_ && session_ != nullptr) session_->Cancel();
}

void FetchControl::Detach() {
  std::lock_guard<std::mutex> lock(mutex_);
  session_ = nullptr;
}

}  // namespace update
