// Writing registry keys as REGEDIT4 text.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "platform/Registry.h"

namespace qmreg {

// ExportRegTree: writes the key root\subPath of the store and every key
// below it (in enumeration order) as REGEDIT4 text, header included. Texts
// appear as "text" (decoded from UTF-16LE in the device store); a text that
// would not read back the same (inner NUL, bad encoding, line breaks) is
// written as hex(1):. Returns 0 or the Win32 code of the first failure; a key
// or value name holding a line break, which REGEDIT4 cannot carry, gives
// ERROR_INVALID_NAME (123) with its full path in *badName. On failure the
// text written so far is incomplete and must be discarded.
uint32_t ExportRegTree(platform::RegStore store, platform::HKEY root, const std::string& subPath,
                       std::ostream& out, std::string* badName = nullptr);

// ExportRegStore: the three roots of the store with everything below them.
uint32_t ExportRegStore(platform::RegStore store, std::ostream& out,
                        std::string* badName = nullptr);

// EscapeRegText: a text with backslashes and double quotes escaped.
std::string EscapeRegText(std::string_view text);

}  // namespace qmreg
