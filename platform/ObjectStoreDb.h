// The calling thread's SQLite connection to the object-store file and its statements.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// The statements of the object store, by number.
enum class StoreSql {
  NextOid,
  SetNextOid,
  InsertDatabase,
  FindDatabase,
  DatabaseExists,
  DatabaseRow,
  AllDatabases,
  DatabasesOfType,
  DeleteDatabaseProps,
  DeleteDatabaseRecords,
  DeleteDatabase,
  RecordAtOrAfter,
  RecordOfDatabase,
  RecordProps,
  InsertRecord,
  UpdateRecord,
  InsertProp,
  DeleteRecordProps,
  DeleteRecord,
  BeginWrite,
  Commit,
  Rollback,
  _count
};

// What one step of a query gave.
enum class StepResult { Row, Done, Failed };

// StoreQuery: one prepared statement in use; reset and unbound when it goes
// away. A statement that could not be prepared fails at its first Step.
class StoreQuery {
 public:
  StoreQuery(sqlite3* db, sqlite3_stmt* statement, uint32_t prepareError);
  StoreQuery(const StoreQuery&) = delete;
  StoreQuery& operator=(const StoreQuery&) = delete;
  ~StoreQuery();

  void Bind(int index, int64_t value);
  void Bind(int index, std::span<const uint8_t> blob);

  // Step: the next row, the end, or a failure whose Win32 code error() holds.
  StepResult Step();
  uint32_t error() const { return error_; }

  // Run: steps a statement that returns no rows; 0 or the Win32 code.
  uint32_t Run();

  int64_t Int(int column);
  bool IsNull(int column);
  bool IsBlob(int column);
  // Blob: the column's bytes, valid until the next Step.
  std::span<const uint8_t> Blob(int column);

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_;
  uint32_t error_;
};

// ObjectStoreDb: a connection to the store file. Each thread has its own, so
// the scan worker and a thread writing at the same time never share one, and
// SQLite's file locks (WAL journal, busy time-out) order them like separate
// processes.
class ObjectStoreDb {
 public:
  // ForThisThread: the calling thread's connection to the store at
  // ObjectStorePath(), opened on first use and opened anew when that path has
  // changed; the thread owns it until it ends. Null on failure with *error
  // set (1011 for a file that is not a store, 50 for a newer layout).
  static ObjectStoreDb* ForThisThread(uint32_t* error);

  ~ObjectStoreDb();
  ObjectStoreDb(const ObjectStoreDb&) = delete;
  ObjectStoreDb& operator=(const ObjectStoreDb&) = delete;

  // Query: the statement, prepared once per connection.
  StoreQuery Query(StoreSql which);

 private:
  struct Impl;
  explicit ObjectStoreDb(std::string path);
  uint32_t Open();

  std::string path_;
  int ownerPid_ = 0;
  std::unique_ptr<Impl> impl_;
};

// StoreWrite: one write transaction, taken at once (BEGIN IMMEDIATE) so that
// concurrent writers queue on the busy time-out instead of failing half way.
// Rolled back unless committed.
class StoreWrite {
 public:
  explicit StoreWrite(ObjectStoreDb& db) : db_(db) {}
  StoreWrite(const StoreWrite&) = delete;
  StoreWrite& operator=(const StoreWrite&) = delete;
  ~StoreWrite();

  uint32_t Begin();
  // Finish: commits when result is 0, else rolls back; returns the final
  // result.
  uint32_t Finish(uint32_t result);

 private:
  ObjectStoreDb& db_;
  bool open_ = false;
};

}  // namespace platform
