// Reading and writing the component key's values in their stored forms (internal).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "palmsettings/SettingsEntry.h"
#include "platform/RegKey.h"

namespace palmsettings::detail {

// DesktopRoot: a predefined root of the desktop registry, whatever store the
// process uses by default.
platform::HKEY DesktopRoot(platform::HKEY root);

// ReadNumber: a stored 32-bit number into *field; a missing or unfit value
// (not REG_DWORD or 4-byte binary) leaves it. True when read.
bool ReadNumber(const platform::RegKey& key, const char* name, uint32_t* field);
bool ReadNumber(const platform::RegKey& key, const char* name, int32_t* field);

// ValueText: the kind of a stored value as a text.
enum class ValueText {
  Read,     // a text, with or without a stored terminator
  Missing,  // no such value (or the key can no longer be read)
  Unfit,    // present but not a text
};

// ReadText: a REG_SZ or REG_EXPAND_SZ value up to its first zero, cut to 255
// bytes without splitting a UTF-8 sequence.
ValueText ReadText(const platform::RegKey& key, const std::string& name, std::string* out);

// ReadTextField: ReadText into a 256-byte field; the field is kept unless a
// text was read. True when read.
bool ReadTextField(const platform::RegKey& key, const char* name, char (&field)[kTextFieldSize]);

// NumberedName: the prefix followed by n in decimal ("UpdateUrl3").
std::string NumberedName(std::string_view prefix, uint32_t n);

// ReadList: prefix1, prefix2, … up to the first missing number, as a new
// list. A present value that is not a text is passed over without ending the
// list, so that the entries after it are not lost by the next Save.
SettingsEntry* ReadList(const platform::RegKey& key, std::string_view prefix);

// DeleteList: deletes prefix1, prefix2, … until a deletion fails.
void DeleteList(platform::RegKey& key, std::string_view prefix);

// WriteList: writes the entries as prefix1 … prefixN in list order.
void WriteList(platform::RegKey& key, std::string_view prefix, const SettingsEntry* list);

// WriteText: a REG_SZ of the text without its terminator.
uint32_t WriteText(platform::RegKey& key, const std::string& name, std::string_view text);

}  // namespace palmsettings::detail
