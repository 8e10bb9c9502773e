// A page's hint line: which controls carry a hint and the text the line shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "palmsettings/PalmSettings.h"

namespace configapp {

// SetdeskPage: the three pages in the order of their tabs.
enum class SetdeskPage : uint8_t { Conduit, Urls, Paths };
inline constexpr size_t kPageCount = 3;

// HintEntry: a control of a page and the string shown while the pointer is
// over it.
struct HintEntry {
  uint32_t control;
  uint32_t string;
};

// PageHints: the hint table of a page.
std::span<const HintEntry> PageHints(SetdeskPage page);

// HintString: the hint string of `control` on `page`; nullopt for a control
// without a hint.
std::optional<uint32_t> HintString(SetdeskPage page, uint32_t control);

// HintBufferSize: the buffer a page loads its hints into, in characters with
// the terminator: 256 on the Conduit and URLs pages, 128 on the Paths page.
size_t HintBufferSize(SetdeskPage page);

// HintLine: the text of a page's hint line (static text 1029), empty at
// first. The record must outlive it.
class HintLine {
 public:
  HintLine(const palmsettings::PalmSettings& record, SetdeskPage page)
      : record_(record), page_(page) {}

  // OnSetCursor: the pointer is over `control`: a control of the hint table
  // puts its string into the line (returns true); over any other control the
  // line keeps its text (returns false).
  bool OnSetCursor(uint32_t control);

  // Set: puts a fixed text into the line.
  void Set(std::string_view text) { text_ = text; }

  const std::string& text() const { return text_; }

 private:
  const palmsettings::PalmSettings& record_;
  SetdeskPage page_;
  std::string text_;
};

}  // namespace configapp
