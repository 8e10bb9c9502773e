// FetchLoop: every listed file from every listed address, the body of a fetch thread.
#pragma once

#include "palmsettings/PalmSettings.h"
#include "update/fetch/FetchContext.h"

namespace update {

// FetchLoop: for each address in list order (its text shown in the record's
// status window), fetches each listed file into the "Download" subfolder of
// the record's UpdateFolder (created when missing) and marks a file
// received when a fetch succeeds. Every address is tried for every file: a
// later success replaces an earlier copy. The marks are cleared first, so
// they tell what arrived in this run. A file whose name is not a plain file
// name, or whose names would be too long, is never fetched. Stops early only
// when the context's control is cancelled. Returns 0, the thread's exit code.
//
// The lists, UpdateFolder and the windows are read, and the marks written,
// without a lock: nothing else may touch them until the loop has returned.
int FetchLoop(palmsettings::PalmSettings& record, const FetchContext& context);

}  // namespace update
