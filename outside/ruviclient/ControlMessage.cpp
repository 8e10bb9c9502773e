// Names and parsing of the control socket's requests.
#include "outside/ruviclient/ControlMessage.h"

#include <cctype>

#include "platform/Home.h"

namespace ruviclient {

std::string ControlSocketPath() {
  return platform::StatePath("QM_RUVI_CONTROL", "ruviclient.sock");
}

std::optional<ControlRequest> ParseControlRequest(std::string_view message) {
  if (message.size() > 16) return std::nullopt;
  std::string word;
  for (char c : message) word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "ping") return ControlRequest::Ping;
  if (word == "start" || word == "1") return ControlRequest::Start;
  if (word == "stop" || word == "2") return ControlRequest::Stop;
  if (word == "pause" || word == "3") return ControlRequest::Pause;
  if (word == "resume" || word == "4") return ControlRequest::Resume;
  return std::nullopt;
}

int CommandNumber(ControlRequest request) {
  switch (request) {
    case ControlRequest::Ping:
      return 0;
    case ControlRequest::Start:
      return 1;
    case ControlRequest::Stop:
      return 2;
    case ControlRequest::Pause:
      return 3;
    case ControlRequest::Resume:
      return 4;
  }
  return 0;
}

const char* CommandName(ControlRequest request) {
  switch (request) {
    case ControlRequest::Ping:
      return "ping";
    case ControlRequest::Start:
      return "start";
    case ControlRequest::Stop:
      return "stop";
    case ControlRequest::Pause:
      return "pause";
    case ControlRequest::Resume:
      return "resume";
  }
  return "?";
}

}  // namespace ruviclient
