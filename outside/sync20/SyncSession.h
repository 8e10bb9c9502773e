// SyncSession: the sync manager's state in a process: the session's user, registrations and open
// databases.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "conduit/pdb/PdbDatabase.h"
#include "outside/sync20/Sync20Api.h"

namespace sync20 {

// SyncSession: one per process, behind the library's exports, which forward
// to it one to one (see Sync20Api.h for each contract). A database is read
// into memory when it opens and written back, atomically, when it closes;
// nothing is written for a database that was not changed. Calls from several
// threads are serialised.
class SyncSession {
 public:
  static SyncSession& Instance();

  int32_t Begin(const char* userName);
  int32_t End();
  int32_t FailNext(const char* exportName, int32_t result);

  int32_t Register(SyncConduitHandle* handle);
  int32_t Unregister(SyncConduitHandle handle);
  int32_t ReadUser(SyncUserIdentity* identity);
  int32_t Open(const char* name, int32_t card, SyncDbHandle* db, uint8_t mode);
  int32_t Close(SyncDbHandle db);
  int32_t Purge(SyncDbHandle db);
  int32_t ResetIndex(SyncDbHandle db);
  int32_t WriteAppInfo(SyncDbHandle db, const SyncBlock* block);
  int32_t WriteSortInfo(SyncDbHandle db, const SyncBlock* block);
  int32_t WriteRecord(SyncRecord* record);
  int32_t ReadRecord(SyncRecord* record);
  int32_t RecordCount(SyncDbHandle db, uint16_t* count);

  // TakeFailure: the result set by FailNext for `exportName`, once; 0 when
  // none is set (the call then goes ahead).
  int32_t TakeFailure(const char* exportName);

 private:
  struct OpenDatabase {
    std::string path;
    conduit::PdbDatabase database;
    uint8_t mode = 0;
    bool changed = false;
    uint16_t nextIndex = 0;
    uint64_t bytes = 0;  // the size of its .pdb form
  };

  std::string UserLocked() const;
  OpenDatabase* Find(SyncDbHandle db);
  int32_t Writable(SyncDbHandle db, OpenDatabase*& out);
  int32_t CloseLocked(SyncDbHandle db);
  void CloseAllLocked();
  int32_t WriteBlock(SyncDbHandle db, const SyncBlock* block, bool appInfo);

  std::mutex mutex_;
  bool begun_ = false;
  std::string user_;
  std::set<SyncConduitHandle> registered_;
  SyncConduitHandle nextHandle_ = 1;
  std::map<SyncDbHandle, OpenDatabase> open_;
  std::map<std::string, int32_t> failures_;
};

}  // namespace sync20
