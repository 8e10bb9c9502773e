// Sync20: the sync manager library's stand-in; each export checks for a planted failure, then
// forwards.
#include <bit>

#include "outside/sync20/Sync20Api.h"
#include "outside/sync20/SyncSession.h"

#define SYNC_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using sync20::SyncSession;

// Forward: the planted failure of `name` if any, else the call's result.
template <typename Call>
int32_t Forward(const char* name, Call call) {
  if (const int32_t planted = SyncSession::Instance().TakeFailure(name); planted != 0)
    return planted;
  return call(SyncSession::Instance());
}

}  // namespace

SYNC_EXPORT int32_t SyncRegisterConduit(SyncConduitHandle* handle) {
  return Forward("SyncRegisterConduit", [&](SyncSession& s) { return s.Register(handle); });
}

SYNC_EXPORT int32_t SyncUnRegisterConduit(SyncConduitHandle handle) {
  return Forward("SyncUnRegisterConduit", [&](SyncSession& s) { return s.Unregister(handle); });
}

SYNC_EXPORT int32_t SyncReadUserID(SyncUserIdentity* identity) {
  return Forward("SyncReadUserID", [&](SyncSession& s) { return s.ReadUser(identity); });
}

SYNC_EXPORT int32_t SyncOpenDB(const char* name, int32_t card, SyncDbHandle* db, uint8_t mode) {
  return Forward("SyncOpenDB", [&](SyncSession& s) { return s.Open(name, card, db, mode); });
}

SYNC_EXPORT int32_t SyncCloseDB(SyncDbHandle db) {
  return Forward("SyncCloseDB", [&](SyncSession& s) { return s.Close(db); });
}

SYNC_EXPORT int32_t SyncWriteRec(SyncRecord* record) {
  return Forward("SyncWriteRec", [&](SyncSession& s) { return s.WriteRecord(record); });
}

SYNC_EXPORT int32_t SyncReadRecordByIndex(SyncRecord* record) {
  return Forward("SyncReadRecordByIndex", [&](SyncSession& s) { return s.ReadRecord(record); });
}

SYNC_EXPORT int32_t SyncWriteDBAppInfoBlock(SyncDbHandle db, SyncBlock* block) {
  return Forward("SyncWriteDBAppInfoBlock",
                 [&](SyncSession& s) { return s.WriteAppInfo(db, block); });
}

SYNC_EXPORT int32_t SyncPurgeAllRecs(SyncDbHandle db) {
  return Forward("SyncPurgeAllRecs", [&](SyncSession& s) { return s.Purge(db); });
}

SYNC_EXPORT int32_t SyncResetRecordIndex(SyncDbHandle db) {
  return Forward("SyncResetRecordIndex", [&](SyncSession& s) { return s.ResetIndex(db); });
}

SYNC_EXPORT int32_t SyncWriteDBSortInfoBlock(SyncDbHandle db, SyncBlock* block) {
  return Forward("SyncWriteDBSortInfoBlock",
                 [&](SyncSession& s) { return s.WriteSortInfo(db, block); });
}

SYNC_EXPORT int32_t SyncGetDBRecordCount(SyncDbHandle db, uint16_t* count) {
  return Forward("SyncGetDBRecordCount", [&](SyncSession& s) { return s.RecordCount(db, count); });
}

// The handheld keeps numbers big-endian; a value read from its memory into a
// host integer holds those bytes in memory order.
SYNC_EXPORT uint16_t SyncHHToHostWord(uint16_t value) {
  if constexpr (std::endian::native == std::endian::big) return value;
  return static_cast<uint16_t>((value >> 8) | (value << 8));
}

SYNC_EXPORT uint32_t SyncHHToHostDWord(uint32_t value) {
  if constexpr (std::endian::native == std::endian::big) return value;
  return ((value & 0xFF) << 24) | ((value & 0xFF00) << 8) | ((value >> 8) & 0xFF00) | (value >> 24);
}

SYNC_EXPORT int32_t QmSyncBeginSession(const char* userName) {
  return SyncSession::Instance().Begin(userName);
}

SYNC_EXPORT int32_t QmSyncEndSession() {
  return SyncSession::Instance().End();
}

SYNC_EXPORT int32_t QmSyncFailNext(const char* exportName, int32_t result) {
  return SyncSession::Instance().FailNext(exportName, result);
}
