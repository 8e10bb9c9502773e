// Automation calls by dispatch id, and the hosting of controls in a page window.
#pragma once

#include <cstdint>

#include "platform/com/Handles.h"
#include "platform/com/Unknown.h"

namespace platform::com {

using DISPID = int32_t;

enum VarType : uint16_t {
  VT_EMPTY = 0,
  VT_I4 = 3,
  VT_BOOL = 11,
  VT_LPWSTR = 31,
  VT_BYREF = 0x4000,
};

inline constexpr int16_t VARIANT_TRUE = -1;
inline constexpr int16_t VARIANT_FALSE = 0;

// Variant: one argument or result of an automation call. An automation long
// is pointer-sized here: the controls of this suite pass tree addresses in
// longs, which Win32 fitted in 32 bits and a 64-bit host does not.
// VT_I4 and VT_BOOL use lVal; VT_BYREF | VT_I4 points at an intptr_t in
// byref; VT_BYREF | VT_LPWSTR points at a caller's char16_t buffer whose size
// in units is lVal.
struct Variant {
  uint16_t vt = VT_EMPTY;
  intptr_t lVal = 0;
  void* byref = nullptr;
};

inline Variant LongArg(intptr_t value) {
  return Variant{VT_I4, value, nullptr};
}
inline Variant LongRefArg(intptr_t* target) {
  return Variant{static_cast<uint16_t>(VT_BYREF | VT_I4), 0, target};
}
inline Variant WideBufferArg(char16_t* buffer, intptr_t units) {
  return Variant{static_cast<uint16_t>(VT_BYREF | VT_LPWSTR), units, buffer};
}
inline Variant BoolResult(bool value) {
  return Variant{VT_BOOL, value ? VARIANT_TRUE : VARIANT_FALSE, nullptr};
}

// IAutomation: calls a method (or, on an event sink, raises an event) by
// dispatch id, arguments in their declared order. Results:
// DISP_E_MEMBERNOTFOUND for an unknown id, DISP_E_BADPARAMCOUNT or
// DISP_E_TYPEMISMATCH for unfit arguments, else the member's own.
struct IAutomation : IUnknown {
  virtual HRESULT Invoke(DISPID id, const Variant* args, uint32_t count, Variant* result) = 0;

 protected:
  ~IAutomation() = default;
};
inline constexpr IID IID_IAutomation = MakeGuid("{844843F0-9189-4989-8183-EBF8CDF18E3B}");

// ControlRect: a control's place in its parent, in pixels.
struct ControlRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// IHostedControl: a control that lives as a child window of a host's window.
struct IHostedControl : IUnknown {
  // CreateControlWindow: creates the control's window as a child of
  // `parent` at `place`, with the control id and the initial property data
  // of the host's template (the control keeps a copy); its handle in
  // *window. The window goes with its parent; the object stays usable
  // without it. E_UNEXPECTED when it already has a window.
  virtual HRESULT CreateControlWindow(HWND parent, int32_t controlId, const ControlRect& place,
                                      const uint8_t* initialData, uint32_t initialSize,
                                      HWND* window) = 0;
  // Advise: the host's sink for the control's events (AddRef'd and kept
  // until Unadvise or the control's end); one sink at a time.
  virtual HRESULT Advise(IAutomation* sink) = 0;
  virtual HRESULT Unadvise() = 0;

 protected:
  ~IHostedControl() = default;
};
inline constexpr IID IID_IHostedControl = MakeGuid("{42268343-A8EE-46C5-BF06-4A68388DC0E3}");

}  // namespace platform::com
