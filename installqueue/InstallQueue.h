// InstallQueue: queuing a file on a handheld through the Palm Desktop's user and install libraries.
#pragma once

#include <cstdint>

namespace installqueue {

// kMissingFunction: one of the four Palm Desktop functions is not exported.
inline constexpr int32_t kMissingFunction = -1;

// QueueFileOnHandheld: loads "<desktopDir>\UserData.dll" and then
// "<desktopDir>\Instaide.dll" (each path cut to 259 bytes), resolves
// UmGetUserCount, UmGetUserID, UmGetUserName and PltInstallFile, and queues
// `filePath` for `userName`, or for every user when it is null. Returns:
//   0 or -512 (kInstallAlreadyQueued): the last PltInstallFile answer; with
//     every user, -512 from one user does not stop the others;
//   0 also when there is no user to queue for (nothing is installed);
//   kMissingFunction: a function is missing (nothing is called);
//   a positive Win32 code: a library did not load (126 when missing); when
//     the first fails the second is not loaded;
//   any other value: the failing UmGetUserID, UmGetUserName (0 or less) or
//     PltInstallFile answer, which stops the loop over the users.
// Both libraries are unloaded before it returns, on every path. A null
// directory or file path gives ERROR_INVALID_PARAMETER (87) at once.
int32_t QueueFileOnHandheld(const char* desktopDir, const char* userName, const char* filePath);

}  // namespace installqueue
