// The tree control's members as calls through its automation interface.
#include "configobject/page/ControlTreeCtrl.h"

#include "configobject/page/TreeControlApi.h"
#include "platform/com/ComRuntime.h"

namespace qrx {

using namespace platform::com;

CControlTreeCtrl::~CControlTreeCtrl() {
  Release();
}

HRESULT CControlTreeCtrl::Create(const CLSID& clsid, HWND parent, int32_t id,
                                 const ControlRect& place, std::span<const uint8_t> initialData,
                                 IAutomation* events) {
  ComPtr<IUnknown> control;
  const HRESULT hr =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.Put());
  if (FAILED(hr)) return hr;
  return Attach(control.get(), parent, id, place, initialData, events);
}

HRESULT CControlTreeCtrl::Attach(IUnknown* control, HWND parent, int32_t id,
                                 const ControlRect& place, std::span<const uint8_t> initialData,
                                 IAutomation* events) {
  Release();
  if (control == nullptr) return E_POINTER;
  ComPtr<IHostedControl> hosted;
  ComPtr<IAutomation> automation;
  HRESULT hr = control->QueryInterface(IID_IHostedControl, hosted.Put());
  if (SUCCEEDED(hr)) hr = control->QueryInterface(IID_IAutomation, automation.Put());
  if (FAILED(hr)) return hr;
  HWND window = nullptr;
  hr = hosted->CreateControlWindow(parent, id, place, initialData.data(),
                                   static_cast<uint32_t>(initialData.size()), &window);
  if (FAILED(hr)) return hr;
  if (events != nullptr) {
    hr = hosted->Advise(events);
    if (FAILED(hr)) return hr;
  }
  hosted_ = std::move(hosted);
  automation_ = std::move(automation);
  window_ = window;
  return S_OK;
}

void CControlTreeCtrl::Release() {
  if (hosted_) hosted_->Unadvise();
  automation_.Reset();
  hosted_.Reset();
  window_ = nullptr;
}

HRESULT CControlTreeCtrl::ShowItem(intptr_t item, intptr_t reserved) {
  if (!automation_) return E_UNEXPECTED;
  const Variant args[] = {LongArg(item), LongArg(reserved)};
  return automation_->Invoke(treectrl::kShowItem, args, 2, nullptr);
}

HRESULT CControlTreeCtrl::TransferTree(intptr_t tree, intptr_t arg, intptr_t* out) {
  if (!automation_) return E_UNEXPECTED;
  const Variant args[] = {LongArg(tree), LongArg(arg), LongRefArg(out)};
  return automation_->Invoke(treectrl::kTransferTree, args, 3, nullptr);
}

HRESULT CControlTreeCtrl::AccessTree(intptr_t tree, intptr_t* value, intptr_t* reserved) {
  if (!automation_) return E_UNEXPECTED;
  const Variant args[] = {LongArg(tree), LongRefArg(value), LongRefArg(reserved)};
  return automation_->Invoke(treectrl::kAccessTree, args, 3, nullptr);
}

}  // namespace qrx
