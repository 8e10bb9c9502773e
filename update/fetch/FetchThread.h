// A fetch thread: FetchLoop on a thread of its own, which others can wait for, stop and pause.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "palmsettings/PalmSettings.h"
#include "update/fetch/FetchContext.h"
#include "update/fetch/FetchControl.h"

namespace update {

// FetchThread: owns the thread and its control. Start belongs to the owner;
// Finish (and the destructor) to one thread at a time; WaitEnded, ended and
// control() may be used from any thread while the object lives.
class FetchThread {
 public:
  FetchThread() = default;
  FetchThread(const FetchThread&) = delete;
  FetchThread& operator=(const FetchThread&) = delete;
  // ~FetchThread: Finish.
  ~FetchThread();

  // Start: runs FetchLoop(record, context) on a new thread, with this
  // object's control in place of the context's. Starting twice is refused
  // (false). The record and what the context points to must outlive the
  // thread.
  bool Start(palmsettings::PalmSettings& record, const FetchContext& context);

  // WaitEnded: waits up to `milliseconds` for the loop to return; true when
  // it has.
  bool WaitEnded(uint32_t milliseconds);
  bool ended() const;
  bool started() const { return thread_.joinable(); }

  // Finish: cancels a loop still running and joins the thread, so its
  // temporary file is gone and its marks are final. Harmless when not
  // started.
  void Finish();

  FetchControl& control() { return control_; }

 private:
  FetchControl control_;
  mutable std::mutex mutex_;
  std::condition_variable endedChanged_;
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace update
