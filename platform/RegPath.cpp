// Parsing and naming of registry key paths.
#include "platform/RegPath.h"

#include "platform/Text.h"

namespace platform {
namespace {

struct RootName {
  const char* full;
  const char* shortName;
};

// In the order of the predefined roots' values.
constexpr RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
};

}  // namespace

std::vector<std::string_view> SplitRegPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool ParseRegRoot(std::string_view fullPath, HKEY* root, std::string* subPath) {
  size_t cut = fullPath.find('\\');
  std::string_view head = fullPath.substr(0, cut);
  for (size_t i = 0; i < std::size(kRoots); ++i) {
    if (!EqualsIgnoreCase(head, kRoots[i].full) && !EqualsIgnoreCase(head, kRoots[i].shortName))
      continue;
    *root = reinterpret_cast<HKEY>(reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT) + i);
    *subPath =
        cut == std::string_view::npos ? std::string() : std::string(fullPath.substr(cut + 1));
    return true;
  }
  return false;
}

std::string_view RegRootName(HKEY root) {
  auto v = reinterpret_cast<uintptr_t>(root);
  auto base = reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT);
  if ((v & ~uintptr_t{0x3FF}) != base || (v & 0xFF) >= std::size(kRoots)) return {};
  return kRoots[v & 0xFF].full;
}

}  // namespace platform
