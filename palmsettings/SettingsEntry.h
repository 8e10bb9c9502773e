// One node of the settings record's address and file lists, and the list helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace palmsettings {

// kTextFieldSize: every desktop text field holds 255 bytes and the terminator.
inline constexpr size_t kTextFieldSize = 256;

// SettingsEntry: one update address or file name. The list that holds it owns
// it; `next` is null at the end of the list.
struct SettingsEntry {
  char name[kTextFieldSize] = {};
  uint16_t received = 0;  // 0 not fetched, 1 fetched in this run; kept in memory only
  SettingsEntry* next = nullptr;
};

// AppendEntry: appends a new entry with a copy of `name` (cut to 255 bytes
// without splitting a UTF-8 sequence) and `received` 0 at the end of `list`.
// Returns the new entry, or null when memory runs out (the list unchanged).
SettingsEntry* AppendEntry(SettingsEntry*& list, std::string_view name);

// FreeEntries: frees every entry of `list` and leaves it null.
void FreeEntries(SettingsEntry*& list);

// CountEntries: the number of entries in `list`.
size_t CountEntries(const SettingsEntry* list);

// EntryName: the text of an entry's name, up to its terminator.
std::string_view EntryName(const SettingsEntry& entry);

}  // namespace palmsettings
