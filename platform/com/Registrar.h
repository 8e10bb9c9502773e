// The registrar: runs a registration script against the desktop registry, forwards or back.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/HResult.h"
#include "platform/com/RegScript.h"

namespace platform::com {

enum class ScriptDirection : uint8_t { Register, Unregister };

// ApplyRegScript: registration creates every key of the script and sets its
// values; a ForceRemove key is deleted whole first. Unregistration removes,
// depth first, the values the script names and every Normal key that is then
// empty; a ForceRemove key goes whole; a NoRemove key stays. Keys that many
// servers share are never removed, whatever the script says: CLSID,
// Interface, TypeLib and AppID under HKEY_CLASSES_ROOT and every first-level
// key of the other roots; a script that asks for their removal has only
// their listed content removed. Keys or values missing at unregistration are
// passed over.
// All of it runs in one desktop-registry transaction: S_OK, or
// REGDB_E_WRITEREGDB with the registry as it was before.
HRESULT ApplyRegScript(const RegScript& script, ScriptDirection direction);

// RunRegScript: parses `text` with the replacements and applies it.
// SELFREG_E_CLASS (nothing written) for a script that does not parse, with
// `error` (optional) saying where; else as ApplyRegScript.
HRESULT RunRegScript(std::string_view text, const Replacements& replacements,
                     ScriptDirection direction, std::string* error = nullptr);

}  // namespace platform::com
