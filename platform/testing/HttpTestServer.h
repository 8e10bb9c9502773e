// Test support: a real HTTP server on 127.0.0.1 with scripted replies and a record of requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::testing {

// HttpReply: how the server answers GET on one path. Built in one
// expression: HttpReply("body", 404).Pieces(500, 200).DropAfter(1500).
struct HttpReply {
  static constexpr size_t kWhole = static_cast<size_t>(-1);

  explicit HttpReply(std::string body = {}, int status = 200)
      : status(status), body(std::move(body)) {}

  HttpReply& ContentType(std::string type) {
    contentType = std::move(type);
    return *this;
  }
  HttpReply& Location(std::string target) {
    location = std::move(target);
    return *this;
  }
  HttpReply& HeaderDelay(uint32_t ms) {
    headerDelayMs = ms;
    return *this;
  }
  HttpReply& Pieces(size_t bytes, uint32_t delayMs = 0) {
    pieceBytes = bytes;
    pieceDelayMs = delayMs;
    return *this;
  }
  HttpReply& DropAfter(size_t bytes) {
    dropAfter = bytes;
    return *this;
  }

  int status = 200;
  std::string body;
  std::string contentType = "application/octet-stream";
  std::string location;        // sent as "Location" when not empty (redirects)
  uint32_t headerDelayMs = 0;  // silence before the status line
  size_t pieceBytes = 0;       // 0: the body in one go; else pieces of this size...
  uint32_t pieceDelayMs = 0;   // ...with this pause before every piece but the first
  size_t dropAfter = kWhole;   // the whole length is announced, this many bytes are sent,
                               // then the connection is dropped
};

// ReceivedRequest: one request as the server saw it.
struct ReceivedRequest {
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;

  // Header: the value of a header (name compared without regard to case), ""
  // when absent.
  std::string Header(std::string_view name) const;
};

// HttpTestServer: listens on a free port of 127.0.0.1 from construction until
// destruction, answering from other threads. Paths without a reply get 404
// with the body "Not Found". Delays and slow bodies end early when the
// server is destroyed. All members are safe from any thread.
class HttpTestServer {
 public:
  HttpTestServer();
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  uint16_t port() const;

  // Url: "http://127.0.0.1:PORT" followed by `path` ("/a/b").
  std::string Url(std::string_view path) const;

  // Serve: the reply for GET `path` from now on (replacing an earlier one).
  void Serve(const std::string& path, HttpReply reply);

  // Requests: every request received so far, oldest first.
  std::vector<ReceivedRequest> Requests() const;

  // UnusedPort: a port of 127.0.0.1 where nothing listens (it was free a
  // moment ago), for refused connections.
  static uint16_t UnusedPort();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::testing
