// PurgeBackupCopies: removes the old copies of the update files from the user's HotSync backup
// folder.
#pragma once

#include "conduit/pdb/ConduitLink.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {

// PurgeBackupCopies: reads the session's user name (SyncReadUserID) and
// walks DesktopPath\<user>\backup\ and all its subfolders depth first,
// deleting every file whose name equals an entry of settings.fileList
// exactly (letter case counts). The process's current folder is never
// changed. Returns the number of files deleted, or -1 when the user could
// not be read (or is not a plain folder name) and -2 when the backup folder
// cannot be entered or DesktopPath is empty (nothing is deleted then). Folders more than 64 levels
// down are not entered (a linked folder could otherwise lead in circles); a file that cannot be
// deleted is passed over.
int PurgeBackupCopies(const ConduitLink& link, const palmsettings::PalmSettings& settings);

}  // namespace conduit
