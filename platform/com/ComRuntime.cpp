// Class lookup through HKEY_CLASSES_ROOT, the table of loaded server modules, and unloading.
#include "platform/com/ComRuntime.h"

#include <memory>
#include <mutex>
#include <vector>

#include "platform/Module.h"
#include "platform/RegKey.h"

namespace platform::com {
namespace {

HKEY ClassesRoot() {
  return RegRootKey(RegStore::Desktop, HKEY_CLASSES_ROOT);
}

// RegistryHr: the HRESULT for a failed read of the class registration.
HRESULT RegistryHr(uint32_t code, HRESULT missing) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? missing : REGDB_E_READREGDB;
}

// ReadDefault: the text default value of HKCR\<path>.
uint32_t ReadDefault(const std::string& path, std::string* text) {
  RegKey key;
  if (uint32_t rc = key.Open(ClassesRoot(), path, RegAccess::Read)) return rc;
  return key.QueryString("", text);
}

struct LoadedServer {
  std::string registeredPath;
  Module module;
  DllGetClassObjectFn getClassObject = nullptr;
  DllCanUnloadNowFn canUnloadNow = nullptr;
};

// ServerTable: the modules this runtime holds. It lives as long as the code
// that holds it, so a module that carries its own copy of the runtime lets
// its servers go when it is unloaded itself.
struct ServerTable {
  std::mutex mutex;
  std::vector<std::unique_ptr<LoadedServer>> servers;
};

ServerTable& Servers() {
  static ServerTable table;
  return table;
}

// ServerFor: the loaded module registered as `path`, loading it when needed.
HRESULT ServerFor(const std::string& path, DllGetClassObjectFn* getClassObject) {
  ServerTable& table = Servers();
  std::lock_guard<std::mutex> guard(table.mutex);
  for (const auto& s : table.servers) {
    if (s->registeredPath == path) {
      *getClassObject = s->getClassObject;
      return S_OK;
    }
  }
  auto server = std::make_unique<LoadedServer>();
  server->registeredPath = path;
  if (uint32_t rc = server->module.Load(path)) return HRESULT_FROM_WIN32(rc);
  server->getClassObject = server->module.Function<DllGetClassObjectFn>(kDllGetClassObject);
  if (server->getClassObject == nullptr) return CO_E_ERRORINDLL;
  server->canUnloadNow = server->module.Function<DllCanUnloadNowFn>(kDllCanUnloadNow);
  *getClassObject = server->getClassObject;
  table.servers.push_back(std::move(server));
  return S_OK;
}

}  // namespace

HRESULT CLSIDFromString(std::string_view text, CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  if (text.size() != 38 || !ParseGuid(text, clsid)) return CO_E_CLASSSTRING;
  return S_OK;
}

HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  // A ProgID is one key name: no path separators, within the name limit.
  if (progId.empty() || progId.size() > kRegMaxKeyNameLength ||
      progId.find('\\') != std::string_view::npos)
    return CO_E_CLASSSTRING;
  std::string text;
  uint32_t rc = ReadDefault(std::string(progId) + "\\CLSID", &text);
  if (rc == ERROR_FILE_NOT_FOUND) {
    std::string current;
    rc = ReadDefault(std::string(progId) + "\\CurVer", &current);
    if (rc == ERROR_SUCCESS) {
      if (current.empty() || current.find('\\') != std::string::npos) return CO_E_CLASSSTRING;
      rc = ReadDefault(current + "\\CLSID", &text);
    }
  }
  if (rc != ERROR_SUCCESS) return RegistryHr(rc, CO_E_CLASSSTRING);
  return CLSIDFromString(text, clsid);
}

HRESULT InprocServerPath(REFCLSID clsid, std::string* path) {
  const uint32_t rc = ReadDefault("CLSID\\" + FormatGuid(clsid) + "\\InprocServer32", path);
  if (rc == ERROR_SUCCESS && path->empty()) return REGDB_E_CLASSNOTREG;
  return rc == ERROR_SUCCESS ? S_OK : RegistryHr(rc, REGDB_E_CLASSNOTREG);
}

HRESULT CoGetClassObject(REFCLSID clsid, uint32_t context, void* /*reserved*/, REFIID iid,
                         void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if ((context & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  std::string path;
  if (HRESULT hr = InprocServerPath(clsid, &path); FAILED(hr)) return hr;
  DllGetClassObjectFn getClassObject = nullptr;
  if (HRESULT hr = ServerFor(path, &getClassObject); FAILED(hr)) return hr;
  const HRESULT hr = getClassObject(clsid, iid, object);
  if (FAILED(hr)) *object = nullptr;
  return hr;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, uint32_t context, REFIID iid,
                         void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(outer, iid, object);
  factory->Release();
  if (FAILED(hr)) *object = nullptr;
  return hr;
}

void CoFreeUnusedLibraries() {
  ServerTable& table = Servers();
  std::lock_guard<std::mutex> guard(table.mutex);
  auto& servers = table.servers;
  for (auto it = servers.begin(); it != servers.end();) {
    if ((*it)->canUnloadNow != nullptr && (*it)->canUnloadNow() == S_OK) {
      it = servers.erase(it);
    } else {
      ++it;
    }
  }
}

size_t CoLoadedServerCount() {
  ServerTable& table = Servers();
  std::lock_guard<std::mutex> guard(table.mutex);
  return table.servers.size();
}

bool CoIsServerLoaded(std::string_view path) {
  ServerTable& table = Servers();
  std::lock_guard<std::mutex> guard(table.mutex);
  for (const auto& s : table.servers)
    if (s->registeredPath == path) return true;
  return false;
}

}  // namespace platform::com
