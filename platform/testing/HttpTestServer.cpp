// Test support: a real HTTP server on 127.0.0.1 with scripted replies and a record of requests.
#include "platform/testing/HttpTestServer.h"

#include <httplib.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

namespace platform::testing {
namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ReceivedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameNoCase(key, name)) return value;
  return {};
}

struct HttpTestServer::Impl {
  httplib::Server server;
  std::thread thread;
  int port = 0;

  mutable std::mutex mutex;
  std::condition_variable stopped;
  bool stopping = false;
  std::map<std::string, HttpReply> replies;
  std::vector<ReceivedRequest> requests;

  // Pause: waits `ms` unless the server is being destroyed; false then.
  bool Pause(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex);
    return !stopped.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping; });
  }

  void Answer(const httplib::Request& request, httplib::Response& response) {
    HttpReply reply;
    bool known = false;
    {
      std::lock_guard<std::mutex> lock(mutex);
      ReceivedRequest received{request.path, {}};
      for (const auto& [key, value] : request.headers) received.headers.emplace_back(key, value);
      requests.push_back(std::move(received));
      if (auto it = replies.find(request.path); it != replies.end()) {
        reply = it->second;
        known = true;
      }
    }
    if (!known) {
      response.status = 404;
      response.set_content("Not Found", "text/plain");
      return;
    }
    if (reply.headerDelayMs > 0 && !Pause(reply.headerDelayMs)) return;
    response.status = reply.status;
    if (!reply.location.empty()) response.set_header("Location", reply.location);
    if (reply.pieceBytes == 0 && reply.dropAfter == HttpReply::kWhole) {
      response.set_content(reply.body, reply.contentType);
      return;
    }
    const size_t piece = reply.pieceBytes == 0 ? reply.body.size() : reply.pieceBytes;
    const size_t sendable = std::min(reply.dropAfter, reply.body.size());
    response.set_content_provider(
        reply.body.size(), reply.contentType,
        [this, reply, piece, sendable](size_t offset, size_t, httplib::DataSink& sink) {
          // Returning false makes the server drop the connection mid-body.
          if (offset >= sendable) return false;
          if (offset > 0 && reply.pieceDelayMs > 0 && !Pause(reply.pieceDelayMs)) return false;
          const size_t n = std::min(piece, sendable - offset);
          return sink.write(reply.body.data() + offset, n);
        });
  }
};

HttpTestServer::HttpTestServer() : impl_(std::make_unique<Impl>()) {
  // Clients of this process and its children reach the server directly even
  // where a proxy is configured.
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    const char* old = std::getenv(name);
    std::string hosts = old ? old : "";
    if (hosts.find("127.0.0.1") != std::string::npos) continue;
    const std::string value = (hosts.empty() ? std::string() : hosts + ",") + "127.0.0.1";
    ::setenv(name, value.c_str(), 1);
  }
  Impl& impl = *impl_;
  impl.server.Get(".*", [&impl](const httplib::Request& request, httplib::Response& response) {
    impl.Answer(request, response);
  });
  impl.port = impl.server.bind_to_any_port("127.0.0.1");
  if (impl.port > 0) impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
}

HttpTestServer::~HttpTestServer() {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->stopped.notify_all();
  if (impl_->thread.joinable()) {
    // listen_after_bind may not have started its loop yet; stop() only ends
    // a running one.
    for (int waited = 0; waited < 5000 && !impl_->server.is_running(); ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    impl_->server.stop();
    impl_->thread.join();
  }
}

uint16_t HttpTestServer::port() const {
  return static_cast<uint16_t>(impl_->port);
}

std::string HttpTestServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(impl_->port) + std::string(path);
}

void HttpTestServer::Serve(const std::string& path, HttpReply reply) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->replies[path] = std::move(reply);
}

std::vector<ReceivedRequest> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->requests;
}

uint16_t HttpTestServer::UnusedPort() {
  uint16_t port = 0;
  {
    HttpTestServer server;
    port = server.port();
  }
  return port;
}

}  // namespace platform::testing
