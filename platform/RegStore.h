// Which of the two registry stores a key lives in.
#pragma once

namespace platform {

// RegStore: the device registry (handheld programs; text values are UTF-16LE
// bytes) or the desktop registry (desktop programs; text values are 8-bit,
// UTF-8). The two never share state.
enum class RegStore { Device, Desktop };

// RegStoreName: "device" or "desktop", for messages.
inline const char* RegStoreName(RegStore store) {
  return store == RegStore::Device ? "device" : "desktop";
}

}  // namespace platform
