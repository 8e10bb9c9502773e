// Test support: keeping a module mapped for the whole test run.
#pragma once

#include <string_view>

namespace platform::com::testing {

// KeepLoaded: loads the module once more and never lets that load go, so
// unloading it elsewhere leaves it mapped. The platform's registry keeps
// caches that are never freed; a module that carries its own copy and is
// really unmapped would leave them unreachable, which the leak checker of
// the sanitizer build reports. Returns false when the module does not load.
bool KeepLoaded(std::string_view path);

}  // namespace platform::com::testing
