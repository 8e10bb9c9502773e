// A fresh pair of registry stores in a temporary folder for each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Registry.h"
#include "platform/testing/TempFolder.h"

namespace platform::testing {

// FreshRegistry: points QM_DEVICE_REGISTRY and QM_DESKTOP_REGISTRY at new
// files in a temporary folder and drops cached connections; removes the
// folder afterwards.
class FreshRegistry : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TempFolder temp_{"qmreg-test"};
  std::string folder_;
  std::string devicePath_;
  std::string desktopPath_;
};

// Desktop / Device: a predefined root bound to that store.
inline HKEY Desktop(HKEY root) {
  return RegRootKey(RegStore::Desktop, root);
}
inline HKEY Device(HKEY root) {
  return RegRootKey(RegStore::Device, root);
}

// CreateKey: creates root\path with full access; the handle, or null.
inline HKEY CreateKey(HKEY root, const char* path, const char* className = nullptr) {
  HKEY key = nullptr;
  RegCreateKeyEx(root, path, 0, className, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

// Bytes: the bytes of a text without a terminator.
inline std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace platform::testing
