// Opening the SQLite files the stores keep: created when missing, WAL
// journal, a busy time-out, and a layout check against foreign files.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SqliteError.h"

namespace platform {

// StoreLayout: what marks a store file as one of ours.
struct StoreLayout {
  int32_t applicationId;  // PRAGMA application_id of our files
  int32_t schemaVersion;  // the newest layout this code reads
  const char* schema;     // the statements that lay out an empty file
  SqliteMeaning meaning;  // codes for a damaged or foreign file
};

// kStoreBusyTimeoutMs: how long a store waits for another process's write.
inline constexpr int kStoreBusyTimeoutMs = 15000;

// OpenStoreFile: opens the store file at `path` (creating it and its folder),
// switches it to WAL, and lays out an empty file or checks a present one:
// another program's file gives meaning.notDatabase, a newer layout
// ERROR_NOT_SUPPORTED. `sqliteFlags` adds the threading flag. On success *db
// is the connection; on failure *db may still need sqlite3_close_v2 (it is
// left to the caller, who owns it either way).
uint32_t OpenStoreFile(const std::string& path, const StoreLayout& layout, int sqliteFlags,
                       sqlite3** db);

}  // namespace platform
