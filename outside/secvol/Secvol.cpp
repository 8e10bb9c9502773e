// Secvol: the folder driver's exports, each forwarding to SecureVolume.
#include <new>

#include "outside/devicemanager/DriverInterface.h"
#include "outside/secvol/SecureVolume.h"
#include "platform/Errors.h"
#include "platform/File.h"

namespace {

struct Open {
  secvol::SecureVolume* volume;
  secvol::OpenAccess access;
};

secvol::SecureVolume* Volume(uintptr_t context) {
  return reinterpret_cast<secvol::SecureVolume*>(context);
}

uintptr_t Init(const uint8_t* info, uint32_t size, uint32_t handle, uint32_t* error) {
  auto* volume = new (std::nothrow) secvol::SecureVolume;
  if (!volume) {
    *error = platform::ERROR_NOT_ENOUGH_MEMORY;
    return 0;
  }
  if (const uint32_t rc = volume->Init({info, info ? size : 0}, handle)) {
    delete volume;
    *error = rc;
    return 0;
  }
  return reinterpret_cast<uintptr_t>(volume);
}

uintptr_t OpenDevice(uintptr_t context, uint32_t access, uint32_t, uint32_t* error) {
  const auto mode = access & platform::GENERIC_WRITE ? secvol::OpenAccess::ReadWrite
                                                     : secvol::OpenAccess::ReadOnly;
  auto* open = new (std::nothrow) Open{Volume(context), mode};
  if (!open) *error = platform::ERROR_NOT_ENOUGH_MEMORY;
  return reinterpret_cast<uintptr_t>(open);
}

}  // namespace

DRIVER_EXPORT uintptr_t VDD_Init(const uint8_t* info, uint32_t infoSize, uint32_t handle,
                                 uint32_t* error) {
  return Init(info, infoSize, handle, error);
}

DRIVER_EXPORT void VDD_Deinit(uintptr_t context) {
  delete Volume(context);
}

DRIVER_EXPORT uintptr_t VDD_Open(uintptr_t context, uint32_t access, uint32_t share,
                                 uint32_t* error) {
  return OpenDevice(context, access, share, error);
}

DRIVER_EXPORT void VDD_Close(uintptr_t open) {
  delete reinterpret_cast<Open*>(open);
}

DRIVER_EXPORT uint32_t VDD_IOControl(uintptr_t open, uint32_t code, uint8_t* input,
                                     uint32_t inputSize, uint8_t* output, uint32_t outputSize,
                                     uint32_t* returned) {
  const Open& o = *reinterpret_cast<Open*>(open);
  return o.volume->Control(o.access, code, {input, input ? inputSize : 0},
                           {output, output ? outputSize : 0}, *returned);
}
