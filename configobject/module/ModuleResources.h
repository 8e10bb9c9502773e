// The resources QrxCfgObject carries: registration script, type library, pattern and icon.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/com/Handles.h"
#include "platform/com/TypeLibrary.h"

namespace qrx {

inline constexpr uint32_t kTypeLibResource = 1;
inline constexpr uint32_t kRegistryScriptResource = 102;
inline constexpr uint32_t kPatternResource = 1209;
inline constexpr uint32_t kPageIconResource = 1217;

enum class ResourceType : uint8_t { TypeLib, Registry, Data, Icon };

// FindModuleResource: the bytes of a resource, owned by the module; empty
// when the module has no resource of that type and number.
std::span<const uint8_t> FindModuleResource(ResourceType type, uint32_t id);

// RegistryScript: the registration script (resource 102) as text.
std::string_view RegistryScript();

// ModuleTypeLibrary: the type library (resource 1).
const platform::com::TypeLibrary& ModuleTypeLibrary();

// ModuleIcon: the handle of an icon resource (an IconResource owned by the
// module), or null when there is none with that number.
platform::com::HICON ModuleIcon(uint32_t id);

}  // namespace qrx
