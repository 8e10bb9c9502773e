// The open sequence every SQLite-backed store shares.
#include "platform/SqliteStore.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/Errors.h"
#include "platform/Home.h"

namespace platform {
namespace {

uint32_t Exec(sqlite3* db, const char* sql, SqliteMeaning meaning) {
  return Win32FromSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, meaning);
}

uint32_t PragmaInt(sqlite3* db, const char* sql, int64_t* out, SqliteMeaning meaning) {
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
  if (rc != SQLITE_OK) return Win32FromSqlite(rc, db, meaning);
  rc = sqlite3_step(s);
  *out = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
  sqlite3_finalize(s);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? ERROR_SUCCESS : Win32FromSqlite(rc, db, meaning);
}

// UseWal: puts the store in WAL mode. Switching a new file takes an exclusive
// lock that SQLite does not wait for (its busy handler is not called), so
// processes opening a fresh store at the same moment retry here, up to the
// busy time-out, instead of failing with ERROR_BUSY. A file system without
// WAL keeps the old journal, which still gives whole transactions.
uint32_t UseWal(sqlite3* db, SqliteMeaning meaning) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStoreBusyTimeoutMs);
  for (;;) {
    int64_t ignored = 0;
    const uint32_t e = PragmaInt(db, "PRAGMA journal_mode=WAL", &ignored, meaning);
    if (e != ERROR_BUSY) return e;
    if (std::chrono::steady_clock::now() >= deadline) return ERROR_BUSY;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

uint32_t OpenStoreFile(const std::string& path, const StoreLayout& layout, int sqliteFlags,
                       sqlite3** db) {
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  const std::filesystem::path p(path);
  if (p.has_parent_path())
    if (uint32_t e = EnsureFolder(p.parent_path().string())) return e;
  const SqliteMeaning meaning = layout.meaning;
  int rc = sqlite3_open_v2(path.c_str(), db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | sqliteFlags, nullptr);
  if (rc != SQLITE_OK) return Win32FromSqlite(rc, *db, meaning);
  sqlite3_extended_result_codes(*db, 1);
  sqlite3_busy_timeout(*db, kStoreBusyTimeoutMs);
  if (uint32_t e = UseWal(*db, meaning)) return e;
  if (uint32_t e = Exec(*db, "PRAGMA synchronous=NORMAL", meaning)) return e;

  // Lay out a new store, or tell a foreign or newer file from ours.
  if (uint32_t e = Exec(*db, "BEGIN IMMEDIATE", meaning)) return e;
  int64_t appId = 0, version = 0, objects = 0;
  uint32_t e = PragmaInt(*db, "PRAGMA application_id", &appId, meaning);
  if (!e) e = PragmaInt(*db, "PRAGMA user_version", &version, meaning);
  if (!e) e = PragmaInt(*db, "SELECT count(*) FROM sqlite_master", &objects, meaning);
  if (!e) {
    if (version == 0 && appId == 0 && objects == 0)
      e = Exec(*db, layout.schema, meaning);
    else if (appId != layout.applicationId)
      e = meaning.notDatabase;
    else if (version > layout.schemaVersion)
      e = ERROR_NOT_SUPPORTED;
  }
  if (e) {
    Exec(*db, "ROLLBACK", meaning);
    return e;
  }
  return Exec(*db, "COMMIT", meaning);
}

}  // namespace platform
