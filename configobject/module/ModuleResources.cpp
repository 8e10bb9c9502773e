// The resource table of QrxCfgObject over the arrays the build embeds.
#include "configobject/module/ModuleResources.h"

#include "configobject/module/QrxIds.h"

namespace qrx {
namespace resources {
// Embedded at build time from QrxConfigurator.rgs, ConduitPattern.tree
// (packed by the proptree writer) and ConduitPage.xpm.
extern const unsigned char kRegistryScript[];
extern const unsigned long kRegistryScriptSize;
extern const unsigned char kConduitPattern[];
extern const unsigned long kConduitPatternSize;
extern const unsigned char kPageIcon[];
extern const unsigned long kPageIconSize;
}  // namespace resources

namespace {

const platform::com::IconResource kIcon{"XPM", resources::kPageIcon,
                                        static_cast<unsigned int>(resources::kPageIconSize)};

std::span<const uint8_t> Bytes(const unsigned char* data, unsigned long size) {
  return {reinterpret_cast<const uint8_t*>(data), static_cast<size_t>(size)};
}

}  // namespace

std::span<const uint8_t> FindModuleResource(ResourceType type, uint32_t id) {
  if (type == ResourceType::Registry && id == kRegistryScriptResource)
    return Bytes(resources::kRegistryScript, resources::kRegistryScriptSize);
  if (type == ResourceType::Data && id == kPatternResource)
    return Bytes(resources::kConduitPattern, resources::kConduitPatternSize);
  if (type == ResourceType::Icon && id == kPageIconResource)
    return Bytes(resources::kPageIcon, resources::kPageIconSize);
  if (type == ResourceType::TypeLib && id == kTypeLibResource)
    return {reinterpret_cast<const uint8_t*>(&kTypeLibrary), sizeof kTypeLibrary};
  return {};
}

std::string_view RegistryScript() {
  const auto bytes = FindModuleResource(ResourceType::Registry, kRegistryScriptResource);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

const platform::com::TypeLibrary& ModuleTypeLibrary() {
  return kTypeLibrary;
}

platform::com::HICON ModuleIcon(uint32_t id) {
  if (id != kPageIconResource) return nullptr;
  return reinterpret_cast<platform::com::HICON>(const_cast<platform::com::IconResource*>(&kIcon));
}

}  // namespace qrx
