// Whole writes to an open file, in the caller's thread or behind it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "platform/File.h"

namespace folders {

// WriteAll: 0 when every byte was written, else the platform's code (a short
// write without one counts as a full disk).
uint32_t WriteAll(platform::File& file, std::span<const uint8_t> bytes);

// BackgroundWriter: writes buffers to a file on a thread of its own, one at a
// time and in order, so that the caller can fill the next buffer meanwhile.
// When no thread can be started, each write is done in the caller's thread.
class BackgroundWriter {
 public:
  explicit BackgroundWriter(platform::File& file);
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;
  // Waits for the write in flight.
  ~BackgroundWriter();

  // Write: waits for the write before, then starts this one. The bytes must
  // stay untouched until the next Write or Finish returns. Returns the first
  // failure's code so far (and then starts nothing), or 0.
  uint32_t Write(std::span<const uint8_t> bytes);

  // Finish: waits for the write in flight; the first failure's code, or 0.
  uint32_t Finish();

 private:
  void Run();
  void WaitIdle(std::unique_lock<std::mutex>& lock);

  platform::File& file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::span<const uint8_t> pending_;
  bool busy_ = false;
  bool stopping_ = false;
  uint32_t failure_ = 0;
  std::thread thread_;  // last: started once the members above exist
};

}  // namespace folders
