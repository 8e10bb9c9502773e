// Numbered string tables: a deliverable's own table and the optional language
// module that replaces it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Module.h"

namespace platform {

// StringEntry: one row of a deliverable's own table. Handheld programs use
// UTF-16 text (DeviceString), desktop programs UTF-8 (DesktopString).
template <typename Char>
struct StringEntry {
  uint32_t id;
  const Char* text;
};
using DeviceString = StringEntry<char16_t>;
using DesktopString = StringEntry<char>;

// HasUniqueIds: true when no id occurs twice; meant for static_assert on a
// deliverable's table.
template <typename Char, size_t N>
constexpr bool HasUniqueIds(const StringEntry<Char> (&table)[N]) {
  for (size_t i = 0; i < N; ++i)
    for (size_t j = i + 1; j < N; ++j)
      if (table[i].id == table[j].id) return false;
  return true;
}

// LanguageRule: where a string comes from while a language module is loaded.
enum class LanguageRule {
  WholeTable,  // every string from the module; one the module lacks is absent
  PerString,   // a string the module lacks comes from the own table
};

// The C interface of a language module. It exports one or both of
//   extern "C" const char16_t* QmLocString(uint32_t id);   // UTF-16 text
//   extern "C" const char* QmLocStringA(uint32_t id);      // UTF-8 text
// each returning the terminated text of a string id, owned by the module and
// valid while it stays loaded, or null when the module has no such string.
// A table of the other width converts, so one module serves both.
inline constexpr char kLocStringExport[] = "QmLocString";
inline constexpr char kLocStringAExport[] = "QmLocStringA";
using LocStringFn = const char16_t* (*)(uint32_t id);
using LocStringAFn = const char* (*)(uint32_t id);

// LanguageModule: one loaded language module, or none.
class LanguageModule {
 public:
  // Load: loads a module by its Windows name ("zepppc_loc.dll"), searched as
  // Module::Load searches. Returns 0; 126 (or 193 for a file that is no
  // module) when it does not load; 127 when it exports neither lookup, in
  // which case nothing stays loaded. The code is also the thread's last error.
  uint32_t Load(std::string_view windowsName, const std::vector<std::string>& extraDirs = {});

  // Unload: releases the module; its texts must no longer be used.
  void Unload();

  bool loaded() const { return module_.loaded(); }

  // Find: the text of a string id in the module, converted to the width
  // asked for; false (out untouched) when not loaded or the id is absent.
  bool Find(uint32_t id, std::u16string& out) const;
  bool Find(uint32_t id, std::string& out) const;

 private:
  Module module_;
  LocStringFn wide_ = nullptr;
  LocStringAFn narrow_ = nullptr;
};

// FindOwnString: the own table's text of a string id, or null.
const char16_t* FindOwnString(std::span<const DeviceString> own, uint32_t id);
const char* FindOwnString(std::span<const DesktopString> own, uint32_t id);

// LoadString: the platform's string loader. Copies the text of a string id,
// taken by the rule from the language module when it is loaded and otherwise
// from the own table, into buffer (size units including the terminator,
// truncated without splitting a character). Returns the number of units
// copied; 0 for an absent or empty string, leaving an empty text in the
// buffer; 0 and nothing written when size is 0.
size_t LoadString(const LanguageModule& language, std::span<const DeviceString> own,
                  LanguageRule rule, uint32_t id, char16_t* buffer, size_t size);
size_t LoadString(const LanguageModule& language, std::span<const DesktopString> own,
                  LanguageRule rule, uint32_t id, char* buffer, size_t size);

// StringTable: a deliverable's strings, its own table and the optional
// language module together. Owns the module; the own table is static.
template <typename Char>
class StringTable {
 public:
  using Text = std::basic_string<Char>;

  StringTable(std::span<const StringEntry<Char>> own, LanguageRule rule) : own_(own), rule_(rule) {}

  // LoadLanguage: loads the language module (see LanguageModule::Load); on
  // failure the own table stays in use and the result is the Win32 code.
  uint32_t LoadLanguage(std::string_view windowsName,
                        const std::vector<std::string>& extraDirs = {}) {
    return language_.Load(windowsName, extraDirs);
  }
  void UnloadLanguage() { language_.Unload(); }
  bool languageLoaded() const { return language_.loaded(); }
  const LanguageModule& language() const { return language_; }

  // Find: the text of a string id under the table's rule; false when absent.
  bool Find(uint32_t id, Text& out) const;

  // Get: the text of a string id, empty when absent.
  Text Get(uint32_t id) const {
    Text t;
    Find(id, t);
    return t;
  }

  // Load: as LoadString above, into a caller's buffer.
  size_t Load(uint32_t id, Char* buffer, size_t size) const {
    return LoadString(language_, own_, rule_, id, buffer, size);
  }

  // Own: the own table's text of a string id, whatever is loaded; null when
  // the id is not in it.
  const Char* Own(uint32_t id) const { return FindOwnString(own_, id); }

 private:
  std::span<const StringEntry<Char>> own_;
  LanguageRule rule_;
  LanguageModule language_;
};

using DeviceStringTable = StringTable<char16_t>;
using DesktopStringTable = StringTable<char>;

extern template class StringTable<char16_t>;
extern template class StringTable<char>;

}  // namespace platform
