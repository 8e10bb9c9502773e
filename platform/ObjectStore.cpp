// The object store's calls: databases, their enumeration, and record reads and writes.
#include "platform/ObjectStore.h"

#include <limits>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/ObjectStoreDb.h"
#include "platform/RecordLayout.h"
#include "platform/Text.h"

namespace platform {
namespace {

constexpr uint64_t kLastOid = std::numeric_limits<CEOID>::max();
constexpr size_t kMaxProperties = std::numeric_limits<uint16_t>::max();

// Fail: sets the thread's last error and returns it.
uint32_t Fail(uint32_t code) {
  SetLastError(code);
  return code;
}

// FailOid: sets the last error and returns no identifier.
CEOID FailOid(uint32_t code) {
  SetLastError(code);
  return 0;
}

// Connect: the calling thread's connection, or null with *error set.
ObjectStoreDb* Connect(uint32_t* error) {
  return ObjectStoreDb::ForThisThread(error);
}

// DatabaseExists: 0, 2 when the identifier names no database, or the code.
uint32_t DatabaseExists(ObjectStoreDb& db, CEOID oid) {
  auto q = db.Query(StoreSql::DatabaseExists);
  q.Bind(1, int64_t{oid});
  switch (q.Step()) {
    case StepResult::Row:
      return ERROR_SUCCESS;
    case StepResult::Done:
      return ERROR_FILE_NOT_FOUND;
    case StepResult::Failed:
      break;
  }
  return q.error();
}

// RecordInDatabase: 0, 2 when the record is not in that database, or the code.
uint32_t RecordInDatabase(ObjectStoreDb& db, CEOID record, CEOID database) {
  auto q = db.Query(StoreSql::RecordOfDatabase);
  q.Bind(1, int64_t{record});
  q.Bind(2, int64_t{database});
  switch (q.Step()) {
    case StepResult::Row:
      return ERROR_SUCCESS;
    case StepResult::Done:
      return ERROR_FILE_NOT_FOUND;
    case StepResult::Failed:
      break;
  }
  return q.error();
}

// NewOid: takes the next identifier of the sequence, inside a write.
uint32_t NewOid(ObjectStoreDb& db, CEOID* oid) {
  int64_t next = 0;
  {
    auto q = db.Query(StoreSql::NextOid);
    if (q.Step() != StepResult::Row) return q.error() ? q.error() : ERROR_INVALID_DATA;
    next = q.Int(0);
  }
  // Identifiers are never reused, so the store is full once they run out.
  if (next <= 0 || static_cast<uint64_t>(next) > kLastOid) return ERROR_DISK_FULL;
  auto q = db.Query(StoreSql::SetNextOid);
  q.Bind(1, next + 1);
  if (uint32_t e = q.Run()) return e;
  *oid = static_cast<CEOID>(next);
  return ERROR_SUCCESS;
}

// LoadProperties: the record's properties in write order.
uint32_t LoadProperties(ObjectStoreDb& db, CEOID record, std::vector<StoredProperty>* out) {
  auto q = db.Query(StoreSql::RecordProps);
  q.Bind(1, int64_t{record});
  for (;;) {
    switch (q.Step()) {
      case StepResult::Row: {
        StoredProperty p;
        p.propid = static_cast<uint32_t>(q.Int(0));
        if (q.IsBlob(1)) {
          auto b = q.Blob(1);
          p.bytes.assign(b.begin(), b.end());
        } else {
          p.number = q.Int(1);
        }
        out->push_back(std::move(p));
        continue;
      }
      case StepResult::Done:
        return ERROR_SUCCESS;
      case StepResult::Failed:
        return q.error();
    }
  }
}

uint32_t StoreProperties(ObjectStoreDb& db, CEOID record,
                         const std::vector<StoredProperty>& props) {
  for (size_t i = 0; i < props.size(); ++i) {
    auto q = db.Query(StoreSql::InsertProp);
    q.Bind(1, int64_t{record});
    q.Bind(2, static_cast<int64_t>(i));
    q.Bind(3, int64_t{props[i].propid});
    if (HasBytes(props[i].propid))
      q.Bind(4, std::span<const uint8_t>(props[i].bytes));
    else
      q.Bind(4, props[i].number);
    if (uint32_t e = q.Run()) return e;
  }
  return ERROR_SUCCESS;
}

uint32_t DeleteRecordRows(ObjectStoreDb& db, CEOID record) {
  auto props = db.Query(StoreSql::DeleteRecordProps);
  props.Bind(1, int64_t{record});
  if (uint32_t e = props.Run()) return e;
  auto row = db.Query(StoreSql::DeleteRecord);
  row.Bind(1, int64_t{record});
  return row.Run();
}

}  // namespace

std::string ObjectStorePath() {
  return StatePath("QM_OBJECT_STORE", "objectstore.db");
}

// ---- DatabaseFind ----

DatabaseFind::DatabaseFind(DatabaseFind&& other) noexcept
    : oids_(std::move(other.oids_)), next_(other.next_), open_(other.open_) {
  other.Close();
}

DatabaseFind& DatabaseFind::operator=(DatabaseFind&& other) noexcept {
  if (this != &other) {
    oids_ = std::move(other.oids_);
    next_ = other.next_;
    open_ = other.open_;
    other.Close();
  }
  return *this;
}

DatabaseFind::~DatabaseFind() = default;

uint32_t DatabaseFind::Open(uint32_t type) {
  Close();
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return Fail(e);
  auto q = db->Query(type == 0 ? StoreSql::AllDatabases : StoreSql::DatabasesOfType);
  if (type != 0) q.Bind(1, int64_t{type});
  std::vector<CEOID> oids;
  for (;;) {
    StepResult r = q.Step();
    if (r == StepResult::Failed) return Fail(q.error());
    if (r == StepResult::Done) break;
    oids.push_back(static_cast<CEOID>(q.Int(0)));
  }
  oids_ = std::move(oids);
  next_ = 0;
  open_ = true;
  return Fail(ERROR_SUCCESS);
}

CEOID DatabaseFind::Next() {
  if (!open_) return FailOid(ERROR_INVALID_HANDLE);
  while (next_ < oids_.size()) {
    CEOID oid = oids_[next_];
    uint32_t e = ERROR_SUCCESS;
    ObjectStoreDb* db = Connect(&e);
    if (!db) return FailOid(e);
    e = DatabaseExists(*db, oid);
    if (e == ERROR_FILE_NOT_FOUND) {
      ++next_;  // deleted since the enumeration began
      continue;
    }
    if (e) return FailOid(e);
    ++next_;
    SetLastError(ERROR_SUCCESS);
    return oid;
  }
  return FailOid(ERROR_NO_MORE_ITEMS);
}

void DatabaseFind::Close() {
  oids_.clear();
  next_ = 0;
  open_ = false;
}

// ---- Databases ----

uint32_t GetDatabaseInfo(CEOID oid, DatabaseInfo& info) {
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return Fail(e);
  auto q = db->Query(StoreSql::DatabaseRow);
  q.Bind(1, int64_t{oid});
  switch (q.Step()) {
    case StepResult::Row: {
      info.oid = oid;
      info.name = Utf16FromLeBytes(q.Blob(0));
      info.type = static_cast<uint32_t>(q.Int(1));
      info.records = static_cast<uint32_t>(q.Int(2));
      const int64_t size = q.Int(3);
      info.size = size > static_cast<int64_t>(kLastOid) ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(size);
      return Fail(ERROR_SUCCESS);
    }
    case StepResult::Done:
      return Fail(ERROR_FILE_NOT_FOUND);
    case StepResult::Failed:
      break;
  }
  return Fail(q.error());
}

CEOID CreateDatabase(std::u16string_view name, uint32_t type) {
  if (name.empty() || name.size() > CEDB_MAXDBASENAMELEN ||
      name.find(u'\0') != std::u16string_view::npos)
    return FailOid(ERROR_INVALID_PARAMETER);
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return FailOid(e);
  const auto nameBytes = Utf16LeBytes(name);
  const auto foldBytes = Utf16LeBytes(ToLower(name));
  StoreWrite write(*db);
  if ((e = write.Begin())) return FailOid(e);
  // Looked up inside the write, so two processes cannot both take a name.
  {
    auto q = db->Query(StoreSql::FindDatabase);
    q.Bind(1, std::span<const uint8_t>(foldBytes));
    StepResult r = q.Step();
    if (r == StepResult::Row) e = ERROR_ALREADY_EXISTS;
    if (r == StepResult::Failed) e = q.error();
  }
  CEOID oid = 0;
  if (!e) e = NewOid(*db, &oid);
  if (!e) {
    auto q = db->Query(StoreSql::InsertDatabase);
    q.Bind(1, int64_t{oid});
    q.Bind(2, std::span<const uint8_t>(nameBytes));
    q.Bind(3, std::span<const uint8_t>(foldBytes));
    q.Bind(4, int64_t{type});
    e = q.Run();
  }
  if ((e = write.Finish(e))) return FailOid(e);
  SetLastError(ERROR_SUCCESS);
  return oid;
}

uint32_t DeleteDatabase(CEOID oid) {
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return Fail(e);
  StoreWrite write(*db);
  if ((e = write.Begin())) return Fail(e);
  e = DatabaseExists(*db, oid);
  for (StoreSql step :
       {StoreSql::DeleteDatabaseProps, StoreSql::DeleteDatabaseRecords, StoreSql::DeleteDatabase}) {
    if (e) break;
    auto q = db->Query(step);
    q.Bind(1, int64_t{oid});
    e = q.Run();
  }
  return Fail(write.Finish(e));
}

CEOID FindDatabase(std::u16string_view name) {
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return FailOid(e);
  const auto foldBytes = Utf16LeBytes(ToLower(name));
  auto q = db->Query(StoreSql::FindDatabase);
  q.Bind(1, std::span<const uint8_t>(foldBytes));
  switch (q.Step()) {
    case StepResult::Row: {
      auto oid = static_cast<CEOID>(q.Int(0));
      SetLastError(ERROR_SUCCESS);
      return oid;
    }
    case StepResult::Done:
      return FailOid(ERROR_FILE_NOT_FOUND);
    case StepResult::Failed:
      break;
  }
  return FailOid(q.error());
}

// ---- Database ----

Database::Database(Database&& other) noexcept
    : oid_(other.oid_), flags_(other.flags_), next_(other.next_) {
  other.oid_ = 0;
  other.next_ = 0;
}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    oid_ = other.oid_;
    flags_ = other.flags_;
    next_ = other.next_;
    other.oid_ = 0;
    other.next_ = 0;
  }
  return *this;
}

