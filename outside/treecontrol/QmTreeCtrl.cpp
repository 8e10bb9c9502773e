// QmTreeCtrl.dll: the tree control the settings host provides, as an in-process server.
#include <cstdlib>

#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/Allocation.h"
#include "outside/treecontrol/TreeControlObject.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Registrar.h"
#include "platform/com/ServerModule.h"

namespace {

using namespace platform::com;

constexpr char kScript[] = R"(HKCR
{
	QmTree.TreeCtrl.1 = s 'Quillmark Tree Control'
	{
		CLSID = s '{D2B34AE8-B9CF-11D2-96B0-00104B5B66AA}'
	}
	NoRemove CLSID
	{
		ForceRemove {D2B34AE8-B9CF-11D2-96B0-00104B5B66AA} = s 'Quillmark Tree Control'
		{
			ProgID = s 'QmTree.TreeCtrl.1'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			Control
		}
	}
})";

// The control's copy of the tree code takes the process heap, as its hosts'
// copies do, so trees may pass between them.
struct ModuleStart {
  ModuleStart() { proptree::SetAllocationPair(&std::malloc, &std::free); }
} const g_moduleStart;

HRESULT CreateControl(REFIID iid, void** object) {
  return treecontrol::TreeControlObject::Create(iid, object);
}

HRESULT Script(ScriptDirection direction) {
  const std::string self = ModuleFileOf(reinterpret_cast<const void*>(&CreateControl));
  if (self.empty()) return SELFREG_E_CLASS;
  return RunRegScript(kScript, {{"MODULE", self}}, direction);
}

}  // namespace

COM_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid != qrx::treectrl::CLSID_TreeControl) return CLASS_E_CLASSNOTAVAILABLE;
  return ClassFactory::Create(&CreateControl, iid, object);
}

COM_EXPORT HRESULT DllCanUnloadNow() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

COM_EXPORT HRESULT DllRegisterServer() {
  return Script(ScriptDirection::Register);
}

COM_EXPORT HRESULT DllUnregisterServer() {
  return Script(ScriptDirection::Unregister);
}
