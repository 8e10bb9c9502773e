// Running the module's registration script and registering its type library.
#include "configobject/module/Registration.h"

#include <string>

#include "configobject/module/ModuleResources.h"
#include "platform/com/Registrar.h"
#include "platform/com/TypeLibrary.h"

namespace qrx {

using platform::com::HRESULT;
using platform::com::ScriptDirection;

namespace {

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? std::string(".") : std::string(path.substr(0, slash));
}

HRESULT Script(std::string_view modulePath, ScriptDirection direction) {
  return platform::com::RunRegScript(RegistryScript(), {{"MODULE", std::string(modulePath)}},
                                     direction);
}

}  // namespace

HRESULT RegisterServer(std::string_view modulePath) {
  if (modulePath.empty()) return platform::com::SELFREG_E_CLASS;
  if (HRESULT hr = Script(modulePath, ScriptDirection::Register); platform::com::FAILED(hr))
    return hr;
  const HRESULT hr =
      platform::com::RegisterTypeLib(ModuleTypeLibrary(), modulePath, FolderOf(modulePath));
  if (platform::com::FAILED(hr)) Script(modulePath, ScriptDirection::Unregister);
  return hr;
}

HRESULT UnregisterServer() {
  const HRESULT library = platform::com::UnRegisterTypeLib(ModuleTypeLibrary());
  const HRESULT script = Script("", ScriptDirection::Unregister);
  return platform::com::FAILED(library) ? library : script;
}

}  // namespace qrx
