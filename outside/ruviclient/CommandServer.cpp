// The stand-in's socket thread.
#include "outside/ruviclient/CommandServer.h"

#include <filesystem>
#include <vector>

#include "platform/Errors.h"
#include "platform/Home.h"

namespace ruviclient {

namespace {

constexpr int kAcceptSliceMs = 100;           // how soon Stop is noticed
constexpr uint32_t kRequestTimeoutMs = 2000;  // a client that says nothing is dropped
constexpr size_t kMaxRequest = 64;

}  // namespace

CommandServer::~CommandServer() {
  Stop();
}

uint32_t CommandServer::Start(const std::string& path, Handler handler) {
  if (thread_.joinable()) return platform::ERROR_ALREADY_EXISTS;
  const std::string folder = std::filesystem::path(path).parent_path().string();
  if (!folder.empty()) {
    if (const uint32_t rc = platform::EnsureFolder(folder)) return rc;
  }
  if (const uint32_t rc = listener_.Listen(path)) return rc;
  handler_ = std::move(handler);
  stop_ = false;
  thread_ = std::thread([this] { Serve(); });
  return 0;
}

void CommandServer::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
  listener_.Close();
  handler_ = nullptr;
}

void CommandServer::Serve() {
  while (!stop_) {
    platform::LocalConnection connection;
    const platform::AcceptResult r = listener_.Accept(connection, kAcceptSliceMs);
    if (r == platform::AcceptResult::TimedOut) continue;
    if (r != platform::AcceptResult::Connection) break;  // stopped, or the socket is gone
    connection.SetTimeout(kRequestTimeoutMs);
    std::vector<uint8_t> request;
    if (connection.Receive(request, kMaxRequest) != 0) continue;
    const std::string reply =
        handler_(std::string_view(reinterpret_cast<const char*>(request.data()), request.size()));
    connection.Send({reinterpret_cast<const uint8_t*>(reply.data()), reply.size()});
  }
}

}  // namespace ruviclient
