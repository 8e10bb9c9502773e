// Dialog template 1204: the page window and the tree control that fills it.
#pragma once

#include <cstdint>
#include <span>

#include "configobject/layout/LayoutRule.h"
#include "configobject/layout/LayoutWindow.h"
#include "platform/com/Guid.h"

namespace qrx {

inline constexpr uint32_t kPageTemplateId = 1204;
inline constexpr int32_t kTreeControlId = 1213;

// DialogControl: one control of a template, its place in dialog units and
// the initial property data kept with the template.
struct DialogControl {
  int32_t id;
  platform::com::CLSID clsid;
  layout::Rect place;
  std::span<const uint8_t> initialData;
};

// DialogTemplate: a child dialog with a border, its size in dialog units
// and its font.
struct DialogTemplate {
  uint32_t id;
  int32_t width;
  int32_t height;
  const char* fontName;
  int32_t fontPoints;
  DialogControl control;
};

// PageTemplate: template 1204, 242 × 179 dialog units, "MS Sans Serif" 8,
// the tree control 1213 at (0, 0, 242, 178).
const DialogTemplate& PageTemplate();

// PageLayoutRules: the page's rule list (the right and bottom edges of
// control 1213 follow those of the page), as a fresh copy: solving writes
// into the rules.
void PageLayoutRules(layout::LayoutRule (&rules)[3]);

}  // namespace qrx
