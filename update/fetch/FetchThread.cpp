// Starting, waiting for and ending a fetch thread.
#include "update/fetch/FetchThread.h"

#include <chrono>

#include "update/fetch/FetchLoop.h"

namespace update {

FetchThread::~FetchThread() {
  Finish();
}

bool FetchThread::Start(palmsettings::PalmSettings& record, const FetchContext& context) {
  if (thread_.joinable()) return false;
  FetchContext own = context;
  own.control = &control_;
  thread_ = std::thread([this, &record, own] {
    FetchLoop(record, own);
    std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    endedChanged_.notify_all();
  });
  return true;
}

bool FetchThread::WaitEnded(uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return endedChanged_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [this] { return ended_; });
}

bool FetchThread::ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void FetchThread::Finish() {
  if (!thread_.joinable()) return;
  if (!ended()) control_.Cancel();
  thread_.join();
}

}  // namespace update
