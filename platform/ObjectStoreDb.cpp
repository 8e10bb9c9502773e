// The object-store file in SQLite: its layout, statements and per-thread connections.
#include "platform/ObjectStoreDb.h"

#include <sqlite3.h>
#include <unistd.h>

#include <iterator>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/ObjectStore.h"
#include "platform/SqliteStore.h"

namespace platform {
namespace {

// Marks a store file as ours ("QMOS") and its layout version.
constexpr int32_t kApplicationId = 0x514D4F53;
constexpr int32_t kSchemaVersion = 1;

// Identifiers come from one sequence shared by databases and records, so an
// identifier names exactly one object and is never handed out twice. Names
// are kept as UTF-16LE bytes; `fold` is the name in small letters, which
// makes names unique without regard to case beyond ASCII too. A record's
// properties keep their write order in `seq`; `props` and `size` are the
// property count and the byte size of the record's read buffer.
constexpr const char* kSchema =
    "CREATE TABLE sequence(next INTEGER NOT NULL);"
    "INSERT INTO sequence VALUES(1);"
    "CREATE TABLE databases("
    "  oid INTEGER PRIMARY KEY,"
    "  name BLOB NOT NULL,"
    "  fold BLOB NOT NULL UNIQUE,"
    "  type INTEGER NOT NULL);"
    "CREATE TABLE records("
    "  oid INTEGER PRIMARY KEY,"
    "  db INTEGER NOT NULL,"
    "  props INTEGER NOT NULL,"
    "  size INTEGER NOT NULL);"
    "CREATE INDEX records_of_db ON records(db, oid);"
    "CREATE TABLE props("
    "  record INTEGER NOT NULL,"
    "  seq INTEGER NOT NULL,"
    "  propid INTEGER NOT NULL,"
    "  value NOT NULL,"
    "  PRIMARY KEY(record, seq)) WITHOUT ROWID;"
    "PRAGMA application_id = 1364021075;"
    "PRAGMA user_version = 1;";
static_assert(kApplicationId == 1364021075);
constexpr StoreLayout kLayout{
    kApplicationId, kSchemaVersion, kSchema, {ERROR_INVALID_DATA, ERROR_CANTOPEN}};

constexpr const char* kSql[] = {
    "SELECT next FROM sequence",
    "UPDATE sequence SET next = ?1",
    "INSERT INTO databases(oid, name, fold, type) VALUES(?1, ?2, ?3, ?4)",
    "SELECT oid FROM databases WHERE fold = ?1",
    "SELECT 1 FROM databases WHERE oid = ?1",
    "SELECT name, type, (SELECT count(*) FROM records WHERE db = ?1),"
    " (SELECT coalesce(sum(size), 0) FROM records WHERE db = ?1) FROM databases WHERE oid = ?1",
    "SELECT oid FROM databases ORDER BY oid",
    "SELECT oid FROM databases WHERE type = ?1 ORDER BY oid",
    "DELETE FROM props WHERE record IN (SELECT oid FROM records WHERE db = ?1)",
    "DELETE FROM records WHERE db = ?1",
    "DELETE FROM databases WHERE oid = ?1",
    // One statement reads the record and its properties from one snapshot,
    // so a writer in another process never shows a half-deleted record.
    "SELECT r.oid, p.propid, p.value FROM records r LEFT JOIN props p ON p.record = r.oid"
    " WHERE r.oid = (SELECT min(oid) FROM records WHERE db = ?1 AND oid >= ?2) ORDER BY p.seq",
    "SELECT 1 FROM records WHERE oid = ?1 AND db = ?2",
    "SELECT propid, value FROM props WHERE record = ?1 ORDER BY seq",
    "INSERT INTO records(oid, db, props, size) VALUES(?1, ?2, ?3, ?4)",
    "UPDATE records SET props = ?2, size = ?3 WHERE oid = ?1",
    "INSERT INTO props(record, seq, propid, value) VALUES(?1, ?2, ?3, ?4)",
    "DELETE FROM props WHERE record = ?1",
    "DELETE FROM records WHERE oid = ?1",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};
static_assert(std::size(kSql) == static_cast<size_t>(StoreSql::_count));

// StoreError: the Win32 code for an SQLite result in this store.
uint32_t StoreError(int rc, sqlite3* db) {
  return Win32FromSqlite(rc, db, kLayout.meaning);
}

// The calling thread's connection; a thread ending closes it.
thread_local std::unique_ptr<ObjectStoreDb> t_connection;

}  // namespace

StoreQuery::StoreQuery(sqlite3* db, sqlite3_stmt* statement, uint32_t prepareError)
    : db_(db), statement_(statement), error_(prepareError) {}

StoreQuery::~StoreQuery() {
  if (!statement_) return;
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void StoreQuery::Bind(int index, int64_t value) {
  if (statement_) sqlite3_bind_int64(statement_, index, value);
}

void StoreQuery::Bind(int index, std::span<const uint8_t> blob) {
  // A null pointer would bind NULL; an empty blob stays an empty blob.
  static const uint8_t kEmpty = 0;
  if (statement_)
    sqlite3_bind_blob64(statement_, index, blob.empty() ? &kEmpty : blob.data(), blob.size(),
                        SQLITE_TRANSIENT);
}

StepResult StoreQuery::Step() {
  if (!statement_) return StepResult::Failed;
  int rc = sqlite3_step(statement_);
  if (rc == SQLITE_ROW) return StepResult::Row;
  if (rc == SQLITE_DONE) return StepResult::Done;
  error_ = StoreError(rc, db_);
  if (error_ == ERROR_SUCCESS) error_ = ERROR_GEN_FAILURE;
  return StepResult::Failed;
}

uint32_t StoreQuery::Run() {
  switch (Step()) {
    case StepResult::Done:
    case StepResult::Row:
      return ERROR_SUCCESS;
    case StepResult::Failed:
      break;
  }
  return error_;
}

int64_t StoreQuery::Int(int column) {
  return sqlite3_column_int64(statement_, column);
}

bool StoreQuery::IsNull(int column) {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

bool StoreQuery::IsBlob(int column) {
  return sqlite3_column_type(statement_, column) == SQLITE_BLOB;
}

std::span<const uint8_t> StoreQuery::Blob(int column) {
  const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, column));
  size_t n = static_cast<size_t>(sqlite3_column_bytes(statement_, column));
  return p ? std::span<const uint8_t>(p, n) : std::span<const uint8_t>();
}

struct ObjectStoreDb::Impl {
  sqlite3* db = nullptr;
  sqlite3_stmt* statements[static_cast<size_t>(StoreSql::_count)] = {};
};

ObjectStoreDb::ObjectStoreDb(std::string path)
    : path_(std::move(path)), ownerPid_(getpid()), impl_(std::make_unique<Impl>()) {}

ObjectStoreDb::~ObjectStoreDb() {
  // A forked child must not close (and so checkpoint or unlink the journal
  // of) its parent's connection; the few bytes stay until it exits.
  if (ownerPid_ != getpid()) {
    (void)impl_.release();
    return;
  }
  for (auto* s : impl_->statements)
    if (s) sqlite3_finalize(s);
  if (impl_->db) sqlite3_close_v2(impl_->db);
}

ObjectStoreDb* ObjectStoreDb::ForThisThread(uint32_t* error) {
  std::string path = ObjectStorePath();
  if (t_connection && t_connection->path_ == path && t_connection->ownerPid_ == getpid())
    return t_connection.get();
  t_connection.reset();
  std::unique_ptr<ObjectStoreDb> db(new ObjectStoreDb(path));
  if (uint32_t e = db->Open()) {
    *error = e;
    return nullptr;
  }
  t_connection = std::move(db);
  return t_connection.get();
}

uint32_t ObjectStoreDb::Open() {
  return OpenStoreFile(path_, kLayout, SQLITE_OPEN_NOMUTEX, &impl_->db);
}

StoreQuery ObjectStoreDb::Query(StoreSql which) {
  auto& s = impl_->statements[static_cast<size_t>(which)];
  if (!s) {
    int rc = sqlite3_prepare_v3(impl_->db, kSql[static_cast<size_t>(which)], -1,
                                SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (rc != SQLITE_OK) {
      s = nullptr;
      uint32_t e = StoreError(rc, impl_->db);
      return StoreQuery(impl_->db, nullptr, e ? e : ERROR_GEN_FAILURE);
    }
  }
  return StoreQuery(impl_->db, s, ERROR_SUCCESS);
}

StoreWrite::~StoreWrite() {
  if (open_) Finish(ERROR_GEN_FAILURE);
}

uint32_t StoreWrite::Begin() {
  uint32_t e = db_.Query(StoreSql::BeginWrite).Run();
  open_ = e == ERROR_SUCCESS;
  return e;
}

uint32_t StoreWrite::Finish(uint32_t result) {
  if (!open_) return result;
  open_ = false;
  if (result == ERROR_SUCCESS) {
    uint32_t e = db_.Query(StoreSql::Commit).Run();
    if (e == ERROR_SUCCESS) return ERROR_SUCCESS;
    result = e;
  }
  db_.Query(StoreSql::Rollback).Run();
  return result;
}

}  // namespace platform
