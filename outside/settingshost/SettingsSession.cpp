// Creating the configuration object, asking for its pages, collecting and deleting them.
#include "outside/settingshost/SettingsSession.h"

#include <cstdlib>

#include "configobject/module/QrxIds.h"
#include "platform/com/ComRuntime.h"

namespace settingshost {

using namespace platform::com;

namespace {

constexpr uint32_t kTextBuffer = 256;

std::string Terminated(const char (&buffer)[kTextBuffer + 1]) {
  return std::string(buffer);
}

}  // namespace

void* HostAllocate(uint32_t size) {
  return std::malloc(size);
}

void HostRelease(void* block) {
  std::free(block);
}

SettingsSession::~SettingsSession() {
  Close();
}

HRESULT SettingsSession::Open(std::string_view progId) {
  Close();
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, qrx::IID_IQrxConfigurator,
                        object_.Put());
  if (FAILED(hr)) return hr;
  object_->Init(&HostAllocate, &HostRelease);
  return S_OK;
}

int32_t SettingsSession::PageCount() const {
  return object_ ? object_->GetPageCount(0, 0) : 0;
}

std::string SettingsSession::Title(uint32_t index) const {
  char buffer[kTextBuffer + 1] = {};
  if (object_) object_->GetPageTitle(buffer, kTextBuffer, 0, 0, index);
  return Terminated(buffer);
}

std::string SettingsSession::Description(uint32_t index) const {
  char buffer[kTextBuffer + 1] = {};
  if (object_) object_->GetPageDescription(buffer, kTextBuffer, 0, 0, index);
  return Terminated(buffer);
}

HICON SettingsSession::Icon(uint32_t index) const {
  return object_ ? object_->GetPageIcon(0, 0, index) : nullptr;
}

HWND SettingsSession::CreatePage(uint32_t index, HWND parent) {
  if (!object_) return nullptr;
  HWND page = object_->PageCreate(parent, index, 0, 0);
  if (page != nullptr) pages_.push_back(page);
  return page;
}

std::vector<HWND> SettingsSession::PageList() const {
  std::vector<HWND> list = pages_;
  list.push_back(nullptr);
  return list;
}

int32_t SettingsSession::Collect() {
  if (!object_ || pages_.empty()) return 0;
  std::vector<HWND> list = PageList();
  return object_->GetDataFromPages(nullptr, list.data());
}

void SettingsSession::Close() {
  if (object_) {
    std::vector<HWND> list = PageList();
    object_->DeletePages(list.data());
    pages_.clear();
    object_.Reset();
  }
  CoFreeUnusedLibraries();
}

}  // namespace settingshost
