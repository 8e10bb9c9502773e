// One HTTP GET driven by a libcurl multi handle, pulled piece by piece (private to Internet.cpp).
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Internet.h"

namespace platform {

// InternetCancel: the cancel flag a session shares with its requests. Cancel
// sets it and wakes every transfer waiting in a poll, from any thread.
class InternetCancel {
 public:
  void Cancel();
  bool cancelled() const { return cancelled_.load(); }

  // Attach / Detach: a multi handle to wake on Cancel; Detach before the
  // handle is cleaned up, so a late Cancel never touches a freed handle.
  void Attach(CURLM* multi);
  void Detach(CURLM* multi);

 private:
  std::atomic<bool> cancelled_{false};
  std::mutex mutex_;
  std::vector<CURLM*> multis_;
};

// CurlGlobalInit: curl_global_init, once per process, thread-safely; its
// result on every call.
CURLcode CurlGlobalInit();

// InternetErrorFromCurl: the Windows internet library's number for a
// transfer's failure.
uint32_t InternetErrorFromCurl(CURLcode code);

// InternetTransfer: one GET. Data arrives through libcurl's callbacks into a
// small buffer; when it holds kHoldLimit bytes the transfer is paused until
// the reader has taken some, so a slow reader never makes it grow.
class InternetTransfer {
 public:
  static constexpr size_t kHoldLimit = 4096;

  InternetTransfer(std::shared_ptr<InternetCancel> cancel, InternetLimits limits);
  ~InternetTransfer();
  InternetTransfer(const InternetTransfer&) = delete;
  InternetTransfer& operator=(const InternetTransfer&) = delete;

  // Start: sends the request and waits for the final response's status and
  // headers. Returns 0 or an ERROR_INTERNET_* code.
  uint32_t Start(std::string_view url, const std::string& agent);

  // Read: InternetRequest::Read.
  uint32_t Read(std::span<std::byte> buffer, size_t& read);

  int status() const { return status_; }
  const std::string& statusLine() const { return statusLine_; }

 private:
  using Clock = std::chrono::steady_clock;

  uint32_t Configure(std::string_view url, const std::string& agent);
  uint32_t Pump();
  void Resume();
  size_t Buffered() const { return buffer_.size() - head_; }

  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  static int OnConnected(void* self, char*, char*, int, int);

  std::shared_ptr<InternetCancel> cancel_;
  InternetLimits limits_;
  CURLM* multi_ = nullptr;
  CURL* easy_ = nullptr;
  curl_slist* headers_ = nullptr;
  bool attached_ = false;

  std::vector<std::byte> buffer_;
  size_t head_ = 0;  // bytes of buffer_ already handed out
  bool paused_ = false;
  bool connected_ = false;
  bool headersDone_ = false;
  bool sawLocation_ = false;
  bool done_ = false;
  CURLcode doneCode_ = CURLE_OK;
  int status_ = 0;
  std::string statusLine_;
  Clock::time_point lastActivity_ = Clock::now();
};

}  // namespace platform
