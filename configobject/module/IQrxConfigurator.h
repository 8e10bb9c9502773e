// IQrxConfigurator: the interface a settings host uses to show and collect the object's pages.
#pragma once

#include <cstdint>

#include "platform/com/Handles.h"
#include "platform/com/Unknown.h"

namespace qrx {

using platform::com::HICON;
using platform::com::HWND;
using platform::com::IUnknown;

// The memory functions a host hands to Init (not used by this object).
using QrxAllocFn = void* (*)(uint32_t size);
using QrxFreeFn = void (*)(void* block);

// IQrxConfigurator: 27 methods after the three of IUnknown, in this slot
// order (3 to 29). Results are plain 32-bit integers, never HRESULTs; the
// two handle results are pointer-sized, as handles are. Window handles are
// the host's and the pages' windows; `phwndPages` points to an array of
// handles ended by a null one. Text parameters of slots 12, 13, 16 and 17
// are byte strings filled to at most dwSize bytes, without a terminator
// when the text fills them.
struct IQrxConfigurator : IUnknown {
  // GetPageCount: 1, whatever the arguments.
  virtual int32_t GetPageCount(uint32_t dwType, uint32_t dwLevel) = 0;
  // PageCreate: a new page as a child of hwndParent; its window, or null
  // when it cannot be made. The host deletes it with DeletePages.
  virtual HWND PageCreate(HWND hwndParent, uint32_t nPageNumber, uint32_t dwType,
                          uint32_t dwLevel) = 0;
  // DeletePages: destroys each listed page window and its page; 0.
  virtual int32_t DeletePages(HWND* phwndPages) = 0;
  // GetDataFromPages: stores the page phwndPages[0] into the registry;
  // ppBuffer is not touched; 0.
  virtual int32_t GetDataFromPages(void** ppBuffer, HWND* phwndPages) = 0;
  // The rest answer as fixed: 0 and nothing done, except GetPageTitle and
  // GetPageDescription ("Conduit Properties", "This is a Page Description"),
  // the level name and description texts, GetPageIcon, and the 1 of
  // GetUserInterfaceLevelsCount, GetTabLookType, NotifyUserInterfaceLevelChanging
  // and NotifyPageSelchanging.
  virtual int32_t SetDataToPages(void* pBuffer, uint32_t dwSize, HWND* phwndPages) = 0;
  virtual int32_t GetHelpInfo(char* pszHelpFile, uint32_t dwSize, uint32_t* pdwHelpID,
                              uint32_t dwType, uint32_t dwLevel, uint32_t dwPageIndex) = 0;
  virtual int32_t GetDefaultPolicy(uint32_t dwType, void** ppBuffer) = 0;
  virtual int32_t SerializeData(void* pSrcData, uint32_t dwSrcSize, void** ppDstBuffer) = 0;
  virtual int32_t Init(QrxAllocFn pfMalloc, QrxFreeFn pfFree) = 0;
  virtual int32_t GetPageTitle(char* pszTitle, uint32_t dwSize, uint32_t dwType, uint32_t dwLevel,
                               uint32_t dwPageIndex) = 0;
  virtual int32_t GetPageDescription(char* pszDescription, uint32_t dwSize, uint32_t dwType,
                                     uint32_t dwLevel, uint32_t dwPageIndex) = 0;
  // GetPageIcon: the module's icon 1217 (an IconResource), valid while the
  // module stays loaded.
  virtual HICON GetPageIcon(uint32_t dwType, uint32_t dwLevel, uint32_t dwPageIndex) = 0;
  virtual int32_t GetUserInterfaceLevelsCount(uint32_t dwType) = 0;
  virtual int32_t GetUserInterfaceLevelName(uint32_t dwLevel, char* pszLevelName,
                                            uint32_t dwSize) = 0;
  virtual int32_t GetUserInterfaceLevelDescription(uint32_t dwLevel, char* pszLevelDescription,
                                                   uint32_t dwSize) = 0;
  virtual int32_t GetUserInterfaceLevelIcon(uint32_t dwLevel) = 0;
  virtual int32_t ShowReport(HWND hParentWnd, void* pData, uint32_t dwSize, uint32_t dwType,
                             const char16_t* pszTitle, const char16_t* pszRegKeyName,
                             void* pParam) = 0;
  virtual int32_t GetPagesState(void** ppBuffer, uint32_t* pdwSize, HWND* phwndPages) = 0;
  virtual int32_t SetPagesState(void* pBuffer, uint32_t dwSize, HWND* phwndPages) = 0;
  virtual int32_t GetTabLookType(uint32_t dwType) = 0;
  virtual int32_t NotifyUserInterfaceLevelChanging(uint32_t dwLevelFrom, uint32_t dwLevelTo) = 0;
  virtual void NotifyUserInterfaceLevelChanged(uint32_t dwLevelCur, uint32_t dwLevelFrom) = 0;
  virtual int32_t NotifyPageSelchanging(HWND hwndPageFrom, HWND hwndPageTo) = 0;
  virtual void NotifyPageSelchanged(HWND hwndPageCur, HWND hwndPageFrom) = 0;
  virtual int32_t SetKeyInfo(HWND hParent, void* pBuffer, uint32_t dwSize) = 0;
  virtual void Done() = 0;
  virtual int32_t SetParentSideInterface(IUnknown* pUnknown) = 0;

 protected:
  ~IQrxConfigurator() = default;
};

// Slot: the vtable slot of each method, for callers that go by slot.
enum Slot : int {
  kSlotGetPageCount = 3,
  kSlotPageCreate,
  kSlotDeletePages,
  kSlotGetDataFromPages,
  kSlotSetDataToPages,
  kSlotGetHelpInfo,
  kSlotGetDefaultPolicy,
  kSlotSerializeData,
  kSlotInit,
  kSlotGetPageTitle,
  kSlotGetPageDescription,
  kSlotGetPageIcon,
  kSlotGetUserInterfaceLevelsCount,
  kSlotGetUserInterfaceLevelName,
  kSlotGetUserInterfaceLevelDescription,
  kSlotGetUserInterfaceLevelIcon,
  kSlotShowReport,
  kSlotGetPagesState,
  kSlotSetPagesState,
  kSlotGetTabLookType,
  kSlotNotifyUserInterfaceLevelChanging,
  kSlotNotifyUserInterfaceLevelChanged,
  kSlotNotifyPageSelchanging,
  kSlotNotifyPageSelchanged,
  kSlotSetKeyInfo,
  kSlotDone,
  kSlotSetParentSideInterface,
  kSlot_count,
};
static_assert(kSlot_count == 30, "three IUnknown slots and 27 methods");

}  // namespace qrx
