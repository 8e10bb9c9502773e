// Loading a server module to run its registration export.
#include "platform/com/SelfRegistration.h"

#include "platform/Module.h"
#include "platform/com/Unknown.h"

namespace platform::com {

SelfRegistrationResult CallSelfRegistration(std::string_view module, RegistrationCall call) {
  SelfRegistrationResult result;
  result.entry = call == RegistrationCall::Register ? kDllRegisterServer : kDllUnregisterServer;
  Module loaded;
  if (uint32_t rc = loaded.Load(module)) {
    result.stage = SelfRegistrationResult::LoadFailed;
    result.loadError = rc;
    return result;
  }
  const auto entry = loaded.Function<DllRegisterServerFn>(result.entry.c_str());
  if (entry == nullptr) {
    result.stage = SelfRegistrationResult::EntryMissing;
    return result;
  }
  result.hr = entry();
  if (FAILED(result.hr)) result.stage = SelfRegistrationResult::CallFailed;
  return result;
}

}  // namespace platform::com
