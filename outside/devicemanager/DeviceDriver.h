// One loaded stream driver as the device table drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace devicemanager {

// DeviceDriver: a driver loaded for one device. The table calls Init once,
// then Open/IoControl/Close any number of times, then Deinit once (only after
// a successful Init) before destroying it.
class DeviceDriver {
 public:
  virtual ~DeviceDriver() = default;

  // Init: starts the device with the client's information; 0 or the driver's
  // Win32 code.
  virtual uint32_t Init(std::span<const uint8_t> info, uint32_t handle) = 0;
  virtual void Deinit() = 0;

  // Open: 0 with the driver's open context in `open`, or the driver's code.
  virtual uint32_t Open(uint32_t access, uint32_t share, uintptr_t& open) = 0;
  virtual void Close(uintptr_t open) = 0;

  // IoControl: 0 or the driver's code; the driver may change both buffers.
  virtual uint32_t IoControl(uintptr_t open, uint32_t code, std::span<uint8_t> input,
                             std::span<uint8_t> output, uint32_t& returned) = 0;

  // file: the host file the driver was loaded from, for listings.
  virtual const std::string& file() const = 0;
};

// DriverLoader: loads the driver file `dllName` for a device of `prefix`.
// Returns 0 with the driver in `out`, or a Win32 code (2 when the file is
// missing); on failure `out` stays empty.
using DriverLoader = std::function<uint32_t(std::u16string_view dllName, std::u16string_view prefix,
                                            std::unique_ptr<DeviceDriver>& out)>;

}  // namespace devicemanager
