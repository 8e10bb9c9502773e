// Applying a parsed REGEDIT4 file to a store.
#pragma once

#include "tools/qmreg/RegFile.h"

namespace qmreg {

// ApplyRegFile: creates, fills and deletes what the file says, in file order,
// as one transaction: on any failure nothing of the file is kept, and *error
// names the line and the Win32 reason. Returns true on success.
bool ApplyRegFile(platform::RegStore store, const RegFile& file, RegFileError* error);

}  // namespace qmreg
