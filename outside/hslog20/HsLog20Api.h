// The C interface of the HotSync log library "HsLog20.dll", as a conduit and the HotSync manager
// call it.
#pragma once

#include <cstdint>

// The one export a conduit uses is imported by number 52 on the desktop; here
// it is LogAddEntry. A conduit passes -1 as the activity and 0 as autoFlush.
//
// LogAddEntry: appends `text` as one line to the HotSync log (a line break
// inside the text is kept as a space so that each entry stays one line).
// Returns 0, or a Win32 code when the log file cannot be written (the entry
// is then lost; the sync goes on).
using LogAddEntryFn = int32_t (*)(const char* text, int32_t activity, int32_t autoFlush);

// QmLogPath: the host path of the log file (the manager's side: the HotSync
// manager prints what a synchronisation added). Copies it, terminated, into
// buffer when it fits; returns the path's length in bytes without the
// terminator.
using QmLogPathFn = uint32_t (*)(char* buffer, uint32_t size);
