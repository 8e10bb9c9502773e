// The table of live pages: creation, lookup by window handle, and deletion.
#include "configobject/page/qt/ConduitPages.h"

#include <QApplication>
#include <QPointer>
#include <memory>
#include <new>
#include <vector>

#include "configobject/page/ConduitTreePage.h"
#include "configobject/page/PageStrings.h"
#include "configobject/page/qt/ConduitTreePageView.h"
#include "configobject/page/qt/WindowHandle.h"

namespace qrx {
namespace {

struct LivePage {
  platform::com::HWND handle = nullptr;
  std::unique_ptr<CConduitTreePage> page;
  QPointer<ConduitTreePageView> view;  // null once the host destroyed the parent
};

// Pages(): only the host's user-interface thread reaches it.
std::vector<LivePage>& Pages() {
  static std::vector<LivePage> pages;
  return pages;
}

std::vector<LivePage>::iterator Find(platform::com::HWND window) {
  auto& pages = Pages();
  for (auto it = pages.begin(); it != pages.end(); ++it)
    if (window != nullptr && it->handle == window) return it;
  return pages.end();
}

// IsLiveWidget: whether a handle names a widget of this application; a
// stale or foreign handle is refused rather than taken for one.
bool IsLiveWidget(platform::com::HWND handle) {
  if (handle == nullptr) return false;
  for (QWidget* widget : QApplication::allWidgets())
    if (widget == WidgetFromHandle(handle)) return true;
  return false;
}

}  // namespace

platform::com::HWND CreateConduitPage(platform::com::HWND parent,
                                      std::span<const uint8_t> pattern) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr || !IsLiveWidget(parent))
    return nullptr;
  LivePage live;
  live.page.reset(new (std::nothrow) CConduitTreePage(pattern, PageStrings()));
  if (!live.page) return nullptr;
  live.view = new ConduitTreePageView(WidgetFromHandle(parent), *live.page);
  live.handle = HandleFromWidget(live.view.data());
  Pages().push_back(std::move(live));
  return Pages().back().handle;
}

bool DeleteConduitPage(platform::com::HWND window) {
  auto it = Find(window);
  if (it == Pages().end()) return false;
  LivePage gone = std::move(*it);
  Pages().erase(it);
  delete gone.view.data();  // the window first, its control window with it
  gone.page.reset();        // then the page, its control and record
  return true;
}

bool CollectConduitPage(platform::com::HWND window) {
  CConduitTreePage* page = FindConduitPage(window);
  if (page == nullptr) return false;
  page->GetDataFromPage();
  return true;
}

CConduitTreePage* FindConduitPage(platform::com::HWND window) {
  auto it = Find(window);
  return it == Pages().end() ? nullptr : it->page.get();
}

size_t LiveConduitPageCount() {
  return Pages().size();
}

}  // namespace qrx
