// PalmSettings::LoadText: numbered texts from the language library or the caller's own table.
#include <string>

#include "palmsettings/PalmSettings.h"
#include "platform/Text.h"

namespace palmsettings {

namespace {

// NoLanguage: the module that stands for "no language library": the
// platform's loader then takes the caller's own table.
const platform::LanguageModule& NoLanguage() {
  static const platform::LanguageModule none;
  return none;
}

}  // namespace

size_t PalmSettings::LoadText(uint32_t id, std::span<const platform::DesktopString> own,
                              char* buffer, size_t size) const {
  const platform::LanguageModule& language = languageLibrary ? *languageLibrary : NoLanguage();
  return platform::LoadString(language, own, platform::LanguageRule::WholeTable, id, buffer, size);
}

size_t PalmSettings::LoadText(uint32_t id, std::span<const platform::DeviceString> own,
                              char16_t* buffer, size_t size) const {
  const platform::LanguageModule& language = languageLibrary ? *languageLibrary : NoLanguage();
  return platform::LoadString(language, own, platform::LanguageRule::WholeTable, id, buffer, size);
}

size_t PalmSettings::LoadText(uint32_t id, std::span<const platform::DesktopString> own,
                              char16_t* buffer, size_t size) const {
  if (!buffer || size == 0) return 0;
  std::u16string text;
  bool found = false;
  if (languageLibrary) {
    found = languageLibrary->Find(id, text);
  } else if (const char* ownText = platform::FindOwnString(own, id)) {
    text = platform::Utf8ToUtf16(ownText);
    found = true;
  }
  if (!found) {
    buffer[0] = 0;
    return 0;
  }
  return platform::CopyToField(buffer, size, text);
}

}  // namespace palmsettings
