// Self-registration of QrxCfgObject: its script and its type library.
#pragma once

#include <string_view>

#include "platform/com/HResult.h"

namespace qrx {

// RegisterServer: runs the registration script with `modulePath` for
// %MODULE%, then registers the type library (its help folder the module's
// folder). When the library cannot be registered, the script's keys are
// taken away again and that failure returned; else S_OK or the script's
// failure (nothing written).
platform::com::HRESULT RegisterServer(std::string_view modulePath);

// UnregisterServer: unregisters the type library, then removes what the
// script added; the first failure is returned, S_OK when all went.
platform::com::HRESULT UnregisterServer();

}  // namespace qrx
