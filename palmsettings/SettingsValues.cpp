// The component key's values: numbers, texts without terminators and numbered lists.
#include "palmsettings/SettingsValues.h"

#include "platform/Errors.h"
#include "platform/RegText.h"
#include "platform/Text.h"

namespace palmsettings::detail {

using platform::RegKey;

platform::HKEY DesktopRoot(platform::HKEY root) {
  return platform::RegRootKey(platform::RegStore::Desktop, root);
}

bool ReadNumber(const RegKey& key, const char* name, uint32_t* field) {
  uint32_t value = 0;
  if (key.QueryDword(name, &value) != platform::ERROR_SUCCESS) return false;
  *field = value;
  return true;
}

bool ReadNumber(const RegKey& key, const char* name, int32_t* field) {
  uint32_t value = 0;
  if (!ReadNumber(key, name, &value)) return false;
  *field = static_cast<int32_t>(value);
  return true;
}

ValueText ReadText(const RegKey& key, const std::string& name, std::string* out) {
  platform::RegValue value;
  if (key.QueryValue(name, &value) != platform::ERROR_SUCCESS) return ValueText::Missing;
  if (value.type != platform::REG_SZ && value.type != platform::REG_EXPAND_SZ)
    return ValueText::Unfit;
  // The field holds 255 bytes and the terminator; a longer text is cut at a
  // character boundary rather than dropped, so neither a field nor a list
  // loses the value altogether.
  char field[kTextFieldSize];
  platform::CopyToField(field, platform::DecodeRegText(platform::RegStore::Desktop, value.data));
  *out = platform::FieldText(field);
  return ValueText::Read;
}

bool ReadTextField(const RegKey& key, const char* name, char (&field)[kTextFieldSize]) {
  std::string text;
  if (ReadText(key, name, &text) != ValueText::Read) return false;
  platform::CopyToField(field, text);
  return true;
}

std::string NumberedName(std::string_view prefix, uint32_t n) {
  std::string name(prefix);
  name += std::to_string(n);
  return name;
}

SettingsEntry* ReadList(const RegKey& key, std::string_view prefix) {
  SettingsEntry* list = nullptr;
  for (uint32_t n = 1;; ++n) {
    std::string text;
    const ValueText kind = ReadText(key, NumberedName(prefix, n), &text);
    if (kind == ValueText::Missing) break;
    if (kind == ValueText::Unfit) continue;
    if (!AppendEntry(list, text)) break;
  }
  return list;
}

void DeleteList(RegKey& key, std::string_view prefix) {
  for (uint32_t n = 1; key.DeleteValue(NumberedName(prefix, n)) == platform::ERROR_SUCCESS; ++n) {
  }
}

void WriteList(RegKey& key, std::string_view prefix, const SettingsEntry* list) {
  uint32_t n = 1;
  for (const SettingsEntry* e = list; e; e = e->next)
    WriteText(key, NumberedName(prefix, n++), EntryName(*e));
}

uint32_t WriteText(RegKey& key, const std::string& name, std::string_view text) {
  return key.SetString(name, text, platform::RegTerminator::Omit);
}

}  // namespace palmsettings::detail
