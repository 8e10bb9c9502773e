// InstallDatabase: writes a database file into the same-named database on the handheld.
#pragma once

#include "conduit/pdb/ConduitLink.h"
#include "palmsettings/FetchWindows.h"

namespace conduit {

inline constexpr char kLogCannotOpenPdb[] = "Quillmark QRX for PalmOS - Unable to open PDB file";
inline constexpr char kLogCannotOpenHandheldDb[] =
    "Quillmark QRX for PalmOS - Unable to open ZEPDB database on HH";

// InstallDatabase: reads the file at a desktop path into a PdbImage, opens
// the handheld database `databaseName` (card 0, mode 0xF0; a missing one is
// not created), empties it, writes the app-info block and the sort-info
// block when the file has them, then every record in file order with record
// id 0, its own attributes and its length, advancing `progress` (may be
// null) by one per record. Returns:
//   0  every part was written and the database closed;
//   -1 the file could not be read: "Unable to open PDB file" is logged and a
//      message box (OK, text the path, caption "Msg") shown;
//   -2 the handheld database did not open ("Unable to open ZEPDB database on
//      HH" logged), or a write or the closing failed (the rest is not
//      written; nothing more is logged).
int InstallDatabase(const ConduitLink& link, const char* path, const char* databaseName,
                    palmsettings::ProgressWindow* progress);

}  // namespace conduit