Database::~Database() = default;

uint32_t Database::Open(CEOID oid, uint32_t flags) {
  Close();
  if ((flags & ~CEDB_AUTOINCREMENT) != 0) return Fail(ERROR_INVALID_PARAMETER);
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return Fail(e);
  if ((e = DatabaseExists(*db, oid))) return Fail(e);
  oid_ = oid;
  flags_ = flags;
  next_ = 0;
  return Fail(ERROR_SUCCESS);
}

CEOID Database::ReadRecord(std::vector<uint8_t>& buffer, uint16_t& propertyCount, uint32_t& size) {
  if (!isOpen()) return FailOid(ERROR_INVALID_HANDLE);
  if (next_ > kLastOid) return FailOid(ERROR_NO_MORE_ITEMS);
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return FailOid(e);
  CEOID record = 0;
  std::vector<StoredProperty> props;
  {
    auto q = db->Query(StoreSql::RecordAtOrAfter);
    q.Bind(1, int64_t{oid_});
    q.Bind(2, static_cast<int64_t>(next_));
    for (bool more = true; more;) {
      switch (q.Step()) {
        case StepResult::Row: {
          record = static_cast<CEOID>(q.Int(0));
          if (q.IsNull(1)) break;  // a record without properties
          StoredProperty p;
          p.propid = static_cast<uint32_t>(q.Int(1));
          if (q.IsBlob(2)) {
            auto b = q.Blob(2);
            p.bytes.assign(b.begin(), b.end());
          } else {
            p.number = q.Int(2);
          }
          props.push_back(std::move(p));
          break;
        }
        case StepResult::Done:
          more = false;
          break;
        case StepResult::Failed:
          return FailOid(q.error());
      }
    }
  }
  if (record == 0) return FailOid(ERROR_NO_MORE_ITEMS);
  if (props.size() > kMaxProperties || RecordBufferSize(props) > kLastOid)
    return FailOid(ERROR_INVALID_DATA);
  size = FillRecordBuffer(props, buffer);
  propertyCount = static_cast<uint16_t>(props.size());
  // Without auto-advance the position stays on this record; when it is
  // deleted, the next read finds the record after it all the same.
  next_ = (flags_ & CEDB_AUTOINCREMENT) ? uint64_t{record} + 1 : record;
  SetLastError(ERROR_SUCCESS);
  return record;
}

