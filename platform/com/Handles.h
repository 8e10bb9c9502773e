// Window and icon handles as they cross module boundaries: opaque pointers.
#pragma once

namespace platform::com {

// HWND / HICON: opaque to every module. In this suite a window handle is the
// address of the window's widget and an icon handle the address of an
// IconResource; only code that owns the toolkit side converts them. They are
// pointer-sized, as Windows handles are.
struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;

// IconResource: an icon a module hands out by handle: an image file's bytes
// (format as Qt names it, e.g. "XPM" or "PNG"), owned by the module and
// valid while it stays loaded.
struct IconResource {
  const char* format;
  const unsigned char* bytes;
  unsigned int size;
};

}  // namespace platform::com
