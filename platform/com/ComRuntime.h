// The in-process component runtime: classes found through HKEY_CLASSES_ROOT of
// the desktop registry, their modules loaded, asked for objects and unloaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"
#include "platform/com/Unknown.h"

namespace platform::com {

// Class contexts. Only in-process servers exist here; a request without
// CLSCTX_INPROC_SERVER finds no class (REGDB_E_CLASSNOTREG).
inline constexpr uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr uint32_t CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr uint32_t CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr uint32_t CLSCTX_ALL = 0x17;

// Every class lives in the desktop registry, whatever store the process
// names by default; these calls use HKEY_CLASSES_ROOT of that store.
// Calls arrive on the caller's thread (the apartment model of the suite's
// servers); the table of loaded modules is guarded for calls from several
// threads.

// CLSIDFromString: a class identifier from its registry form;
// CO_E_CLASSSTRING for any other text.
HRESULT CLSIDFromString(std::string_view text, CLSID* clsid);

// CLSIDFromProgID: the class of a programmatic identifier: the default value
// of HKCR\<progId>\CLSID, or, when that subkey is missing, of the version its
// CurVer names. CO_E_CLASSSTRING when neither leads to a class identifier,
// REGDB_E_READREGDB when the registry cannot be read.
HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid);

// InprocServerPath: the default value of HKCR\CLSID\{clsid}\InprocServer32;
// REGDB_E_CLASSNOTREG when the class or the value is missing.
HRESULT InprocServerPath(REFCLSID clsid, std::string* path);

// CoGetClassObject: the class object (normally the IClassFactory) of a
// registered class: its module is loaded once and kept until
// CoFreeUnusedLibraries lets it go. Results: S_OK;
// REGDB_E_CLASSNOTREG; HRESULT_FROM_WIN32 of the loader's code (126 no
// module, 193 not a module); CO_E_ERRORINDLL when the module lacks
// DllGetClassObject; else what DllGetClassObject answers. *object is null on
// failure.
HRESULT CoGetClassObject(REFCLSID clsid, uint32_t context, void* reserved, REFIID iid,
                         void** object);

// CoCreateInstance: a new object of the class through its class factory, as
// the interface `iid`; `outer` is passed to the factory (which may refuse it
// with CLASS_E_NOAGGREGATION). Failures as CoGetClassObject and
// CreateInstance; *object is null on failure.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, uint32_t context, REFIID iid,
                         void** object);

// CoFreeUnusedLibraries: asks every loaded module's DllCanUnloadNow and
// unloads those that answer S_OK. A module without that export stays.
void CoFreeUnusedLibraries();

// CoLoadedServerCount: the number of modules the runtime holds loaded.
size_t CoLoadedServerCount();

// CoIsServerLoaded: whether the module registered as `path` is held loaded.
bool CoIsServerLoaded(std::string_view path);

}  // namespace platform::com
