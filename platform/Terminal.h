// Reading a secret (a password) from the user without showing it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// ReadSecret: reads one line from standard input into *out, without its line
// end. When standard input is a terminal, `prompt` is written to standard
// error first and echo is off while the line is typed; otherwise the line is
// read as it comes (scripts pipe passwords in) and no prompt is shown.
// Returns 0, or ERROR_HANDLE_EOF (38) when the input ended before any
// character; *out is then empty.
uint32_t ReadSecret(std::string_view prompt, std::string* out);

// StandardStream: the three standard streams.
enum class StandardStream { Input, Output, Error };

// IsTerminal: true when the stream is connected to a terminal.
bool IsTerminal(StandardStream stream);

}  // namespace platform
