// Registering and unregistering a server module by calling its own exports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/HResult.h"

namespace platform::com {

enum class RegistrationCall : uint8_t { Register, Unregister };

// SelfRegistrationResult: how far the call came. `stage` uses the numbers
// the Windows tool exits with: 0 done, 3 the module did not load, 4 it lacks
// the entry point, 5 the entry point failed.
struct SelfRegistrationResult {
  enum Stage : int { Done = 0, LoadFailed = 3, EntryMissing = 4, CallFailed = 5 };
  Stage stage = Done;
  uint32_t loadError = 0;  // the loader's Win32 code when the module did not load
  HRESULT hr = S_OK;       // what the entry point returned
  std::string entry;       // "DllRegisterServer" or "DllUnregisterServer"
};

// CallSelfRegistration: loads the module named `module` (as Module::Load
// finds it: a host path, a desktop drive path or a bare name), calls its
// DllRegisterServer or DllUnregisterServer, and unloads it again.
SelfRegistrationResult CallSelfRegistration(std::string_view module, RegistrationCall call);

}  // namespace platform::com
