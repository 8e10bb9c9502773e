// The functions of the Palm Desktop's "UserData.dll" and "Instaide.dll", as the install queue calls
// them.
#pragma once

#include <cstdint>

// kUserNameBufferSize: the name buffer handed to UmGetUserName.
inline constexpr uint32_t kUserNameBufferSize = 260;

// kInstallAlreadyQueued: PltInstallFile's answer when the file is queued for
// that user already; the install queue takes it as done.
inline constexpr int32_t kInstallAlreadyQueued = -512;

// UmGetUserCount: the number of HotSync users.
using UmGetUserCountFn = int16_t (*)();
// UmGetUserID: the id of the user at a 0-based index; 0 on success.
using UmGetUserIDFn = int32_t (*)(int16_t index, uint32_t* userId);
// UmGetUserName: the user's name into `buffer` of *size bytes; a result
// greater than 0 is success.
using UmGetUserNameFn = int32_t (*)(uint32_t userId, char* buffer, uint32_t* size);
// PltInstallFile: queues a file for installation on a user's handheld; 0
// queued, kInstallAlreadyQueued, anything else a failure.
using PltInstallFileFn = int32_t (*)(const char* userName, const char* filePath);
