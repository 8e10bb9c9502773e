// Type libraries: what a server module describes of itself, and their registration.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

namespace platform::com {

// TypeLibrary: the library a module carries (its type-library resource): the
// identifier, name, version, locale and help string that registration needs.
struct TypeLibrary {
  GUID libid;
  const char* name;
  uint16_t majorVersion;
  uint16_t minorVersion;
  uint32_t lcid;
  const char* helpString;
};

// TypeLibVersionKey: "TypeLib\{LIBID}\<major>.<minor>" (hexadecimal numbers,
// as Windows names the version keys), below HKEY_CLASSES_ROOT.
std::string TypeLibVersionKey(const TypeLibrary& library);

// RegisterTypeLib: writes, below HKEY_CLASSES_ROOT of the desktop registry,
//   TypeLib\{LIBID}\<major>.<minor>            = help string
//   TypeLib\{LIBID}\<major>.<minor>\<lcid>\win32 = modulePath  (lcid in hex)
//   TypeLib\{LIBID}\<major>.<minor>\FLAGS      = "0"
//   TypeLib\{LIBID}\<major>.<minor>\HELPDIR    = helpDir
// in one transaction: S_OK or TYPE_E_REGISTRYACCESS with nothing written.
HRESULT RegisterTypeLib(const TypeLibrary& library, std::string_view modulePath,
                        std::string_view helpDir);

// UnRegisterTypeLib: removes the version key with everything below it, and
// the library's key when no other version is left; TypeLib itself stays. A
// library that is not registered is S_OK. TYPE_E_REGISTRYACCESS with nothing
// changed when the registry cannot be written.
HRESULT UnRegisterTypeLib(const TypeLibrary& library);

}  // namespace platform::com
