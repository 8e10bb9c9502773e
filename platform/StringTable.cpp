// String lookup by number through a language module or the own table.
#include "platform/StringTable.h"

#include "platform/Errors.h"
#include "platform/Text.h"

namespace platform {

uint32_t LanguageModule::Load(std::string_view windowsName,
                              const std::vector<std::string>& extraDirs) {
  Unload();
  if (const uint32_t r = module_.Load(windowsName, extraDirs); r != ERROR_SUCCESS) return r;
  wide_ = module_.Function<LocStringFn>(kLocStringExport);
  narrow_ = module_.Function<LocStringAFn>(kLocStringAExport);
  if (!wide_ && !narrow_) {
    // Not a language module: keep the own table rather than an empty one.
    Unload();
    SetLastError(ERROR_PROC_NOT_FOUND);
    return ERROR_PROC_NOT_FOUND;
  }
  SetLastError(ERROR_SUCCESS);
  return ERROR_SUCCESS;
}

void LanguageModule::Unload() {
  module_.Unload();
  wide_ = nullptr;
  narrow_ = nullptr;
}

bool LanguageModule::Find(uint32_t id, std::u16string& out) const {
  if (wide_) {
    if (const char16_t* t = wide_(id)) {
      out = t;
      return true;
    }
    return false;
  }
  if (narrow_) {
    if (const char* t = narrow_(id)) {
      out = Utf8ToUtf16(t);
      return true;
    }
  }
  return false;
}

bool LanguageModule::Find(uint32_t id, std::string& out) const {
  if (narrow_) {
    if (const char* t = narrow_(id)) {
      out = t;
      return true;
    }
    return false;
  }
  if (wide_) {
    if (const char16_t* t = wide_(id)) {
      out = Utf16ToUtf8(t);
      return true;
    }
  }
  return false;
}

namespace {

template <typename Char>
const Char* FindOwn(std::span<const StringEntry<Char>> own, uint32_t id) {
  for (const auto& e : own)
    if (e.id == id) return e.text;
  return nullptr;
}

template <typename Char>
bool FindText(const LanguageModule& language, std::span<const StringEntry<Char>> own,
              LanguageRule rule, uint32_t id, std::basic_string<Char>& out) {
  if (language.loaded()) {
    if (language.Find(id, out)) return true;
    if (rule == LanguageRule::WholeTable) return false;
  }
  if (const Char* t = FindOwn(own, id)) {
    out = t;
    return true;
  }
  return false;
}

template <typename Char>
size_t Load(const LanguageModule& language, std::span<const StringEntry<Char>> own,
            LanguageRule rule, uint32_t id, Char* buffer, size_t size) {
  if (!buffer || size == 0) return 0;
  std::basic_string<Char> text;
  if (!FindText(language, own, rule, id, text)) {
    buffer[0] = 0;
    return 0;
  }
  return CopyToField(buffer, size, std::basic_string_view<Char>(text));
}

}  // namespace

const char16_t* FindOwnString(std::span<const DeviceString> own, uint32_t id) {
  return FindOwn(own, id);
}

const char* FindOwnString(std::span<const DesktopString> own, uint32_t id) {
  return FindOwn(own, id);
}

size_t LoadString(const LanguageModule& language, std::span<const DeviceString> own,
                  LanguageRule rule, uint32_t id, char16_t* buffer, size_t size) {
  return Load(language, own, rule, id, buffer, size);
}

size_t LoadString(const LanguageModule& language, std::span<const DesktopString> own,
                  LanguageRule rule, uint32_t id, char* buffer, size_t size) {
  return Load(language, own, rule, id, buffer, size);
}

template <typename Char>
bool StringTable<Char>::Find(uint32_t id, Text& out) const {
  return FindText(language_, own_, rule_, id, out);
}

template class StringTable<char16_t>;
template class StringTable<char>;

}  // namespace platform
