// The recording tree control of the page tests.
#include "configobject/page/tests/FakeTreeControl.h"

#include "configobject/page/SettingPaths.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/TreeWriter.h"
#include "platform/Text.h"

namespace qrx::testing {

using namespace platform::com;

FakeTreeControl::~FakeTreeControl() {
  if (sink_) sink_->Release();
  proptree::DeleteSubtree(working_);
}

HRESULT FakeTreeControl::QueryInterface(const IID& iid, void** object) {
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

ULONG FakeTreeControl::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT FakeTreeControl::CreateControlWindow(HWND, int32_t id, const ControlRect&, const uint8_t*,
                                             uint32_t, HWND* window) {
  controlId_ = id;
  *window = reinterpret_cast<HWND>(this);
  return S_OK;
}

HRESULT FakeTreeControl::Advise(IAutomation* sink) {
  sink->AddRef();
  if (sink_) sink_->Release();
  sink_ = sink;
  return S_OK;
}

HRESULT FakeTreeControl::Unadvise() {
  if (sink_) sink_->Release();
  sink_ = nullptr;
  return S_OK;
}

std::string FakeTreeControl::Name(intptr_t value) const {
  if (value == 0) return "0";
  if (pattern_ && value == reinterpret_cast<intptr_t>(pattern_)) return "P";
  if (working_ && value == reinterpret_cast<intptr_t>(working_)) return "W";
  if (working_ && value == reinterpret_cast<intptr_t>(proptree::FindByPath(working_, paths::kRoot)))
    return "R";
  return "?";
}

HRESULT FakeTreeControl::Invoke(DISPID id, const Variant* args, uint32_t count, Variant*) {
  auto ref = [](const Variant& v) { return v.byref ? std::string("&") : std::string("0"); };
  if (id == treectrl::kShowItem && count == 2) {
    calls_.push_back("5(" + Name(args[0].lVal) + "," + Name(args[1].lVal) + ")");
    return S_OK;
  }
  if (id == treectrl::kTransferTree && count == 3) {
    auto* out = static_cast<intptr_t*>(args[2].byref);
    if (args[0].lVal == 0) {
      pattern_ = reinterpret_cast<const proptree::Node*>(args[1].lVal);
      calls_.push_back("8(0," + Name(args[1].lVal) + "," + ref(args[2]) + ")");
      proptree::DeleteSubtree(working_);
      working_ = proptree::CreateNode(nullptr, treectrl::kTreeHolderId);
      if (pattern_ && pattern_->firstChild) {
        std::vector<uint8_t> stored;
        proptree::WriteTree(pattern_->firstChild, proptree::WriteOptions{}, &stored);
        proptree::ReadTree(stored.data(), stored.size(), working_);
      }
      if (!dropPath.empty()) {
        std::vector<proptree::ItemId> path = dropPath;
        path.push_back(0);
        proptree::DeleteSubtree(proptree::FindByPath(working_, path.data()));
      }
      if (out) *out = reinterpret_cast<intptr_t>(working_);
    } else {
      calls_.push_back("8(" + Name(args[0].lVal) + "," + std::to_string(args[1].lVal) + "," +
                       ref(args[2]) + ")");
      if (out) *out = 0;
    }
    return S_OK;
  }
  if (id == treectrl::kAccessTree && count == 3) {
    calls_.push_back("9(" + Name(args[0].lVal) + "," + ref(args[1]) + "," + ref(args[2]) + ")");
    if (args[1].byref) *static_cast<intptr_t*>(args[1].byref) = ++accesses_;
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

std::string FakeTreeControl::Caption(int32_t id, intptr_t units) {
  std::u16string buffer(static_cast<size_t>(units), u'\0');
  const Variant args[] = {LongArg(id), WideBufferArg(buffer.data(), units)};
  Variant result;
  if (sink_ == nullptr || FAILED(sink_->Invoke(treectrl::kGetString, args, 2, &result)) ||
      result.vt != VT_BOOL || result.lVal == 0)
    return "<none>";
  return platform::Utf16ToUtf8(buffer.c_str());
}

}  // namespace qrx::testing
