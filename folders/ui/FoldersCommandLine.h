// The folder program's command line: unmount, create or mount one folder, then end.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "folders/ui/FoldersFrontEnd.h"
#include "platform/Prompt.h"

namespace folders {

// CommandForm: which of the three forms a command line has (None: no text).
enum class CommandForm { None, Unmount, Create, Mount };

// FoldersCommandLine: a parsed command line. The path has "/" turned into a
// backslash and a leading backslash; sizeKb is set for Create only.
struct FoldersCommandLine {
  CommandForm form = CommandForm::None;
  std::u16string path;
  uint32_t sizeKb = 0;
};

// ParseFoldersCommandLine: "-u:path", "-c:path:size" or any other text as a
// container path. The form comes from a leading "-u:" or "-c:" alone and the
// size from after the last ":", so a path may hold "-" and ":" (a size that
// is no number reads as 0). Surrounding spaces are ignored.
FoldersCommandLine ParseFoldersCommandLine(std::u16string_view text);

// RunFoldersCommandLine: carries out a parsed command line. The named file
// must exist (else message 63). Unmount: releases the folder's device.
// Create: the sheet "New Folder" with the path preset; when confirmed, a size
// below 256 KB gives message 67 and one that the volume of the sheet's folder
// cannot hold gives 58, else the container is created at the sheet's path
// with the command line's size under `creationLock`, and its entry written.
// Mount: the entry's mount dialog; a file without an entry is opened as
// "Open..." does (61 when it is no container); a missing entry gives 61 and
// a mounted one ends without a dialog. Returns 0 when the form did what it
// asked, 1 otherwise.
int RunFoldersCommandLine(const FoldersCommandLine& line, FoldersFrontEnd& frontEnd,
                          platform::Prompt& prompt, std::mutex& creationLock);

}  // namespace folders
