// qmregsvr: registers and unregisters in-process server modules, as the Windows tool does.
#pragma once

#include <ostream>

namespace qmregsvr {

// RunQmregsvr: the whole tool. Arguments: [/u] [/s] MODULE... (also -u, -s,
// --unregister, --silent). Each module is loaded, its DllRegisterServer (or
// DllUnregisterServer with /u) called, and unloaded. Reports go to `out`
// (success) and `err` (failure) unless /s. Returns the Windows tool's exit
// codes: 0 every call succeeded, 1 bad arguments, 3 a module did not load,
// 4 it lacks the entry point, 5 the entry point failed (the first failure
// wins; later modules are still tried).
int RunQmregsvr(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace qmregsvr
