// Test fixture: a fresh desktop registry and drive C for each settings-store test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "palmsettings/PalmSettings.h"
#include "platform/CaseLookup.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "platform/testing/TempFolder.h"

namespace palmsettings::testing {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
    ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
    platform::RegCloseStores();
    platform::ForgetCaseLookups();
  }
  void TearDown() override {
    platform::RegCloseStores();
    platform::ForgetCaseLookups();
  }

  static platform::HKEY Root(platform::HKEY root) {
    return platform::RegRootKey(platform::RegStore::Desktop, root);
  }

  // ComponentKey: the component key, created when missing.
  static platform::RegKey ComponentKey() {
    platform::RegKey key;
    EXPECT_EQ(key.Create(Root(platform::HKEY_LOCAL_MACHINE), kComponentKey), 0u);
    return key;
  }

  // HasComponentKey: whether the component key exists.
  static bool HasComponentKey() {
    platform::RegKey key;
    return key.Open(Root(platform::HKEY_LOCAL_MACHINE), kComponentKey) == 0;
  }

  // StoreText: a REG_SZ in the component key, with or without its terminator.
  static void StoreText(const std::string& name, std::string_view text, bool terminated = false) {
    ASSERT_EQ(ComponentKey().SetString(
                  name, text,
                  terminated ? platform::RegTerminator::Include : platform::RegTerminator::Omit),
              0u);
  }

  // Stored: the bytes of a value as stored, or "<missing>".
  static std::string Stored(const std::string& name) {
    platform::RegValue value;
    if (ComponentKey().QueryValue(name, &value) != 0) return "<missing>";
    return std::string(value.data.begin(), value.data.end());
  }

  static std::vector<std::string> ValueNames() {
    std::vector<std::string> names;
    EXPECT_EQ(ComponentKey().ValueNames(&names), 0u);
    return names;
  }

  static std::vector<std::string> Names(const SettingsEntry* list) {
    std::vector<std::string> names;
    for (; list; list = list->next) names.emplace_back(EntryName(*list));
    return names;
  }

  // Host: the host path of a desktop path below C:\ given relative to it.
  std::string Host(std::string_view relative) const {
    return home_.Path("drive_c/" + std::string(relative));
  }

  static bool Exists(const std::string& host) { return std::filesystem::exists(host); }

  platform::testing::TempFolder home_{"qm-palmsettings"};
};

}  // namespace palmsettings::testing
