// Registration scripts: the text a server module carries to add its keys and values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace platform::com {

// The script language, one block per root:
//
//   HKCR                                     (or HKEY_CLASSES_ROOT, HKCU, HKLM …)
//   {
//     Qrx.Thing.1 = s 'Thing Class'          a key, its default value and a block
//     {
//       CLSID = s '{…}'
//     }
//     NoRemove CLSID                         kept on unregistration
//     {
//       ForceRemove {…} = s 'Thing Class'    replaced whole, removed whole
//       {
//         InprocServer32 = s '%MODULE%'
//         {
//           val ThreadingModel = s 'Apartment'   a named value
//         }
//       }
//     }
//   }
//
// Words are separated by blanks; '=' , '{' and '}' stand alone or end a word.
// A name or text may be quoted with single quotes, a quote inside doubled
// (''). Value types: s (text), d (32-bit number, decimal or 0x…), b (binary,
// hexadecimal digit pairs). %NAME% is replaced by the caller's text for NAME
// (also inside quotes, taken literally); %% is one percent sign; an unknown
// name is an error. A key name is one registry key (no backslash).

// ScriptValue: a value to set: empty name for the default value.
struct ScriptValue {
  std::string name;
  uint32_t type = REG_SZ;
  std::vector<uint8_t> data;  // REG_SZ: the text without its terminator
};

enum class Removal : uint8_t {
  Normal,       // removed on unregistration when nothing else is left in it
  NoRemove,     // never removed; only its listed content is
  ForceRemove,  // deleted whole before registration and on unregistration
};

struct ScriptKey {
  std::string name;
  Removal removal = Removal::Normal;
  bool hasDefault = false;
  ScriptValue defaultValue;
  std::vector<ScriptValue> values;  // named values ("val")
  std::vector<ScriptKey> keys;
};

struct ScriptRoot {
  HKEY root = nullptr;  // a predefined root
  std::vector<ScriptKey> keys;
};

struct RegScript {
  std::vector<ScriptRoot> roots;
};

using Replacements = std::map<std::string, std::string, std::less<>>;

inline constexpr int kMaxScriptDepth = 32;

// ParseRegScript: the script in `text`, with %NAME% replaced from
// `replacements`. Returns true; or false with `error` set to "line N: what"
// and `script` left empty. Nothing is written anywhere.
bool ParseRegScript(std::string_view text, const Replacements& replacements, RegScript* script,
                    std::string* error);

}  // namespace platform::com
