// The stand-in's callbacks, memory and socket, shared by every export.
#include "outside/ruviclient/ClientState.h"

#include <cstring>

#include "outside/ruviclient/CallLog.h"
#include "outside/ruviclient/ControlMessage.h"

namespace ruviclient {

namespace {

constexpr char kTaskName[] = "Get Update";

}  // namespace

ClientState& ClientState::Instance() {
  static ClientState state;
  return state;
}

ClientState::~ClientState() {
  Done();
}

uint32_t ClientState::Initialise(RuviAllocate allocate, RuviRelease release) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    allocate_ = allocate;
    release_ = release;
    if (taskName_ == nullptr && allocate_ != nullptr) {
      taskName_ = static_cast<char*>(allocate_(sizeof kTaskName));
      if (taskName_ != nullptr) std::memcpy(taskName_, kTaskName, sizeof kTaskName);
    }
  }
  return server_.Start(ControlSocketPath(),
                       [this](std::string_view request) { return Handle(request); });
}

void ClientState::Done() {
  server_.Stop();
  std::lock_guard<std::mutex> lock(mutex_);
  if (taskName_ != nullptr && release_ != nullptr) release_(taskName_);
  taskName_ = nullptr;
  for (auto& c : callbacks_) c = nullptr;
}

bool ClientState::Register(int command, RuviCommandCallback callback) {
  if (command < 1 || command > 4) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  callbacks_[command] = callback;
  return true;
}

std::string ClientState::TaskName() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return taskName_ ? taskName_ : "";
}

std::string ClientState::Handle(std::string_view request) {
  const auto parsed = ParseControlRequest(request);
  if (!parsed) return kReplyBadRequest;
  if (*parsed == ControlRequest::Ping) return kReplyReady;
  const int command = CommandNumber(*parsed);
  RuviCommandCallback callback = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    callback = callbacks_[command];
  }
  if (callback == nullptr) {
    LogCall("command " + std::to_string(command) + " none");
    return kReplyNoCallback;
  }
  // Called without the lock: a stop may take a while, and the task may call
  // back into the library meanwhile.
  const int result = callback(nullptr, nullptr);
  LogCall("command " + std::to_string(command) + " -> " + std::to_string(result));
  return std::to_string(result);
}

}  // namespace ruviclient
