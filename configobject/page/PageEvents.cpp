// The caption event of the tree control, answered by the page.
#include "configobject/page/PageEvents.h"

#include "configobject/page/ConduitTreePage.h"
#include "configobject/page/TreeControlApi.h"

namespace qrx {

using namespace platform::com;

HRESULT PageEvents::QueryInterface(const IID& iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IAutomation) {
    *object = static_cast<IAutomation*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG PageEvents::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT PageEvents::Invoke(DISPID id, const Variant* args, uint32_t count, Variant* result) {
  if (id != treectrl::kGetString) return DISP_E_MEMBERNOTFOUND;
  if (count != 2 || args == nullptr) return DISP_E_BADPARAMCOUNT;
  if (args[0].vt != VT_I4 || args[1].vt != (VT_BYREF | VT_LPWSTR)) return DISP_E_TYPEMISMATCH;
  const bool loaded =
      page_ != nullptr && page_->OnGetString(static_cast<int32_t>(args[0].lVal),
                                             static_cast<char16_t*>(args[1].byref), args[1].lVal);
  if (result != nullptr) *result = BoolResult(loaded);
  return S_OK;
}

}  // namespace qrx
