// Sync20Library: the sync manager library loaded by name and its exports bound, as a conduit uses
// it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outside/sync20/Sync20Api.h"
#include "platform/Module.h"

namespace sync20 {

// Sync20Library: owns the loaded "Sync20.dll" and the addresses of its
// exports. Loading the same library twice in a process (the HotSync manager
// and its conduit both do) gives the same instance with the same session.
// The function members may also be set by hand (tests of a caller); they
// are null until Load succeeds.
class Sync20Library {
 public:
  // Load: loads the library (searched as every module is, then in
  // extraDirs) and binds every export, the manager's included. Returns 0; a
  // Win32 code when the library does not load (126 when no file is found);
  // ERROR_PROC_NOT_FOUND (127) when an export is missing. A failure leaves
  // every function member null.
  uint32_t Load(const std::vector<std::string>& extraDirs = {});

  // Unload: releases the library and nulls the function members.
  void Unload();

  bool loaded() const { return module_.loaded(); }

  SyncRegisterConduitFn RegisterConduit = nullptr;          // 22
  SyncUnRegisterConduitFn UnRegisterConduit = nullptr;      // 23
  SyncReadUserIDFn ReadUserID = nullptr;                    // 24
  SyncOpenDBFn OpenDB = nullptr;                            // 26
  SyncCloseDBFn CloseDB = nullptr;                          // 28
  SyncWriteRecFn WriteRec = nullptr;                        // 32
  SyncReadRecordByIndexFn ReadRecordByIndex = nullptr;      // 36
  SyncWriteDBAppInfoBlockFn WriteDBAppInfoBlock = nullptr;  // 39
  SyncPurgeAllRecsFn PurgeAllRecs = nullptr;                // 41
  SyncResetRecordIndexFn ResetRecordIndex = nullptr;
  SyncWriteDBSortInfoBlockFn WriteDBSortInfoBlock = nullptr;
  SyncGetDBRecordCountFn GetDBRecordCount = nullptr;
  SyncHHToHostWordFn HHToHostWord = nullptr;
  SyncHHToHostDWordFn HHToHostDWord = nullptr;
  QmSyncBeginSessionFn BeginSession = nullptr;
  QmSyncEndSessionFn EndSession = nullptr;
  QmSyncFailNextFn FailNext = nullptr;

 private:
  platform::Module module_;
};

}  // namespace sync20
