// A tiny conduit for the HotSync manager's tests: logs what it was given and reads the handheld.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "outside/hotsync/ConduitApi.h"
#include "outside/hslog20/HsLog20Library.h"
#include "outside/sync20/Sync20Library.h"

#define CONDUIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void Log(const hslog20::HsLog20Library& log, const std::string& line) {
  if (log.LogAddEntry) log.LogAddEntry(line.c_str(), -1, 0);
}

}  // namespace

// OpenConduit: registers, logs the sync type, the user and the record count
// of "ZEPDB" (or that it is missing), reports progress once and unregisters.
// Sync type 6 answers -2 so that a failure can be seen.
CONDUIT_EXPORT int32_t OpenConduit(ConduitProgressFn progress, ConduitSyncProperties* properties) {
  if (progress == nullptr || properties == nullptr) return -1;
  sync20::Sync20Library sync;
  hslog20::HsLog20Library log;
  if (sync.Load() != 0 || log.Load() != 0) return -1;
  SyncConduitHandle handle = 0;
  if (sync.RegisterConduit(&handle) != 0) {
    Log(log, "test conduit: not registered");
    return -1;
  }
  SyncUserIdentity identity{};
  sync.ReadUserID(&identity);
  std::string line = "test conduit: sync type " + std::to_string(properties->syncType) + ", user " +
                     identity.userName + ", folder " + properties->userFolder;
  SyncDbHandle db = 0;
  if (sync.OpenDB("ZEPDB", 0, &db, 0xF0) == 0) {
    uint16_t count = 0;
    sync.GetDBRecordCount(db, &count);
    sync.CloseDB(db);
    line += ", ZEPDB has " + std::to_string(count) + " records";
  } else {
    line += ", no ZEPDB";
  }
  Log(log, line);
  progress("test conduit ran");
  sync.UnRegisterConduit(handle);
  return properties->syncType == kSyncTypeDoNothing ? -2 : 0;
}

CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint32_t size) {
  const char name[] = "Test Conduit";
  if (buffer == nullptr || (size & 0xFFFF) < sizeof name) return -1;
  std::memcpy(buffer, name, sizeof name);
  return 0;
}

CONDUIT_EXPORT uint32_t GetConduitVersion() {
  return 0x102;
}

CONDUIT_EXPORT int32_t GetConduitInfo(int32_t, void*, void*, uint32_t*) {
  return 4208;
}

// CfgConduit: chooses the other of "update" (3) and "do nothing" (6) than
// the next sync type; the default flag is taken from QM_TEST_CONDUIT_FLAG
// (unset: the record is left alone, as after Cancel).
CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* argument, uint32_t* size) {
  if (kind != 0 || argument == nullptr || size == nullptr || *size != sizeof(ConduitCfgRecord))
    return 4217;
  auto* record = static_cast<ConduitCfgRecord*>(argument);
  const char* flag = std::getenv("QM_TEST_CONDUIT_FLAG");
  if (flag == nullptr) return 0;
  record->chosenSyncType =
      record->nextSyncType == kSyncTypeDoNothing ? kSyncTypePcToHandheld : kSyncTypeDoNothing;
  record->defaultFlag = std::atoi(flag);
  return 0;
}
