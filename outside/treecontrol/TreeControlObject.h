// TreeControlObject: the tree control as a component: hosted window, automation members, events.
#pragma once

#include <QPointer>
#include <cstdint>

#include "configobject/proptree/Node.h"
#include "outside/treecontrol/TreeControlWidget.h"
#include "platform/com/Automation.h"
#include "platform/com/ComPtr.h"

namespace treecontrol {

// TreeControlObject: answers IUnknown, IHostedControl and IAutomation. It
// owns its working tree; its window belongs to the host's window and may go
// first. Releasing the object takes its window with it. Calls arrive on the
// host's user-interface thread (apartment model).
class TreeControlObject final : public platform::com::IHostedControl,
                                public platform::com::IAutomation {
 public:
  // Create: a new control's interface `iid` in *object.
  static platform::com::HRESULT Create(const platform::com::IID& iid, void** object);

  platform::com::HRESULT QueryInterface(const platform::com::IID& iid, void** object) override;
  platform::com::ULONG AddRef() override { return ++refs_; }
  platform::com::ULONG Release() override;

  platform::com::HRESULT CreateControlWindow(platform::com::HWND parent, int32_t controlId,
                                             const platform::com::ControlRect& place,
                                             const uint8_t* initialData, uint32_t initialSize,
                                             platform::com::HWND* window) override;
  platform::com::HRESULT Advise(platform::com::IAutomation* sink) override;
  platform::com::HRESULT Unadvise() override;

  platform::com::HRESULT Invoke(platform::com::DISPID id, const platform::com::Variant* args,
                                uint32_t count, platform::com::Variant* result) override;

 private:
  TreeControlObject();
  ~TreeControlObject();

  // The members, by dispatch id.
  platform::com::HRESULT ShowItem(intptr_t item);
  platform::com::HRESULT TransferTree(intptr_t tree, intptr_t arg, intptr_t* out);
  platform::com::HRESULT AccessTree(intptr_t tree, intptr_t* value);

  // OwnsItem: whether `item` is the working tree or a node in it.
  bool OwnsItem(const proptree::Node* item) const;
  // Caption: event 5 to the host for string `id`.
  QString Caption(uint32_t id);

  platform::com::ULONG refs_ = 1;
  proptree::Node* working_ = nullptr;
  intptr_t accesses_ = 0;
  bool expandAll_ = true;
  QPointer<TreeControlWidget> window_;
  platform::com::ComPtr<platform::com::IAutomation> sink_;
};

}  // namespace treecontrol
