// The zsf command line: encrypted folders without the folder program's window.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/Prompt.h"

namespace zsf {

// SecretReader: reads one password; 0, or a Win32 code when there is none.
using SecretReader = std::function<uint32_t(std::string_view prompt, std::string* out)>;

// ZsfEnvironment: what a run talks to. Every message of the folder program
// (failures included, with caption "Quillmark Coffer" or the registration's
// "Mount Volume") goes to `prompt`; passwords come from `readSecret`, never
// from the command line; the folder driver is installed from `driverFolder`.
struct ZsfEnvironment {
  platform::Prompt* prompt = nullptr;
  SecretReader readSecret;
  std::string driverFolder;
};

// RunZsf: runs one zsf command line. Listings, reports and sector dumps go to
// out, usage errors to err. Returns the exit status: 0 success, 1 failure.
int RunZsf(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           const ZsfEnvironment& environment);

}  // namespace zsf
