// The methods of IQrxConfigurator: page life, collection, and the fixed answers.
#include "configobject/module/QrxConfigurator.h"

#include <cstring>
#include <new>

#include "configobject/module/ModuleResources.h"
#include "configobject/module/QrxIds.h"
#include "configobject/page/qt/ConduitPages.h"
#include "platform/com/ServerModule.h"

namespace qrx {

using platform::com::HRESULT;
using platform::com::IID;
using platform::com::ULONG;

void CopyBounded(char* buffer, uint32_t size, const char* text) {
  if (buffer == nullptr || size == 0) return;
  const size_t length = std::strlen(text);
  const size_t copied = length < size ? length : size;
  std::memcpy(buffer, text, copied);
  if (copied < size) std::memset(buffer + copied, 0, size - copied);
}

QrxConfigurator::QrxConfigurator() {
  platform::com::LockModule();
}

QrxConfigurator::~QrxConfigurator() {
  platform::com::UnlockModule();
}

HRESULT QrxConfigurator::Create(const IID& iid, void** object) {
  if (object == nullptr) return platform::com::E_POINTER;
  *object = nullptr;
  auto* created = new (std::nothrow) QrxConfigurator();
  if (created == nullptr) return platform::com::E_OUTOFMEMORY;
  const HRESULT hr = created->QueryInterface(iid, object);
  created->Release();
  return hr;
}

HRESULT QrxConfigurator::QueryInterface(const IID& iid, void** object) {
  if (object == nullptr) return platform::com::E_POINTER;
  if (iid == platform::com::IID_IUnknown || iid == IID_IQrxConfigurator) {
    *object = static_cast<IQrxConfigurator*>(this);
    AddRef();
    return platform::com::S_OK;
  }
  *object = nullptr;
  return platform::com::E_NOINTERFACE;
}

ULONG QrxConfigurator::AddRef() {
  return ++refs_;
}

ULONG QrxConfigurator::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

int32_t QrxConfigurator::GetPageCount(uint32_t, uint32_t) {
  return 1;
}

HWND QrxConfigurator::PageCreate(HWND hwndParent, uint32_t, uint32_t, uint32_t) {
  return CreateConduitPage(hwndParent, FindModuleResource(ResourceType::Data, kPatternResource));
}

int32_t QrxConfigurator::DeletePages(HWND* phwndPages) {
  if (phwndPages == nullptr) return 0;
  for (HWND* page = phwndPages; *page != nullptr; ++page) DeleteConduitPage(*page);
  return 0;
}

int32_t QrxConfigurator::GetDataFromPages(void**, HWND* phwndPages) {
  // Only the first page holds data; a handle that is no live page of this
  // module is passed over rather than taken for one.
  if (phwndPages != nullptr && phwndPages[0] != nullptr) CollectConduitPage(phwndPages[0]);
  return 0;
}

int32_t QrxConfigurator::SetDataToPages(void*, uint32_t, HWND*) {
  return 0;
}

int32_t QrxConfigurator::GetHelpInfo(char*, uint32_t, uint32_t*, uint32_t, uint32_t, uint32_t) {
  return 0;
}

int32_t QrxConfigurator::GetDefaultPolicy(uint32_t, void**) {
  return 0;
}

int32_t QrxConfigurator::SerializeData(void*, uint32_t, void**) {
  return 0;
}

int32_t QrxConfigurator::Init(QrxAllocFn, QrxFreeFn) {
  return 0;
}

int32_t QrxConfigurator::GetPageTitle(char* pszTitle, uint32_t dwSize, uint32_t, uint32_t,
                                      uint32_t) {
  CopyBounded(pszTitle, dwSize, kPageTitle);
  return 0;
}

int32_t QrxConfigurator::GetPageDescription(char* pszDescription, uint32_t dwSize, uint32_t,
                                            uint32_t, uint32_t) {
  CopyBounded(pszDescription, dwSize, kPageDescription);
  return 0;
}

HICON QrxConfigurator::GetPageIcon(uint32_t, uint32_t, uint32_t) {
  return ModuleIcon(kPageIconResource);
}

int32_t QrxConfigurator::GetUserInterfaceLevelsCount(uint32_t) {
  return 1;
}

int32_t QrxConfigurator::GetUserInterfaceLevelName(uint32_t, char* pszLevelName, uint32_t dwSize) {
  CopyBounded(pszLevelName, dwSize, kLevelName);
  return 0;
}

int32_t QrxConfigurator::GetUserInterfaceLevelDescription(uint32_t, char* pszLevelDescription,
                                                          uint32_t dwSize) {
  CopyBounded(pszLevelDescription, dwSize, kLevelDescription);
  return 0;
}

int32_t QrxConfigurator::GetUserInterfaceLevelIcon(uint32_t) {
  return 0;
}

int32_t QrxConfigurator::ShowReport(HWND, void*, uint32_t, uint32_t, const char16_t*,
                                    const char16_t*, void*) {
  return 0;
}

int32_t QrxConfigurator::GetPagesState(void**, uint32_t*, HWND*) {
  return 0;
}

int32_t QrxConfigurator::SetPagesState(void*, uint32_t, HWND*) {
  return 0;
}

int32_t QrxConfigurator::GetTabLookType(uint32_t) {
  return 1;
}

int32_t QrxConfigurator::NotifyUserInterfaceLevelChanging(uint32_t, uint32_t) {
  return 1;
}

void QrxConfigurator::NotifyUserInterfaceLevelChanged(uint32_t, uint32_t) {}

int32_t QrxConfigurator::NotifyPageSelchanging(HWND, HWND) {
  return 1;
}

void QrxConfigurator::NotifyPageSelchanged(HWND, HWND) {}

int32_t QrxConfigurator::SetKeyInfo(HWND, void*, uint32_t) {
  return 0;
}

void QrxConfigurator::Done() {}

int32_t QrxConfigurator::SetParentSideInterface(IUnknown*) {
  return 0;
}

}  // namespace qrx
