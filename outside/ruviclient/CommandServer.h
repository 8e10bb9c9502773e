// The stand-in's listening thread: requests from the control socket handed to the task's callbacks.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/LocalChannel.h"

namespace ruviclient {

// CommandServer: one listening socket and the thread that serves it. Each
// connection carries one request and its reply. The handler runs on the
// server's thread, one request at a time.
class CommandServer {
 public:
  using Handler = std::function<std::string(std::string_view request)>;

  CommandServer() = default;
  CommandServer(const CommandServer&) = delete;
  CommandServer& operator=(const CommandServer&) = delete;
  ~CommandServer();

  // Start: listens at `path` (its folder created when missing) and starts the
  // thread. Returns 0; ERROR_ALREADY_EXISTS (183) when a server already
  // listens there or this one runs; else the listener's code. A failure
  // starts nothing.
  uint32_t Start(const std::string& path, Handler handler);

  // Stop: ends the thread after the request it serves, if any, and removes
  // the socket. Harmless when not started; never call it from the handler.
  void Stop();

  bool running() const { return thread_.joinable(); }

 private:
  void Serve();

  platform::LocalListener listener_;
  Handler handler_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace ruviclient
