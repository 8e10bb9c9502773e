// Whole writes, and a writer thread that overlaps them with the caller's work.
#include "folders/container/FileWrites.h"

#include <system_error>

#include "platform/Errors.h"

namespace folders {

uint32_t WriteAll(platform::File& file, std::span<const uint8_t> bytes) {
  size_t written = 0;
  const uint32_t rc = file.Write(bytes, written);
  if (rc != 0) return rc;
  return written == bytes.size() ? 0 : platform::ERROR_DISK_FULL;
}

BackgroundWriter::BackgroundWriter(platform::File& file) : file_(file) {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread: Write does the work itself.
  }
}

BackgroundWriter::~BackgroundWriter() {
  if (!thread_.joinable()) return;
  {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

uint32_t BackgroundWriter::Write(std::span<const uint8_t> bytes) {
  if (!thread_.joinable()) {
    if (failure_ == 0) failure_ = WriteAll(file_, bytes);
    return failure_;
  }
  {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    if (failure_ != 0) return failure_;
    pending_ = bytes;
    busy_ = true;
  }
  changed_.notify_all();
  return 0;
}

uint32_t BackgroundWriter::Finish() {
  std::unique_lock lock(mutex_);
  WaitIdle(lock);
  return failure_;
}

void BackgroundWriter::WaitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return !busy_; });
}

void BackgroundWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;
    const std::span<const uint8_t> bytes = pending_;
    lock.unlock();
    const uint32_t rc = WriteAll(file_, bytes);
    lock.lock();
    if (rc != 0 && failure_ == 0) failure_ = rc;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace folders
