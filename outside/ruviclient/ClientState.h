// The stand-in's process-wide state: registered callbacks, the program's memory functions, the
// socket.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "outside/ruviclient/CommandServer.h"
#include "update/app/RuviClientApi.h"

namespace ruviclient {

// ClientState: what the library keeps between the task's calls. One per
// loaded library; its destruction at unload stops the socket thread, so no
// thread outlives the library's code.
class ClientState {
 public:
  // Instance: the library's one state.
  static ClientState& Instance();

  // Initialise: keeps the memory functions, gives the task its name in
  // memory of the program's, and starts listening on ControlSocketPath().
  // Returns 0 or the Win32 code of the socket (183: another task listens).
  uint32_t Initialise(RuviAllocate allocate, RuviRelease release);

  // Done: stops listening (after a command being delivered) and hands the
  // task name back to the program's release function.
  void Done();

  // Register: the callback for command 1 to 4; false for another number.
  bool Register(int command, RuviCommandCallback callback);

  // TaskName: the name given at initialisation ("" before).
  std::string TaskName() const;

  // Handle: one request from the socket; the reply to send.
  std::string Handle(std::string_view request);

  ~ClientState();

 private:
  ClientState() = default;

  mutable std::mutex mutex_;
  RuviCommandCallback callbacks_[5] = {};
  RuviAllocate allocate_ = nullptr;
  RuviRelease release_ = nullptr;
  char* taskName_ = nullptr;  // allocated with allocate_
  CommandServer server_;
};

}  // namespace ruviclient
