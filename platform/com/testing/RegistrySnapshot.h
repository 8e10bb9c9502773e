// Test support: the desktop registry below a key as sorted text lines, and a private registry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/testing/TempFolder.h"

namespace platform::com::testing {

// Snapshot: every key and value below `path` of the desktop root `root`, one
// line each, sorted: "Key\Sub" for a key and "Key\Sub|name=TYPE:data" for a
// value (default value named "@", texts as text, other data as hex). Empty
// when the key does not exist; `path` empty means the whole root.
std::vector<std::string> Snapshot(HKEY root, std::string_view path);

// DesktopRegistryHome: points QM_HOME and QM_DESKTOP_REGISTRY at a new
// temporary folder for its lifetime and drops the cached stores, so every
// test starts with an empty desktop registry.
class DesktopRegistryHome {
 public:
  DesktopRegistryHome();
  ~DesktopRegistryHome();
  DesktopRegistryHome(const DesktopRegistryHome&) = delete;
  DesktopRegistryHome& operator=(const DesktopRegistryHome&) = delete;

  const platform::testing::TempFolder& folder() const { return home_; }

 private:
  platform::testing::TempFolder home_{"qm-com"};
};

}  // namespace platform::com::testing
