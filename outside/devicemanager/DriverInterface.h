// The C interface between the device-manager service and the stream drivers it loads.
//
// A driver is a shared object in the handheld's "\Windows" folder ("Secvol.dll"
// is the file "Secvol.so"). Its exports are named by the three-letter device
// prefix it is loaded under, as handheld stream drivers are: a driver loaded
// as "VDD" exports VDD_Init, VDD_Deinit, VDD_Open, VDD_Close and
// VDD_IOControl. The service calls them one at a time, never concurrently.
// Nothing but plain values and caller-owned buffers crosses: the driver never
// frees what the service allocated and the reverse, and no C++ exception may
// leave an export.
#pragma once

#include <cstdint>

// DRIVER_EXPORT: marks a driver's entry points; everything else stays hidden.
#define DRIVER_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {

// <PFX>_Init: starts one device. `info` is the client's information (for the
// folder driver a MountInformation), valid only during the call; `handle` is
// the device handle the service hands to the client. Returns the device's
// context (non-zero), or 0 after storing a Win32 code in *error, which
// becomes the client's last error.
typedef uintptr_t (*DriverInitFunction)(const uint8_t* info, uint32_t infoSize, uint32_t handle,
                                        uint32_t* error);

// <PFX>_Deinit: ends the device; every open has been closed before.
typedef void (*DriverDeinitFunction)(uintptr_t context);

// <PFX>_Open: opens the device with the File access and share bits. Returns
// the open's context (non-zero), or 0 after storing a Win32 code in *error.
typedef uintptr_t (*DriverOpenFunction)(uintptr_t context, uint32_t access, uint32_t share,
                                        uint32_t* error);

// <PFX>_Close: ends one open.
typedef void (*DriverCloseFunction)(uintptr_t open);

// <PFX>_IOControl: one control code. The driver may read and write both
// buffers (either may be null with size 0) and stores in *returned how many
// output bytes it filled. Returns 0 or a Win32 code (50 for an unknown code).
typedef uint32_t (*DriverIoControlFunction)(uintptr_t open, uint32_t code, uint8_t* input,
                                            uint32_t inputSize, uint8_t* output,
                                            uint32_t outputSize, uint32_t* returned);

}  // extern "C"

namespace devicemanager {

// The export name suffixes, appended to the prefix and an underscore.
inline constexpr const char* kInitExport = "_Init";
inline constexpr const char* kDeinitExport = "_Deinit";
inline constexpr const char* kOpenExport = "_Open";
inline constexpr const char* kCloseExport = "_Close";
inline constexpr const char* kIoControlExport = "_IOControl";

}  // namespace devicemanager
