// A stream driver for the device-manager tests, exported under the prefixes VDD and TST.
//
// Init fails with the code in bytes 4..7 when the information starts with
// "FAIL". Control codes: 1 copies the input to the output; 2 returns the
// device handle; 3 reverses the input buffer in place; 4 returns the
// information given at Init. Any other code gives 50.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "outside/devicemanager/DriverInterface.h"

namespace {

struct Device {
  uint32_t handle;
  std::vector<uint8_t> info;
};

struct Open {
  Device* device;
};

uintptr_t Init(const uint8_t* info, uint32_t size, uint32_t handle, uint32_t* error) {
  if (size >= 8 && std::memcmp(info, "FAIL", 4) == 0) {
    std::memcpy(error, info + 4, 4);
    return 0;
  }
  auto* d = new (std::nothrow) Device{handle, std::vector<uint8_t>(info, info + size)};
  if (!d) *error = 8;
  return reinterpret_cast<uintptr_t>(d);
}

void Deinit(uintptr_t context) {
  delete reinterpret_cast<Device*>(context);
}

uintptr_t OpenDevice(uintptr_t context, uint32_t, uint32_t, uint32_t*) {
  return reinterpret_cast<uintptr_t>(new Open{reinterpret_cast<Device*>(context)});
}

void CloseDevice(uintptr_t open) {
  delete reinterpret_cast<Open*>(open);
}

uint32_t Control(uintptr_t open, uint32_t code, uint8_t* in, uint32_t inSize, uint8_t* out,
                 uint32_t outSize, uint32_t* returned) {
  const Device& d = *reinterpret_cast<Open*>(open)->device;
  *returned = 0;
  switch (code) {
    case 1:
      *returned = std::min(inSize, outSize);
      if (*returned) std::memcpy(out, in, *returned);
      return 0;
    case 2:
      if (outSize < 4) return 122;
      std::memcpy(out, &d.handle, 4);
      *returned = 4;
      return 0;
    case 3:
      std::reverse(in, in + inSize);
      return 0;
    case 4:
      *returned = std::min<uint32_t>(static_cast<uint32_t>(d.info.size()), outSize);
      if (*returned) std::memcpy(out, d.info.data(), *returned);
      return 0;
    default:
      return 50;
  }
}

}  // namespace

#define TEST_DRIVER_EXPORTS(P)                                                              \
  DRIVER_EXPORT uintptr_t P##_Init(const uint8_t* i, uint32_t s, uint32_t h, uint32_t* e) { \
    return Init(i, s, h, e);                                                                \
  }                                                                                         \
  DRIVER_EXPORT void P##_Deinit(uintptr_t c) {                                              \
    Deinit(c);                                                                              \
  }                                                                                         \
  DRIVER_EXPORT uintptr_t P##_Open(uintptr_t c, uint32_t a, uint32_t s, uint32_t* e) {      \
    return OpenDevice(c, a, s, e);                                                          \
  }                                                                                         \
  DRIVER_EXPORT void P##_Close(uintptr_t o) {                                               \
    CloseDevice(o);                                                                         \
  }                                                                                         \
  DRIVER_EXPORT uint32_t P##_IOControl(uintptr_t o, uint32_t c, uint8_t* i, uint32_t is,    \
                                       uint8_t* out, uint32_t os, uint32_t* r) {            \
    return Control(o, c, i, is, out, os, r);                                                \
  }

TEST_DRIVER_EXPORTS(VDD)
TEST_DRIVER_EXPORTS(TST)
