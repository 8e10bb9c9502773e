// The tree control's members: copying the pattern, access to the working tree, showing it.
#include "outside/treecontrol/TreeControlObject.h"

#include <QApplication>
#include <new>

#include "configobject/page/TreeControlApi.h"
#include "outside/treecontrol/TreeCopy.h"
#include "platform/com/ServerModule.h"

namespace treecontrol {

using namespace platform::com;
namespace api = qrx::treectrl;

namespace {

bool Contains(const proptree::Node* tree, const proptree::Node* item) {
  for (const proptree::Node* n = tree; n != nullptr; n = n->nextSibling) {
    if (n == item || Contains(n->firstChild, item)) return true;
  }
  return false;
}

bool IsLong(const Variant& v) {
  return v.vt == VT_I4;
}

bool IsLongRef(const Variant& v) {
  return v.vt == (VT_BYREF | VT_I4);
}

QWidget* LiveWidget(HWND handle) {
  for (QWidget* widget : QApplication::allWidgets())
    if (reinterpret_cast<HWND>(widget) == handle) return widget;
  return nullptr;
}

}  // namespace

TreeControlObject::TreeControlObject() {
  LockModule();
}

TreeControlObject::~TreeControlObject() {
  delete window_.data();  // the control's window goes with it
  proptree::DeleteSubtree(working_);
  UnlockModule();
}

HRESULT TreeControlObject::Create(const IID& iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  auto* control = new (std::nothrow) TreeControlObject();
  if (control == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = control->QueryInterface(iid, object);
  control->Release();
  return hr;
}

HRESULT TreeControlObject::QueryInterface(const IID& iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IHostedControl) {
    *object = static_cast<IHostedControl*>(this);
  } else if (iid == IID_IAutomation) {
    *object = static_cast<IAutomation*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TreeControlObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TreeControlObject::CreateControlWindow(HWND parent, int32_t controlId,
                                               const ControlRect& place, const uint8_t* initialData,
                                               uint32_t initialSize, HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = nullptr;
  if (window_) return E_UNEXPECTED;
  QWidget* parentWidget = parent ? LiveWidget(parent) : nullptr;
  if (parentWidget == nullptr) return E_INVALIDARG;
  // Persistent properties: "QMtc", version 1, flags; anything else keeps
  // the defaults.
  if (initialData != nullptr && initialSize >= 8 && initialData[0] == 'Q' &&
      initialData[1] == 'M' && initialData[2] == 't' && initialData[3] == 'c' &&
      initialData[4] == 1 && initialData[5] == 0)
    expandAll_ = (initialData[6] & 1) != 0;
  auto* widget = new TreeControlWidget(
      parentWidget, [this](uint32_t id) { return Caption(id); }, expandAll_);
  widget->setObjectName(QStringLiteral("control-%1").arg(controlId));
  widget->setGeometry(place.left, place.top, place.right - place.left, place.bottom - place.top);
  widget->show();
  window_ = widget;
  *window = reinterpret_cast<HWND>(widget);
  return S_OK;
}

HRESULT TreeControlObject::Advise(IAutomation* sink) {
  if (sink == nullptr) return E_POINTER;
  sink->AddRef();
  sink_ = ComPtr<IAutomation>(sink);
  return S_OK;
}

HRESULT TreeControlObject::Unadvise() {
  sink_.Reset();
  return S_OK;
}

HRESULT TreeControlObject::Invoke(DISPID id, const Variant* args, uint32_t count, Variant* result) {
  if (result != nullptr) *result = Variant{};
  switch (id) {
    case api::kShowItem:
      if (count != 2 || args == nullptr) return DISP_E_BADPARAMCOUNT;
      if (!IsLong(args[0]) || !IsLong(args[1])) return DISP_E_TYPEMISMATCH;
      return ShowItem(args[0].lVal);
    case api::kTransferTree:
      if (count != 3 || args == nullptr) return DISP_E_BADPARAMCOUNT;
      if (!IsLong(args[0]) || !IsLong(args[1]) || !IsLongRef(args[2])) return DISP_E_TYPEMISMATCH;
      return TransferTree(args[0].lVal, args[1].lVal, static_cast<intptr_t*>(args[2].byref));
    case api::kAccessTree:
      if (count != 3 || args == nullptr) return DISP_E_BADPARAMCOUNT;
      if (!IsLong(args[0]) || !IsLongRef(args[1]) || !IsLongRef(args[2]))
        return DISP_E_TYPEMISMATCH;
      return AccessTree(args[0].lVal, static_cast<intptr_t*>(args[1].byref));
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT TreeControlObject::ShowItem(intptr_t item) {
  auto* node = reinterpret_cast<proptree::Node*>(item);
  // Only items of the control's own tree are shown; any other address is
  // refused rather than followed.
  if (node != nullptr && !OwnsItem(node)) return E_INVALIDARG;
  if (window_) window_->ShowTree(node);
  return S_OK;
}

HRESULT TreeControlObject::TransferTree(intptr_t tree, intptr_t arg, intptr_t* out) {
  if (out == nullptr) return E_POINTER;
  *out = 0;
  if (tree == 0) {
    proptree::Node* copy =
        CopyTree(reinterpret_cast<const proptree::Node*>(arg), api::kTreeHolderId);
    if (copy == nullptr) return E_OUTOFMEMORY;
    if (window_) window_->Forget();
    proptree::DeleteSubtree(working_);
    working_ = copy;
    *out = reinterpret_cast<intptr_t>(working_);
    return S_OK;
  }
  if (working_ == nullptr || tree != reinterpret_cast<intptr_t>(working_)) return E_INVALIDARG;
  if (window_) window_->Refresh();
  return S_OK;
}

HRESULT TreeControlObject::AccessTree(intptr_t tree, intptr_t* value) {
  if (value == nullptr) return E_POINTER;
  *value = 0;
  if (working_ == nullptr || tree != reinterpret_cast<intptr_t>(working_)) return E_INVALIDARG;
  // Edits reach the tree as they are made, so nothing is pending here.
  *value = ++accesses_;
  return S_OK;
}

bool TreeControlObject::OwnsItem(const proptree::Node* item) const {
  return working_ != nullptr && (item == working_ || Contains(working_->firstChild, item));
}

QString TreeControlObject::Caption(uint32_t id) {
  if (!sink_) return {};
  char16_t buffer[api::kCaptionUnits] = {};
  const Variant args[] = {LongArg(static_cast<intptr_t>(id)),
                          WideBufferArg(buffer, api::kCaptionUnits)};
  Variant answer;
  const HRESULT hr = sink_->Invoke(api::kGetString, args, 2, &answer);
  buffer[api::kCaptionUnits - 1] = 0;
  if (FAILED(hr) || answer.vt != VT_BOOL || answer.lVal == 0) return {};
  return QString::fromUtf16(buffer);
}

}  // namespace treecontrol