CEOID Database::WriteRecord(CEOID oid, std::span<const PropertyValue> properties) {
  if (!isOpen()) return FailOid(ERROR_INVALID_HANDLE);
  if (properties.size() > kMaxProperties) return FailOid(ERROR_INVALID_PARAMETER);
  std::vector<StoredProperty> add(properties.size());
  for (size_t i = 0; i < properties.size(); ++i)
    if (uint32_t e = ToStoredProperty(properties[i], &add[i])) return FailOid(e);
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return FailOid(e);
  StoreWrite write(*db);
  if ((e = write.Begin())) return FailOid(e);
  e = DatabaseExists(*db, oid_);
  std::vector<StoredProperty> props;
  CEOID record = oid;
  if (!e && oid != 0) e = RecordInDatabase(*db, oid, oid_);
  if (!e && oid != 0) e = LoadProperties(*db, oid, &props);
  if (!e) {
    MergeProperties(props, std::move(add));
    if (props.size() > kMaxProperties || RecordBufferSize(props) > kLastOid)
      e = ERROR_INVALID_PARAMETER;
  }
  const auto count = static_cast<int64_t>(props.size());
  const auto bytes = static_cast<int64_t>(RecordBufferSize(props));
  if (!e && oid == 0) {
    e = NewOid(*db, &record);
    if (!e) {
      auto q = db->Query(StoreSql::InsertRecord);
      q.Bind(1, int64_t{record});
      q.Bind(2, int64_t{oid_});
      q.Bind(3, count);
      q.Bind(4, bytes);
      e = q.Run();
    }
  } else if (!e) {
    auto drop = db->Query(StoreSql::DeleteRecordProps);
    drop.Bind(1, int64_t{record});
    e = drop.Run();
    if (!e) {
      auto q = db->Query(StoreSql::UpdateRecord);
      q.Bind(1, int64_t{record});
      q.Bind(2, count);
      q.Bind(3, bytes);
      e = q.Run();
    }
  }
  if (!e) e = StoreProperties(*db, record, props);
  if ((e = write.Finish(e))) return FailOid(e);
  SetLastError(ERROR_SUCCESS);
  return record;
}

uint32_t Database::DeleteRecord(CEOID oid) {
  if (!isOpen()) return Fail(ERROR_INVALID_HANDLE);
  uint32_t e = ERROR_SUCCESS;
  ObjectStoreDb* db = Connect(&e);
  if (!db) return Fail(e);
  StoreWrite write(*db);
  if ((e = write.Begin())) return Fail(e);
  e = RecordInDatabase(*db, oid, oid_);
  if (!e) e = DeleteRecordRows(*db, oid);
  return Fail(write.Finish(e));
}

void Database::Close() {
  oid_ = 0;
  flags_ = 0;
  next_ = 0;
}

}  // namespace platform
