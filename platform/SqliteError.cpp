// The SQLite result table.
#include "platform/SqliteError.h"

#include <sqlite3.h>

#include "platform/Errors.h"

namespace platform {

uint32_t Win32FromSqlite(int rc, sqlite3* db, SqliteMeaning meaning) {
  switch (rc & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return ERROR_SUCCESS;
    case SQLITE_NOTADB:
      return meaning.notDatabase;
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      return meaning.corrupt;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_BUSY;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_TOOBIG:
      return ERROR_INVALID_PARAMETER;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: {
      const int err = db ? sqlite3_system_errno(db) : 0;
      if (err != 0) return Win32FromErrno(err);
      return (rc & 0xff) == SQLITE_CANTOPEN ? ERROR_CANTOPEN : ERROR_GEN_FAILURE;
    }
    default:
      return ERROR_GEN_FAILURE;
  }
}

}  // namespace platform
