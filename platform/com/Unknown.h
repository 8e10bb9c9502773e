// IUnknown and IClassFactory: the two interfaces every in-process server speaks.
#pragma once

#include <cstdint>

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

namespace platform::com {

using ULONG = uint32_t;
using BOOL = int32_t;

inline constexpr IID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr IID IID_IClassFactory = MakeGuid("{00000001-0000-0000-C000-000000000046}");

// IUnknown: the first three slots of every interface, in the Windows order.
// Interfaces have no virtual destructor, so their vtables hold exactly the
// declared methods; objects are freed by their own final Release, never
// through `delete` on an interface pointer.
struct IUnknown {
  // QueryInterface: an AddRef'd pointer to the interface `iid` in *object, or
  // E_NOINTERFACE with *object null (E_POINTER for a null object).
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  // AddRef / Release: the new reference count; the final Release frees.
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

// IClassFactory: creates the objects of one class.
struct IClassFactory : IUnknown {
  // CreateInstance: a new object's interface `iid` in *object.
  // CLASS_E_NOAGGREGATION when `outer` is given and the class cannot be
  // aggregated; E_OUTOFMEMORY when the object cannot be allocated.
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  // LockServer: TRUE adds one to the module's lock count, FALSE takes one
  // away; a locked module is not unloaded.
  virtual HRESULT LockServer(BOOL lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// The exports of an in-process server, looked up by these names.
using DllGetClassObjectFn = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

inline constexpr char kDllGetClassObject[] = "DllGetClassObject";
inline constexpr char kDllCanUnloadNow[] = "DllCanUnloadNow";
inline constexpr char kDllRegisterServer[] = "DllRegisterServer";
inline constexpr char kDllUnregisterServer[] = "DllUnregisterServer";

// COM_EXPORT: marks the exports of a server module (modules build with
// hidden symbols).
#define COM_EXPORT extern "C" __attribute__((visibility("default")))

}  // namespace platform::com
