// Win32 codes for SQLite results, shared by the stores kept in SQLite files.
#pragma once

#include <cstdint>

struct sqlite3;

namespace platform {

// SqliteMeaning: the codes a store gives a damaged file and a file that is
// no SQLite database at all; the rest of the mapping is the same for all.
struct SqliteMeaning {
  uint32_t corrupt;
  uint32_t notDatabase;
};

// Win32FromSqlite: the Win32 code for an SQLite result code (extended codes
// allowed); an open or I/O failure gives the host error behind it when the
// connection `db` (may be null) knows one.
uint32_t Win32FromSqlite(int rc, sqlite3* db, SqliteMeaning meaning);

}  // namespace platform
