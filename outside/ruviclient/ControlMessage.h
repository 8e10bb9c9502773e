// The control socket of the client-library stand-in: where it listens and what travels on it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ruviclient {

// ControlSocketPath: QM_RUVI_CONTROL, else "ruviclient.sock" in QM_HOME. A
// task's library listens there from its initialisation to its end, so one
// task at a time runs under a QM_HOME.
std::string ControlSocketPath();

// kLogVariable: the environment variable naming the file that the library
// appends one line per call to; no log when it is unset or empty.
inline constexpr char kLogVariable[] = "QM_RUVI_LOG";

// ControlRequest: what one message on the socket asks for.
enum class ControlRequest { Ping, Start, Stop, Pause, Resume };

// ParseControlRequest: "ping", or a command by name ("start", "stop",
// "pause", "resume", any letter case) or number ("1" to "4"); nullopt for
// anything else.
std::optional<ControlRequest> ParseControlRequest(std::string_view message);

// CommandNumber: 1 to 4 for the commands, 0 for Ping.
int CommandNumber(ControlRequest request);

// CommandName: "ping", "start", "stop", "pause" or "resume".
const char* CommandName(ControlRequest request);

// Replies: the callback's result as "1" or "0", or one of these.
inline constexpr char kReplyReady[] = "ready";      // to a ping
inline constexpr char kReplyNoCallback[] = "none";  // the task registered no callback for it
inline constexpr char kReplyBadRequest[] = "bad";   // not a request

}  // namespace ruviclient
