// Test support: a tree control that records the page's calls and keeps a working tree.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/Node.h"
#include "platform/com/Automation.h"

namespace qrx::testing {

// FakeTreeControl: answers IHostedControl and IAutomation like the real
// control (a working tree copied from the pattern, accesses counted) and
// logs each member call as "5(item,reserved)", "8(tree,arg,out)",
// "9(tree,value,reserved)" with addresses named: 0, P (the pattern), W (the
// working tree), R (its root item), & (an out address), ? (anything else).
class FakeTreeControl final : public platform::com::IHostedControl,
                              public platform::com::IAutomation {
 public:
  FakeTreeControl() = default;

  platform::com::HRESULT QueryInterface(const platform::com::IID& iid, void** object) override;
  platform::com::ULONG AddRef() override { return ++refs_; }
  platform::com::ULONG Release() override;
  platform::com::HRESULT CreateControlWindow(platform::com::HWND parent, int32_t id,
                                             const platform::com::ControlRect& place,
                                             const uint8_t* data, uint32_t size,
                                             platform::com::HWND* window) override;
  platform::com::HRESULT Advise(platform::com::IAutomation* sink) override;
  platform::com::HRESULT Unadvise() override;
  platform::com::HRESULT Invoke(platform::com::DISPID id, const platform::com::Variant* args,
                                uint32_t count, platform::com::Variant* result) override;

  // Caption: asks the advised sink for string `id`, as the control does;
  // "<none>" when the sink answers false.
  std::string Caption(int32_t id, intptr_t units = treectrl::kCaptionUnits);

  const std::vector<std::string>& calls() const { return calls_; }
  proptree::Node* working() const { return working_; }
  bool advised() const { return sink_ != nullptr; }
  int32_t controlId() const { return controlId_; }
  // dropPaths: when set, the working tree copy loses the subtree at this
  // identifier path before it is handed back (a pattern without that item).
  std::vector<proptree::ItemId> dropPath;

 private:
  ~FakeTreeControl();
  std::string Name(intptr_t value) const;

  platform::com::ULONG refs_ = 1;
  proptree::Node* working_ = nullptr;
  const proptree::Node* pattern_ = nullptr;
  intptr_t accesses_ = 0;
  int32_t controlId_ = 0;
  platform::com::IAutomation* sink_ = nullptr;
  std::vector<std::string> calls_;
};

}  // namespace qrx::testing
