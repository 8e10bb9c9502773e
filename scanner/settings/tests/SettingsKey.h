// Test helpers: the scanner's settings key in the device registry and its stored text form.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "scanner/settings/Settings.h"

namespace scanner::testing {

// SettingsKey: the settings key, created when missing.
inline platform::RegKey SettingsKey() {
  platform::RegKey key;
  EXPECT_EQ(
      key.Create(platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER),
                 kSettingsKey),
      0u);
  return key;
}

// Utf16Bytes: text as the device registry stores it, UTF-16LE, with its
// terminator unless told otherwise.
inline std::vector<uint8_t> Utf16Bytes(std::u16string_view text, bool terminated = true) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

}  // namespace scanner::testing
