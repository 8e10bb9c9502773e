// Instaide: the Palm Desktop's install aid as a stand-in: queues a file in the user's "Install"
// folder.
#include <string>

#include "installqueue/PalmDesktopApi.h"
#include "outside/palmdesktop/InstallFolder.h"
#include "outside/palmdesktop/LeakCheckPause.h"
#include "outside/palmdesktop/PalmUsers.h"

#define PALM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Presence: notes each load and unload of the library in the call log.
struct Presence {
  Presence() { palmdesktop::LogCall("Instaide loaded"); }
  ~Presence() { palmdesktop::LogCall("Instaide unloaded"); }
} gPresence;

}  // namespace

PALM_EXPORT int32_t PltInstallFile(const char* userName, const char* filePath) {
  const palmdesktop::LeakCheckPause pause;
  const int32_t rc = palmdesktop::QueueInstall(userName, filePath);
  palmdesktop::LogCall(std::string("PltInstallFile ") + (userName ? userName : "(null)") + " " +
                       (filePath ? filePath : "(null)") + " -> " + std::to_string(rc));
  return rc;
}
