// The sync manager's state: sessions, registrations, open databases and their records.
#include "outside/sync20/SyncSession.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "outside/sync20/Handheld.h"
#include "platform/Errors.h"
#include "platform/Home.h"

namespace sync20 {

namespace {

constexpr SyncDbHandle kMaxOpen = 32;
constexpr size_t kEntryBytes = 8;

constexpr const char* kExports[] = {
    "SyncRegisterConduit",
    "SyncUnRegisterConduit",
    "SyncReadUserID",
    "SyncOpenDB",
    "SyncCloseDB",
    "SyncWriteRec",
    "SyncReadRecordByIndex",
    "SyncWriteDBAppInfoBlock",
    "SyncPurgeAllRecs",
    "SyncResetRecordIndex",
    "SyncWriteDBSortInfoBlock",
    "SyncGetDBRecordCount",
};

bool ValidName(const char* name, size_t limit) {
  if (name == nullptr) return false;
  const size_t length = strnlen(name, limit);
  return length > 0 && length < limit;
}

}  // namespace

SyncSession& SyncSession::Instance() {
  static SyncSession session;
  return session;
}

std::string SyncSession::UserLocked() const {
  if (begun_) return user_;
  const char* fromEnvironment = std::getenv("QM_HOTSYNC_USER");
  if (fromEnvironment != nullptr && ValidName(fromEnvironment, sizeof(SyncUserIdentity::userName)))
    return fromEnvironment;
  return {};
}

int32_t SyncSession::Begin(const char* userName) {
  if (!ValidName(userName, sizeof(SyncUserIdentity::userName))) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  CloseAllLocked();
  registered_.clear();
  if (const uint32_t rc = platform::EnsureFolder(UserFolder(userName)); rc != 0) {
    begun_ = false;
    return static_cast<int32_t>(rc);
  }
  begun_ = true;
  user_ = userName;
  return kSyncOk;
}

int32_t SyncSession::End() {
  const std::lock_guard lock(mutex_);
  CloseAllLocked();
  registered_.clear();
  begun_ = false;
  user_.clear();
  failures_.clear();
  return kSyncOk;
}

int32_t SyncSession::FailNext(const char* exportName, int32_t result) {
  if (exportName == nullptr) return kSyncErrBadArgument;
  const auto known = std::find_if(std::begin(kExports), std::end(kExports),
                                  [&](const char* e) { return std::strcmp(e, exportName) == 0; });
  if (known == std::end(kExports)) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  failures_[exportName] = result;
  return kSyncOk;
}

int32_t SyncSession::TakeFailure(const char* exportName) {
  const std::lock_guard lock(mutex_);
  const auto it = failures_.find(exportName);
  if (it == failures_.end()) return 0;
  const int32_t result = it->second;
  failures_.erase(it);
  return result;
}

int32_t SyncSession::Register(SyncConduitHandle* handle) {
  if (handle == nullptr) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  const std::string user = UserLocked();
  if (user.empty()) return kSyncErrNotConnected;
  if (!begun_) {
    if (const uint32_t rc = platform::EnsureFolder(UserFolder(user)); rc != 0)
      return static_cast<int32_t>(rc);
  }
  *handle = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 1;
  registered_.insert(*handle);
  return kSyncOk;
}

int32_t SyncSession::Unregister(SyncConduitHandle handle) {
  const std::lock_guard lock(mutex_);
  if (registered_.erase(handle) == 0) return kSyncErrNotRegistered;
  if (registered_.empty()) CloseAllLocked();
  return kSyncOk;
}

int32_t SyncSession::ReadUser(SyncUserIdentity* identity) {
  if (identity == nullptr) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  if (registered_.empty()) return kSyncErrNotRegistered;
  const std::string user = UserLocked();
  if (user.empty()) return kSyncErrNotConnected;
  *identity = SyncUserIdentity{};
  std::memcpy(identity->userName, user.c_str(), user.size() + 1);
  // A stable number for the user: the name's bytes folded.
  uint32_t id = 2166136261u;
  for (unsigned char c : user) id = (id ^ c) * 16777619u;
  identity->userId = id;
  return kSyncOk;
}

int32_t SyncSession::Open(const char* name, int32_t card, SyncDbHandle* db, uint8_t mode) {
  if (db == nullptr || card != 0 || !ValidName(name, conduit::kPdbNameSize))
    return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  if (registered_.empty()) return kSyncErrNotRegistered;
  const std::string user = UserLocked();
  if (user.empty()) return kSyncErrNotConnected;
  const std::string path = DatabasePath(user, name);
  for (const auto& [handle, open] : open_)
    if (open.path == path) return kSyncErrInUse;
  SyncDbHandle free = 0;
  for (SyncDbHandle h = 1; h <= kMaxOpen && free == 0; ++h)
    if (open_.find(h) == open_.end()) free = h;
  if (free == 0) return kSyncErrTooManyOpen;

  OpenDatabase open;
  open.path = path;
  open.mode = mode;
  if (const int32_t rc = LoadDatabase(path, open.database); rc != 0)
    return rc == platform::ERROR_FILE_NOT_FOUND ? kSyncErrNotFound : rc;
  // A file whose header names another database is not this one.
  if (open.database.Name() != name) return kSyncErrNotFound;
  open.bytes = conduit::SerializePdb(open.database).size();
  open_.emplace(free, std::move(open));
  *db = free;
  return kSyncOk;
}

SyncSession::OpenDatabase* SyncSession::Find(SyncDbHandle db) {
  const auto it = open_.find(db);
  return it == open_.end() ? nullptr : &it->second;
}

int32_t SyncSession::Writable(SyncDbHandle db, OpenDatabase*& out) {
  out = Find(db);
  if (out == nullptr) return kSyncErrBadHandle;
  if (!(out->mode & kSyncModeWrite)) return kSyncErrReadOnly;
  return kSyncOk;
}

int32_t SyncSession::CloseLocked(SyncDbHandle db) {
  const auto it = open_.find(db);
  if (it == open_.end()) return kSyncErrBadHandle;
  int32_t rc = kSyncOk;
  if (it->second.changed) rc = StoreDatabase(it->second.path, it->second.database);
  open_.erase(it);
  return rc;
}

void SyncSession::CloseAllLocked() {
  while (!open_.empty()) CloseLocked(open_.begin()->first);
}

int32_t SyncSession::Close(SyncDbHandle db) {
  const std::lock_guard lock(mutex_);
  return CloseLocked(db);
}

int32_t SyncSession::Purge(SyncDbHandle db) {
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = nullptr;
  if (const int32_t rc = Writable(db, open); rc != 0) return rc;
  for (const auto& r : open->database.records) open->bytes -= kEntryBytes + r.data.size();
  open->database.records.clear();
  open->nextIndex = 0;
  open->changed = true;
  return kSyncOk;
}

int32_t SyncSession::ResetIndex(SyncDbHandle db) {
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = Find(db);
  if (open == nullptr) return kSyncErrBadHandle;
  open->nextIndex = 0;
  return kSyncOk;
}

int32_t SyncSession::WriteBlock(SyncDbHandle db, const SyncBlock* block, bool appInfo) {
  if (block == nullptr || (block->size > 0 && block->data == nullptr)) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = nullptr;
  if (const int32_t rc = Writable(db, open); rc != 0) return rc;
  std::vector<uint8_t>& target = appInfo ? open->database.appInfo : open->database.sortInfo;
  bool& present = appInfo ? open->database.hasAppInfo : open->database.hasSortInfo;
  const uint64_t bytes = open->bytes - target.size() + block->size;
  if (bytes > conduit::kMaxPdbFileSize) return kSyncErrTooLarge;
  target.assign(block->data, block->data + block->size);
  present = true;
  open->bytes = bytes;
  open->changed = true;
  return kSyncOk;
}

int32_t SyncSession::WriteAppInfo(SyncDbHandle db, const SyncBlock* block) {
  return WriteBlock(db, block, true);
}

int32_t SyncSession::WriteSortInfo(SyncDbHandle db, const SyncBlock* block) {
  return WriteBlock(db, block, false);
}

int32_t SyncSession::WriteRecord(SyncRecord* record) {
  if (record == nullptr || (record->size > 0 && record->buffer == nullptr) ||
      record->recordId > 0xFFFFFF)
    return kSyncErrBadArgument;
  if (record->size > kSyncMaxRecordSize) return kSyncErrTooLarge;
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = nullptr;
  if (const int32_t rc = Writable(record->db, open); rc != 0) return rc;
  auto& records = open->database.records;
  conduit::PdbDatabaseRecord* target = nullptr;
  if (record->recordId != 0) {
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const auto& r) { return r.uniqueId == record->recordId; });
    if (it != records.end()) target = &*it;
  }
  const uint64_t oldBytes = target ? kEntryBytes + target->data.size() : 0;
  const uint64_t bytes = open->bytes - oldBytes + kEntryBytes + record->size;
  if (bytes > conduit::kMaxPdbFileSize) return kSyncErrTooLarge;
  if (target == nullptr) {
    if (records.size() >= conduit::kMaxPdbRecords) return kSyncErrTooLarge;
    uint32_t id = record->recordId;
    if (id == 0) id = open->database.NextUniqueId();
    if (id == 0) return kSyncErrTooLarge;
    records.push_back({});
    target = &records.back();
    target->uniqueId = id;
  }
  target->attributes = record->attributes;
  target->data.assign(record->buffer, record->buffer + record->size);
  record->recordId = target->uniqueId;
  open->bytes = bytes;
  open->changed = true;
  return kSyncOk;
}

int32_t SyncSession::ReadRecord(SyncRecord* record) {
  if (record == nullptr || (record->bufferSize > 0 && record->buffer == nullptr))
    return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = Find(record->db);
  if (open == nullptr) return kSyncErrBadHandle;
  const auto& records = open->database.records;
  if (record->index >= records.size()) return kSyncErrNoSuchRecord;
  const auto& source = records[record->index];
  const size_t copied = std::min<size_t>(source.data.size(), record->bufferSize);
  std::copy_n(source.data.begin(), copied, record->buffer);
  record->recordId = source.uniqueId;
  record->attributes = source.attributes;
  record->size = static_cast<uint32_t>(source.data.size());
  return kSyncOk;
}

int32_t SyncSession::RecordCount(SyncDbHandle db, uint16_t* count) {
  if (count == nullptr) return kSyncErrBadArgument;
  const std::lock_guard lock(mutex_);
  OpenDatabase* open = Find(db);
  if (open == nullptr) return kSyncErrBadHandle;
  *count = static_cast<uint16_t>(open->database.records.size());
  return kSyncOk;
}

}  // namespace sync20
