// Registry key paths: backslash-separated components under a named root.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace platform {

// SplitRegPath: the components of a backslash-separated key path; empty
// components (doubled, leading or trailing backslashes) are skipped.
std::vector<std::string_view> SplitRegPath(std::string_view path);

// ParseRegRoot: splits "HKEY_LOCAL_MACHINE\SOFTWARE\X" (or "HKLM\…", "HKCU",
// "HKCR", any letter case) into the predefined root and the rest of the path.
// Returns false for an unknown root name.
bool ParseRegRoot(std::string_view fullPath, HKEY* root, std::string* subPath);

// RegRootName: "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER" or
// "HKEY_LOCAL_MACHINE" for a predefined root (bound to a store or not); empty
// for anything else.
std::string_view RegRootName(HKEY root);

}  // namespace platform
