// SettingsSession: the settings host's side of one configuration object and its pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configobject/module/IQrxConfigurator.h"
#include "platform/com/ComPtr.h"
#include "platform/com/HResult.h"

namespace settingshost {

// SettingsSession: creates the object by ProgID through the component
// runtime, asks it about its pages, creates them under the host's windows,
// collects them on OK, and at the end deletes them and lets the object go
// (unloading its module when it allows). No toolkit here: windows are
// handles.
class SettingsSession {
 public:
  SettingsSession() = default;
  ~SettingsSession();
  SettingsSession(const SettingsSession&) = delete;
  SettingsSession& operator=(const SettingsSession&) = delete;

  // Open: the object of `progId` and its Init call. S_OK, or the runtime's
  // failure (CO_E_CLASSSTRING: not registered) with no object kept.
  platform::com::HRESULT Open(std::string_view progId);

  bool isOpen() const { return static_cast<bool>(object_); }
  qrx::IQrxConfigurator* object() const { return object_.get(); }

  // The object's answers for page `index` (type and level 0): count, title,
  // description and icon. Texts are cut at 255 bytes and always terminated
  // here, as the object does not terminate a text that fills the buffer.
  int32_t PageCount() const;
  std::string Title(uint32_t index) const;
  std::string Description(uint32_t index) const;
  platform::com::HICON Icon(uint32_t index) const;

  // CreatePage: page `index` as a child of `parent`; its window, or null.
  platform::com::HWND CreatePage(uint32_t index, platform::com::HWND parent);
  const std::vector<platform::com::HWND>& pages() const { return pages_; }

  // Collect: GetDataFromPages for the pages created; the object's result.
  int32_t Collect();

  // Close: DeletePages for the pages created, releases the object, and
  // lets the runtime unload modules that allow it. Safe to repeat.
  void Close();

 private:
  // PageList: the created pages and the terminating null handle.
  std::vector<platform::com::HWND> PageList() const;

  platform::com::ComPtr<qrx::IQrxConfigurator> object_;
  std::vector<platform::com::HWND> pages_;
};

// Memory functions the host hands to Init.
void* HostAllocate(uint32_t size);
void HostRelease(void* block);

}  // namespace settingshost
