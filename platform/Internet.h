// HTTP downloads with the behaviour of the Windows internet library: a root
// handle carrying the agent name, addresses opened without caching, error
// pages delivered like any other body, and reads that fill whole pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Errors.h"

namespace platform {

// The failures callers tell apart, numbered as the Windows internet library
// numbers them so that messages and logs read the same on both sides.
// ERROR_INTERNET_TIMEOUT (12002), ERROR_INTERNET_NAME_NOT_RESOLVED (12007) and
// ERROR_INTERNET_CANNOT_CONNECT (12029) come from Errors.h.
inline constexpr uint32_t ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr uint32_t ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr uint32_t ERROR_INTERNET_OPERATION_CANCELLED = 12017;
inline constexpr uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr uint32_t ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
inline constexpr uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr uint32_t ERROR_HTTP_REDIRECT_FAILED = 12156;
inline constexpr uint32_t ERROR_INTERNET_SECURE_FAILURE = 12175;

// InternetLimits: how long a silent peer is waited for. The defaults match the
// Windows library's; tests shorten them.
struct InternetLimits {
  uint32_t connectTimeoutMs = 60000;
  uint32_t receiveTimeoutMs = 60000;  // no byte arriving for this long
};

class InternetCancel;
class InternetRequest;

// InternetSession: the root handle (InternetOpen). It holds the agent name and
// the limits; addresses opened through it share them. Thread-compatible: one
// thread uses a session and its requests, while Cancel() may be called from
// any thread at any time.
class InternetSession {
 public:
  // Open: a root handle sending `agent` as the User-Agent. Returns 0 and sets
  // `out`, or a Win32 code (8 when the client library cannot start).
  static uint32_t Open(std::string_view agent, std::unique_ptr<InternetSession>& out,
                       InternetLimits limits = {});

  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  // OpenUrl: sends a GET for `url` (http or https) that neither reads from nor
  // writes to any cache, and waits until the response status and headers have
  // arrived. Any status, 404 and 500 included, counts as opened: its page is
  // the body. Returns 0 and sets `out`, or an ERROR_INTERNET_* code (invalid
  // address, unknown scheme, name not resolved, cannot connect, time-out,
  // cancelled, invalid response).
  uint32_t OpenUrl(std::string_view url, std::unique_ptr<InternetRequest>& out);

  // Cancel: ends every transfer of this session promptly, from any thread:
  // a pending OpenUrl or Read returns ERROR_INTERNET_OPERATION_CANCELLED
  // within a few hundred milliseconds, and so does every later call.
  void Cancel();

  const std::string& agent() const { return agent_; }

 private:
  InternetSession(std::string agent, InternetLimits limits);

  std::string agent_;
  InternetLimits limits_;
  std::shared_ptr<InternetCancel> cancel_;
};

// InternetRequest: one opened address (InternetOpenUrl). Destroying it closes
// the connection.
class InternetRequest {
 public:
  virtual ~InternetRequest() = default;

  // Read: fills `buffer` completely unless the body ends first, as
  // InternetReadFile does; `read` gets the count, 0 once the body has ended.
  // Returns 0, or an ERROR_INTERNET_* code when the connection broke off
  // (then `read` holds the bytes that did arrive and the body is incomplete),
  // timed out or was cancelled.
  virtual uint32_t Read(std::span<std::byte> buffer, std::size_t& read) = 0;

  // StatusCode: the HTTP status of the response (200, 404, ...).
  virtual int StatusCode() const = 0;

  // LastResponseInfo: the server's status line without its line end, cut to
  // at most 128 characters (InternetGetLastResponseInfo).
  virtual std::string LastResponseInfo() const = 0;
};

}  // namespace platform
