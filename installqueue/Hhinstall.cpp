// Hhinstall: the install queue's one export.
#include <cstdint>

#include "installqueue/InstallQueue.h"
#include "platform/Errors.h"

#define HHINSTALL_EXPORT extern "C" __attribute__((visibility("default")))

// HhinstallFile: queues `filePath` on the handheld of `userName`, or of every
// HotSync user when it is null, through the Palm Desktop in `desktopDir`
// (see QueueFileOnHandheld for the results).
HHINSTALL_EXPORT int32_t HhinstallFile(const char* desktopDir, const char* userName,
                                       const char* filePath) {
  try {
    return installqueue::QueueFileOnHandheld(desktopDir, userName, filePath);
  } catch (...) {
    // Only an allocation can throw here.
    return static_cast<int32_t>(platform::ERROR_NOT_ENOUGH_MEMORY);
  }
}
