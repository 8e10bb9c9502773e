// HRESULT codes of the component runtime, with the Windows values.
#pragma once

#include <cstdint>

namespace platform::com {

using HRESULT = int32_t;

// Hr: an HRESULT from its unsigned spelling in the Windows headers.
constexpr HRESULT Hr(uint32_t code) {
  return static_cast<HRESULT>(code);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = Hr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = Hr(0x80004002);
inline constexpr HRESULT E_POINTER = Hr(0x80004003);
inline constexpr HRESULT E_FAIL = Hr(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = Hr(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = Hr(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = Hr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = Hr(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = Hr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = Hr(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = Hr(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = Hr(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = Hr(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = Hr(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = Hr(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = Hr(0x800401F9);
inline constexpr HRESULT SELFREG_E_TYPELIB = Hr(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = Hr(0x80040201);
inline constexpr HRESULT TYPE_E_REGISTRYACCESS = Hr(0x8002801C);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = Hr(0x80020003);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = Hr(0x8002000E);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = Hr(0x80020005);

// HRESULT_FROM_WIN32: a Win32 code (as from platform/Errors.h) in the
// FACILITY_WIN32 form; 0 stays S_OK.
constexpr HRESULT HRESULT_FROM_WIN32(uint32_t code) {
  return code == 0 ? S_OK : Hr((code & 0xFFFF) | 0x80070000u);
}

constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}

}  // namespace platform::com
