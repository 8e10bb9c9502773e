// Loading "Sync20.dll" and binding its exports by name.
#include "outside/sync20/Sync20Library.h"

#include "platform/Errors.h"

namespace sync20 {

namespace {

template <typename Fn>
bool Bind(const platform::Module& module, const char* name, Fn& out) {
  out = module.Function<Fn>(name);
  return out != nullptr;
}

}  // namespace

uint32_t Sync20Library::Load(const std::vector<std::string>& extraDirs) {
  Unload();
  if (const uint32_t rc = module_.Load("Sync20.dll", extraDirs); rc != 0) return rc;
  const bool all =
      Bind(module_, "SyncRegisterConduit", RegisterConduit) &&
      Bind(module_, "SyncUnRegisterConduit", UnRegisterConduit) &&
      Bind(module_, "SyncReadUserID", ReadUserID) && Bind(module_, "SyncOpenDB", OpenDB) &&
      Bind(module_, "SyncCloseDB", CloseDB) && Bind(module_, "SyncWriteRec", WriteRec) &&
      Bind(module_, "SyncReadRecordByIndex", ReadRecordByIndex) &&
      Bind(module_, "SyncWriteDBAppInfoBlock", WriteDBAppInfoBlock) &&
      Bind(module_, "SyncPurgeAllRecs", PurgeAllRecs) &&
      Bind(module_, "SyncResetRecordIndex", ResetRecordIndex) &&
      Bind(module_, "SyncWriteDBSortInfoBlock", WriteDBSortInfoBlock) &&
      Bind(module_, "SyncGetDBRecordCount", GetDBRecordCount) &&
      Bind(module_, "SyncHHToHostWord", HHToHostWord) &&
      Bind(module_, "SyncHHToHostDWord", HHToHostDWord) &&
      Bind(module_, "QmSyncBeginSession", BeginSession) &&
      Bind(module_, "QmSyncEndSession", EndSession) && Bind(module_, "QmSyncFailNext", FailNext);
  if (!all) {
    Unload();
    platform::SetLastError(platform::ERROR_PROC_NOT_FOUND);
    return platform::ERROR_PROC_NOT_FOUND;
  }
  return 0;
}

void Sync20Library::Unload() {
  RegisterConduit = nullptr;
  UnRegisterConduit = nullptr;
  ReadUserID = nullptr;
  OpenDB = nullptr;
  CloseDB = nullptr;
  WriteRec = nullptr;
  ReadRecordByIndex = nullptr;
  WriteDBAppInfoBlock = nullptr;
  PurgeAllRecs = nullptr;
  ResetRecordIndex = nullptr;
  WriteDBSortInfoBlock = nullptr;
  GetDBRecordCount = nullptr;
  HHToHostWord = nullptr;
  HHToHostDWord = nullptr;
  BeginSession = nullptr;
  EndSession = nullptr;
  FailNext = nullptr;
  module_.Unload();
}

}  // namespace sync20
