// QrxConfigurator: the object a settings host creates; it holds only its reference count.
#pragma once

#include <cstdint>

#include "configobject/module/IQrxConfigurator.h"
#include "platform/com/HResult.h"

namespace qrx {

// QrxConfigurator: answers IUnknown and IQrxConfigurator. Each object adds
// one to the module's lock count while it lives. The reference count is a
// plain counter: every call arrives on the host's user-interface thread.
// Its resources are compiled into the module, so no method has to make
// them current first. All settings state lives in the pages.
class QrxConfigurator final : public IQrxConfigurator {
 public:
  // Create: a new object's interface `iid` in *object; E_OUTOFMEMORY when
  // it cannot be allocated, E_NOINTERFACE for another interface.
  static platform::com::HRESULT Create(const platform::com::IID& iid, void** object);

  platform::com::HRESULT QueryInterface(const platform::com::IID& iid, void** object) override;
  platform::com::ULONG AddRef() override;
  platform::com::ULONG Release() override;

  int32_t GetPageCount(uint32_t dwType, uint32_t dwLevel) override;
  HWND PageCreate(HWND hwndParent, uint32_t nPageNumber, uint32_t dwType,
                  uint32_t dwLevel) override;
  int32_t DeletePages(HWND* phwndPages) override;
  int32_t GetDataFromPages(void** ppBuffer, HWND* phwndPages) override;
  int32_t SetDataToPages(void* pBuffer, uint32_t dwSize, HWND* phwndPages) override;
  int32_t GetHelpInfo(char* pszHelpFile, uint32_t dwSize, uint32_t* pdwHelpID, uint32_t dwType,
                      uint32_t dwLevel, uint32_t dwPageIndex) override;
  int32_t GetDefaultPolicy(uint32_t dwType, void** ppBuffer) override;
  int32_t SerializeData(void* pSrcData, uint32_t dwSrcSize, void** ppDstBuffer) override;
  int32_t Init(QrxAllocFn pfMalloc, QrxFreeFn pfFree) override;
  int32_t GetPageTitle(char* pszTitle, uint32_t dwSize, uint32_t dwType, uint32_t dwLevel,
                       uint32_t dwPageIndex) override;
  int32_t GetPageDescription(char* pszDescription, uint32_t dwSize, uint32_t dwType,
                             uint32_t dwLevel, uint32_t dwPageIndex) override;
  HICON GetPageIcon(uint32_t dwType, uint32_t dwLevel, uint32_t dwPageIndex) override;
  int32_t GetUserInterfaceLevelsCount(uint32_t dwType) override;
  int32_t GetUserInterfaceLevelName(uint32_t dwLevel, char* pszLevelName, uint32_t dwSize) override;
  int32_t GetUserInterfaceLevelDescription(uint32_t dwLevel, char* pszLevelDescription,
                                           uint32_t dwSize) override;
  int32_t GetUserInterfaceLevelIcon(uint32_t dwLevel) override;
  int32_t ShowReport(HWND hParentWnd, void* pData, uint32_t dwSize, uint32_t dwType,
                     const char16_t* pszTitle, const char16_t* pszRegKeyName,
                     void* pParam) override;
  int32_t GetPagesState(void** ppBuffer, uint32_t* pdwSize, HWND* phwndPages) override;
  int32_t SetPagesState(void* pBuffer, uint32_t dwSize, HWND* phwndPages) override;
  int32_t GetTabLookType(uint32_t dwType) override;
  int32_t NotifyUserInterfaceLevelChanging(uint32_t dwLevelFrom, uint32_t dwLevelTo) override;
  void NotifyUserInterfaceLevelChanged(uint32_t dwLevelCur, uint32_t dwLevelFrom) override;
  int32_t NotifyPageSelchanging(HWND hwndPageFrom, HWND hwndPageTo) override;
  void NotifyPageSelchanged(HWND hwndPageCur, HWND hwndPageFrom) override;
  int32_t SetKeyInfo(HWND hParent, void* pBuffer, uint32_t dwSize) override;
  void Done() override;
  int32_t SetParentSideInterface(IUnknown* pUnknown) override;

 private:
  QrxConfigurator();
  ~QrxConfigurator();

  platform::com::ULONG refs_ = 1;
};

// The page's texts as the host asks for them.
inline constexpr char kPageTitle[] = "Conduit Properties";
inline constexpr char kPageDescription[] = "This is a Page Description";
inline constexpr char kLevelName[] = "This is an UserInterface Level Name";
inline constexpr char kLevelDescription[] = "This is an UserInterface Level Description";

// CopyBounded: `text` into `buffer` as the host's byte buffers take it: at
// most `size` bytes, the terminator only when it fits, the rest of the
// buffer zero-filled. A null buffer takes nothing.
void CopyBounded(char* buffer, uint32_t size, const char* text);

}  // namespace qrx
