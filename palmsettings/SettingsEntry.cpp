// The settings record's singly linked lists of addresses and file names.
#include "palmsettings/SettingsEntry.h"

#include <new>

#include "platform/Text.h"

namespace palmsettings {

SettingsEntry* AppendEntry(SettingsEntry*& list, std::string_view name) {
  auto* entry = new (std::nothrow) SettingsEntry;
  if (!entry) return nullptr;
  platform::CopyToField(entry->name, name);
  SettingsEntry** tail = &list;
  while (*tail) tail = &(*tail)->next;
  *tail = entry;
  return entry;
}

void FreeEntries(SettingsEntry*& list) {
  while (list) {
    SettingsEntry* next = list->next;
    delete list;
    list = next;
  }
}

size_t CountEntries(const SettingsEntry* list) {
  size_t n = 0;
  for (; list; list = list->next) ++n;
  return n;
}

std::string_view EntryName(const SettingsEntry& entry) {
  return platform::FieldText(entry.name);
}

}  // namespace palmsettings
