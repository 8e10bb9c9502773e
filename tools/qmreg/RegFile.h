// REGEDIT4 text: parsed form of a .reg file, ready to apply to one store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegStore.h"
#include "platform/Registry.h"

namespace qmreg {

// RegFileValue: one value line. Text data is already encoded for the store
// the file was parsed for.
struct RegFileValue {
  std::string name;     // empty for @, the default value
  bool remove = false;  // "name"=-
  uint32_t type = platform::REG_NONE;
  std::vector<uint8_t> data;
  int line = 0;
};

// RegFileKey: one [key] section, or a [-key] removal.
struct RegFileKey {
  platform::HKEY root = nullptr;  // a plain predefined root
  std::string subPath;            // below the root, as written
  bool remove = false;
  std::vector<RegFileValue> values;
  int line = 0;
};

struct RegFile {
  std::vector<RegFileKey> keys;
};

struct RegFileError {
  int line = 0;
  std::string message;
};

// ParseRegFile: parses REGEDIT4 text for the given store ("REGEDIT4" header,
// [key] and [-key] sections, "name"= or @= with "text", dword:, hex: and
// hex(N): data or - for removal, ';' comments, backslash line continuation).
// Returns false with the first error and its line number; *out is then
// incomplete and must not be applied.
bool ParseRegFile(std::string_view text, platform::RegStore store, RegFile* out,
                  RegFileError* error);

}  // namespace qmreg
