// QrxCfgObject.dll: the exports of the in-process server and the module's start.
#include <cstdlib>

#include "configobject/module/QrxConfigurator.h"
#include "configobject/module/QrxIds.h"
#include "configobject/module/Registration.h"
#include "configobject/page/qt/ConduitPages.h"
#include "configobject/proptree/Allocation.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ServerModule.h"

namespace {

using namespace platform::com;

// ModuleStart: the property trees of this module take their memory from the
// process heap, the same heap the tree control's copy of the tree code uses,
// so a tree may pass between them. Controls are hosted by the page's window
// itself; there is nothing else to set up, and nothing to shut down at the
// end: the module is only unloaded once no page and no object is left.
struct ModuleStart {
  ModuleStart() { proptree::SetAllocationPair(&std::malloc, &std::free); }
} const g_moduleStart;

HRESULT CreateConfigurator(REFIID iid, void** object) {
  return qrx::QrxConfigurator::Create(iid, object);
}

}  // namespace

COM_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid != qrx::CLSID_QrxConfigurator) return CLASS_E_CLASSNOTAVAILABLE;
  return ClassFactory::Create(&CreateConfigurator, iid, object);
}

// DllCanUnloadNow: S_OK only with no page left (the framework's own check)
// and a lock count of 0 (no object, no server lock).
COM_EXPORT HRESULT DllCanUnloadNow() {
  return qrx::LiveConduitPageCount() == 0 && ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

COM_EXPORT HRESULT DllRegisterServer() {
  return qrx::RegisterServer(ModuleFileOf(reinterpret_cast<const void*>(&CreateConfigurator)));
}

COM_EXPORT HRESULT DllUnregisterServer() {
  return qrx::UnregisterServer();
}
