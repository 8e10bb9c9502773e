// PageEvents: the sink through which the tree control asks the page for captions.
#pragma once

#include "platform/com/Automation.h"

namespace qrx {

class CConduitTreePage;

// PageEvents: a counted sink object that forwards event 5 to its page. The
// control may hold it longer than the page lives; the page detaches it
// first, after which every event answers false.
class PageEvents final : public platform::com::IAutomation {
 public:
  explicit PageEvents(const CConduitTreePage* page) : page_(page) {}

  // Detach: the page is going; no more calls reach it.
  void Detach() { page_ = nullptr; }

  platform::com::HRESULT QueryInterface(const platform::com::IID& iid, void** object) override;
  platform::com::ULONG AddRef() override { return ++refs_; }
  platform::com::ULONG Release() override;
  platform::com::HRESULT Invoke(platform::com::DISPID id, const platform::com::Variant* args,
                                uint32_t count, platform::com::Variant* result) override;

 private:
  ~PageEvents() = default;
  const CConduitTreePage* page_;
  platform::com::ULONG refs_ = 1;
};

}  // namespace qrx
