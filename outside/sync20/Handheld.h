// Handheld: the emulated handheld's storage: a folder of .pdb files per HotSync user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/pdb/PdbDatabase.h"

namespace sync20 {

// HandheldFolder: QM_HANDHELD, else $QM_HOME/handheld.
std::string HandheldFolder();

// FileNameFor: the host file or folder name that stands for a database or
// user name: letters, digits, space and ". _ - ( ) ' , + = @ [ ] ! # $ & ~"
// as they are, every other byte (and a leading dot) as "%XX", so that any
// name maps to one plain file name and back.
std::string FileNameFor(std::string_view name);

// UserFolder: the host folder of a user's handheld (not created here).
std::string UserFolder(std::string_view user);

// DatabasePath: the host file of a database on a user's handheld.
std::string DatabasePath(std::string_view user, std::string_view database);

// LoadDatabase: reads and checks a database file. Returns 0, the Win32 code
// of the read (2 when missing) or kSyncErrDamaged for a file that is not a
// sound .pdb.
int32_t LoadDatabase(const std::string& hostPath, conduit::PdbDatabase& database);

// StoreDatabase: writes the database's .pdb form beside its file under a
// hidden temporary name, flushes it and renames it over the file, so the
// file holds either its old or its new contents whatever happens. Returns 0
// or a Win32 code (the old file untouched, the temporary one removed).
int32_t StoreDatabase(const std::string& hostPath, const conduit::PdbDatabase& database);

// InstallFile: stores the database in a .pdb file on a user's handheld under
// the name in its header, replacing a database of that name (the HotSync
// manager's install of a queued file). `installedName` receives the name.
// Returns 0, the Win32 code, or kSyncErrDamaged.
int32_t InstallFile(std::string_view user, const std::string& hostFile, std::string& installedName);

// ListDatabases: the database names on a user's handheld, sorted.
std::vector<std::string> ListDatabases(std::string_view user);

}  // namespace sync20
