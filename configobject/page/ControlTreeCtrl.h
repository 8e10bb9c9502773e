// CControlTreeCtrl: the page's wrapper of the tree control.
#pragma once

#include <cstdint>
#include <span>

#include "platform/com/Automation.h"
#include "platform/com/ComPtr.h"

namespace qrx {

// CControlTreeCtrl: holds the control (a reference to its automation
// interface) and its window once created. Without a control every call is
// passed over; the page then shows and reads nothing.
class CControlTreeCtrl {
 public:
  CControlTreeCtrl() = default;
  ~CControlTreeCtrl();
  CControlTreeCtrl(const CControlTreeCtrl&) = delete;
  CControlTreeCtrl& operator=(const CControlTreeCtrl&) = delete;

  // Create: creates the control of class `clsid` through the component
  // runtime and hands it to Attach. The runtime's or the control's HRESULT.
  platform::com::HRESULT Create(const platform::com::CLSID& clsid, platform::com::HWND parent,
                                int32_t id, const platform::com::ControlRect& place,
                                std::span<const uint8_t> initialData,
                                platform::com::IAutomation* events);

  // Attach: makes the control's window as a child of `parent` with the id
  // and initial data, and advises `events` (optional) of its events. On
  // failure nothing is kept.
  platform::com::HRESULT Attach(platform::com::IUnknown* control, platform::com::HWND parent,
                                int32_t id, const platform::com::ControlRect& place,
                                std::span<const uint8_t> initialData,
                                platform::com::IAutomation* events);

  // Release: stops the events and lets the control go (its working tree
  // with it).
  void Release();

  bool attached() const { return static_cast<bool>(automation_); }
  platform::com::HWND window() const { return window_; }

  // The control's members (see TreeControlApi.h); each returns the call's
  // HRESULT, E_UNEXPECTED without a control.
  platform::com::HRESULT ShowItem(intptr_t item, intptr_t reserved);
  platform::com::HRESULT TransferTree(intptr_t tree, intptr_t arg, intptr_t* out);
  platform::com::HRESULT AccessTree(intptr_t tree, intptr_t* value, intptr_t* reserved);

 private:
  platform::com::ComPtr<platform::com::IHostedControl> hosted_;
  platform::com::ComPtr<platform::com::IAutomation> automation_;
  platform::com::HWND window_ = nullptr;
};

}  // namespace qrx
