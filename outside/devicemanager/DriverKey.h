// A driver's registration key in the device registry, as ActivateDeviceEx reads it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace devicemanager {

// DriverKey: the values "Dll", "Prefix" and the optional "Index".
struct DriverKey {
  std::u16string dll;
  std::u16string prefix;
  std::optional<uint32_t> index;
};

// DriverKeyReader: reads the key named (below HKEY_LOCAL_MACHINE); 0, or a
// Win32 code (2 when the key, "Dll" or "Prefix" is missing).
using DriverKeyReader = std::function<uint32_t(std::u16string_view key, DriverKey& out)>;

// ReadDriverKey: the DriverKeyReader over the device registry. An "Index"
// that is not a number is an error (13) rather than silently ignored.
uint32_t ReadDriverKey(std::u16string_view key, DriverKey& out);

}  // namespace devicemanager
