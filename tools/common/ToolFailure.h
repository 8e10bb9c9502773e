// How the administration tools end a failed step: a message for the user.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/Errors.h"

namespace tools {

// Failure: thrown inside a tool's command code and caught at its top, which
// prints the message; it never leaves the tool.
class Failure {
 public:
  explicit Failure(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// Reason: the text and number of a Win32 code, e.g. "Access is denied. (5)".
inline std::string Reason(uint32_t code) {
  return std::string(platform::ErrorText(code)) + " (" + std::to_string(code) + ")";
}

}  // namespace tools
