// The live conduit pages of the module, known by their window handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/com/Handles.h"

namespace qrx {

class CConduitTreePage;

// CreateConduitPage: a page object and its window as a child of `parent`,
// the pattern read from `pattern`. Returns the window's handle, or null
// when there is no parent window or no application to show it in.
platform::com::HWND CreateConduitPage(platform::com::HWND parent, std::span<const uint8_t> pattern);

// DeleteConduitPage: destroys the window (when its parent has not already)
// and the page object of a handle CreateConduitPage returned; false for any
// other handle, which is left alone.
bool DeleteConduitPage(platform::com::HWND window);

// CollectConduitPage: the page's GetDataFromPage; false for a handle that
// is no live page.
bool CollectConduitPage(platform::com::HWND window);

// FindConduitPage: the page object of a live page's handle, or null.
CConduitTreePage* FindConduitPage(platform::com::HWND window);

// LiveConduitPageCount: pages created and not yet deleted.
size_t LiveConduitPageCount();

}  // namespace qrx
