// The install check and the install pass: a newer virus base from the update folder to the
// handheld.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/pdb/ConduitLink.h"
#include "palmsettings/FetchWindows.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// kBaseFileName: the update file whose record 0 tells the desktop's stamp.
inline constexpr char kBaseFileName[] = "ZEPDB.pdb";

// kInstallingText: the progress dialog's text line during an install pass, a
// fixed Cyrillic text (UTF-8 here) whatever language is loaded.
inline constexpr char kInstallingText[] = "Обновляется вирусная база данных";

// UpdateFilePath: the record's UpdateFolder, a backslash and `name`; empty
// when there is no update folder.
std::string UpdateFilePath(const palmsettings::PalmSettings& record, std::string_view name);

// DesktopStamp: the base stamp of record 0 of list 0 of "ZEPDB.pdb" in the
// update folder (offset 8, big-endian); 0 when that file cannot be read or
// has no record 0.
uint32_t DesktopStamp(const palmsettings::PalmSettings& record);

// RunInstallPass: sets the text line, then for every entry of fileList in
// list order installs the update file of that name into the handheld
// database named in its header, advancing `bar`; goes on after a failure.
// Then deletes the old copies of the listed files from the user's backup
// folder. Returns 0, or -2 when any file was not installed. A name that is
// not a plain file name is not read (it would lie outside the update
// folder): "Unable to open PDB file" is logged and it counts as not
// installed.
int32_t RunInstallPass(const ConduitLink& link, const palmsettings::PalmSettings& record,
                       palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text);

}  // namespace conduit
